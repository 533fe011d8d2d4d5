#include "package/LauncherKind.h"

#include <cstring>

namespace {

constexpr int64_t kPeOffsetField = 0x3C;
constexpr int64_t kCoffHeaderSize = 20;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr int64_t kSecurityDirectory = 4;

using ReadAt = std::function<bool(int64_t pos, void* buffer, size_t length)>;

// Reads little-endian integers that lie wholly inside the image.
class ImageReader {
public:
    ImageReader(const ReadAt& read, int64_t size) : m_read(read), m_size(size) {}

    bool Bytes(int64_t pos, void* out, size_t length) const {
        return pos >= 0 && pos <= m_size && static_cast<int64_t>(length) <= m_size - pos &&
               m_read(pos, out, length);
    }
    bool U16(int64_t pos, uint16_t& value) const {
        uint8_t b[2];
        if (!Bytes(pos, b, 2))
            return false;
        value = static_cast<uint16_t>(b[0] | b[1] << 8);
        return true;
    }
    bool U32(int64_t pos, uint32_t& value) const {
        uint8_t b[4];
        if (!Bytes(pos, b, 4))
            return false;
        value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        return true;
    }

private:
    const ReadAt& m_read;
    int64_t m_size;
};

// The optional header's data directories: where they start after the magic,
// and the count field, depend on PE32 or PE32+.
LauncherFacts ReadPe(const ImageReader& image) {
    LauncherFacts facts;
    uint32_t peOffset = 0;
    char signature[4];
    if (!image.U32(kPeOffsetField, peOffset) || !image.Bytes(peOffset, signature, 4) ||
        std::memcmp(signature, "PE\0\0", 4) != 0)
        return facts;
    const int64_t optional = int64_t(peOffset) + 4 + kCoffHeaderSize;
    uint16_t magic = 0;
    if (!image.U16(optional, magic))
        return facts;
    int64_t countField = 0;
    if (magic == kPe32Magic) {
        facts.kind = LauncherKind::I686;
        countField = optional + 92;
    } else if (magic == kPe32PlusMagic) {
        facts.kind = LauncherKind::X86_64;
        countField = optional + 108;
    } else {
        return facts;
    }
    uint32_t count = 0, securitySize = 0;
    if (image.U32(countField, count) && count > kSecurityDirectory &&
        image.U32(countField + 4 + 8 * kSecurityDirectory + 4, securitySize))
        facts.signedImage = securitySize != 0;
    return facts;
}

} // namespace

std::string_view LauncherKindName(LauncherKind kind) {
    switch (kind) {
    case LauncherKind::Linux:
        return "Linux";
    case LauncherKind::I686:
        return "i686";
    case LauncherKind::X86_64:
        return "x86_64";
    case LauncherKind::Unknown:
        break;
    }
    return "unknown";
}

LauncherFacts ReadLauncherFacts(const ReadAt& read, int64_t imageSize) {
    const ImageReader image(read, imageSize);
    char magic[4];
    if (!image.Bytes(0, magic, 4))
        return {};
    if (std::memcmp(magic,
                    "\x7F"
                    "ELF",
                    4) == 0)
        return {LauncherKind::Linux, false};
    if (std::memcmp(magic, "MZ", 2) == 0)
        return ReadPe(image);
    return {};
}
