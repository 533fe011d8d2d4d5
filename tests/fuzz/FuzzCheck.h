#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

// A broken invariant ends the run: libFuzzer then saves the input that broke it.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, what);                         \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// The input as bytes, and as two texts split at its first NUL (the second is
// empty when there is none).
inline std::string_view FuzzBytes(const unsigned char* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline std::pair<std::string, std::string> SplitAtNul(std::string_view bytes) {
    const size_t nul = bytes.find('\0');
    if (nul == std::string_view::npos)
        return {std::string(bytes), {}};
    return {std::string(bytes.substr(0, nul)), std::string(bytes.substr(nul + 1))};
}

// A reader of bytes at a position, as the file readers take one, that ends the
// run when asked for anything outside bytes.
inline auto FuzzReaderOf(std::string_view bytes) {
    return [bytes](int64_t pos, void* buffer, size_t length) {
        FUZZ_CHECK(pos >= 0 && static_cast<uint64_t>(pos) <= bytes.size() &&
                       length <= bytes.size() - static_cast<size_t>(pos),
                   "a read outside the file");
        std::memcpy(buffer, bytes.data() + pos, length);
        return true;
    };
}
