#pragma once

#include "platform/HostPath.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The form of a folder path that a person types for a folder to use or make,
// judged on the text alone (the disk is not looked at).

// A folder name is non-empty, neither begins nor ends with a tab, a blank or
// a full stop, and holds none of  " * / : < > ? \ |
bool IsValidFolderName(std::string_view name);

// A well-formed folder path cut into its root and its folder names, from the
// root downwards: "C:\a\b" gives "C:\" with "a", "b"; "/a/b" gives "/" with
// "a", "b".
struct FolderPathParts {
    std::string root;
    std::vector<std::string> names;
};

// True when path begins with a root of style ("C:\", "/"): the folders a
// chooser's tree offers that may go to its typed-path field.
bool BeginsWithFolderRoot(std::string_view path, platform::PathStyle style);

// The parts of path in style, or nothing when it is not well formed.
// Windows style: a drive letter A to Z (either case), ":" and "\", then names
// between single backslashes; the bare drive root "C:\" passes. Posix style:
// "/", then names between single slashes; "/" alone passes. A separator at
// the end or two in a row make an empty name, which fails; so do relative
// paths, "C:a" and "\\server\share".
std::optional<FolderPathParts> SplitFolderPath(std::string_view path, platform::PathStyle style);

inline bool IsWellFormedFolderPath(std::string_view path, platform::PathStyle style) {
    return SplitFolderPath(path, style).has_value();
}
