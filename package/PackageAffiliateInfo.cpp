#include "package/PackageAffiliateInfo.h"

#include "package/SfxPackage.h"

std::optional<CAffiliateInfo> AffiliateInfoOfPackage(const CSfxPackage& package) {
    constexpr size_t kLargest = 3 * (4 + kAffiliateInfoMaxField);
    const CSfxEntry first = package.GetEntry(0);
    if (package.GetCount() < 1 || static_cast<size_t>(first.m_nSize) > kLargest)
        return std::nullopt;
    std::string bytes;
    if (package.ReadEntryBytes(0, kLargest, bytes) != SFX_OK)
        return std::nullopt;
    CAffiliateInfo info;
    if (DecodeAffiliateInfo(bytes, info) != SFX_OK ||
        EncodeAffiliateInfo(info).size() != bytes.size())
        return std::nullopt;
    return info;
}
