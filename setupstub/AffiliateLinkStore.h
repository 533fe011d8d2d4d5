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

// StoreAffiliateLink in two steps, so that the slow part can run while the
// launcher extracts its package: StageAffiliateLink writes the values ahead
// into the first store that takes them, where no reader sees them yet;
// CommitAffiliateLink puts them in place and gives the same outcome as
// StoreAffiliateLink (a commit that fails in the machine-wide store writes
// the user's store instead). A staged link that is never committed leaves
// both stores as they were.
struct StagedAffiliateLink {
    LinkStoreOutcome store = LinkStoreOutcome::NotStored; // where the values wait
    platform::StagedValues values;
};

StagedAffiliateLink StageAffiliateLink(const CAffiliateInfo& info,
                                       const platform::MachineStore& machineWide,
                                       const platform::MachineStore& perUser);

LinkStoreOutcome CommitAffiliateLink(StagedAffiliateLink& staged, const CAffiliateInfo& info,
                                     const platform::MachineStore& perUser);
