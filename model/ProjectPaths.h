#pragma once

#include "platform/HostPath.h"

#include <cstddef>
#include <string>
#include <string_view>

// Paths relative to a project's folder. Pure functions of their arguments, so
// that both path styles can be checked on any system. Windows style accepts
// "/" and "\" as separators and writes "\"; Posix style writes "/" and also
// accepts "\" inside relative paths, which is how paths saved on Windows look.
namespace projectpaths {

// Longest path the project-relative operations accept or produce.
constexpr size_t kMaxPath = 260;

// path made absolute against base (when it is relative and base is not
// empty), with "." and ".." folded and repeated or trailing separators
// removed. No length limit. Folding a folded path changes nothing, and a
// relative path stays relative (".\C:x", not "C:x", on Windows).
std::string FoldPath(std::string_view base, std::string_view path, platform::PathStyle style);

// FoldPath; for an empty path the base directory, folded (empty when base is
// empty too). Empty when the result would be longer than kMaxPath: a cut path
// would name another file. Resolving a result against the same base gives it
// back unchanged.
std::string ResolvePath(std::string_view base, std::string_view path, platform::PathStyle style);

// The part of path below base, without leading separators, when base is a
// byte-exact prefix of path followed by a separator ("." when nothing
// remains; ".\" in front of a part that looks like a drive); path unchanged
// otherwise, when base is empty, or on Posix when the part holds a "\" (it
// would read back as a separator); empty when path is longer than kMaxPath.
// ResolvePath(base, result) gives path back when path is a resolved path.
std::string MakeRelativePath(std::string_view base, std::string_view path,
                             platform::PathStyle style);

// The folder of a file path with its trailing separators removed; a Posix
// root stays "/".
std::string FolderOf(std::string_view filePath, platform::PathStyle style);

// The file name of a path: the text after its last "/" or "\". Both count
// whatever the style, because stored paths may come from either system.
std::string_view FileNameOf(std::string_view path);

// The drive and folder part of a path, up to and including its last "/" or
// "\"; empty when the path has no folder.
std::string_view FolderPartOf(std::string_view path);

// A file name cut before its last "." (title) and from it (extension, with
// the dot; empty when there is none).
struct FileNameParts {
    std::string_view title;
    std::string_view extension;
};
FileNameParts SplitExtension(std::string_view fileName);

// name inside folder: name alone when folder is empty (a file beside the
// project rather than in the root folder), folder + name when folder already
// ends with a separator, otherwise joined with the style's separator.
std::string JoinPath(std::string_view folder, std::string_view name, platform::PathStyle style);

} // namespace projectpaths
