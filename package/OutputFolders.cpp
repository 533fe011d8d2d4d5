#include "package/OutputFolders.h"

#include <filesystem>
#include <system_error>

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == static_cast<char>(std::filesystem::path::preferred_separator);
}

} // namespace

void CreateOutputFolders(const std::string& path)
{
    for (size_t i = 1; i < path.size(); ++i) {
        if (!IsSeparator(path[i]))
            continue;
        std::error_code ignored;
        std::filesystem::create_directory(path.substr(0, i), ignored);
    }
}
