#include "platform/Uuid.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace platform {
namespace {

std::array<uint8_t, 16> RandomBytes()
{
    std::array<uint8_t, 16> bytes{};
    int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    size_t got = 0;
    if (fd >= 0) {
        while (got < bytes.size()) {
            ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        ::close(fd);
    }
    if (got < bytes.size()) {
        std::random_device rd;
        for (auto& b : bytes)
            b = static_cast<uint8_t>(rd());
    }
    return bytes;
}

} // namespace

std::string NewUuidText()
{
    auto b = RandomBytes();
    b[6] = static_cast<uint8_t>((b[6] & 0x0F) | 0x40); // version 4
    b[8] = static_cast<uint8_t>((b[8] & 0x3F) | 0x80); // RFC 4122 variant
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12],
                  b[13], b[14], b[15]);
    return text;
}

} // namespace platform
