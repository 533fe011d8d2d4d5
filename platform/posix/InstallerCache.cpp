#include "platform/InstallerCache.h"

namespace platform {

// Windows installer databases are installed on Windows only.

bool RunningElevated() {
    return false;
}

ProgramRun InstallFromInstallerCache(const std::string&, RawFile&, const std::string&) {
    return {};
}

} // namespace platform
