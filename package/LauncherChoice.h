#pragma once

#include "model/ProgramStart.h"

#include <cstddef>
#include <string>

// Template ids of the launchers beside kSfxTemplateSetupStub (130, the
// launcher of the writing program's own system and machine type).
inline constexpr int kSfxTemplateWindows32 = 131; // Windows, i686 (PE32)
inline constexpr int kSfxTemplateWindows64 = 132; // Windows, x86_64 (PE32+)
inline constexpr int kSfxTemplateLinux = 133;     // Linux (carried as 130 today)

// What kind of program a file is, by its first bytes.
enum class ProgramKind {
    Windows32,   // a PE32 image (i686)
    Windows64,   // a PE32+ image (x86_64)
    Installer,   // a Windows installer database for 32-bit Windows, or for a
                 // platform its summary information does not name as x64
    Installer64, // a Windows installer database for x64 machines
    Elf,         // an ELF program
    Script,      // "#!": a script for an interpreter
    Other,       // a document, an archive, broken headers, or unreadable
};

// The kind told by the first bytes alone (model/ProgramStart.h): Installer
// (whose summary information may still say x64), Elf, Script, or Other (which
// may still be a Windows program: its PE header tells).
ProgramKind ProgramKindOfStart(const unsigned char* start, size_t size);

// Reads the file's headers; never more than the headers hold.
ProgramKind ProgramKindOfFile(const std::string& path);
// The same for bytes already in memory (an embedded image).
ProgramKind ProgramKindOfBytes(const unsigned char* data, size_t size);

// The launcher a package gets for its setup, or why it gets none.
struct LauncherPick {
    int templateId = 0;  // 0: refused
    std::string refusal; // when refused: what was found, as the log line says it
};

// The launcher template for a package whose setup is setupPath, by its
// content: a PE setup for i386 or x86_64 gets the Windows launcher of its own
// machine type, an installer database the one of the platform its summary
// information names (x64: the 64-bit one, which runs wherever the database
// installs; any other or none: the 32-bit one, which runs on every Windows),
// an ELF program
// or a script the Linux one; where the program does not carry that template,
// its own launcher (130) when that one is of the kind wanted (an installer
// takes either Windows launcher). Anything else is refused, and so is a kind
// whose launcher the program does not carry (a script on Windows).
LauncherPick PickLauncher(const std::string& setupPath);

// The build log's line for a refused pick: "Error! The setup file 'F' ...".
std::string LauncherRefusalLine(const std::string& shownSetupPath, const LauncherPick& pick);

// How inspect names the launcher at the front of a package, from its headers:
// "Windows x86 (PE32)", "Windows x64 (PE32+)", "Linux (ELF)" or "unknown".
std::string LauncherDescription(ProgramKind kind);
