#pragma once

#include <cstdint>
#include <string>

class CAffProject;

// Keep: start from the current link unless it is empty or "http://" (any case).
// Reset: always start from the service's endpoint.
enum class ComposeMode { Keep, Reset };

// IDs are percent-encoded where a query value needs it
// (CPurchaseUrl::EncodeQueryValue); plain letters and digits go as typed.

// Sets the service's product key in link to productId. Does nothing (returns
// false) when serviceIndex is negative (no service selected) or 3 or more.
bool ComposeProductLink(int32_t serviceIndex, std::string& link, const std::string& productId,
                        ComposeMode mode);

// Sets the service's affiliate key to affiliateId and its product key to
// productId. Does nothing (returns false) for Other or no service. The one
// composer of affiliate links: the project editors and the self creator use it.
bool ComposeServiceLink(int32_t serviceIndex, std::string& link, const std::string& affiliateId,
                        const std::string& productId, ComposeMode mode);

// Sets the service's affiliate key to affiliateId and its product key to the
// project's product ID at that service. Does nothing (returns false) for
// Other or when the project has no registration info for the service.
bool ComposeAffiliateLink(int32_t serviceIndex, std::string& link, const std::string& affiliateId,
                          const CAffProject& project, ComposeMode mode);
