#include "platform/FileError.h"

#include <windows.h>

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
