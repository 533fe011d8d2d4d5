#pragma once

#include <signal.h>
#include <sys/types.h>

namespace platform::posix {

// The child that requests to end are passed on to while it runs (0: none).
// Set with the requests blocked, so that none is lost between the fork and
// the record.
void SetForwardedChild(pid_t child);

// The signals that CatchTerminationRequests handles, for blocking them
// around a fork.
void BlockTerminationRequests(sigset_t* saved);
void RestoreSignalMask(const sigset_t* saved);

// In a new child before it runs another program: the requests get their
// standard action again and nothing is blocked.
void ResetTerminationRequestsInChild();

} // namespace platform::posix
