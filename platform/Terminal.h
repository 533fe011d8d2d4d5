#pragma once

namespace platform {

// True when the process's standard error is a terminal a person watches, so
// that progress shown there is worth the noise.
bool StandardErrorIsTerminal();

} // namespace platform
