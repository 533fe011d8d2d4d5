#include "platform/InstallerCache.h"

namespace platform {

// Windows installer databases are installed on Windows only.

bool RunningElevated() {
    return false;
}

std::string KeepInstallerInCache(const std::string&, RawFile&, const std::string&) {
    return {};
}

ProgramRun RunInstallerAndWait(const std::string&) {
    return {};
}

} // namespace platform
