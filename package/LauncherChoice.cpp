#include "package/LauncherChoice.h"

#include "package/PeHeader.h"
#include "package/SfxPackage.h"
#include "platform/EmbeddedImage.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char kInstallerMagic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr unsigned char kElfMagic[] = {0x7F, 'E', 'L', 'F'};

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

ProgramKind KindOfPe(const PeHeader& pe) {
    switch (pe.format) {
    case PeFormat::Pe32:
        return ProgramKind::Windows32;
    case PeFormat::Pe32Plus:
        return ProgramKind::Windows64;
    case PeFormat::None:
        break;
    }
    return ProgramKind::Other;
}

} // namespace

ProgramKind ProgramKindOfStart(const unsigned char* start, size_t size) {
    if (size >= sizeof kInstallerMagic &&
        std::memcmp(start, kInstallerMagic, sizeof kInstallerMagic) == 0)
        return ProgramKind::Installer;
    if (size >= sizeof kElfMagic && std::memcmp(start, kElfMagic, sizeof kElfMagic) == 0)
        return ProgramKind::Elf;
    return ProgramKind::Other;
}

ProgramKind ProgramKindOfBytes(const unsigned char* data, size_t size) {
    const ProgramKind kind = ProgramKindOfStart(data, size);
    if (kind != ProgramKind::Other)
        return kind;
    return KindOfPe(ReadPeHeader(data, size));
}

ProgramKind ProgramKindOfFile(const std::string& path) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen() || !file.IsRegular())
        return ProgramKind::Other;
    const int64_t size = file.Size();
    if (size <= 0)
        return ProgramKind::Other;
    unsigned char start[kProgramStartBytes] = {};
    const size_t startLength = static_cast<size_t>(std::min<int64_t>(size, kProgramStartBytes));
    if (!ReadFully(file, start, startLength))
        return ProgramKind::Other;
    const ProgramKind kind = ProgramKindOfStart(start, startLength);
    if (kind != ProgramKind::Other)
        return kind;
    return KindOfPe(ReadPeHeader(
        [&file](int64_t pos, void* buffer, size_t length) {
            return file.SeekTo(pos) && ReadFully(file, static_cast<unsigned char*>(buffer), length);
        },
        size));
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
