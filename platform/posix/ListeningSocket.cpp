#include "platform/ListeningSocket.h"

#include <unistd.h>

namespace platform {

void CloseListeningSocket(int socket) {
    if (socket >= 0)
        ::close(socket);
}

} // namespace platform
