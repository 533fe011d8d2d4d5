#include "setupstub/AffiliateLinkStore.h"

#include "package/AffiliateInfoFile.h"
#include "platform/StoreContract.h"

namespace {

std::string_view UpToNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

bool WriteValues(const platform::MachineStore& store, const std::string& keyPath,
                 const CAffiliateInfo& info) {
    return store.SetString(keyPath, platform::kPurchaseLinkValue, UpToNul(info.m_strLink)) &&
           store.SetString(keyPath, platform::kResellerUrlValue, UpToNul(info.m_strWebSite));
}

} // namespace

std::string ProductKeyPath(std::string_view key) {
    return platform::ProductKeyPath(UpToNul(key));
}

LinkStoreOutcome StoreAffiliateLink(const CAffiliateInfo& info,
                                    const platform::MachineStore& machineWide,
                                    const platform::MachineStore& perUser) {
    std::string keyPath = ProductKeyPath(info.m_strKey);
    if (WriteValues(machineWide, keyPath, info))
        return LinkStoreOutcome::MachineWide;
    if (WriteValues(perUser, keyPath, info))
        return LinkStoreOutcome::PerUser;
    return LinkStoreOutcome::NotStored;
}
