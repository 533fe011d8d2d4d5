#pragma once

#include <functional>

namespace platform {

// The plain beep that builders give after an error and at the end of a build.
// Without a handler it gives the system's beep: on POSIX systems the
// terminal bell on standard error when that is a terminal (silent otherwise),
// on Windows the default sound. Callable from any thread.
void Beep();

// Replaces what Beep does (the desktop program sets its toolkit's beep). An
// empty function restores the default. The handler runs on the thread that
// calls Beep.
void SetBeepHandler(std::function<void()> handler);

} // namespace platform
