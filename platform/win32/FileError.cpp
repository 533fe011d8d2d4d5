#include "platform/FileError.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

FileStatus FileStatusFromCode(int osCode) {
    FileStatus status;
    status.osCode = osCode;
    switch (static_cast<DWORD>(osCode)) {
    case ERROR_SUCCESS:
        status.error = FileError::None;
        break;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        status.error = FileError::NotFound;
        break;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
        status.error = FileError::BadPath;
        break;
    case ERROR_TOO_MANY_OPEN_FILES:
        status.error = FileError::TooManyOpenFiles;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CANNOT_MAKE:
        status.error = FileError::AccessDenied;
        break;
    case ERROR_SHARING_VIOLATION:
        status.error = FileError::SharingViolation;
        break;
    case ERROR_LOCK_VIOLATION:
        status.error = FileError::LockViolation;
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
        status.error = FileError::DiskFull;
        break;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
        status.error = FileError::HardIo;
        break;
    case ERROR_HANDLE_EOF:
        status.error = FileError::EndOfFile;
        break;
    default:
        status.error = FileError::Other;
        break;
    }
    return status;
}

FileStatus LastFileStatus() {
    return FileStatusFromCode(static_cast<int>(GetLastError()));
}

} // namespace platform

namespace platform {

std::string SystemErrorText(int osCode) {
    if (osCode == 0)
        return {};
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(osCode), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || !text)
        return "error " + std::to_string(osCode);
    std::wstring_view wide(text, length);
    // The system ends its texts with a period and a line break.
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L'.' ||
                             wide.back() == L' '))
        wide.remove_suffix(1);
    std::string narrow = win32::Narrow(wide);
    LocalFree(text);
    return narrow;
}

} // namespace platform
