#include "platform/HostPath.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace platform {

PathStyle HostPathStyle() {
    return PathStyle::Posix;
}

std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()))
            return buffer.data();
        if (errno != ERANGE || buffer.size() > (size_t(1) << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace platform
