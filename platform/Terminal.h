#pragma once

namespace platform {

// True when the process's standard error is a terminal a person watches, so
// that progress shown there is worth the noise.
bool StandardErrorIsTerminal();

// True when the process's standard output is a terminal (not a file or pipe).
bool StandardOutputIsTerminal();

} // namespace platform
