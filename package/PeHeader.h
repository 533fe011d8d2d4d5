#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

// The headers of a Windows program, read as far as packages need them: the
// format (32- or 64-bit) and the security directory, which points at the
// certificate table a signature appends. Every offset and count read from
// the file is checked against the bytes that are there before it is used.

enum class PeFormat { None, Pe32, Pe32Plus };

// Where reading the headers stopped. A fault after the optional header's
// magic (the directories) leaves the format known.
enum class PeFault {
    None,
    ShorterThanDosHeader, // fewer than the 64 bytes of the DOS header
    NoDosMagic,           // does not start with "MZ"
    PeHeaderOutside,      // the PE header offset at 0x3C points past the end
    NoPeSignature,        // no "PE\0\0" where the offset points
    UnknownMagic,         // the optional header is neither PE32 nor PE32+
    DirectoriesOutside,   // the directory count or the security entry lies past the end
    ReadFailed,           // the bytes could not be read
};

// One entry of the optional header's data directories. For the security
// directory, address is a file offset.
struct PeDirectory {
    uint32_t address = 0;
    uint32_t size = 0;
};

struct PeHeader {
    PeFault fault = PeFault::None;
    PeFormat format = PeFormat::None;
    // The file header's machine type (0x14C i386, 0x8664 x86_64, ...); read
    // together with the format.
    uint16_t machine = 0;
    // None when the header has too few directories to hold it (or a fault
    // came first).
    std::optional<PeDirectory> security;
    // Read together with the format: the file offset of the optional header,
    // its size as the file header states it, and the number of sections.
    int64_t optionalHeader = -1;
    uint16_t optionalHeaderSize = 0;
    uint16_t sectionCount = 0;
    // File offsets of the header's checksum and of the security directory
    // entry (both outside what a signature's digest covers); -1 until read.
    int64_t checksumOffset = -1;
    int64_t securityOffset = -1;
};

// Fields of the optional header, from its start (the same place in PE32 and
// PE32+), and the numbers of two data directories.
inline constexpr int64_t kPeInitializedDataField = 8;
inline constexpr int64_t kPeSectionAlignmentField = 32;
inline constexpr int64_t kPeFileAlignmentField = 36;
inline constexpr int64_t kPeSizeOfImageField = 56;
inline constexpr int64_t kPeSizeOfHeadersField = 60;
inline constexpr int64_t kPeChecksumField = 64;
inline constexpr uint32_t kPeResourceDirectory = 2;
inline constexpr uint32_t kPeSecurityDirectory = 4;

// Where the optional header of a format holds its data directory count (the
// directories follow it); 0 for None.
constexpr int64_t PeDirectoryCountField(PeFormat format) {
    return format == PeFormat::Pe32 ? 92 : format == PeFormat::Pe32Plus ? 108 : 0;
}

// read(pos, buffer, length) fills buffer from position pos; false on failure
// or a short read. size is how many bytes belong to the image: nothing past
// it is read.
using PeReadAt = std::function<bool(int64_t pos, void* buffer, size_t length)>;

PeHeader ReadPeHeader(const PeReadAt& read, int64_t size);
// The same for bytes already in memory.
PeHeader ReadPeHeader(const unsigned char* data, size_t size);

// "shorter than a DOS header", "no MZ", ... for messages and test names.
std::string_view PeFaultName(PeFault fault);
