#include "platform/shared/SystemBeep.h"

#include <windows.h>

namespace platform {

// The system's default sound, as message boxes give it.
void SystemBeep() {
    MessageBeep(MB_OK);
}

} // namespace platform
