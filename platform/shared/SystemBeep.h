#pragma once

namespace platform {

// The system's own beep, which Beep gives when no handler is set: the
// terminal bell on POSIX systems, the default sound on Windows.
void SystemBeep();

} // namespace platform
