#include "platform/Environment.h"

#include <stdlib.h>

namespace platform {

// _putenv_s changes the C runtime's copy, which getenv reads, and the
// system's, which started programs inherit; an empty value removes the name.
bool SetEnvironmentValue(const char* name, const char* value) {
    return ::_putenv_s(name, value ? value : "") == 0;
}

} // namespace platform
