#include "platform/FileCopy.h"

#include <algorithm>
#include <memory>

namespace platform {
namespace {

// The buffer stays in the processor's cache, and every write but the first
// ends on a block boundary of the target, so the system stores whole blocks.
constexpr int64_t kBlock = kFileCopyBlock;

} // namespace

// The system has no copy of a range between two open files: the bytes go
// through one buffer.
FileCopyResult CopyFileBytes(RawFile& from, int64_t fromPosition, RawFile& to, int64_t length) {
    if (!from.IsOpen() || length < 0 || !from.SeekTo(fromPosition))
        return FileCopyResult::ReadFailed;
    int64_t out = to.Position();
    if (out < 0)
        return FileCopyResult::WriteFailed;
    std::unique_ptr<char[]> buffer;
    if (length > 0)
        buffer = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(kBlock));
    while (length > 0) {
        const auto want = static_cast<size_t>(std::min(length, kBlock - out % kBlock));
        const long n = from.Read(buffer.get(), want);
        if (n <= 0)
            return FileCopyResult::ReadFailed;
        if (!to.WriteAll(buffer.get(), static_cast<size_t>(n)))
            return FileCopyResult::WriteFailed;
        out += n;
        length -= n;
    }
    return FileCopyResult::Copied;
}

} // namespace platform
