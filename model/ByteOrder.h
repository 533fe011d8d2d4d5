#pragma once

#include <cstdint>
#include <string>

// Integers in files are stored least significant byte first; these are the
// only helpers that put them there and take them back.

// out must have room for 2 (4) bytes.
inline void StoreU16LE(char* out, uint16_t value) {
    out[0] = static_cast<char>(value & 0xFF);
    out[1] = static_cast<char>(value >> 8);
}

inline void StoreU32LE(char* out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void AppendU16LE(std::string& out, uint16_t value) {
    char bytes[2];
    StoreU16LE(bytes, value);
    out.append(bytes, sizeof bytes);
}

inline void AppendU32LE(std::string& out, uint32_t value) {
    char bytes[4];
    StoreU32LE(bytes, value);
    out.append(bytes, sizeof bytes);
}

// Two's complement, as lengths, offsets and counts of the package files are.
inline void AppendInt32LE(std::string& out, int32_t value) {
    AppendU32LE(out, static_cast<uint32_t>(value));
}

// bytes must hold at least 2 (4) readable bytes; callers check what remains.
inline uint16_t ReadU16LE(const void* bytes) {
    auto* b = static_cast<const unsigned char*>(bytes);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

inline uint32_t ReadU32LE(const void* bytes) {
    auto* b = static_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

inline int32_t ReadInt32LE(const void* bytes) {
    return static_cast<int32_t>(ReadU32LE(bytes));
}
