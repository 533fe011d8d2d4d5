#include "platform/FileSystem.h"

#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"

namespace platform {

bool CreateFolder(const std::string& path) {
    return CreateDirectoryW(win32::Widen(path).c_str(), nullptr) != 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    auto open = [](const std::string& path) {
        return win32::Handle(CreateFileW(win32::Widen(path).c_str(), 0, win32::kShareAll, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    };
    win32::Handle first = open(a);
    win32::Handle second = open(b);
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    return first.Valid() && second.Valid() && GetFileInformationByHandle(first.Get(), &ia) &&
           GetFileInformationByHandle(second.Get(), &ib) &&
           ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

std::optional<int64_t> RegularFileWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(win32::Widen(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    ULARGE_INTEGER ticks{};
    ticks.LowPart = data.ftLastWriteTime.dwLowDateTime;
    ticks.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // 100-nanosecond ticks since 1601.
    constexpr int64_t kTicksPerSecond = 10000000;
    constexpr int64_t kSeconds1601To1970 = 11644473600;
    return static_cast<int64_t>(ticks.QuadPart / kTicksPerSecond) - kSeconds1601To1970;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesW(win32::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string AbsolutePath(const std::string& path) {
    const std::wstring wide = win32::Widen(path);
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(wide.c_str(), MAX_PATH * 4, buffer, nullptr);
    if (wide.empty() || n == 0 || n >= MAX_PATH * 4)
        return path;
    return win32::Narrow(std::wstring_view(buffer, n));
}

} // namespace platform
