#include "platform/PrivateFolder.h"

#include "platform/PathText.h"
#include "platform/Uuid.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform {
namespace {

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

bool IsReparsePoint(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(win32::Widen(folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = win32::Narrow(found.cFileName);
            if (name == "." || name == "..")
                continue;
            const std::string path = JoinPath(folder, name, PathStyle::Windows);
            const DWORD attributes = found.dwFileAttributes;
            if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
                ::SetFileAttributesW(win32::Widen(path).c_str(),
                                     attributes & ~FILE_ATTRIBUTE_READONLY);
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsReparsePoint(attributes))
                RemoveTree(path);
            else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                ::RemoveDirectoryW(
                    win32::Widen(path).c_str()); // a junction or folder link: the link only
            else
                ::DeleteFileW(win32::Widen(path).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return ::RemoveDirectoryW(win32::Widen(folder).c_str()) != 0;
}

} // namespace

std::string CreatePrivateFolder(const std::string& parent) {
    std::string base = WithoutTrailingSeparators(parent.empty() ? std::string(".") : parent);
    if (base.back() != '\\' && base.back() != '/')
        base += '\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string random = NewUuidText();
        if (random.size() < 36)
            return {};
        // Folders below the user's own temporary folder carry its rights,
        // which only the user and the system hold.
        const std::string folder =
            base + "velkora-" + random.substr(0, 8) + random.substr(9, 4) + random.substr(14, 4);
        if (::CreateDirectoryW(win32::Widen(folder).c_str(), nullptr))
            return folder + "\\";
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

bool RemoveFolderTree(const std::string& folder) {
    if (folder.empty())
        return false;
    const std::string path = WithoutTrailingSeparators(folder);
    const DWORD attributes = ::GetFileAttributesW(win32::Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (IsReparsePoint(attributes))
        return ::RemoveDirectoryW(win32::Widen(path).c_str()) != 0;
    return RemoveTree(path);
}

std::string UserCacheFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    const std::string folder =
        WithoutTrailingSeparators(win32::Narrow(std::wstring_view(buffer, length)));
    if (!::CreateDirectoryW(win32::Widen(folder).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    return folder;
}

} // namespace platform
