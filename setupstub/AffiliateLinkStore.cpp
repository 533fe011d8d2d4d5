#include "setupstub/AffiliateLinkStore.h"

#include "package/AffiliateInfoFile.h"
#include "platform/StoreContract.h"

namespace {

std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

platform::StagedValues StageValues(const platform::MachineStore& store,
                                   const CAffiliateInfo& info) {
    return store.StageStrings(ProductKeyPath(info.m_strKey),
                              {{platform::kPurchaseLinkValue, UpToNul(info.m_strLink)},
                               {platform::kResellerUrlValue, UpToNul(info.m_strWebSite)}});
}

} // namespace

std::string ProductKeyPath(std::string_view key) {
    return platform::ProductKeyPath(UpToNul(key));
}

LinkStoreOutcome StoreAffiliateLink(const CAffiliateInfo& info,
                                    const platform::MachineStore& machineWide,
                                    const platform::MachineStore& perUser) {
    StagedAffiliateLink staged = StageAffiliateLink(info, machineWide, perUser);
    return CommitAffiliateLink(staged, info, perUser);
}

StagedAffiliateLink StageAffiliateLink(const CAffiliateInfo& info,
                                       const platform::MachineStore& machineWide,
                                       const platform::MachineStore& perUser) {
    StagedAffiliateLink staged;
    staged.values = StageValues(machineWide, info);
    if (staged.values.Ready()) {
        staged.store = LinkStoreOutcome::MachineWide;
        return staged;
    }
    staged.values = StageValues(perUser, info);
    if (staged.values.Ready())
        staged.store = LinkStoreOutcome::PerUser;
    return staged;
}

LinkStoreOutcome CommitAffiliateLink(StagedAffiliateLink& staged, const CAffiliateInfo& info,
                                     const platform::MachineStore& perUser) {
    const LinkStoreOutcome store = staged.store;
    staged.store = LinkStoreOutcome::NotStored;
    if (store != LinkStoreOutcome::NotStored && staged.values.Commit())
        return store;
    if (store == LinkStoreOutcome::MachineWide && StageValues(perUser, info).Commit())
        return LinkStoreOutcome::PerUser;
    return LinkStoreOutcome::NotStored;
}
