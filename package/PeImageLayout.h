#pragma once

#include "package/PeHeader.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The parts of a Windows program's headers that the resource work needs: the
// alignments, the section table and the data directories, read on top of the
// headers package/PeHeader.h reads. Every offset and count is checked against
// the file before it is used; a layout is only returned when the whole
// section table and directory table lie in the file.

// One row of the section table.
struct PeSection {
    char name[8] = {};
    uint32_t virtualSize = 0;
    uint32_t virtualAddress = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
    uint32_t characteristics = 0;
};

struct PeImageLayout {
    bool pe32Plus = false;
    int64_t optionalHeader = 0; // file offset of the optional header
    int64_t sectionTable = 0;   // file offset of the first section row
    uint32_t sectionAlignment = 0;
    uint32_t fileAlignment = 0;
    uint32_t sizeOfHeaders = 0;
    uint32_t sizeOfImage = 0;
    int64_t directoryTable = 0; // file offset of data directory 0
    uint32_t directoryCount = 0;
    std::vector<PeSection> sections;

    // The file range of count bytes at the relative virtual address rva,
    // when a section holds them all in its raw data.
    std::optional<int64_t> FileOffsetOf(uint32_t rva, uint32_t count) const;
};

inline constexpr size_t kPeSectionRowSize = 40;

using PeLayoutReadAt = PeReadAt;

// Reads the layout of the image of size bytes; nothing when it is not a
// PE32 or PE32+ image or a table lies outside it.
std::optional<PeImageLayout> ReadPeImageLayout(const PeLayoutReadAt& read, int64_t size);
std::optional<PeImageLayout> ReadPeImageLayout(const unsigned char* data, size_t size);

// The checksum the loader checks for drivers and that tools show: the 16-bit
// one's-complement sum of the image with its checksum field taken as zero,
// plus the image's length.
uint32_t PeImageChecksum(const unsigned char* data, size_t size, int64_t checksumOffset);
