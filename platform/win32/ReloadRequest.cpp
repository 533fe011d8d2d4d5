#include "platform/ReloadRequest.h"

namespace platform {

// A Windows console program has no hang-up signal to be asked with.
void CatchReloadRequests() {}

bool TakeReloadRequest() {
    return false;
}

} // namespace platform
