#include "package/SignatureTable.h"

#include "package/PeHeader.h"

namespace {

constexpr int64_t kMaxPadding = 7;

} // namespace

std::optional<int64_t> CertificateTableOffset(const CPackageTrailer::ReadAt& read,
                                              int64_t fileSize) {
    const PeHeader pe = ReadPeHeader(read, fileSize);
    if (!pe.security)
        return std::nullopt;
    // Unlike the others, the security directory holds a file offset.
    const PeDirectory table = *pe.security;
    if (table.address == 0 || table.size == 0 ||
        static_cast<int64_t>(table.address) + table.size != fileSize)
        return std::nullopt;
    return static_cast<int64_t>(table.address);
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
