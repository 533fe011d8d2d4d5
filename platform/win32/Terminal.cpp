#include "platform/Terminal.h"

#include <windows.h>

namespace platform {

namespace {

bool IsConsole(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode);
}

} // namespace

bool StandardErrorIsTerminal() {
    return IsConsole(STD_ERROR_HANDLE);
}

bool StandardOutputIsTerminal() {
    return IsConsole(STD_OUTPUT_HANDLE);
}

} // namespace platform
