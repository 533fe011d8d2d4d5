#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace platform {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f)
            std::fclose(f);
    }
};
// An open file that is closed when it goes out of scope.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The user's folder for temporary files, without a trailing separator.
std::string TempFolder();

// Creates a new, empty file named prefix + decimal number + suffix in folder,
// readable and writable by the current user only, and opens it for writing raw
// bytes. The file is always new: an existing name (or a symbolic link planted
// under it) is never opened; another number is tried instead. On success path
// receives the full path. Returns null when no such file can be made (folder
// missing or not writable, or every tried name taken).
FileHandle CreateUniqueTempFile(const std::string& folder, const std::string& prefix,
                                const std::string& suffix, std::string& path);

// Opens the file name in folder for writing raw bytes, truncating it, for a
// file with a fixed name in a shared folder. Refuses (returns null) when it is
// a symbolic link, is not a regular file, has more than one link or belongs to
// another user; creates the file, readable and writable by the current user
// only, when it is missing. path receives the full path in any case.
FileHandle CreateOwnTempFile(const std::string& folder, const std::string& name, std::string& path);

} // namespace platform
