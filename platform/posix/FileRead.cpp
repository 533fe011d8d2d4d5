#include "platform/FileRead.h"

#include <algorithm>
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

// Growth beyond the size the file had when opened, and the most asked of one
// read (Linux moves at most about 2 GiB per call).
constexpr size_t kReadChunk = size_t(64) * 1024;
constexpr size_t kMaxRead = size_t(1) << 30;

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

    // Read straight into the string. The size is only a hint: the file may
    // change while it is read, so the string grows when the file does.
    size_t have = 0;
    bytes.resize(static_cast<size_t>(st.st_size) + 1);
    for (;;) {
        if (have == bytes.size())
            bytes.resize(have + have / 2 + kReadChunk);
        const size_t want = std::min(bytes.size() - have, kMaxRead);
        const ssize_t n = ::read(fd, bytes.data() + have, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            FileStatus status = LastFileStatus();
            bytes.clear();
            return status;
        }
        if (n == 0)
            break;
        have += static_cast<size_t>(n);
        if (have > maxBytes) {
            bytes.clear();
            return FileStatus{FileError::Other, EFBIG};
        }
    }
    bytes.resize(have);
    return {};
}

} // namespace platform
