#include "platform/RawFile.h"

#include "platform/FileFaults.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

RawFile RawFile::OpenRead(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    return RawFile(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
}

RawFile RawFile::CreateTruncate(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    return RawFile(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

RawFile RawFile::CreateReplacing(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return RawFile();
        if (::unlink(path.c_str()) != 0)
            return RawFile();
    }
    // O_EXCL also refuses a link planted between the unlink and the open.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    // Held while the file is written: the mark of a running writer that the
    // removal of stale temporary files respects.
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);
    return RawFile(fd);
}

RawFile RawFile::OpenOwnForRewrite(const std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return RawFile();
    // Not blocking: a pipe or device of that name is refused, never waited on.
    RawFile file(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!file.IsOpen() || ::fstat(file.m_fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_nlink != 1 || st.st_uid != ::geteuid())
        return RawFile();
    const int flags = ::fcntl(file.m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(file.m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return RawFile();
    return file;
}

bool RawFile::Resize(int64_t length) {
    if (m_fd < 0 || length < 0 || !FileFaults::Allow(FileOperation::Write))
        return false;
    int result = 0;
    do
        result = ::ftruncate(m_fd, static_cast<off_t>(length));
    while (result != 0 && errno == EINTR);
    return result == 0;
}

int64_t RawFile::Size() const {
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool RawFile::IsRegular() const {
    struct stat st {};
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode);
}

bool RawFile::SeekTo(int64_t position) {
    if (m_fd < 0 || position < 0)
        return false;
    return ::lseek(m_fd, static_cast<off_t>(position), SEEK_SET) == static_cast<off_t>(position);
}

int64_t RawFile::Position() const {
    if (m_fd < 0)
        return -1;
    return static_cast<int64_t>(::lseek(m_fd, 0, SEEK_CUR));
}

long RawFile::Read(void* buffer, size_t length) {
    if (m_fd < 0)
        return -1;
    for (;;) {
        ssize_t n = ::read(m_fd, buffer, length);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno != EINTR)
            return -1;
    }
}

bool RawFile::WriteAll(const void* buffer, size_t length) {
    if (m_fd < 0 || !FileFaults::Allow(FileOperation::Write))
        return false;
    auto* p = static_cast<const char*>(buffer);
    while (length > 0) {
        ssize_t n = ::write(m_fd, p, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool RawFile::Close() {
    if (m_fd < 0)
        return true;
    int fd = std::exchange(m_fd, -1);
    return ::close(fd) == 0;
}

bool RawFile::SameFileAs(const std::string& path) const {
    struct stat mine {};
    struct stat other {};
    if (m_fd < 0 || ::fstat(m_fd, &mine) != 0 || ::stat(path.c_str(), &other) != 0)
        return false;
    return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

} // namespace platform
