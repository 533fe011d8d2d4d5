#include "package/PackageTrailer.h"

#include "package/LittleEndian.h"

#include <cstring>

bool IsValidSfxEntryName(std::string_view name) {
    if (name.empty() || name.size() > static_cast<size_t>(kSfxMaxNameLength))
        return false;
    if (name == "." || name == "..")
        return false;
    // Entry names are extracted as file names inside a target folder, so any
    // folder part would let a package write elsewhere.
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

size_t CPackageTrailer::EncodedLength() const {
    size_t length = 4 + kSfxMarker.size();
    for (const auto& e : m_entries)
        length += 12 + e.m_strName.size();
    return length;
}

void CPackageTrailer::EncodeTo(std::string& out) const {
    out.reserve(out.size() + EncodedLength());
    for (const auto& e : m_entries) {
        AppendInt32LE(out, e.m_nOffset);
        AppendInt32LE(out, e.m_nSize);
        out += e.m_strName;
        AppendInt32LE(out, static_cast<int32_t>(e.m_strName.size()));
    }
    AppendInt32LE(out, static_cast<int32_t>(m_entries.size()));
    out += kSfxMarker;
}

namespace {

// Reads a 4-byte integer that ends distance bytes before the end of the file.
SfxResult ReadIntBack(const CPackageTrailer::ReadAt& read, int64_t fileSize, int64_t distance,
                      int32_t& value) {
    if (distance > fileSize)
        return SFX_ERR_MARKER;
    unsigned char bytes[4];
    if (!read(fileSize - distance, bytes, 4))
        return SFX_ERR_OPEN;
    value = ReadInt32LE(bytes);
    return SFX_OK;
}

} // namespace

SfxResult CPackageTrailer::DecodeFrom(const ReadAt& read, int64_t fileSize) {
    m_entries.clear();
    const int64_t tail = 4 + static_cast<int64_t>(kSfxMarker.size());
    if (fileSize < tail)
        return SFX_ERR_MARKER;

    unsigned char last[14];
    if (!read(fileSize - tail, last, sizeof last))
        return SFX_ERR_OPEN;
    if (std::memcmp(last + 4, kSfxMarker.data(), kSfxMarker.size()) != 0)
        return SFX_ERR_MARKER;
    const int32_t count = ReadInt32LE(last);
    if (count == 0)
        return SFX_ERR_EMPTY;
    if (count < 0 || count > kSfxMaxEntries)
        return SFX_ERR_MARKER;

    std::vector<CSfxEntry> entries(static_cast<size_t>(count));
    int64_t d = tail;
    for (int i = count - 1; i >= 0; --i) {
        CSfxEntry& e = entries[static_cast<size_t>(i)];
        int32_t nameLength = 0;
        d += 4;
        if (SfxResult r = ReadIntBack(read, fileSize, d, nameLength); r != SFX_OK)
            return r;
        if (nameLength < 1 || nameLength > kSfxMaxNameLength)
            return SFX_ERR_MARKER;
        d += nameLength;
        if (d > fileSize)
            return SFX_ERR_MARKER;
        e.m_strName.resize(static_cast<size_t>(nameLength));
        if (!read(fileSize - d, e.m_strName.data(), e.m_strName.size()))
            return SFX_ERR_OPEN;
        if (!IsValidSfxEntryName(e.m_strName))
            return SFX_ERR_MARKER;
        d += 4;
        if (SfxResult r = ReadIntBack(read, fileSize, d, e.m_nSize); r != SFX_OK)
            return r;
        d += 4;
        if (SfxResult r = ReadIntBack(read, fileSize, d, e.m_nOffset); r != SFX_OK)
            return r;
    }

    // Every payload must lie wholly before the trailer.
    const int64_t trailerStart = fileSize - d;
    for (const auto& e : entries) {
        if (e.m_nOffset < 0 || e.m_nSize < 0)
            return SFX_ERR_MARKER;
        if (static_cast<int64_t>(e.m_nOffset) + e.m_nSize > trailerStart)
            return SFX_ERR_MARKER;
    }
    m_entries = std::move(entries);
    return SFX_OK;
}
