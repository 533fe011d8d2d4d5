#include "package/PeHeader.h"

#include "model/ByteOrder.h"

#include <cstring>

namespace {

constexpr int64_t kDosHeaderSize = 64;
constexpr int64_t kPeOffsetField = 0x3C;
// From "PE\0\0": the signature (4), the file header (20), then the optional
// header, whose magic tells where its data directories begin.
constexpr int64_t kOptionalHeader = 4 + 20;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr int64_t kDirectoryEntrySize = 8;

// Reads byte ranges that lie wholly inside the image.
class ImageBytes {
public:
    ImageBytes(const PeReadAt& read, int64_t size) : m_read(read), m_size(size) {}

    bool Inside(int64_t pos, int64_t length) const {
        return pos >= 0 && length >= 0 && pos <= m_size && length <= m_size - pos;
    }
    bool Read(int64_t pos, void* out, size_t length) const { return m_read(pos, out, length); }

private:
    const PeReadAt& m_read;
    int64_t m_size;
};

PeHeader Stop(PeHeader header, PeFault fault) {
    header.fault = fault;
    return header;
}

// The count of data directories and, when there are enough, the security entry.
PeHeader ReadDirectories(const ImageBytes& image, PeHeader header, int64_t countAt) {
    unsigned char count[4];
    if (!image.Inside(countAt, sizeof count))
        return Stop(header, PeFault::DirectoriesOutside);
    if (!image.Read(countAt, count, sizeof count))
        return Stop(header, PeFault::ReadFailed);
    if (ReadU32LE(count) <= kPeSecurityDirectory)
        return header;
    const int64_t entryAt = countAt + 4 + kDirectoryEntrySize * kPeSecurityDirectory;
    unsigned char entry[kDirectoryEntrySize];
    if (!image.Inside(entryAt, sizeof entry))
        return Stop(header, PeFault::DirectoriesOutside);
    if (!image.Read(entryAt, entry, sizeof entry))
        return Stop(header, PeFault::ReadFailed);
    header.security = PeDirectory{ReadU32LE(entry), ReadU32LE(entry + 4)};
    header.securityOffset = entryAt;
    return header;
}

} // namespace

PeHeader ReadPeHeader(const PeReadAt& read, int64_t size) {
    const ImageBytes image(read, size);
    PeHeader header;
    unsigned char dos[kDosHeaderSize];
    if (!image.Inside(0, kDosHeaderSize))
        return Stop(header, PeFault::ShorterThanDosHeader);
    if (!image.Read(0, dos, sizeof dos))
        return Stop(header, PeFault::ReadFailed);
    if (dos[0] != 'M' || dos[1] != 'Z')
        return Stop(header, PeFault::NoDosMagic);

    const int64_t pe = ReadU32LE(dos + kPeOffsetField);
    unsigned char head[kOptionalHeader + 2];
    if (!image.Inside(pe, sizeof head))
        return Stop(header, PeFault::PeHeaderOutside);
    if (!image.Read(pe, head, sizeof head))
        return Stop(header, PeFault::ReadFailed);
    if (std::memcmp(head, "PE\0\0", 4) != 0)
        return Stop(header, PeFault::NoPeSignature);
    const uint16_t magic = ReadU16LE(head + kOptionalHeader);
    header.machine = ReadU16LE(head + 4);
    header.sectionCount = ReadU16LE(head + 4 + 2);
    header.optionalHeaderSize = ReadU16LE(head + 4 + 16);
    header.optionalHeader = pe + kOptionalHeader;
    if (magic == kMagicPe32)
        header.format = PeFormat::Pe32;
    else if (magic == kMagicPe32Plus)
        header.format = PeFormat::Pe32Plus;
    else
        return Stop(header, PeFault::UnknownMagic);
    header.checksumOffset = header.optionalHeader + kPeChecksumField;
    return ReadDirectories(image, header,
                           header.optionalHeader + PeDirectoryCountField(header.format));
}

PeHeader ReadPeHeader(const unsigned char* data, size_t size) {
    return ReadPeHeader(
        [data](int64_t pos, void* buffer, size_t length) {
            std::memcpy(buffer, data + pos, length);
            return true;
        },
        static_cast<int64_t>(size));
}

std::string_view PeFaultName(PeFault fault) {
    switch (fault) {
    case PeFault::None:
        return "none";
    case PeFault::ShorterThanDosHeader:
        return "shorter than a DOS header";
    case PeFault::NoDosMagic:
        return "no MZ";
    case PeFault::PeHeaderOutside:
        return "PE header outside the file";
    case PeFault::NoPeSignature:
        return "no PE signature";
    case PeFault::UnknownMagic:
        return "unknown optional header";
    case PeFault::DirectoriesOutside:
        return "directories outside the file";
    case PeFault::ReadFailed:
        break;
    }
    return "read failed";
}
