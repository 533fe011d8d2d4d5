#include "platform/Environment.h"
#include "platform/win32/WideText.h"

#include <stdlib.h>

namespace platform {

// _wputenv_s changes the C runtime's copies, which getenv reads, and the
// system's, which started programs inherit; an empty value removes the name.
bool SetEnvironmentValue(const char* name, const char* value) {
    if (name == nullptr)
        return false;
    return ::_wputenv_s(win32::Widen(name).c_str(), win32::Widen(value ? value : "").c_str()) == 0;
}

} // namespace platform
