#include "platform/FolderChain.h"

#include "platform/PathText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

// A folder held open while the next one below it is made.
class HeldDescriptor {
public:
    explicit HeldDescriptor(int fd) : m_fd(fd) {}
    HeldDescriptor(const HeldDescriptor&) = delete;
    HeldDescriptor& operator=(const HeldDescriptor&) = delete;
    HeldDescriptor(HeldDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    HeldDescriptor& operator=(HeldDescriptor&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~HeldDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// A link that the user or the system made may be followed; one that belongs to
// another user may lead anywhere that user wants.
bool IsLinkOfTrustedOwner(int parent, const std::string& name) {
    struct stat link {};
    return ::fstatat(parent, name.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISLNK(link.st_mode) && (link.st_uid == ::geteuid() || link.st_uid == 0);
}

// The folder name below parent, made when it is missing; invalid when it is
// not a folder afterwards or only a foreign link leads there.
HeldDescriptor OpenOrMake(int parent, const std::string& name) {
    if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST)
        return HeldDescriptor(-1);
    HeldDescriptor folder(::openat(parent, name.c_str(), kFolderFlags | O_NOFOLLOW));
    if (!folder.Valid() && IsLinkOfTrustedOwner(parent, name))
        folder = HeldDescriptor(::openat(parent, name.c_str(), kFolderFlags));
    return folder;
}

} // namespace

bool IsExistingFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FolderChainResult CreateFolderChain(const std::string& root,
                                    const std::vector<std::string>& names) {
    HeldDescriptor current(::open(root.c_str(), kFolderFlags));
    std::string path = root;
    if (!current.Valid())
        return {false, path};
    for (const std::string& name : names) {
        path = JoinPath(path, name, PathStyle::Posix);
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
            return {false, path};
        HeldDescriptor next = OpenOrMake(current.Get(), name);
        if (!next.Valid())
            return {false, path};
        current = std::move(next);
    }
    return {true, {}};
}

} // namespace platform
