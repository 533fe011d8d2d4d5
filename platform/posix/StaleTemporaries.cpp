#include "platform/FileReplace.h"
#include "platform/PathText.h"

#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr time_t kStaleAfterSeconds = 60;

struct FolderCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

// Opened relative to the folder's descriptor, so that a folder renamed or
// replaced meanwhile is not searched by its path again.
bool IsStale(int folderFd, const char* name, time_t now) {
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool stale = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                 st.st_mtime + kStaleAfterSeconds < now;
    // A running writer holds its temporary file locked until it is done.
    stale = stale && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return stale;
}

} // namespace

size_t RemoveStaleTemporariesBeside(const std::string& target) {
    const std::string parent = FolderOf(target, PathStyle::Posix);
    const std::string targetName(FileNameOf(target));
    std::unique_ptr<DIR, FolderCloser> folder(::opendir(parent.empty() ? "." : parent.c_str()));
    if (!folder || targetName.empty())
        return 0;
    const int folderFd = ::dirfd(folder.get());
    const time_t now = ::time(nullptr);
    size_t removed = 0;
    while (const dirent* entry = ::readdir(folder.get())) {
        if (!IsTemporaryNameFor(entry->d_name, targetName) ||
            !IsStale(folderFd, entry->d_name, now))
            continue;
        if (::unlinkat(folderFd, entry->d_name, 0) == 0)
            ++removed;
    }
    return removed;
}

} // namespace platform
