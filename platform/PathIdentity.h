#pragma once

#include <string_view>

namespace platform {

// True when the host's file system takes the two full paths as the same name:
// byte for byte on POSIX systems, without regard to letter case on Windows.
// Only the text is compared; nothing is looked up on disk.
bool SameHostPath(std::string_view a, std::string_view b);

// True when both paths name a file that exists and it is the same file
// (through a link, another spelling or another mount of it). False when
// either cannot be found.
bool SameExistingFile(const char* a, const char* b);

} // namespace platform
