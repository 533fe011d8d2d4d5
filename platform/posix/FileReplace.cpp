#include "platform/FileReplace.h"

#include "platform/FileFaults.h"
#include "platform/Uuid.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string TemporaryPathBeside(const std::string& target) {
    const size_t slash = target.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    // Short enough for the file system whatever the target's name.
    return folder + "." + name.substr(0, 100) + "." + NewUuidText() + ".tmp";
}

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
