#include "platform/FileReplace.h"

#include "platform/FileFaults.h"
#include "platform/win32/WideText.h"

#include <windows.h>
// <windows.h> maps ReplaceFile to the system's ReplaceFileA or ReplaceFileW; ours is another
// function.
#undef ReplaceFile

namespace platform {

bool ReplaceFile(const std::string& from, const std::string& to) {
    const DWORD attributes = ::GetFileAttributesW(win32::Widen(to).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return false;
    if (!FileFaults::Allow(FileOperation::Rename))
        return false;
    // Replaces the name itself: a symbolic link at to is replaced, not followed.
    return ::MoveFileExW(win32::Widen(from).c_str(), win32::Widen(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING) != 0;
}

bool RemoveFile(const std::string& path) {
    if (::DeleteFileW(win32::Widen(path).c_str()))
        return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace platform
