#include "package/PackageTrailer.h"

#include "model/ByteOrder.h"

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

TrailerStatus Fault(TrailerFault fault, int entry = -1, int64_t value = 0) {
    return {fault, entry, value};
}

// Reads a 4-byte integer that ends distance bytes before the end of the file.
TrailerStatus ReadIntBack(const CPackageTrailer::ReadAt& read, int64_t fileSize, int64_t distance,
                          int entry, int32_t& value) {
    if (distance > fileSize)
        return Fault(TrailerFault::CountPastStart, entry);
    unsigned char bytes[4];
    if (!read(fileSize - distance, bytes, 4))
        return Fault(TrailerFault::ReadFailed);
    value = ReadInt32LE(bytes);
    return {};
}

// The fixed tail: the count and the marker.
TrailerStatus ReadCount(const CPackageTrailer::ReadAt& read, int64_t fileSize, int32_t& count) {
    const int64_t tail = 4 + static_cast<int64_t>(kSfxMarker.size());
    if (fileSize < tail)
        return Fault(TrailerFault::ShorterThanTail);
    unsigned char last[14];
    if (!read(fileSize - tail, last, sizeof last))
        return Fault(TrailerFault::ReadFailed);
    if (std::memcmp(last + 4, kSfxMarker.data(), kSfxMarker.size()) != 0)
        return Fault(TrailerFault::BadMarker);
    count = ReadInt32LE(last);
    if (count == 0)
        return Fault(TrailerFault::NoEntries);
    if (count < 0 || count > kSfxMaxEntries)
        return Fault(TrailerFault::CountOutOfRange, -1, count);
    return {};
}

// One record, read backwards from distance d (moved past it).
TrailerStatus ReadRecord(const CPackageTrailer::ReadAt& read, int64_t fileSize, int index,
                         int64_t& d, CSfxEntry& e) {
    int32_t nameLength = 0;
    d += 4;
    if (TrailerStatus s = ReadIntBack(read, fileSize, d, index, nameLength); !s.Ok())
        return s;
    if (nameLength < 1 || nameLength > kSfxMaxNameLength)
        return Fault(TrailerFault::NameLengthOutOfRange, index, nameLength);
    d += nameLength;
    if (d > fileSize)
        return Fault(TrailerFault::CountPastStart, index);
    e.m_strName.resize(static_cast<size_t>(nameLength));
    if (!read(fileSize - d, e.m_strName.data(), e.m_strName.size()))
        return Fault(TrailerFault::ReadFailed);
    if (!IsValidSfxEntryName(e.m_strName))
        return Fault(TrailerFault::BadName, index);
    d += 4;
    if (TrailerStatus s = ReadIntBack(read, fileSize, d, index, e.m_nSize); !s.Ok())
        return s;
    d += 4;
    return ReadIntBack(read, fileSize, d, index, e.m_nOffset);
}

} // namespace

TrailerStatus CPackageTrailer::Decode(const ReadAt& read, int64_t fileSize) {
    m_entries.clear();
    int32_t count = 0;
    if (TrailerStatus s = ReadCount(read, fileSize, count); !s.Ok())
        return s;

    std::vector<CSfxEntry> entries(static_cast<size_t>(count));
    int64_t d = 4 + static_cast<int64_t>(kSfxMarker.size());
    for (int i = count - 1; i >= 0; --i)
        if (TrailerStatus s = ReadRecord(read, fileSize, i, d, entries[static_cast<size_t>(i)]);
            !s.Ok())
            return s;

    // Every payload must lie wholly before the trailer.
    const int64_t trailerStart = fileSize - d;
    for (int i = 0; i < count; ++i) {
        const CSfxEntry& e = entries[static_cast<size_t>(i)];
        if (e.m_nOffset < 0 || e.m_nSize < 0)
            return Fault(TrailerFault::NegativeField, i);
        if (static_cast<int64_t>(e.m_nOffset) + e.m_nSize > trailerStart)
            return Fault(TrailerFault::EntryOutsideFile, i);
    }
    m_entries = std::move(entries);
    return {};
}

SfxResult CPackageTrailer::DecodeFrom(const ReadAt& read, int64_t fileSize) {
    return SfxResultOf(Decode(read, fileSize));
}
