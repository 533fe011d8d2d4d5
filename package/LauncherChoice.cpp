#include "package/LauncherChoice.h"

#include "model/ProgramStart.h"
#include "package/InstallerPlatform.h"
#include "package/PeHeader.h"
#include "package/SfxPackage.h"
#include "platform/EmbeddedImage.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kMachineAmd64 = 0x8664;

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

// An installer database for x64 machines is told by its summary information.
ProgramKind InstallerKind(const CompoundReadAt& read, int64_t size) {
    return InstallerPlatformOf(read, size) == InstallerPlatform::X64 ? ProgramKind::Installer64
                                                                     : ProgramKind::Installer;
}

// What a setup file is, as far as choosing its launcher goes.
struct SetupContent {
    ProgramKind kind = ProgramKind::Other;
    PeHeader pe;
    int64_t size = -1; // -1: the file could not be read
    unsigned char start[kProgramStartBytes] = {};
    size_t startLength = 0;
};

SetupContent ReadSetupContent(const std::string& path) {
    SetupContent content;
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen() || !file.IsRegular())
        return content;
    content.size = file.Size();
    content.startLength =
        static_cast<size_t>(std::clamp<int64_t>(content.size, 0, kProgramStartBytes));
    if (content.size < 0 || !file.ReadAll(content.start, content.startLength)) {
        content.size = -1;
        return content;
    }
    content.kind = ProgramKindOfStart(content.start, content.startLength);
    const auto readAt = [&file](int64_t pos, void* buffer, size_t length) {
        return file.SeekTo(pos) && file.ReadAll(buffer, length);
    };
    if (content.kind == ProgramKind::Installer)
        content.kind = InstallerKind(readAt, content.size);
    if (content.kind == ProgramKind::Other) {
        content.pe = ReadPeHeader(readAt, content.size);
        content.kind = KindOfPe(content.pe);
    }
    return content;
}

std::string Hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

// "found ..." for a setup that no launcher starts.
std::string WhatWasFound(const SetupContent& content) {
    if (content.size < 0)
        return "is not a file that can be read";
    if (content.size == 0)
        return "is empty";
    if (content.kind == ProgramKind::Windows32 || content.kind == ProgramKind::Windows64)
        return "is a Windows program for machine " + Hex(content.pe.machine, 4) +
               ", which no launcher starts";
    if (ProgramStartOf(content.start, content.startLength) == ProgramStart::WindowsProgram)
        return "starts with MZ but has no Windows program's headers (" +
               std::string(PeFaultName(content.pe.fault)) + ")";
    std::string bytes;
    for (size_t i = 0; i < content.startLength; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", content.start[i]);
        bytes += hex;
    }
    return "is not a Windows program, installer database, ELF program or script (it starts with " +
           bytes + ")";
}

const char* KindName(ProgramKind kind) {
    switch (kind) {
    case ProgramKind::Windows32:
        return "a 32-bit Windows program";
    case ProgramKind::Windows64:
        return "a 64-bit Windows program";
    case ProgramKind::Installer:
    case ProgramKind::Installer64:
        return "a Windows installer database";
    case ProgramKind::Elf:
        return "an ELF program";
    case ProgramKind::Script:
        return "a script";
    case ProgramKind::Other:
        break;
    }
    return "a file";
}

bool IsWindows(ProgramKind kind) {
    return kind == ProgramKind::Windows32 || kind == ProgramKind::Windows64;
}

// Whether a launcher image of kind launcherKind starts a setup of kind setupKind.
bool LauncherFits(ProgramKind setupKind, ProgramKind launcherKind) {
    switch (setupKind) {
    case ProgramKind::Windows32:
    case ProgramKind::Windows64:
        return launcherKind == setupKind;
    case ProgramKind::Installer:
    case ProgramKind::Installer64:
        return IsWindows(launcherKind);
    case ProgramKind::Elf:
    case ProgramKind::Script:
        return launcherKind == ProgramKind::Elf;
    case ProgramKind::Other:
        break;
    }
    return false;
}

int WantedTemplate(ProgramKind kind) {
    switch (kind) {
    case ProgramKind::Windows32:
    case ProgramKind::Installer:
        return kSfxTemplateWindows32;
    case ProgramKind::Windows64:
    case ProgramKind::Installer64:
        return kSfxTemplateWindows64;
    case ProgramKind::Elf:
    case ProgramKind::Script:
        return kSfxTemplateLinux;
    case ProgramKind::Other:
        break;
    }
    return 0;
}

bool Startable(const SetupContent& content) {
    if (content.kind == ProgramKind::Windows32)
        return content.pe.machine == kMachineI386;
    if (content.kind == ProgramKind::Windows64)
        return content.pe.machine == kMachineAmd64;
    return content.kind != ProgramKind::Other;
}

} // namespace

ProgramKind ProgramKindOfStart(const unsigned char* start, size_t size) {
    switch (ProgramStartOf(start, size)) {
    case ProgramStart::Installer:
        return ProgramKind::Installer;
    case ProgramStart::Elf:
        return ProgramKind::Elf;
    case ProgramStart::Script:
        return ProgramKind::Script;
    case ProgramStart::WindowsProgram:
    case ProgramStart::Unknown:
        break;
    }
    return ProgramKind::Other;
}

ProgramKind ProgramKindOfBytes(const unsigned char* data, size_t size) {
    const ProgramKind kind = ProgramKindOfStart(data, size);
    if (kind == ProgramKind::Installer)
        return InstallerKind(
            [data](int64_t pos, void* buffer, size_t length) {
                std::memcpy(buffer, data + pos, length);
                return true;
            },
            static_cast<int64_t>(size));
    if (kind != ProgramKind::Other)
        return kind;
    return KindOfPe(ReadPeHeader(data, size));
}

ProgramKind ProgramKindOfFile(const std::string& path) {
    return ReadSetupContent(path).kind;
}

LauncherPick PickLauncher(const std::string& setupPath) {
    const SetupContent content = ReadSetupContent(setupPath);
    if (!Startable(content))
        return {0, WhatWasFound(content)};
    const int wanted = WantedTemplate(content.kind);
    if (platform::FindEmbeddedImage("SFX_EXE", wanted))
        return {wanted, {}};
    const platform::EmbeddedImage own =
        platform::FindEmbeddedImage("SFX_EXE", kSfxTemplateSetupStub);
    if (own && LauncherFits(content.kind, ProgramKindOfBytes(own.data, own.size)))
        return {kSfxTemplateSetupStub, {}};
    return {0, std::string("is ") + KindName(content.kind) +
                   ", whose launcher this program does not carry"};
}

std::string LauncherRefusalLine(const std::string& shownSetupPath, const LauncherPick& pick) {
    return "Error! The setup file '" + shownSetupPath + "' " + pick.refusal + ".";
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
    case ProgramKind::Installer64:
    case ProgramKind::Script:
    case ProgramKind::Other:
        break;
    }
    return "unknown";
}
