#pragma once

#include "platform/ProgramRun.h"

namespace platform::posix {

// Forks a child that calls exec(report) after resetting its signals; exec
// replaces the child with the program, or returns after a failed attempt,
// when its error goes to the report pipe. The caller waits for the child
// with terminal interrupts ignored, and requests to end sent to the caller
// meanwhile are passed on to it (platform/TerminationRequest.h). exec runs
// between fork and exec: it may only make calls that are safe there.
using ChildExec = void (*)(const void* context);
ProgramRun RunChildAndWait(ChildExec exec, const void* context);

} // namespace platform::posix
