#pragma once

#include <cstdint>
#include <string>

// 32-bit two's-complement integers, least significant byte first, as every
// length, offset and count of the package files is stored.
inline void AppendInt32LE(std::string& out, int32_t value) {
    auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline int32_t ReadInt32LE(const void* bytes) {
    auto* b = static_cast<const unsigned char*>(bytes);
    uint32_t v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return static_cast<int32_t>(v);
}
