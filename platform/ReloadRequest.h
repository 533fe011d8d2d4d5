#pragma once

namespace platform {

// A long-running program (the setup server) is asked to read its inputs
// again by a hang-up signal on Linux. After CatchReloadRequests the hang-up no
// longer counts as a termination request (platform/TerminationRequest.h).
// On Windows nothing is caught and no request is ever seen.
void CatchReloadRequests();

// True once for every request that came since the previous call.
bool TakeReloadRequest();

} // namespace platform
