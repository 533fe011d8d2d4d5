// Any project path and any stored path, in both path styles: folding twice
// folds once, resolving a resolved path changes nothing, a path made relative
// resolves back to itself, and a relative path never turns absolute.
#include "FuzzCheck.h"

#include "model/ProjectPaths.h"

#include <cctype>

namespace {

using platform::PathStyle;
using namespace projectpaths;

// Written apart from the module on purpose: how the reader of a saved
// project tells an absolute path from a relative one.
bool ReadsAsRelative(const std::string& path, PathStyle style) {
    if (path.empty())
        return true;
    if (style == PathStyle::Posix)
        return path[0] != '/';
    const bool drive =
        path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    return !drive && path[0] != '/' && path[0] != '\\';
}

void CheckStyle(const std::string& projectPath, const std::string& path, PathStyle style) {
    const std::string folded = FoldPath("", path, style);
    FUZZ_CHECK(FoldPath("", folded, style) == folded, "folding a folded path changed it");
    if (ReadsAsRelative(path, style))
        FUZZ_CHECK(ReadsAsRelative(folded, style), "a relative path folded to an absolute one");

    // The base of a project, made as the project makes it.
    const std::string current = style == PathStyle::Windows ? "C:\\cwd" : "/cwd";
    const std::string base = FolderOf(FoldPath(current, projectPath, style), style);
    const std::string resolved = ResolvePath(base, path, style);
    if (resolved.empty())
        return;
    FUZZ_CHECK(ResolvePath(base, resolved, style) == resolved, "resolving twice changed the path");
    const std::string relative = MakeRelativePath(base, resolved, style);
    FUZZ_CHECK(!relative.empty(), "a resolved path could not be stored");
    FUZZ_CHECK(ResolvePath(base, relative, style) == resolved,
               "a stored relative path resolves to another path");
    FUZZ_CHECK(MakeRelativePath(base, relative, style) == relative,
               "making a relative path relative changed it");
    if (relative != resolved)
        FUZZ_CHECK(ReadsAsRelative(relative, style), "a relative result reads as absolute");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    auto [projectPath, path] = SplitAtNul(FuzzBytes(data, size));
    CheckStyle(projectPath, path, PathStyle::Windows);
    CheckStyle(projectPath, path, PathStyle::Posix);
    return 0;
}
