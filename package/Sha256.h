#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 over bytes given in pieces of any size.
class CSha256 {
public:
    CSha256();

    void Update(const void* data, size_t length);
    // The digest; the object is spent afterwards.
    std::array<uint8_t, 32> Finish();

    // The digest of bytes as 64 lower-case hex digits.
    static std::string HexOf(std::string_view bytes);
    static std::string Hex(const std::array<uint8_t, 32>& digest);

private:
    void Block(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_buffer{};
    size_t m_buffered = 0;
    uint64_t m_totalBytes = 0;
};
