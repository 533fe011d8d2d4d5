#pragma once

#include "platform/MachineStore.h"

#include <string>
#include <string_view>

class CAffiliateInfo;

// Where the launcher left an affiliate's link.
enum class LinkStoreOutcome { MachineWide, PerUser, NotStored };

// The key path of a product (see platform/StoreContract.h) for key text up to
// its first NUL byte.
std::string ProductKeyPath(std::string_view key);

// Writes "PurchaseLink" and "ResellerUrl" under the product's key, each as a
// string with its terminator. The machine-wide store is tried first; an end
// user without the rights for it gets the values in their own store; the purchase-link
// library returns whichever of the two was written last. Texts end at a NUL byte, as strings
// handed to the system do.
LinkStoreOutcome StoreAffiliateLink(const CAffiliateInfo& info,
                                    const platform::MachineStore& machineWide,
                                    const platform::MachineStore& perUser);
