#include "platform/SocketAddress.h"

namespace platform {

// The setup server is a Linux program; Windows builds carry no server.
bool ParseListenAddress(std::string_view, SocketAddress&) {
    return false;
}

std::string SocketAddressHost(const void*) {
    return "-";
}

} // namespace platform
