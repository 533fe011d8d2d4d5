#include "package/PackageAffiliateInfo.h"

#include "package/SfxPackage.h"

SfxResult ReadPackageAffiliateInfo(const CSfxPackage& package, CAffiliateInfo& info) {
    std::string bytes;
    const SfxResult result = package.ReadEntryBytes(0, kAffiliateInfoMaxBytes, bytes);
    if (result != SFX_OK)
        return result;
    return DecodeAffiliateInfo(bytes, info);
}

std::optional<CAffiliateInfo> AffiliateInfoOfPackage(const CSfxPackage& package) {
    const CSfxEntry first = package.GetEntry(0);
    if (package.GetCount() < 1 || static_cast<size_t>(first.m_nSize) > kAffiliateInfoMaxBytes)
        return std::nullopt;
    std::string bytes;
    if (package.ReadEntryBytes(0, kAffiliateInfoMaxBytes, bytes) != SFX_OK)
        return std::nullopt;
    CAffiliateInfo info;
    if (DecodeAffiliateInfo(bytes, info) != SFX_OK ||
        EncodeAffiliateInfo(info).size() != bytes.size())
        return std::nullopt;
    return info;
}
