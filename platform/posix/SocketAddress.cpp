#include "platform/SocketAddress.h"

#include <arpa/inet.h>
#include <charconv>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>

namespace platform {
namespace {

bool PortOf(std::string_view text, uint16_t& port) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.size() > 5 || error != std::errc() ||
        end != text.data() + text.size() || value > 0xFFFF)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

} // namespace

bool ParseListenAddress(std::string_view text, SocketAddress& address) {
    const size_t colon = text.rfind(':');
    uint16_t port = 0;
    if (colon == std::string_view::npos || !PortOf(text.substr(colon + 1), port))
        return false;
    const std::string host(text.substr(0, colon));
    address = SocketAddress{};
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        sockaddr_in6 v6{};
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(port);
        if (inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &v6.sin6_addr) != 1)
            return false;
        std::memcpy(address.bytes.data(), &v6, sizeof v6);
        address.length = sizeof v6;
        return true;
    }
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(port);
    if (host == "*")
        v4.sin_addr.s_addr = htonl(INADDR_ANY);
    else if (inet_pton(AF_INET, host.c_str(), &v4.sin_addr) != 1)
        return false;
    std::memcpy(address.bytes.data(), &v4, sizeof v4);
    address.length = sizeof v4;
    return true;
}

std::string SocketAddressHost(const void* systemAddress) {
    if (systemAddress == nullptr)
        return "-";
    sockaddr_storage storage{};
    std::memcpy(&storage, systemAddress, sizeof(sockaddr));
    char text[INET6_ADDRSTRLEN] = {};
    if (storage.ss_family == AF_INET) {
        sockaddr_in v4{};
        std::memcpy(&v4, systemAddress, sizeof v4);
        if (inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text))
            return text;
    } else if (storage.ss_family == AF_INET6) {
        sockaddr_in6 v6{};
        std::memcpy(&v6, systemAddress, sizeof v6);
        if (inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text))
            return text;
    }
    return "-";
}

} // namespace platform
