#pragma once

#include "platform/RawFile.h"

#include <cstdint>

namespace platform {

enum class FileCopyResult : int { Copied, ReadFailed, WriteFailed };

// Where bytes go through the process, they go in blocks of this size, and
// every write but the first ends on a block boundary of the target.
inline constexpr int64_t kFileCopyBlock = int64_t{128} * 1024;

// Copies length bytes of from, starting at fromPosition, to to at its current
// position, which then stands right after them; from's own position is left
// anywhere. Where the system can and both positions share their alignment, it
// moves the bytes between the two files itself; elsewhere they go through one
// buffer of kFileCopyBlock bytes. Memory use never grows with length. ReadFailed
// when from cannot be read or ends before length bytes; WriteFailed when to
// does not take them all.
FileCopyResult CopyFileBytes(RawFile& from, int64_t fromPosition, RawFile& to, int64_t length);

} // namespace platform
