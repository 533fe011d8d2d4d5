#include "platform/FileReplace.h"

#include "platform/FileFaults.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool ReplaceFile(const std::string& from, const std::string& to) {
    // Only a file or a link is ever replaced: a folder, a device or a pipe at
    // to stays what it is.
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        errno = EEXIST;
        return false;
    }
    if (!FileFaults::Allow(FileOperation::Rename)) {
        errno = EIO;
        return false;
    }
    // rename replaces the name itself: a link at to is replaced, not followed.
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0)
        return true;
    return errno == ENOENT;
}

} // namespace platform
