#include "package/LauncherChoice.h"

#include "package/LittleEndian.h"
#include "package/SfxPackage.h"
#include "platform/EmbeddedImage.h"
#include "platform/RawFile.h"

#include <cstring>

namespace {

constexpr size_t kDosHeader = 64;
constexpr size_t kPeOffsetField = 0x3C;
// "PE\0\0", the file header (20 bytes), then the optional header's magic.
constexpr size_t kPeHeadToMagic = 4 + 20;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;

bool ReadFully(platform::RawFile& file, unsigned char* buffer, size_t length) {
    size_t got = 0;
    while (got < length) {
        const long n = file.Read(buffer + got, length - got);
        if (n <= 0)
            return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

ProgramKind KindOfPeHead(const unsigned char* head) {
    if (std::memcmp(head, "PE\0\0", 4) != 0)
        return ProgramKind::Other;
    const uint16_t magic =
        static_cast<uint16_t>(head[kPeHeadToMagic] | head[kPeHeadToMagic + 1] << 8);
    if (magic == kMagicPe32)
        return ProgramKind::Windows32;
    if (magic == kMagicPe32Plus)
        return ProgramKind::Windows64;
    return ProgramKind::Other;
}

// The kind told by the first 64 bytes alone; Windows32 stands for "a PE image,
// look at its PE header".
ProgramKind KindOfStart(const unsigned char* start, size_t size) {
    if (size >= 8 && std::memcmp(start, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) == 0)
        return ProgramKind::Installer;
    if (size >= 4 && std::memcmp(start,
                                 "\x7f"
                                 "ELF",
                                 4) == 0)
        return ProgramKind::Elf;
    if (size >= kDosHeader && start[0] == 'M' && start[1] == 'Z')
        return ProgramKind::Windows32;
    return ProgramKind::Other;
}

} // namespace

ProgramKind ProgramKindOfBytes(const unsigned char* data, size_t size) {
    const ProgramKind kind = KindOfStart(data, size);
    if (kind != ProgramKind::Windows32)
        return kind;
    const uint32_t peOffset = static_cast<uint32_t>(ReadInt32LE(data + kPeOffsetField));
    if (peOffset > size || size - peOffset < kPeHeadToMagic + 2)
        return ProgramKind::Other;
    return KindOfPeHead(data + peOffset);
}

ProgramKind ProgramKindOfFile(const std::string& path) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    unsigned char start[kDosHeader] = {};
    if (!file.IsOpen() || !file.IsRegular())
        return ProgramKind::Other;
    const long n = file.Read(start, sizeof start);
    if (n <= 0)
        return ProgramKind::Other;
    const ProgramKind kind = KindOfStart(start, static_cast<size_t>(n));
    if (kind != ProgramKind::Windows32)
        return kind;
    if (static_cast<size_t>(n) < kDosHeader && !ReadFully(file, start + n, kDosHeader - n))
        return ProgramKind::Other;
    unsigned char head[kPeHeadToMagic + 2] = {};
    if (!file.SeekTo(static_cast<uint32_t>(ReadInt32LE(start + kPeOffsetField))) ||
        !ReadFully(file, head, sizeof head))
        return ProgramKind::Other;
    return KindOfPeHead(head);
}

int LauncherTemplateForSetup(const std::string& setupPath) {
    int wanted = kSfxTemplateLinux;
    switch (ProgramKindOfFile(setupPath)) {
    case ProgramKind::Windows32:
    case ProgramKind::Installer:
        wanted = kSfxTemplateWindows32;
        break;
    case ProgramKind::Windows64:
        wanted = kSfxTemplateWindows64;
        break;
    case ProgramKind::Elf:
    case ProgramKind::Other:
        break;
    }
    return platform::FindEmbeddedImage("SFX_EXE", wanted) ? wanted : kSfxTemplateSetupStub;
}

std::string LauncherDescription(ProgramKind kind) {
    switch (kind) {
    case ProgramKind::Windows32:
        return "Windows x86 (PE32)";
    case ProgramKind::Windows64:
        return "Windows x64 (PE32+)";
    case ProgramKind::Elf:
        return "Linux (ELF)";
    case ProgramKind::Installer:
    case ProgramKind::Other:
        break;
    }
    return "unknown";
}
