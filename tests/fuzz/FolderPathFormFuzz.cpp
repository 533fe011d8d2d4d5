// Any typed folder path, in both path styles: a path that passes splits into
// its root and valid names that join back to the path byte for byte, and a
// path built from a root and valid names always passes.
#include "FuzzCheck.h"

#include "model/FolderPathForm.h"
#include "platform/PathText.h"

namespace {

using platform::PathStyle;

void CheckStyle(const std::string& path, PathStyle style) {
    const std::optional<FolderPathParts> parts = SplitFolderPath(path, style);
    if (!parts)
        return;
    const char separator = platform::PathSeparator(style);
    std::string joined = parts->root;
    for (size_t i = 0; i < parts->names.size(); ++i) {
        FUZZ_CHECK(IsValidFolderName(parts->names[i]), "a name of a passed path is invalid");
        FUZZ_CHECK(parts->names[i].find(separator) == std::string::npos,
                   "a name holds the separator");
        if (i > 0)
            joined.push_back(separator);
        joined += parts->names[i];
    }
    FUZZ_CHECK(joined == path, "root and names do not join back to the path");
    FUZZ_CHECK(parts->root == (style == PathStyle::Windows ? path.substr(0, 3) : "/"),
               "the root is not the path's beginning");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    const std::string path(FuzzBytes(data, size));
    CheckStyle(path, PathStyle::Windows);
    CheckStyle(path, PathStyle::Posix);
    // The text as one name below each root.
    if (IsValidFolderName(path)) {
        FUZZ_CHECK(IsWellFormedFolderPath("C:\\" + path, PathStyle::Windows),
                   "a valid name below a drive fails");
        FUZZ_CHECK(IsWellFormedFolderPath("/" + path, PathStyle::Posix),
                   "a valid name below the root fails");
    }
    return 0;
}
