#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

// Which launcher a package starts with, told by the executable header of its
// image: ELF for Linux, PE32 for i686 Windows, PE32+ for x86_64 Windows.
enum class LauncherKind { Unknown, Linux, I686, X86_64 };

// "Linux", "i686", "x86_64", or "unknown".
std::string_view LauncherKindName(LauncherKind kind);

struct LauncherFacts {
    LauncherKind kind = LauncherKind::Unknown;
    // A Windows image whose certificate table is not empty (it was signed).
    bool signedImage = false;
};

// Reads the executable header at the start of a package whose image is
// imageSize bytes long. read(pos, buffer, length) fills buffer from position
// pos; false on failure or a short read. Headers that point past the image are
// read as Unknown.
LauncherFacts
ReadLauncherFacts(const std::function<bool(int64_t pos, void* buffer, size_t length)>& read,
                  int64_t imageSize);
