#include "platform/PathIdentity.h"

#include <sys/stat.h>

namespace platform {

bool SameHostPath(std::string_view a, std::string_view b) {
    return a == b;
}

bool SameExistingFile(const char* a, const char* b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a, &sa) != 0 || ::stat(b, &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace platform
