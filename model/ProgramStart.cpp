#include "model/ProgramStart.h"

#include "platform/RawFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char kInstallerMagic[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr unsigned char kElfMagic[] = {0x7F, 'E', 'L', 'F'};

bool StartsWith(const unsigned char* start, size_t size, const void* magic, size_t length) {
    return size >= length && std::memcmp(start, magic, length) == 0;
}

} // namespace

ProgramStart ProgramStartOf(const unsigned char* start, size_t size) {
    if (StartsWith(start, size, kInstallerMagic, sizeof kInstallerMagic))
        return ProgramStart::Installer;
    if (StartsWith(start, size, kElfMagic, sizeof kElfMagic))
        return ProgramStart::Elf;
    if (StartsWith(start, size, "MZ", 2))
        return ProgramStart::WindowsProgram;
    if (StartsWith(start, size, "#!", 2))
        return ProgramStart::Script;
    return ProgramStart::Unknown;
}

ProgramStart ProgramStartOfFile(const std::string& path) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen() || !file.IsRegular())
        return ProgramStart::Unknown;
    return ProgramStartOfOpenFile(file);
}

ProgramStart ProgramStartOfOpenFile(platform::RawFile& file) {
    const int64_t size = file.Size();
    if (size <= 0 || !file.SeekTo(0))
        return ProgramStart::Unknown;
    unsigned char start[kProgramStartBytes] = {};
    const size_t length = static_cast<size_t>(std::min<int64_t>(size, kProgramStartBytes));
    if (!file.ReadAll(start, length))
        return ProgramStart::Unknown;
    return ProgramStartOf(start, length);
}

bool CarriedByWindowsLauncher(ProgramStart start) {
    return start == ProgramStart::WindowsProgram || start == ProgramStart::Installer;
}
