#include "platform/UserTempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string UserTempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string base = (env != nullptr && env[0] != '\0') ? env : "/tmp";
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    uid_t uid = ::geteuid();
    std::string folder = base + (base == "/" ? "" : "/") + "velkora-" + std::to_string(uid);

    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    // Opened without following a link, then checked through the descriptor,
    // so what is checked is what the name refers to.
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == uid;
    if (ok && (info.st_mode & 077) != 0)
        ok = ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok ? folder + "/" : std::string();
}

} // namespace platform
