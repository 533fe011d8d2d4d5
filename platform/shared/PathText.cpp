#include "platform/PathText.h"

namespace platform {

bool IsPathSeparator(char c, PathStyle style) {
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

char PathSeparator(PathStyle style) {
    return style == PathStyle::Windows ? '\\' : '/';
}

size_t LastSeparator(std::string_view path, PathStyle style) {
    return path.find_last_of(style == PathStyle::Windows ? "/\\" : "/");
}

std::string FolderOf(std::string_view filePath, PathStyle style) {
    size_t end = filePath.size();
    while (end > 0 && !IsPathSeparator(filePath[end - 1], style))
        --end;
    while (end > 0 && IsPathSeparator(filePath[end - 1], style))
        --end;
    if (end == 0 && !filePath.empty() && style == PathStyle::Posix && filePath[0] == '/')
        return "/";
    return std::string(filePath.substr(0, end));
}

std::string_view FileNameOf(std::string_view path) {
    const size_t cut = LastSeparator(path, PathStyle::Windows);
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string_view FolderPartOf(std::string_view path) {
    const size_t cut = LastSeparator(path, PathStyle::Windows);
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

std::string JoinPath(std::string_view folder, std::string_view name, PathStyle style) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/' && out.back() != '\\')
        out += PathSeparator(style);
    out.append(name);
    return out;
}

} // namespace platform
