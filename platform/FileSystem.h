#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Files and folders by their narrow path, in the system's own character set
// (on Windows the ANSI code page, as the system's "A" functions take it).
namespace platform {

// Creates one folder; false when it could not be made (also when it exists).
bool CreateFolder(const std::string& path);

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// The last write time of a regular file in seconds since 1970; nothing when
// path is not a regular file.
std::optional<int64_t> RegularFileWriteTime(const std::string& path);

// True when something (a file, a folder) exists at path; when false,
// LastFileStatus() says why.
bool PathExists(const std::string& path);

// path made absolute against the current directory, with "." and ".."
// components resolved as text; path itself on failure.
std::string AbsolutePath(const std::string& path);

} // namespace platform
