#include "platform/FileCopy.h"

#include "platform/FileFaults.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <unistd.h>

namespace platform {
namespace {

// Copies go in blocks of this size, and every write but the first ends on a
// block boundary of the target. Measured on ext4 with large page-cache
// folios: a buffer that stays in the processor's cache and writes that cover
// whole blocks move bytes as fast as the system's own copy between aligned
// positions, and a third faster than the system's copy between positions of
// different alignment (a payload behind an image of any length).
constexpr int64_t kBlock = kFileCopyBlock;
// The most one call of the system's copy moves (its limit is just below 2 GiB).
constexpr int64_t kMaxSystemPiece = int64_t{1} << 30;

bool WriteWhole(int fd, const char* p, size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, p, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

// Errors that say the target, not the source, is at fault.
bool IsTargetError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

} // namespace

FileCopyResult CopyFileBytes(RawFile& from, int64_t fromPosition, RawFile& to, int64_t length) {
    if (from.m_fd < 0 || fromPosition < 0 || length < 0)
        return FileCopyResult::ReadFailed;
    const off_t toPosition = to.m_fd < 0 ? -1 : ::lseek(to.m_fd, 0, SEEK_CUR);
    if (toPosition < 0)
        return FileCopyResult::WriteFailed;
    off_t in = static_cast<off_t>(fromPosition);
    off_t out = toPosition;
    // The system's copy only where the two positions share their alignment.
    bool systemCopy = (in - out) % kBlock == 0;
    std::unique_ptr<char[]> buffer;
    while (length > 0) {
        if (!FileFaults::Allow(FileOperation::Write))
            return FileCopyResult::WriteFailed;
        if (systemCopy) {
            const auto piece = static_cast<size_t>(std::min(length, kMaxSystemPiece));
            const ssize_t n = ::copy_file_range(from.m_fd, &in, to.m_fd, nullptr, piece, 0);
            if (n > 0) {
                out += n;
                length -= n;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && IsTargetError(errno))
                return FileCopyResult::WriteFailed;
            // Not supported between these files (another file system, an
            // old system), or nothing copied: the copy through the buffer
            // goes on from here and tells a short source from a failed target.
            systemCopy = false;
        }
        if (!buffer)
            buffer = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(kBlock));
        const int64_t toBoundary = kBlock - out % kBlock;
        const auto want = static_cast<size_t>(std::min(length, toBoundary));
        const ssize_t n = ::pread(from.m_fd, buffer.get(), want, in);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return FileCopyResult::ReadFailed;
        if (!WriteWhole(to.m_fd, buffer.get(), static_cast<size_t>(n)))
            return FileCopyResult::WriteFailed;
        in += n;
        out += n;
        length -= n;
    }
    return FileCopyResult::Copied;
}

} // namespace platform
