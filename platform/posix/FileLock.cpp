#include "platform/shared/FileLockSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::lock_system {
namespace {

// Locks that belong to the open file, not to the process, where the system
// has them: closing another descriptor of the same file in this process then
// does not drop the lock, and two holders in one process exclude each other.
#ifdef F_OFD_SETLK
constexpr int kTryLock = F_OFD_SETLK;
#else
constexpr int kTryLock = F_SETLK;
#endif

} // namespace

intptr_t OpenLockFile(const std::string& lockPath, FileLockOutcome& outcome, FileStatus& status) {
    // Never through a link, and never waiting on a pipe someone put there.
    const int fd =
        ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A link or a folder in the lock file's place is not ours to use.
        outcome =
            errno == ELOOP || errno == EISDIR ? FileLockOutcome::NotOwned : FileLockOutcome::Failed;
        status = LastFileStatus();
        return kNoFile;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        status = LastFileStatus();
        outcome = FileLockOutcome::Failed;
        ::close(fd);
        return kNoFile;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        outcome = FileLockOutcome::NotOwned;
        ::close(fd);
        return kNoFile;
    }
    return fd;
}

TryResult TryLock(intptr_t file) {
    struct flock request {};
    request.l_type = F_WRLCK;
    request.l_whence = SEEK_SET; // l_start 0, l_len 0: the whole file
    for (;;) {
        if (::fcntl(static_cast<int>(file), kTryLock, &request) == 0)
            return TryResult::Locked;
        if (errno != EINTR)
            break;
    }
    return errno == EACCES || errno == EAGAIN ? TryResult::Busy : TryResult::Failed;
}

void CloseLockFile(intptr_t file) {
    ::close(static_cast<int>(file));
}

} // namespace platform::lock_system
