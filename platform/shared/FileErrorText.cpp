#include "platform/FileError.h"

#include <string_view>

namespace platform {
namespace {

std::string_view Template(FileError error) {
    switch (error) {
    case FileError::NotFound:
        return "%1 was not found.";
    case FileError::BadPath:
        return "%1 contains an invalid path.";
    case FileError::TooManyOpenFiles:
        return "%1 could not be opened because there are too many open files.";
    case FileError::AccessDenied:
        return "Access to %1 was denied.";
    case FileError::IsFolder:
        return "%1 is a folder, not a file.";
    case FileError::SharingViolation:
        return "A sharing violation occurred while accessing %1.";
    case FileError::LockViolation:
        return "A locking violation occurred while accessing %1.";
    case FileError::DiskFull:
        return "Disk full while accessing %1.";
    case FileError::HardIo:
        return "A hardware I/O error was reported while accessing %1.";
    case FileError::EndOfFile:
        return "An attempt was made to access %1 past its end.";
    case FileError::PlantedLink:
        return "%1 is a symbolic link that another user owns in a shared folder; it is not "
               "followed and nothing was written.";
    case FileError::None:
    case FileError::Other:
        break;
    }
    return {};
}

} // namespace

std::string FileErrorText(FileError error, const std::string& path) {
    std::string text(Template(error));
    const size_t at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

} // namespace platform
