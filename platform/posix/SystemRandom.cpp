#include "platform/posix/SystemRandom.h"

#include <string>

#include <cerrno>
#include <sys/random.h>
#include <sys/types.h>

namespace platform {

bool FillSystemRandom(void* out, size_t size) {
    auto* bytes = static_cast<unsigned char*>(out);
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::getrandom(bytes + got, size - got, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

std::string RandomFolderName() {
    unsigned char bytes[8] = {};
    if (!FillSystemRandom(bytes, sizeof bytes))
        return {};
    static const char kHex[] = "0123456789abcdef";
    std::string name = "velkora-";
    for (unsigned char b : bytes) {
        name += kHex[b >> 4];
        name += kHex[b & 0x0F];
    }
    return name;
}

} // namespace platform
