#include "package/ProductInfoFile.h"

bool CanEncodeProductInfo(const CProductInfo& info) {
    return info.strUuid.size() <= kInfoFieldMax && info.strRegistrationList.size() <= kInfoFieldMax;
}

std::string EncodeProductInfo(const CProductInfo& info) {
    std::string out;
    AppendInfoBlock(out, info.strUuid);
    AppendInfoBlock(out, info.strRegistrationList);
    return out;
}

ProductInfoStatus DecodeProductInfo(std::string_view bytes, CProductInfo& info, bool exact) {
    CProductInfo read;
    size_t pos = 0;
    if (!TakeInfoBlock(bytes, pos, read.strUuid) ||
        !TakeInfoBlock(bytes, pos, read.strRegistrationList) || (exact && pos != bytes.size()))
        return ProductInfoStatus::Corrupted;
    info = std::move(read);
    return ProductInfoStatus::Ok;
}

ProductInfoStatus ReadProductInfoFile(const std::string& path, CProductInfo& info) {
    std::string bytes;
    if (!ReadInfoFileBytes(path, kProductInfoMaxBytes, bytes))
        return ProductInfoStatus::OpenFailed;
    return DecodeProductInfo(bytes, info);
}
