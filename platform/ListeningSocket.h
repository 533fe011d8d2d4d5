#pragma once

namespace platform {

// Closes a listening socket that a server library handed back when it
// stopped accepting, so that new clients are refused at once rather than
// left waiting in the listen queue. Nothing on Windows, where no server is
// built.
void CloseListeningSocket(int socket);

} // namespace platform
