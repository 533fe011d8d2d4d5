#include "platform/FileRead.h"

#include "platform/win32/Handle.h"

namespace platform {

FileStatus ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    win32::Handle file(CreateFileA(path.c_str(), GENERIC_READ, win32::kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return win32::OpenFailureStatus(path);
    // A pipe or device could block forever or never end; only files are read.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return FileStatus{FileError::Other, ERROR_INVALID_FUNCTION};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return LastFileStatus();
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return FileStatus{FileError::Other, ERROR_FILE_TOO_LARGE};

    // The size is only a hint: the file may change while it is read.
    bytes.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            FileStatus status = LastFileStatus();
            bytes.clear();
            return status;
        }
        if (got == 0)
            break;
        if (bytes.size() + got > maxBytes) {
            bytes.clear();
            return FileStatus{FileError::Other, ERROR_FILE_TOO_LARGE};
        }
        bytes.append(buffer, got);
    }
    return {};
}

} // namespace platform
