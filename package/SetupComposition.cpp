#include "package/SetupComposition.h"

#include "platform/FileCopy.h"
#include "platform/RawFile.h"

size_t SetupComposition::AddSource(std::string path) {
    sources.push_back(std::move(path));
    return sources.size() - 1;
}

void SetupComposition::AddBytes(std::shared_ptr<const std::string> bytes) {
    if (!bytes || bytes->empty())
        return;
    const auto length = static_cast<int64_t>(bytes->size());
    pieces.push_back(SetupPiece{std::move(bytes), 0, 0, length});
}

void SetupComposition::AddBytes(std::string bytes) {
    AddBytes(std::make_shared<const std::string>(std::move(bytes)));
}

void SetupComposition::AddRange(size_t source, int64_t offset, int64_t length) {
    if (length > 0)
        pieces.push_back(SetupPiece{nullptr, source, offset, length});
}

int64_t SetupComposition::Size() const {
    int64_t total = 0;
    for (const SetupPiece& piece : pieces)
        total += piece.length;
    return total;
}

SfxResult WriteComposition(const SetupComposition& composition, platform::RawFile& out) {
    // Each source is opened once, when its first range is written.
    std::vector<platform::RawFile> opened(composition.sources.size());
    for (const SetupPiece& piece : composition.pieces) {
        if (piece.bytes) {
            if (!out.WriteAll(piece.bytes->data(), piece.bytes->size()))
                return SFX_ERR_CREATE;
            continue;
        }
        if (piece.source >= opened.size())
            return SFX_ERR_SOURCE;
        platform::RawFile& source = opened[piece.source];
        if (!source.IsOpen())
            source = platform::RawFile::OpenRead(composition.sources[piece.source]);
        if (!source.IsOpen())
            return SFX_ERR_SOURCE;
        switch (platform::CopyFileBytes(source, piece.offset, out, piece.length)) {
        case platform::FileCopyResult::ReadFailed:
            return SFX_ERR_SOURCE;
        case platform::FileCopyResult::WriteFailed:
            return SFX_ERR_CREATE;
        case platform::FileCopyResult::Copied:
            break;
        }
    }
    return SFX_OK;
}
