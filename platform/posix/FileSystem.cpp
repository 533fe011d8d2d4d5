#include "platform/FileSystem.h"

#include <algorithm>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// An absolute path with "." and "name/.." taken out and separators single; a
// path that ended in a separator, "." or ".." keeps a trailing "/". Done on
// the text alone: links are not looked at.
std::string LexicallyNormal(std::string_view path) {
    std::vector<std::string_view> names;
    bool trailing = false;
    size_t at = 0;
    while (at < path.size()) {
        const size_t end = std::min(path.find('/', at), path.size());
        const std::string_view name = path.substr(at, end - at);
        trailing = name.empty() || name == "." || name == "..";
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        at = end + 1;
    }
    if (!path.empty() && path.back() == '/')
        trailing = true;
    std::string normal;
    for (const std::string_view name : names) {
        normal += '/';
        normal += name;
    }
    if (normal.empty() || trailing)
        normal += '/';
    return normal;
}

} // namespace

bool CreateFolder(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::optional<int64_t> RegularFileWriteTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<int64_t>(st.st_mtime);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty())
        return path;
    std::string full;
    if (path[0] != '/') {
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd))
            return path;
        full = cwd;
        full += '/';
    }
    full += path;
    return LexicallyNormal(full);
}

} // namespace platform
