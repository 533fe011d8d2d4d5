#pragma once

#include "package/SfxResult.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class RawFile;
}

// One run of a custom setup's bytes: bytes held in memory, or a range of one
// of the composition's source files.
struct SetupPiece {
    std::shared_ptr<const std::string> bytes; // the piece; null for a file range
    size_t source = 0;                        // a file range's source (index)
    int64_t offset = 0;                       // where the range starts in its source
    int64_t length = 0;                       // the piece's length in bytes
};

// The bytes of one custom setup as pieces laid end to end. Build and stamp
// write a composition to a file; a server sends the same pieces, so what it
// sends cannot differ from what they write.
struct SetupComposition {
    std::vector<std::string> sources; // the source files of the ranges, by path
    std::vector<SetupPiece> pieces;

    size_t AddSource(std::string path);
    void AddBytes(std::shared_ptr<const std::string> bytes);
    void AddBytes(std::string bytes);
    // Nothing is added for an empty range.
    void AddRange(size_t source, int64_t offset, int64_t length);
    int64_t Size() const;
};

// Writes every piece to out in order, each range copied from its source.
// SFX_ERR_SOURCE: a source cannot be opened or holds fewer bytes than its
// range needs; SFX_ERR_CREATE: out cannot be written.
SfxResult WriteComposition(const SetupComposition& composition, platform::RawFile& out);
