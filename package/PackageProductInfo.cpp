#include "package/PackageProductInfo.h"

#include "package/SfxPackage.h"

std::optional<CProductInfo> ProductInfoOfPackage(const CSfxPackage& package) {
    constexpr size_t kLargest = 2 * (4 + kProductInfoMaxBlock);
    if (package.GetCount() < 1)
        return std::nullopt;
    const CSfxEntry first = package.GetEntry(0);
    if (first.m_nSize < 0 || static_cast<size_t>(first.m_nSize) > kLargest)
        return std::nullopt;
    std::string bytes;
    if (package.ReadEntryBytes(0, kLargest, bytes) != SFX_OK)
        return std::nullopt;
    CProductInfo info;
    size_t pos = 0;
    if (!TakeInfoBlock(bytes, pos, info.strUuid) ||
        !TakeInfoBlock(bytes, pos, info.strRegistrationList) || pos != bytes.size())
        return std::nullopt;
    return info;
}
