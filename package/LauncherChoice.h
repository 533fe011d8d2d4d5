#pragma once

#include <cstddef>
#include <string>

// Template ids of the launchers beside kSfxTemplateSetupStub (130, the
// launcher of the writing program's own system and machine type).
inline constexpr int kSfxTemplateWindows32 = 131; // Windows, i686 (PE32)
inline constexpr int kSfxTemplateWindows64 = 132; // Windows, x86_64 (PE32+)
inline constexpr int kSfxTemplateLinux = 133;     // Linux (carried as 130 today)

// What kind of program a file is, by its first bytes.
enum class ProgramKind {
    Windows32, // a PE32 image (i686)
    Windows64, // a PE32+ image (x86_64)
    Installer, // a Windows installer database (compound-file header)
    Elf,       // an ELF program
    Other,     // a script, a document, or unreadable
};

// How many first bytes ProgramKindOfStart looks at.
inline constexpr size_t kProgramStartBytes = 8;

// The kind told by the first bytes alone: Installer, Elf, or Other (which
// may still be a Windows program: its PE header tells).
ProgramKind ProgramKindOfStart(const unsigned char* start, size_t size);

// Reads the file's headers; never more than the headers hold.
ProgramKind ProgramKindOfFile(const std::string& path);
// The same for bytes already in memory (an embedded image).
ProgramKind ProgramKindOfBytes(const unsigned char* data, size_t size);

// The launcher template for a package whose setup is setupPath: a PE setup
// gets the Windows launcher of its own machine type, an installer database
// the 32-bit Windows one, anything else the Linux one. Where the program does
// not carry that template, the launcher of its own system (130).
int LauncherTemplateForSetup(const std::string& setupPath);

// How inspect names the launcher at the front of a package, from its headers:
// "Windows x86 (PE32)", "Windows x64 (PE32+)", "Linux (ELF)" or "unknown".
std::string LauncherDescription(ProgramKind kind);
