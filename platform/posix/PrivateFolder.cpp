#include "platform/PrivateFolder.h"

#include "platform/posix/FolderRemoval.h"
#include "platform/posix/SystemRandom.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string EnvText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Creates folder and its missing parents, each made private to the user.
bool MakePrivateFolders(const std::string& folder) {
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

namespace posix {

void RemoveFolderContents(int dirFd) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            RemoveFolderEntry(::dirfd(dir), entry->d_name);
    }
    ::closedir(dir); // closes dirFd too
}

void RemoveFolderEntry(int parentFd, const char* name) {
    if (::unlinkat(parentFd, name, 0) == 0 || (errno != EISDIR && errno != EPERM))
        return;
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    RemoveFolderContents(fd);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

} // namespace posix

std::string CreatePrivateFolder(const std::string& parent) {
    std::string base = parent.empty() ? std::string(".") : parent;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (base != "/")
        base += '/';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = RandomFolderName();
        if (name.empty())
            return {};
        const std::string folder = base + name;
        // mkdir never reuses an existing name, link or file: the folder is new
        // and ours from its first moment.
        if (::mkdir(folder.c_str(), 0700) != 0) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return {};
        // The umask may have taken rights away; it can never have added any.
        const bool ok = ::fchmod(fd, 0700) == 0;
        ::close(fd);
        if (!ok) {
            ::rmdir(folder.c_str());
            return {};
        }
        return folder + "/";
    }
    return {};
}

bool RemoveFolderTree(const std::string& folder) {
    if (folder.empty())
        return false;
    posix::RemoveFolderEntry(AT_FDCWD, folder.c_str());
    struct stat st {};
    return ::lstat(folder.c_str(), &st) != 0 && errno == ENOENT;
}

std::string UserCacheFolder() {
    std::string folder = EnvText("XDG_CACHE_HOME");
    if (folder.empty() || folder[0] != '/') {
        const std::string home = EnvText("HOME");
        if (home.empty() || home[0] != '/')
            return {};
        folder = home + "/.cache";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return MakePrivateFolders(folder) ? folder : std::string();
}

} // namespace platform
