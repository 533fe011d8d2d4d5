#pragma once

#include "platform/HostPath.h"
#include "platform/PathText.h"

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

// Cutting and joining path text (platform/PathText.h).
using platform::FileNameOf;
using platform::FolderOf;
using platform::FolderPartOf;
using platform::JoinPath;

// A file name cut before its last "." (title) and from it (extension, with
// the dot; empty when there is none).
struct FileNameParts {
    std::string_view title;
    std::string_view extension;
};
FileNameParts SplitExtension(std::string_view fileName);

} // namespace projectpaths
