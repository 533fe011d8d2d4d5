#include "package/OutputFolders.h"

#include "platform/FileSystem.h"
#include "platform/HostPath.h"

namespace {

bool IsSeparator(char c) {
    return c == '/' || (c == '\\' && platform::HostPathStyle() == platform::PathStyle::Windows);
}

} // namespace

void CreateOutputFolders(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (!IsSeparator(path[i]))
            continue;
        platform::CreateFolder(path.substr(0, i));
    }
}
