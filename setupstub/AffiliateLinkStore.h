#pragma once

#include "platform/MachineStore.h"

#include <string>
#include <string_view>

class CAffiliateInfo;

// Where the launcher left an affiliate's link.
enum class LinkStoreOutcome { MachineWide, PerUser, NotStored };

// The key path of a product: "Software\Velkora\" followed by the key text.
std::string ProductKeyPath(std::string_view key);

// Writes "PurchaseLink" and "ResellerUrl" under the product's key, each as a
// string with its terminator. The machine-wide store is tried first; an end
// user without the rights for it gets the values in their own store, where
// the purchase-link library looks first. Texts end at a NUL byte, as strings
// handed to the system do.
LinkStoreOutcome StoreAffiliateLink(const CAffiliateInfo& info,
                                    const platform::MachineStore& machineWide,
                                    const platform::MachineStore& perUser);
