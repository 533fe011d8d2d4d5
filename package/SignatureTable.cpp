#include "package/SignatureTable.h"

#include "package/LittleEndian.h"

#include <cstring>

namespace {

constexpr int64_t kPeOffsetField = 0x3C;
// From "PE\0\0": the signature (4), the file header (20), then the optional
// header, whose magic tells where its data directories begin.
constexpr int64_t kOptionalHeader = 4 + 20;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr int64_t kDirectoryCountPe32 = 92;
constexpr int64_t kDirectoryCountPe32Plus = 108;
constexpr int64_t kSecurityDirectory = 4;
constexpr int64_t kMaxPadding = 7;

std::optional<uint32_t> ReadU32(const CPackageTrailer::ReadAt& read, int64_t pos) {
    unsigned char bytes[4];
    if (pos < 0 || !read(pos, bytes, sizeof bytes))
        return std::nullopt;
    return static_cast<uint32_t>(ReadInt32LE(bytes));
}

} // namespace

std::optional<int64_t> CertificateTableOffset(const CPackageTrailer::ReadAt& read,
                                              int64_t fileSize) {
    unsigned char mz[2];
    if (fileSize < 64 || !read(0, mz, 2) || mz[0] != 'M' || mz[1] != 'Z')
        return std::nullopt;
    const std::optional<uint32_t> pe = ReadU32(read, kPeOffsetField);
    if (!pe || *pe > fileSize - 256)
        return std::nullopt;
    unsigned char head[kOptionalHeader + 2];
    if (!read(*pe, head, sizeof head) || std::memcmp(head, "PE\0\0", 4) != 0)
        return std::nullopt;
    const uint16_t magic =
        static_cast<uint16_t>(head[kOptionalHeader] | head[kOptionalHeader + 1] << 8);
    if (magic != kMagicPe32 && magic != kMagicPe32Plus)
        return std::nullopt;
    const int64_t countAt = *pe + kOptionalHeader +
                            (magic == kMagicPe32 ? kDirectoryCountPe32 : kDirectoryCountPe32Plus);
    const std::optional<uint32_t> count = ReadU32(read, countAt);
    if (!count || *count <= kSecurityDirectory)
        return std::nullopt;
    // Unlike the others, the security directory holds a file offset.
    const int64_t entry = countAt + 4 + 8 * kSecurityDirectory;
    const std::optional<uint32_t> offset = ReadU32(read, entry);
    const std::optional<uint32_t> size = ReadU32(read, entry + 4);
    if (!offset || !size || *offset == 0 || *size == 0 ||
        static_cast<int64_t>(*offset) + *size != fileSize)
        return std::nullopt;
    return static_cast<int64_t>(*offset);
}

std::optional<int64_t> SignedPackageEnd(const CPackageTrailer::ReadAt& read, int64_t fileSize) {
    const std::optional<int64_t> table = CertificateTableOffset(read, fileSize);
    if (!table || *table < kMaxPadding + 1)
        return std::nullopt;
    unsigned char before[kMaxPadding + 1];
    if (!read(*table - static_cast<int64_t>(sizeof before), before, sizeof before))
        return std::nullopt;
    // The marker never ends with a zero byte, so the padding is what is zero.
    int64_t padding = 0;
    while (padding < kMaxPadding && before[kMaxPadding - padding] == 0)
        ++padding;
    return *table - padding;
}
