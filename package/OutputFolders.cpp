#include "package/OutputFolders.h"

#include "platform/FileSystem.h"
#include "platform/HostPath.h"

namespace {

bool IsSeparator(char c) {
    return c == '/' || (c == '\\' && platform::HostPathStyle() == platform::PathStyle::Windows);
}

} // namespace

void CreateOutputFolders(const std::string& path) {
    // Most outputs go to a folder that is already there: one look instead of
    // an attempt to make each of its folders.
    size_t last = path.size();
    while (last > 1 && !IsSeparator(path[last - 1]))
        --last;
    if (last > 1 && platform::PathExists(path.substr(0, last - 1)))
        return;
    for (size_t i = 1; i < path.size(); ++i) {
        if (!IsSeparator(path[i]))
            continue;
        platform::CreateFolder(path.substr(0, i));
    }
}
