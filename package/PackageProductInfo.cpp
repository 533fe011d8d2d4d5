#include "package/PackageProductInfo.h"

#include "package/SfxPackage.h"

std::optional<CProductInfo> ProductInfoOfPackage(const CSfxPackage& package) {
    if (package.GetCount() < 1)
        return std::nullopt;
    const CSfxEntry first = package.GetEntry(0);
    if (first.m_nSize < 0 || static_cast<size_t>(first.m_nSize) > kProductInfoMaxBytes)
        return std::nullopt;
    std::string bytes;
    if (package.ReadEntryBytes(0, kProductInfoMaxBytes, bytes) != SFX_OK)
        return std::nullopt;
    CProductInfo info;
    if (DecodeProductInfo(bytes, info, true) != ProductInfoStatus::Ok)
        return std::nullopt;
    return info;
}
