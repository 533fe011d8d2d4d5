#include "model/ProjectPaths.h"

#include <cctype>
#include <vector>

namespace projectpaths {
namespace {

using platform::PathStyle;

bool IsSeparator(char c, PathStyle style) {
    return platform::IsPathSeparator(c, style);
}

char Separator(PathStyle style) {
    return platform::PathSeparator(style);
}

bool HasDrive(std::string_view p) {
    return p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':';
}

bool IsUnc(std::string_view p) {
    return p.size() >= 2 && IsSeparator(p[0], PathStyle::Windows) &&
           IsSeparator(p[1], PathStyle::Windows);
}

// A path split into its root and the rest. root is "" for relative paths,
// "/" on Posix, "C:\", "\" or "\\server\share" on Windows.
struct RootedPath {
    std::string root;
    std::string_view rest;
};

RootedPath SplitRoot(std::string_view p, PathStyle style) {
    if (style == PathStyle::Posix) {
        if (!p.empty() && p[0] == '/')
            return {"/", p.substr(1)};
        return {"", p};
    }
    if (IsUnc(p)) {
        // "\\server\share": both names belong to the root. "." and ".." name
        // no server or share: they end the root and are folded like any part,
        // or "\\srv\." would fold to itself and never to "\\srv".
        size_t i = 2;
        std::string root = "\\\\";
        for (int name = 0; name < 2; ++name) {
            while (i < p.size() && IsSeparator(p[i], style))
                ++i;
            size_t end = i;
            while (end < p.size() && !IsSeparator(p[end], style))
                ++end;
            const std::string_view text = p.substr(i, end - i);
            if (text == "." || text == "..")
                break;
            if (name == 1 && !text.empty())
                root += '\\';
            root.append(text);
            i = end;
        }
        return {root, p.substr(i)};
    }
    if (HasDrive(p))
        return {std::string(p.substr(0, 2)) + "\\", p.substr(2)};
    if (!p.empty() && IsSeparator(p[0], style))
        return {"\\", p.substr(1)};
    return {"", p};
}

// Folds "." and ".." and joins the parts of rest behind root. ".." never
// climbs above a root; in a relative path leading ".." parts stay.
std::string Fold(const RootedPath& path, PathStyle style) {
    std::vector<std::string_view> parts;
    std::string_view rest = path.rest;
    while (!rest.empty()) {
        size_t end = 0;
        while (end < rest.size() && !IsSeparator(rest[end], style))
            ++end;
        const std::string_view part = rest.substr(0, end);
        rest.remove_prefix(end < rest.size() ? end + 1 : end);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (path.root.empty())
                parts.push_back(part);
            continue;
        }
        parts.push_back(part);
    }

    std::string out = path.root;
    const char sep = Separator(style);
    // A relative path whose first part looks like a drive ("C:x") would read
    // back as a path on that drive: "." in front keeps it relative.
    if (out.empty() && !parts.empty() && style == PathStyle::Windows && HasDrive(parts.front())) {
        out = ".";
        out += sep;
    }
    // A UNC root ends with the share name: it needs a separator before parts.
    if (!parts.empty() && !out.empty() && !IsSeparator(out.back(), style))
        out += sep;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += sep;
        out.append(parts[i]);
    }
    if (out.empty())
        out = ".";
    return out;
}

std::string WindowsFold(std::string_view base, std::string_view path) {
    const PathStyle style = PathStyle::Windows;
    if (IsUnc(path) || (HasDrive(path) && path.size() > 2 && IsSeparator(path[2], style)))
        return Fold(SplitRoot(path, style), style);

    const RootedPath baseParts = SplitRoot(base, style);
    std::string combined;
    if (!path.empty() && IsSeparator(path[0], style)) {
        // Rooted on the base directory's drive or share.
        if (baseParts.root.empty() || baseParts.root == "\\")
            return Fold(SplitRoot(path, style), style);
        combined = baseParts.root;
        if (!IsSeparator(combined.back(), style))
            combined += '\\';
        combined.append(path.substr(1));
        return Fold(SplitRoot(combined, style), style);
    }
    if (HasDrive(path)) {
        // "D:name": relative to the base directory when it is on that drive,
        // otherwise to the drive's root.
        const bool sameDrive =
            HasDrive(base) && std::toupper(static_cast<unsigned char>(base[0])) ==
                                  std::toupper(static_cast<unsigned char>(path[0]));
        combined = sameDrive ? std::string(base) : std::string(path.substr(0, 2));
        combined += '\\';
        combined.append(path.substr(2));
        return Fold(SplitRoot(combined, style), style);
    }
    if (base.empty())
        return Fold(SplitRoot(path, style), style);
    combined = std::string(base);
    combined += '\\';
    combined.append(path);
    return Fold(SplitRoot(combined, style), style);
}

std::string PosixFold(std::string_view base, std::string_view path) {
    const PathStyle style = PathStyle::Posix;
    if (!path.empty() && path[0] == '/')
        return Fold(SplitRoot(path, style), style);
    // A relative path saved on Windows separates its parts with "\".
    std::string relative(path);
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    // A leading "\" was the root of a Windows drive: still relative here, as
    // it is below a base.
    if (base.empty())
        return Fold({"", relative}, style);
    std::string combined(base);
    combined += '/';
    combined += relative;
    return Fold(SplitRoot(combined, style), style);
}

} // namespace

std::string FoldPath(std::string_view base, std::string_view path, PathStyle style) {
    return style == PathStyle::Windows ? WindowsFold(base, path) : PosixFold(base, path);
}

std::string ResolvePath(std::string_view base, std::string_view path, PathStyle style) {
    // An empty path names the base itself, folded like every other result so
    // that resolving it again gives the same text ("C:" is the drive's root).
    if (path.empty() && base.empty())
        return {};
    std::string result = FoldPath(base, path, style);
    if (result.size() > kMaxPath)
        return {};
    return result;
}

std::string MakeRelativePath(std::string_view base, std::string_view path, PathStyle style) {
    if (path.size() > kMaxPath)
        return {};
    if (base.empty() || path.size() < base.size() || path.substr(0, base.size()) != base)
        return std::string(path);
    std::string_view rest = path.substr(base.size());
    // The prefix must end at a separator: "/work/proj" is no prefix of
    // "/work/project2/a.exe". A base that ends in one (a root) needs no other.
    if (!rest.empty() && !IsSeparator(rest[0], style) && !IsSeparator(base.back(), style))
        return std::string(path);
    while (!rest.empty() && IsSeparator(rest[0], style))
        rest.remove_prefix(1);
    if (rest.empty())
        return ".";
    // A relative Posix path reads "\" as a separator (paths saved on
    // Windows): a name holding one stays absolute to keep naming that file.
    if (style == PathStyle::Posix && rest.find('\\') != std::string_view::npos)
        return std::string(path);
    // "C:x" would read back as a path on drive C.
    if (style == PathStyle::Windows && HasDrive(rest))
        return ".\\" + std::string(rest);
    return std::string(rest);
}

FileNameParts SplitExtension(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return {fileName, {}};
    return {fileName.substr(0, dot), fileName.substr(dot)};
}

} // namespace projectpaths
