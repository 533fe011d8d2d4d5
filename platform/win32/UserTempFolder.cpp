#include "platform/UserTempFolder.h"

#include "platform/TempFile.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform {

// The temporary folder of Windows lies in the user's own profile already;
// a folder of ours inside it keeps our files together.
std::string UserTempFolder() {
    const std::string folder = TempFolder() + "\\velkora";
    if (!CreateDirectoryW(win32::Widen(folder).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    const DWORD attributes = GetFileAttributesW(win32::Widen(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return {};
    return folder + "\\";
}

} // namespace platform
