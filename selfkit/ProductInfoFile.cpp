#include "selfkit/ProductInfoFile.h"

#include <cstdint>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool ReadBlock(std::FILE* file, std::string& out) {
    unsigned char len[4];
    if (std::fread(len, 1, 4, file) != 4)
        return false;
    const uint32_t n =
        uint32_t(len[0]) | uint32_t(len[1]) << 8 | uint32_t(len[2]) << 16 | uint32_t(len[3]) << 24;
    if (n > kProductInfoMaxBlock)
        return false;
    out.assign(n, '\0');
    return n == 0 || std::fread(out.data(), 1, n, file) == n;
}

} // namespace

bool WriteLengthPrefixedBlock(std::FILE* file, std::string_view bytes) {
    if (bytes.size() > UINT32_MAX)
        return false;
    const auto n = static_cast<uint32_t>(bytes.size());
    const unsigned char len[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                  static_cast<unsigned char>(n >> 16),
                                  static_cast<unsigned char>(n >> 24)};
    if (std::fwrite(len, 1, 4, file) != 4)
        return false;
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

ProductInfoStatus ReadProductInfoFile(const std::string& path, CProductInfo& info) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return ProductInfoStatus::OpenFailed;
    CProductInfo read;
    if (!ReadBlock(file.get(), read.strUuid) || !ReadBlock(file.get(), read.strRegistrationList))
        return ProductInfoStatus::Corrupted;
    info = std::move(read);
    return ProductInfoStatus::Ok;
}
