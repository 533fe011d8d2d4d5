#include "package/ProductInfoFile.h"

ProductInfoStatus ReadProductInfoFile(const std::string& path, CProductInfo& info) {
    // Bytes past the two longest possible blocks are never looked at.
    std::string bytes;
    if (!ReadInfoFileBytes(path, 2 * (4 + kProductInfoMaxBlock), bytes))
        return ProductInfoStatus::OpenFailed;
    CProductInfo read;
    size_t pos = 0;
    if (!TakeInfoBlock(bytes, pos, read.strUuid) ||
        !TakeInfoBlock(bytes, pos, read.strRegistrationList))
        return ProductInfoStatus::Corrupted;
    info = std::move(read);
    return ProductInfoStatus::Ok;
}
