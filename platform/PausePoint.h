#pragma once

#include <string_view>

namespace platform {

// Named places inside a run where a test build of a program can be held, so
// that a test can act at exactly that moment (plant a link, start a second
// writer, send a signal) instead of repeating a race until it happens.
// Programs that are shipped never set a hook, and then a pause point does
// nothing.
using PauseHook = void (*)(std::string_view point);

void SetPauseHook(PauseHook hook);

// Calls the hook, when one is set, with the name of this place.
void PausePoint(std::string_view point);

} // namespace platform
