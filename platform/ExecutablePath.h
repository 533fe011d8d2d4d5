#pragma once

#include <string>

namespace platform {

// Full path of the running program's own file; empty when it cannot be found.
std::string OwnExecutablePath();

} // namespace platform
