#include "platform/shared/SystemBeep.h"

#include <unistd.h>

namespace platform {

// Only a terminal rings; a bell written into a log file or pipe is noise.
void SystemBeep() {
    if (::isatty(STDERR_FILENO)) {
        const char bell = '\a';
        [[maybe_unused]] ssize_t n = ::write(STDERR_FILENO, &bell, 1);
    }
}

} // namespace platform
