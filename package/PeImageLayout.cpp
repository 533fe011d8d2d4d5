#include "package/PeImageLayout.h"

#include "model/ByteOrder.h"

#include <cstring>

namespace {

// More sections than this is no image a linker wrote.
constexpr uint16_t kMaxSections = 96;

bool Inside(int64_t pos, int64_t length, int64_t size) {
    return pos >= 0 && length >= 0 && pos <= size && length <= size - pos;
}

bool ReadInside(const PeLayoutReadAt& read, int64_t size, int64_t pos, void* out, size_t length) {
    return Inside(pos, static_cast<int64_t>(length), size) && read(pos, out, length);
}

PeSection SectionOf(const unsigned char* row) {
    PeSection section;
    std::memcpy(section.name, row, sizeof section.name);
    section.virtualSize = ReadU32LE(row + 8);
    section.virtualAddress = ReadU32LE(row + 12);
    section.rawSize = ReadU32LE(row + 16);
    section.rawOffset = ReadU32LE(row + 20);
    section.characteristics = ReadU32LE(row + 36);
    return section;
}

bool ReadSections(const PeLayoutReadAt& read, int64_t size, uint16_t count, PeImageLayout& layout) {
    layout.sections.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        unsigned char row[kPeSectionRowSize];
        if (!ReadInside(read, size, layout.sectionTable + int64_t{i} * int64_t{kPeSectionRowSize},
                        row, sizeof row))
            return false;
        layout.sections.push_back(SectionOf(row));
    }
    return true;
}

} // namespace

std::optional<int64_t> PeImageLayout::FileOffsetOf(uint32_t rva, uint32_t count) const {
    for (const PeSection& section : sections) {
        const uint64_t start = section.virtualAddress;
        const uint64_t end = start + section.rawSize;
        if (rva >= start && uint64_t{rva} + count <= end)
            return int64_t{section.rawOffset} + (int64_t{rva} - int64_t{section.virtualAddress});
    }
    return std::nullopt;
}

std::optional<PeImageLayout> ReadPeImageLayout(const PeLayoutReadAt& read, int64_t size) {
    const PeHeader header = ReadPeHeader(read, size);
    if (header.format == PeFormat::None || header.sectionCount > kMaxSections)
        return std::nullopt;

    PeImageLayout layout;
    layout.pe32Plus = header.format == PeFormat::Pe32Plus;
    layout.optionalHeader = header.optionalHeader;
    layout.sectionTable = layout.optionalHeader + header.optionalHeaderSize;
    const int64_t countAt = PeDirectoryCountField(header.format);
    unsigned char fields[PeDirectoryCountField(PeFormat::Pe32Plus) + 4];
    const size_t fieldsLength = static_cast<size_t>(countAt + 4);
    if (countAt + 4 > header.optionalHeaderSize ||
        !ReadInside(read, size, layout.optionalHeader, fields, fieldsLength))
        return std::nullopt;
    layout.sectionAlignment = ReadU32LE(fields + kPeSectionAlignmentField);
    layout.fileAlignment = ReadU32LE(fields + kPeFileAlignmentField);
    layout.sizeOfImage = ReadU32LE(fields + kPeSizeOfImageField);
    layout.sizeOfHeaders = ReadU32LE(fields + kPeSizeOfHeadersField);
    layout.directoryCount = ReadU32LE(fields + countAt);
    layout.directoryTable = layout.optionalHeader + countAt + 4;
    // The directories must lie inside the optional header the file header sizes.
    if (layout.directoryCount > 16 ||
        countAt + 4 + int64_t{layout.directoryCount} * 8 > int64_t{header.optionalHeaderSize} ||
        !Inside(layout.directoryTable, int64_t{layout.directoryCount} * 8, size))
        return std::nullopt;
    if (!ReadSections(read, size, header.sectionCount, layout))
        return std::nullopt;
    return layout;
}

std::optional<PeImageLayout> ReadPeImageLayout(const unsigned char* data, size_t size) {
    return ReadPeImageLayout(
        [data](int64_t pos, void* buffer, size_t length) {
            std::memcpy(buffer, data + pos, length);
            return true;
        },
        static_cast<int64_t>(size));
}

uint32_t PeImageChecksum(const unsigned char* data, size_t size, int64_t checksumOffset) {
    const auto byteAt = [&](size_t i) -> uint32_t {
        const auto pos = static_cast<int64_t>(i);
        const bool inField = pos >= checksumOffset && pos < checksumOffset + 4;
        return i < size && !inField ? data[i] : 0;
    };
    uint64_t sum = 0;
    for (size_t i = 0; i < size; i += 2) {
        sum += byteAt(i) | (byteAt(i + 1) << 8);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint32_t>(sum) + static_cast<uint32_t>(size);
}
