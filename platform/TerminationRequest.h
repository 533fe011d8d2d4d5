#pragma once

namespace platform {

// Requests to end the program (interrupt, terminate, hang-up) are caught
// instead of ending it at once, so that it can remove what it made and end
// by itself. While a program started by RunProgramAndWait or
// PrivateFolder::RunAndWait runs, a request sent by another process is passed
// on to it; one that comes from the terminal reaches it directly, as the
// terminal signals the whole foreground group. On Windows nothing is caught
// and no request is ever seen.
void CatchTerminationRequests();

// The signal number of the first request since CatchTerminationRequests, or
// 0 when none came.
int TerminationRequested();

// The exit status of a program that ends because of a request: 128 + the
// signal's number, as a shell reports a program ended by that signal.
inline int TerminationExitStatus(int signal) {
    return 128 + signal;
}

} // namespace platform
