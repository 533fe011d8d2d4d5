#pragma once

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// Another user on the machine, played by a child process that drops to uid
// kSecondUid with setresuid. Needs root (CI runs the tests as root); tests
// skip without it.
namespace seconduser {

inline constexpr uid_t kSecondUid = 4242;

inline bool Available() {
    return ::geteuid() == 0;
}

// Makes a link at link pointing to target as uid, in a child. True when the
// link now exists.
inline bool PlantLink(const std::string& target, const std::string& link, uid_t uid = kSecondUid) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0)
            ::_exit(2);
        ::_exit(::symlink(target.c_str(), link.c_str()) == 0 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A folder writable by everyone with the sticky bit, as /tmp is, inside
// parent (which is opened for passing through so the second user reaches it).
inline std::string StickyFolder(const std::string& parent, const std::string& name = "shared") {
    const std::string folder = (std::filesystem::path(parent) / name).string();
    std::filesystem::create_directory(folder);
    ::chmod(parent.c_str(), 0711);
    ::chmod(folder.c_str(), 01777);
    return folder;
}

} // namespace seconduser
