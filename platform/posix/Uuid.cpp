#include "platform/Uuid.h"

#include "platform/posix/SystemRandom.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <unistd.h>

namespace platform {
namespace {

std::array<uint8_t, 16> RandomBytes() {
    std::array<uint8_t, 16> bytes{};
    if (!FillSystemRandom(bytes.data(), bytes.size())) {
        // No random source: time and process still make a clash unlikely.
        const auto ticks = static_cast<uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        std::seed_seq seed{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32),
                           static_cast<uint32_t>(::getpid())};
        std::mt19937 engine(seed);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(engine());
    }
    return bytes;
}

} // namespace

std::string NewUuidText() {
    auto b = RandomBytes();
    b[6] = static_cast<uint8_t>((b[6] & 0x0F) | 0x40); // version 4
    b[8] = static_cast<uint8_t>((b[8] & 0x3F) | 0x80); // RFC 4122 variant
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

} // namespace platform
