#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// A socket address in the system's own form, for a listening socket.
struct SocketAddress {
    std::array<unsigned char, 128> bytes{};
    size_t length = 0;
};

// Reads "ADDRESS:PORT": an IPv4 address ("127.0.0.1:8080"), an IPv6 one in
// brackets ("[::1]:8080") or "*" for every IPv4 address; port 0 lets the
// system choose. No name is looked up. False for anything else (also on
// Windows, where no server is built).
bool ParseListenAddress(std::string_view text, SocketAddress& address);

// The address part of a system socket address as text ("127.0.0.1", "::1");
// "-" when it is none of IPv4 and IPv6.
std::string SocketAddressHost(const void* systemAddress);

} // namespace platform
