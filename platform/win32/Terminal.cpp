#include "platform/Terminal.h"

#include <windows.h>

namespace platform {

bool StandardErrorIsTerminal() {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return error != nullptr && error != INVALID_HANDLE_VALUE &&
           GetFileType(error) == FILE_TYPE_CHAR && GetConsoleMode(error, &mode);
}

} // namespace platform
