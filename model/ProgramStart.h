#pragma once

#include <cstddef>
#include <string>

namespace platform {
class RawFile;
}

// What the first bytes of a file say it is. The one home of the magic
// numbers of the setups a custom setup can carry; package/LauncherChoice.h
// reads a Windows program's headers on top of it.
enum class ProgramStart {
    WindowsProgram, // "MZ": a Windows program (its PE header decides which)
    Installer,      // a Windows installer database (compound-file header)
    Elf,            // an ELF program
    Script,         // "#!": a script for an interpreter
    Unknown,        // anything else, an empty or an unreadable file
};

// How many first bytes ProgramStartOf looks at.
inline constexpr size_t kProgramStartBytes = 8;

ProgramStart ProgramStartOf(const unsigned char* start, size_t size);

// Reads at most the first kProgramStartBytes of the regular file at path.
ProgramStart ProgramStartOfFile(const std::string& path);

// The same for a file already open (a file of a folder reached through its
// handle); reads from its start and leaves the position after what it read.
ProgramStart ProgramStartOfOpenFile(platform::RawFile& file);

// Whether a setup that starts so is carried by a Windows launcher, so that the
// custom setup is a Windows program whatever the setup file is.
bool CarriedByWindowsLauncher(ProgramStart start);
