#include "platform/AtomicFile.h"

#include "platform/FileFaults.h"
#include "platform/FileReplace.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <algorithm>

namespace platform {
namespace {

FileStatus WriteAll(HANDLE file, std::string_view bytes, const AtomicWriteFault* fault) {
    if (!FileFaults::Allow(FileOperation::Write))
        return FileStatus{FileError::DiskFull, 0};
    size_t done = 0;
    while (done < bytes.size()) {
        size_t chunk = std::min<size_t>(bytes.size() - done, 0x40000000u);
        if (fault) {
            if (done >= fault->failAfterBytes)
                return FileStatus{fault->failWith, 0};
            chunk = std::min(chunk, fault->failAfterBytes - done);
        }
        DWORD n = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &n, nullptr))
            return LastFileStatus();
        done += n;
    }
    return {};
}

} // namespace

FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes,
                               const AtomicWriteFault* fault) {
    if (path.empty())
        return FileStatusFromCode(ERROR_FILE_NOT_FOUND);
    const DWORD attributes = GetFileAttributesW(win32::Widen(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileStatus{FileError::IsFolder, ERROR_ACCESS_DENIED};
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        // Replacing would succeed even for a read-only file; the user expects
        // such a file to stay as it is.
        return FileStatusFromCode(ERROR_ACCESS_DENIED);

    if (!FileFaults::Allow(FileOperation::Open))
        return FileStatusFromCode(ERROR_ACCESS_DENIED);
    std::string tempPath;
    win32::Handle file;
    for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
        tempPath = TemporaryPathBeside(path);
        file = win32::Handle(CreateFileW(win32::Widen(tempPath).c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() && GetLastError() != ERROR_FILE_EXISTS)
            return LastFileStatus();
    }
    if (!file.Valid())
        return FileStatusFromCode(ERROR_FILE_EXISTS);

    FileStatus status = WriteAll(file.Get(), bytes, fault);
    if (status.Ok() && !FlushFileBuffers(file.Get()))
        status = LastFileStatus();
    if (!CloseHandle(file.Release()) && status.Ok())
        status = LastFileStatus();
    if (status.Ok() && !FileFaults::Allow(FileOperation::Rename))
        status = FileStatus{FileError::HardIo, 0};
    if (status.Ok() && !MoveFileExW(win32::Widen(tempPath).c_str(), win32::Widen(path).c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        status = LastFileStatus();
    if (!status.Ok())
        DeleteFileW(win32::Widen(tempPath).c_str());
    else
        RemoveStaleTemporariesBeside(path);
    return status;
}

} // namespace platform
