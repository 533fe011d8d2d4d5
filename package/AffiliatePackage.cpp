#include "package/AffiliatePackage.h"

#include "model/AffProject.h"
#include "package/SfxPackage.h"

CAffiliateInfo AffiliateInfoFor(const CAffProject& product, const CReseller& affiliate) {
    return CAffiliateInfo{product.m_strUuid, affiliate.m_strPurchaseLink, affiliate.m_strWebSite};
}

std::string AffiliateInfoEntryName(uint16_t key) {
    // The form the information file's name always had inside packages, made
    // from the affiliate's key now that no file is written.
    return "_aff" + std::to_string(key) + ".ino";
}

bool AddAffiliateInfoEntry(CSfxPackage& pkg, const CAffProject& product,
                           const CReseller& affiliate) {
    const CAffiliateInfo info = AffiliateInfoFor(product, affiliate);
    return CanEncodeAffiliateInfo(info) &&
           pkg.AddBytes(AffiliateInfoEntryName(affiliate.Key()), EncodeAffiliateInfo(info));
}
