#pragma once

#include "platform/HostPath.h"

#include <cstddef>
#include <string>
#include <string_view>

// Cutting and joining path text, for either path style on any system. The
// project's paths (model/ProjectPaths) and the platform's own files both cut
// and join paths here. Windows style takes "/" and "\" as separators and
// writes "\"; Posix style takes and writes "/".
namespace platform {

bool IsPathSeparator(char c, PathStyle style);
char PathSeparator(PathStyle style);

// The position of the last separator of style in path; npos when none.
size_t LastSeparator(std::string_view path, PathStyle style);

// The folder of a file path with its trailing separators removed; a Posix
// root stays "/"; empty when the path has no folder.
std::string FolderOf(std::string_view filePath, PathStyle style);

// The file name of a path: the text after its last "/" or "\". Both count
// whatever the style, because stored paths may come from either system.
std::string_view FileNameOf(std::string_view path);

// The drive and folder part of a path, up to and including its last "/" or
// "\"; empty when the path has no folder.
std::string_view FolderPartOf(std::string_view path);

// name inside folder: name alone when folder is empty (a file beside the
// project rather than in the root folder), folder + name when folder already
// ends with a separator, otherwise joined with the style's separator.
std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style);

} // namespace platform
