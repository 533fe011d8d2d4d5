#include "platform/PrivateFolder.h"

#include "platform/PathText.h"
#include "platform/Uuid.h"

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
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = JoinPath(folder, name, PathStyle::Windows);
            const DWORD attributes = found.dwFileAttributes;
            if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
                ::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsReparsePoint(attributes))
                RemoveTree(path);
            else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                ::RemoveDirectoryA(path.c_str()); // a junction or folder link: the link only
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return ::RemoveDirectoryA(folder.c_str()) != 0;
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
        if (::CreateDirectoryA(folder.c_str(), nullptr))
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
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (IsReparsePoint(attributes))
        return ::RemoveDirectoryA(path.c_str()) != 0;
    return RemoveTree(path);
}

std::string UserCacheFolder() {
    char buffer[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableA("LOCALAPPDATA", buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return {};
    const std::string folder = WithoutTrailingSeparators(std::string(buffer, length));
    if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return {};
    return folder;
}

} // namespace platform
