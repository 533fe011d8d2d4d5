#include "platform/FileRead.h"

#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <algorithm>

namespace platform {
namespace {

// Growth beyond the size the file had when opened, and the most asked of one
// read.
constexpr size_t kReadChunk = size_t(64) * 1024;
constexpr size_t kMaxRead = size_t(1) << 30;

} // namespace

FileStatus ReadFileBytes(const std::string& path, std::string& bytes, size_t maxBytes) {
    bytes.clear();
    win32::Handle file(CreateFileW(win32::Widen(path).c_str(), GENERIC_READ, win32::kShareAll,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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

    // Read straight into the string. The size is only a hint: the file may
    // change while it is read, so the string grows when the file does.
    size_t have = 0;
    bytes.resize(static_cast<size_t>(size.QuadPart) + 1);
    for (;;) {
        if (have == bytes.size())
            bytes.resize(have + have / 2 + kReadChunk);
        const DWORD want = static_cast<DWORD>(std::min(bytes.size() - have, kMaxRead));
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + have, want, &got, nullptr)) {
            FileStatus status = LastFileStatus();
            bytes.clear();
            return status;
        }
        if (got == 0)
            break;
        have += got;
        if (have > maxBytes) {
            bytes.clear();
            return FileStatus{FileError::Other, ERROR_FILE_TOO_LARGE};
        }
    }
    bytes.resize(have);
    return {};
}

} // namespace platform
