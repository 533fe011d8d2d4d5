#include "platform/PathIdentity.h"
#include "platform/win32/WideText.h"

#include <string>
#include <windows.h>

namespace platform {

namespace {

// The system's own upper-casing, which is how the file system matches names.
std::wstring Upper(std::string_view text) {
    std::wstring out = win32::Widen(text);
    if (!out.empty())
        ::CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

// Volume and file index identify a file whatever path reaches it.
bool Identify(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = ::CreateFileW(win32::Widen(path).c_str(), 0,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = ::GetFileInformationByHandle(h, &info) != 0;
    ::CloseHandle(h);
    return ok;
}

} // namespace

bool SameHostPath(std::string_view a, std::string_view b) {
    return Upper(a) == Upper(b);
}

bool SameExistingFile(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION ia{};
    BY_HANDLE_FILE_INFORMATION ib{};
    if (!Identify(a, ia) || !Identify(b, ib))
        return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

} // namespace platform
