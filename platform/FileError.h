#pragma once

#include <string>

namespace platform {

// What went wrong with a file, independent of the operating system's codes.
enum class FileError {
    None,
    NotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    IsFolder, // a folder was given where a file belongs
    SharingViolation,
    LockViolation,
    DiskFull,
    HardIo,
    EndOfFile,
    PlantedLink, // a symbolic link another user may have put in a shared folder
    Other
};

// Outcome of a file operation: the kind of error and the system's own code.
struct FileStatus {
    FileError error = FileError::None;
    int osCode = 0;
    bool Ok() const { return error == FileError::None; }
};

// The status for the system's error code of the last failed call.
FileStatus LastFileStatus();

// Maps one system error code to a status.
FileStatus FileStatusFromCode(int osCode);

// The user-facing text for error with path in place of "%1", for example
// "Access to /p/x.vkp was denied.". Empty for None and Other: the caller then
// shows its own generic message.
std::string FileErrorText(FileError error, const std::string& path);

// The system's own words for osCode ("No such file or directory"), in UTF-8
// without a trailing newline or period; empty for 0.
std::string SystemErrorText(int osCode);

} // namespace platform
