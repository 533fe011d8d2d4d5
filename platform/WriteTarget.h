#pragma once

#include "platform/FileError.h"

#include <string>

namespace platform {

// The file a writer may replace when it is asked to write path, after the
// one rule for symbolic links that every writer of ours follows (project
// files, CSV files, packages, self creators). A link is followed only where
// the system's protected-links rule would follow it: its folder is not both
// sticky and writable by everyone, or the link belongs to the writing user or
// to the folder's owner. Anything else is a link another user may have
// planted to make us overwrite a file of theirs choosing.
struct WriteTarget {
    FileStatus status; // FileError::PlantedLink when a link on the way is refused
    std::string path;  // the file to replace: path itself when it is no link
    bool viaLink = false;
    bool Ok() const { return status.Ok(); }
};

// Resolves path for writing: a chain of links at its last component is
// followed hop by hop, each hop judged by the rule above; at most 40 hops.
// A dangling link that may be followed names the file to create.
WriteTarget ResolveWriteTarget(const std::string& path);

} // namespace platform
