#include "platform/FileRead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() { ::close(m_fd); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

} // namespace

FileStatus ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return LastFileStatus();
    FdCloser closer(fd);

    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return LastFileStatus();
    if (S_ISDIR(st.st_mode))
        return FileStatusFromCode(EISDIR);
    // A pipe or device could block forever or never end; only files are read.
    // (The open itself does not block on a pipe because of O_NONBLOCK.)
    if (!S_ISREG(st.st_mode))
        return FileStatus{FileError::Other, EINVAL};
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        return FileStatus{FileError::Other, EFBIG};

    // The size is only a hint: the file may change while it is read.
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            FileStatus status = LastFileStatus();
            bytes.clear();
            return status;
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
            bytes.clear();
            return FileStatus{FileError::Other, EFBIG};
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return {};
}

} // namespace platform
