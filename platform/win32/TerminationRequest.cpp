#include "platform/TerminationRequest.h"

namespace platform {

// A console program on Windows is ended by its console's control events;
// the launcher there has no console of its own to catch them on.
void CatchTerminationRequests() {}

int TerminationRequested() {
    return 0;
}

} // namespace platform
