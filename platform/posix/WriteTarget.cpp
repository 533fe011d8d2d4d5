#include "platform/WriteTarget.h"

#include "platform/PathText.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kMaxHops = 40;

bool SharedSticky(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// The protected-links rule for the link at path (already known to be one).
bool MayFollow(const std::string& path, const struct stat& link) {
    const std::string parent = FolderOf(path, PathStyle::Posix);
    struct stat folder {};
    if (::stat(parent.empty() ? "." : parent.c_str(), &folder) != 0)
        return false;
    return !SharedSticky(folder) || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

bool ReadLinkText(const std::string& path, std::string& text) {
    std::string buffer(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0 || static_cast<size_t>(n) >= buffer.size())
        return false;
    buffer.resize(static_cast<size_t>(n));
    text = std::move(buffer);
    return true;
}

} // namespace

WriteTarget ResolveWriteTarget(const std::string& path) {
    WriteTarget target;
    target.path = path;
    for (int hop = 0; hop <= kMaxHops; ++hop) {
        struct stat st {};
        if (::lstat(target.path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        if (!MayFollow(target.path, st)) {
            target.status = FileStatus{FileError::PlantedLink, ELOOP};
            return target;
        }
        std::string text;
        if (!ReadLinkText(target.path, text)) {
            target.status = LastFileStatus();
            return target;
        }
        if (text.empty() || text.front() != '/')
            text = JoinPath(FolderOf(target.path, PathStyle::Posix), text, PathStyle::Posix);
        target.path = std::move(text);
        target.viaLink = true;
    }
    target.status = FileStatusFromCode(ELOOP);
    return target;
}

} // namespace platform
