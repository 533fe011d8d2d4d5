#include "model/FolderPathForm.h"

#include "platform/PathText.h"

namespace {

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The length of the root that begins a path of style; 0 when there is none.
size_t RootLength(std::string_view path, platform::PathStyle style) {
    if (style == platform::PathStyle::Windows)
        return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\' ? 3
                                                                                               : 0;
    return !path.empty() && path[0] == '/' ? 1 : 0;
}

} // namespace

bool BeginsWithFolderRoot(std::string_view path, platform::PathStyle style) {
    return RootLength(path, style) > 0;
}

bool IsValidFolderName(std::string_view name) {
    if (name.empty())
        return false;
    const auto atEdge = [](char c) { return c == '\t' || c == ' ' || c == '.'; };
    if (atEdge(name.front()) || atEdge(name.back()))
        return false;
    // Every forbidden character is ASCII, so the bytes of a UTF-8 name are
    // compared one by one.
    return name.find_first_of("\"*/:<>?\\|") == std::string_view::npos;
}

std::optional<FolderPathParts> SplitFolderPath(std::string_view path, platform::PathStyle style) {
    const size_t rootLength = RootLength(path, style);
    if (rootLength == 0)
        return std::nullopt;
    FolderPathParts parts;
    parts.root = std::string(path.substr(0, rootLength));
    if (path.size() == rootLength)
        return parts;
    const char separator = platform::PathSeparator(style);
    std::string_view rest = path.substr(rootLength);
    for (;;) {
        const size_t end = rest.find(separator);
        const std::string_view name = rest.substr(0, end);
        if (!IsValidFolderName(name))
            return std::nullopt;
        parts.names.emplace_back(name);
        if (end == std::string_view::npos)
            return parts;
        rest.remove_prefix(end + 1);
    }
}
