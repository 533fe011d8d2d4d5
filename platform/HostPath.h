#pragma once

#include <string>

namespace platform {

// How paths are written: Posix ("/a/b") or Windows ("C:\a\b", "\\server\share").
enum class PathStyle { Posix, Windows };

// The style of the system the program runs on.
PathStyle HostPathStyle();

// The process's current directory; empty when it cannot be determined.
std::string CurrentDirectory();

} // namespace platform
