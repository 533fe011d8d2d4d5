#include "platform/FileError.h"

#include <cerrno>
#include <system_error>

namespace platform {

FileStatus FileStatusFromCode(int osCode) {
    FileStatus status;
    status.osCode = osCode;
    switch (osCode) {
    case 0:
        status.error = FileError::None;
        break;
    case ENOENT:
        status.error = FileError::NotFound;
        break;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        status.error = FileError::BadPath;
        break;
    case EMFILE:
    case ENFILE:
        status.error = FileError::TooManyOpenFiles;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        status.error = FileError::AccessDenied;
        break;
    case EISDIR:
        status.error = FileError::IsFolder;
        break;
    case EBUSY:
    case ETXTBSY:
        status.error = FileError::SharingViolation;
        break;
    case EDEADLK:
    case ENOLCK:
        status.error = FileError::LockViolation;
        break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        status.error = FileError::DiskFull;
        break;
    case EIO:
        status.error = FileError::HardIo;
        break;
    default:
        status.error = FileError::Other;
        break;
    }
    return status;
}

FileStatus LastFileStatus() {
    return FileStatusFromCode(errno);
}

} // namespace platform

namespace platform {

std::string SystemErrorText(int osCode) {
    if (osCode == 0)
        return {};
    return std::generic_category().message(osCode);
}

} // namespace platform
