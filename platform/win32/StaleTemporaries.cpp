#include "platform/FileReplace.h"
#include "platform/PathText.h"

#include <windows.h>

namespace platform {
namespace {

constexpr ULONGLONG kStaleAfter100ns = 60ULL * 10000000ULL;

ULONGLONG Ticks(const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

} // namespace

size_t RemoveStaleTemporariesBeside(const std::string& target) {
    const std::string folder = FolderOf(target, PathStyle::Windows);
    const std::string targetName(FileNameOf(target));
    if (targetName.empty())
        return 0;
    WIN32_FIND_DATAA found{};
    const std::string pattern = JoinPath(folder, ".*.tmp", PathStyle::Windows);
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FILETIME nowTime{};
    ::GetSystemTimeAsFileTime(&nowTime);
    const ULONGLONG now = Ticks(nowTime);
    size_t removed = 0;
    do {
        const bool plain = (found.dwFileAttributes &
                            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        if (!plain || !IsTemporaryNameFor(found.cFileName, targetName) ||
            Ticks(found.ftLastWriteTime) + kStaleAfter100ns >= now)
            continue;
        // A running writer holds its file open without delete sharing, so
        // the deletion fails for it.
        if (::DeleteFileA(JoinPath(folder, found.cFileName, PathStyle::Windows).c_str()))
            ++removed;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return removed;
}

} // namespace platform
