#include "platform/FolderChain.h"

#include "platform/PathText.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform {

bool IsExistingFolder(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(win32::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FolderChainResult CreateFolderChain(const std::string& root,
                                    const std::vector<std::string>& names) {
    std::string path = root;
    if (!IsExistingFolder(path))
        return {false, path};
    for (const std::string& name : names) {
        path = JoinPath(path, name, PathStyle::Windows);
        if (name.empty() || name == "." || name == ".." ||
            name.find_first_of("/\\") != std::string::npos)
            return {false, path};
        // A folder that another program made meanwhile is as good as ours;
        // whatever stands there must be a folder afterwards.
        if (!IsExistingFolder(path))
            CreateDirectoryW(win32::Widen(path).c_str(), nullptr);
        if (!IsExistingFolder(path))
            return {false, path};
    }
    return {true, {}};
}

} // namespace platform
