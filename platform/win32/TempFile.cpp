#include "platform/TempFile.h"
#include "platform/PathText.h"

#include "platform/FileFaults.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

#include <cstdint>
#include <cstdio>
#include <io.h>
#include <random>

namespace platform {
namespace {

constexpr int kNameAttempts = 100;

FileHandle WrapHandle(HANDLE handle) {
    int fd = win32::DescriptorFor(handle);
    if (fd < 0)
        return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (!f) {
        _close(fd);
        return nullptr;
    }
    return FileHandle(f);
}

uint32_t RandomNumber() {
    thread_local std::mt19937 engine{std::random_device{}() ^
                                     static_cast<uint32_t>(GetCurrentProcessId())};
    return engine() % 100000000u;
}

} // namespace

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    std::string folder =
        (n > 0 && n < MAX_PATH + 1) ? win32::Narrow(std::wstring_view(buffer, n)) : ".";
    // Keep the backslash of a drive's root ("C:\").
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

FileHandle CreateUniqueTempFile(const std::string& folder, const std::string& prefix,
                                const std::string& suffix, std::string& path) {
    if (!FileFaults::Allow(FileOperation::Open))
        return nullptr;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string candidate =
            JoinPath(folder, prefix + std::to_string(RandomNumber()) + suffix, PathStyle::Windows);
        HANDLE h = CreateFileW(win32::Widen(candidate).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                               nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            path = candidate;
            return WrapHandle(h);
        }
        // A missing folder or no permission will not change with another name.
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return nullptr;
    }
    return nullptr;
}

FileHandle CreateOwnTempFile(const std::string& folder, const std::string& name,
                             std::string& path) {
    path = JoinPath(folder, name, PathStyle::Windows);
    if (!FileFaults::Allow(FileOperation::Open))
        return nullptr;
    // A reparse point (a link) is opened as itself, never followed, and refused.
    win32::Handle file(CreateFileW(win32::Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                   nullptr, OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.Valid())
        return nullptr;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        info.nNumberOfLinks != 1 || !SetEndOfFile(file.Get()))
        return nullptr;
    return WrapHandle(file.Release());
}

} // namespace platform
