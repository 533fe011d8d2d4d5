#pragma once

#include <functional>

// Runs side on a thread of its own while the calling thread runs main, and
// returns once both have ended. When the system gives no thread, side runs
// first and main after it: the work is the same, only slower.
void RunSideBySide(const std::function<void()>& side, const std::function<void()>& main);
