#include "platform/Environment.h"

#include <stdlib.h>

namespace platform {

bool SetEnvironmentValue(const char* name, const char* value) {
    return (value ? ::setenv(name, value, 1) : ::unsetenv(name)) == 0;
}

} // namespace platform
