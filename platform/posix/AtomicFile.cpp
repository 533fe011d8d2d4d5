#include "platform/AtomicFile.h"

#include "platform/FileFaults.h"
#include "platform/FileReplace.h"
#include "platform/PathText.h"
#include "platform/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

int CreateTemporary(const std::string& target, mode_t mode, std::string& tempPath) {
    if (!FileFaults::Allow(FileOperation::Open)) {
        errno = EIO;
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = TemporaryPathBeside(target);
        int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        // Held until the descriptor is closed: the mark of a running writer
        // that the removal of stale leftovers respects.
        if (fd >= 0)
            ::flock(fd, LOCK_EX | LOCK_NB);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

FileStatus WriteAll(int fd, std::string_view bytes, const AtomicWriteFault* fault) {
    if (!FileFaults::Allow(FileOperation::Write))
        return FileStatus{FileError::DiskFull, 0};
    size_t done = 0;
    while (done < bytes.size()) {
        size_t chunk = bytes.size() - done;
        if (fault) {
            if (done >= fault->failAfterBytes)
                return FileStatus{fault->failWith, 0};
            chunk = std::min(chunk, fault->failAfterBytes - done);
        }
        ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastFileStatus();
        }
        done += static_cast<size_t>(n);
    }
    return {};
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the rename itself has already happened
        ::close(fd);
    }
}

} // namespace

FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes,
                               const AtomicWriteFault* fault) {
    if (path.empty())
        return FileStatusFromCode(ENOENT);
    const WriteTarget resolved = ResolveWriteTarget(path);
    if (!resolved.Ok())
        return resolved.status;
    const std::string& target = resolved.path;

    mode_t mode = 0666; // narrowed by the process's umask
    bool replacing = false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        replacing = true;
        if (S_ISDIR(st.st_mode))
            return FileStatusFromCode(EISDIR);
        // Replacing would succeed even for a read-only file; the user expects
        // such a file to stay as it is.
        if (::access(target.c_str(), W_OK) != 0 && errno == EACCES)
            return FileStatusFromCode(EACCES);
        mode = st.st_mode & 07777;
    }

    const std::string parent = FolderOf(target, PathStyle::Posix);
    const std::string folder = parent.empty() ? std::string(".") : parent;
    std::string tempPath;
    int fd = CreateTemporary(target, mode, tempPath);
    if (fd < 0)
        return LastFileStatus();

    FileStatus status = WriteAll(fd, bytes, fault);
    // The new file keeps the permissions of the one it replaces.
    if (status.Ok() && replacing && ::fchmod(fd, mode) != 0 && errno != EPERM)
        status = LastFileStatus();
    if (status.Ok() && ::fsync(fd) != 0)
        status = LastFileStatus();
    if (::close(fd) != 0 && status.Ok())
        status = LastFileStatus();
    if (status.Ok() && !FileFaults::Allow(FileOperation::Rename))
        status = FileStatus{FileError::HardIo, 0};
    if (status.Ok() && ::rename(tempPath.c_str(), target.c_str()) != 0)
        status = LastFileStatus();
    if (!status.Ok()) {
        ::unlink(tempPath.c_str());
        return status;
    }
    SyncFolder(folder);
    RemoveStaleTemporariesBeside(target);
    return {};
}

} // namespace platform
