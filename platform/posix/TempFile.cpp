#include "platform/TempFile.h"

#include "platform/FileFaults.h"
#include "platform/PathText.h"
#include "platform/posix/SystemRandom.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr int kNameAttempts = 100;

FileHandle WrapDescriptor(int fd) {
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        return nullptr;
    }
    return FileHandle(f);
}

uint32_t RandomNumber() {
    thread_local std::mt19937 engine{[] {
        uint32_t seed = 0;
        if (!FillSystemRandom(&seed, sizeof seed))
            seed = static_cast<uint32_t>(::time(nullptr));
        return seed ^ static_cast<uint32_t>(::getpid());
    }()};
    // Up to eight digits keeps names short, as the temporary names of the
    // other platforms are.
    return engine() % 100000000u;
}

} // namespace

std::string TempFolder() {
    const char* dir = std::getenv("TMPDIR");
    std::string folder = (dir && *dir) ? dir : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

FileHandle CreateUniqueTempFile(const std::string& folder, const std::string& prefix,
                                const std::string& suffix, std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return nullptr;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string candidate =
            JoinPath(folder, prefix + std::to_string(RandomNumber()) + suffix, PathStyle::Posix);
        int fd = ::open(candidate.c_str(), kCreateFlags, 0600);
        if (fd >= 0) {
            path = candidate;
            return WrapDescriptor(fd);
        }
        // EEXIST also covers a symbolic link under that name; anything else
        // (missing folder, no permission) will not change with another name.
        if (errno != EEXIST && errno != ELOOP)
            return nullptr;
    }
    return nullptr;
}

FileHandle CreateOwnTempFile(const std::string& folder, const std::string& name,
                             std::string& path) {
    path = JoinPath(folder, name, PathStyle::Posix);
    if (!FileFaults::Allow(FileOperation::Open))
        return nullptr;
    int fd = ::open(path.c_str(), kCreateFlags, 0600);
    if (fd < 0 && errno == EEXIST) {
        fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return nullptr;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 ||
            st.st_uid != ::geteuid() || ::ftruncate(fd, 0) != 0) {
            ::close(fd);
            return nullptr;
        }
        int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return WrapDescriptor(fd);
}

} // namespace platform
