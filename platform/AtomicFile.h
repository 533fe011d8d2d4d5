#pragma once

#include "platform/FileError.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Makes an atomic write fail on purpose once failAfterBytes bytes have been
// written to the temporary file, so that tests can check what a failure in the
// middle of a save leaves behind.
struct AtomicWriteFault {
    size_t failAfterBytes = 0;
    FileError failWith = FileError::DiskFull;
};

// Replaces the file at path by bytes so that readers see either the old or the
// new content, never a mix: the bytes go to a new temporary file in the same
// folder (created exclusively, never through a link), are flushed to the disk,
// and the temporary file is then renamed over path. When path is a symbolic
// link that may be followed (platform/WriteTarget.h), the file it points to is
// replaced; a planted link gives FileError::PlantedLink and nothing is
// written. On any failure the old file is left untouched, the temporary file
// is removed and the status tells why. A successful write also removes stale
// temporary files that killed writers left beside the target.
FileStatus WriteFileAtomically(const std::string& path, std::string_view bytes,
                               const AtomicWriteFault* fault = nullptr);

} // namespace platform
