#include "setupstub/ImageLength.h"

#include "model/ProgramStart.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <string>

namespace {

constexpr uint32_t kElfNoBits = 8;          // a section that takes no file bytes
constexpr uint32_t kMaxTableEntries = 4096; // headers or sections: far more than any image has

// Little-endian fields read through read, each checked to lie inside size.
class Fields {
public:
    Fields(const ImageReadAt& read, int64_t size) : m_read(read), m_size(size) {}

    // The first bytes of the file, at most kProgramStartBytes: what it is.
    ProgramStart Start() const {
        unsigned char start[kProgramStartBytes] = {};
        const auto length = static_cast<size_t>(std::clamp<int64_t>(m_size, 0, sizeof start));
        return length > 0 && m_read(0, start, length) ? ProgramStartOf(start, length)
                                                      : ProgramStart::Unknown;
    }

    bool Get(int64_t pos, size_t width, uint64_t& value) const {
        unsigned char bytes[8] = {};
        if (pos < 0 || width > sizeof bytes || pos > m_size - static_cast<int64_t>(width) ||
            !m_read(pos, bytes, width))
            return false;
        value = 0;
        for (size_t i = width; i-- > 0;)
            value = (value << 8) | bytes[i];
        return true;
    }

    // end = offset + length, when that lies inside the file.
    bool Span(uint64_t offset, uint64_t length, int64_t& end) const {
        const auto size = static_cast<uint64_t>(m_size);
        if (offset > size || length > size - offset)
            return false;
        end = static_cast<int64_t>(offset + length);
        return true;
    }

private:
    const ImageReadAt& m_read;
    int64_t m_size;
};

// Offsets of the ELF fields that differ between the two classes.
struct ElfLayout {
    size_t word;                         // width of an offset or size
    int64_t phoff, shoff, phentsize;     // in the file header
    int64_t segOffset, segSize;          // in a program header
    int64_t secType, secOffset, secSize; // in a section header
};

constexpr ElfLayout kElf32{4, 0x1C, 0x20, 0x2A, 0x04, 0x10, 0x04, 0x10, 0x14};
constexpr ElfLayout kElf64{8, 0x20, 0x28, 0x36, 0x08, 0x20, 0x04, 0x18, 0x20};

// A table of count entries of entrySize bytes at offset; its end goes into end.
bool TableEnd(const Fields& f, uint64_t offset, uint64_t entrySize, uint64_t count, int64_t& end) {
    return count <= kMaxTableEntries && f.Span(offset, entrySize * count, end);
}

int64_t ElfLength(const Fields& f, const ElfLayout& l) {
    uint64_t phoff = 0, shoff = 0, phentsize = 0, phnum = 0, shentsize = 0, shnum = 0;
    if (!f.Get(l.phoff, l.word, phoff) || !f.Get(l.shoff, l.word, shoff) ||
        !f.Get(l.phentsize, 2, phentsize) || !f.Get(l.phentsize + 2, 2, phnum) ||
        !f.Get(l.phentsize + 4, 2, shentsize) || !f.Get(l.phentsize + 6, 2, shnum))
        return -1;
    int64_t end = l.phentsize + 8; // the file header
    int64_t tableEnd = 0;
    if (!TableEnd(f, phoff, phentsize, phnum, tableEnd))
        return -1;
    end = std::max(end, tableEnd);
    for (uint64_t i = 0; i < phnum; ++i) {
        const auto at = static_cast<int64_t>(phoff + i * phentsize);
        uint64_t offset = 0, length = 0;
        int64_t segmentEnd = 0;
        if (!f.Get(at + l.segOffset, l.word, offset) || !f.Get(at + l.segSize, l.word, length) ||
            !f.Span(offset, length, segmentEnd))
            return -1;
        end = std::max(end, segmentEnd);
    }
    if (shnum == 0)
        return end;
    if (!TableEnd(f, shoff, shentsize, shnum, tableEnd))
        return -1;
    end = std::max(end, tableEnd);
    for (uint64_t i = 0; i < shnum; ++i) {
        const auto at = static_cast<int64_t>(shoff + i * shentsize);
        uint64_t type = 0, offset = 0, length = 0;
        int64_t sectionEnd = 0;
        if (!f.Get(at + l.secType, 4, type) || !f.Get(at + l.secOffset, l.word, offset) ||
            !f.Get(at + l.secSize, l.word, length))
            return -1;
        if (type == kElfNoBits)
            continue;
        if (!f.Span(offset, length, sectionEnd))
            return -1;
        end = std::max(end, sectionEnd);
    }
    return end;
}

int64_t PeLength(const Fields& f) {
    uint64_t pe = 0, signature = 0, sections = 0, optionalSize = 0, magic = 0;
    if (!f.Get(0x3C, 4, pe) || !f.Get(static_cast<int64_t>(pe), 4, signature) ||
        signature != 0x00004550)
        return -1;
    const auto coff = static_cast<int64_t>(pe) + 4;
    const int64_t optional = coff + 20;
    if (!f.Get(coff + 2, 2, sections) || !f.Get(coff + 16, 2, optionalSize) ||
        !f.Get(optional, 2, magic))
        return -1;
    int64_t end = 0;
    const auto table = static_cast<uint64_t>(optional) + optionalSize;
    if (!TableEnd(f, table, 40, sections, end))
        return -1;
    for (uint64_t i = 0; i < sections; ++i) {
        const auto at = static_cast<int64_t>(table + i * 40);
        uint64_t rawSize = 0, rawOffset = 0;
        int64_t sectionEnd = 0;
        if (!f.Get(at + 16, 4, rawSize) || !f.Get(at + 20, 4, rawOffset) ||
            !f.Span(rawOffset, rawSize, sectionEnd))
            return -1;
        end = std::max(end, sectionEnd);
    }
    // The security directory is entry 4 of the data directories, which
    // start 96 (PE32) or 112 (PE32+) bytes into the optional header.
    const int64_t directoriesAt = magic == 0x20B ? 112 : 96;
    const int64_t directories = optional + directoriesAt;
    constexpr int64_t kSecurityEntry = int64_t{4} * 8; // entry 4, 8 bytes each
    uint64_t count = 0, certOffset = 0, certSize = 0;
    const bool signedImage =
        static_cast<int64_t>(optionalSize) >= directoriesAt + kSecurityEntry + 8 &&
        f.Get(directories - 4, 4, count) && count > 4 &&
        f.Get(directories + kSecurityEntry, 4, certOffset) &&
        f.Get(directories + kSecurityEntry + 4, 4, certSize) && certSize > 0 &&
        certOffset <= static_cast<uint64_t>(end + 7);
    if (!signedImage)
        return end;
    // A signature cut short is a broken image: taking the sections' end
    // instead would make the length depend on what follows the file.
    int64_t certEnd = 0;
    return f.Span(certOffset, certSize, certEnd) ? std::max(end, certEnd) : -1;
}

} // namespace

int64_t ExecutableImageLength(const ImageReadAt& read, int64_t size) {
    const Fields f(read, size);
    const ProgramStart start = f.Start();
    if (start == ProgramStart::Elf) {
        uint64_t elfClass = 0, order = 0;
        if (!f.Get(4, 1, elfClass) || !f.Get(5, 1, order) || order != 1)
            return -1;
        if (elfClass == 1)
            return ElfLength(f, kElf32);
        return elfClass == 2 ? ElfLength(f, kElf64) : -1;
    }
    if (start == ProgramStart::WindowsProgram)
        return PeLength(f);
    return -1;
}

int64_t ExecutableImageLengthOf(const std::string& path) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    const int64_t size = file.IsOpen() ? file.Size() : -1;
    if (size < 0)
        return -1;
    const ImageReadAt read = [&file](int64_t pos, void* buffer, size_t length) {
        if (!file.SeekTo(pos))
            return false;
        auto* p = static_cast<char*>(buffer);
        while (length > 0) {
            const long n = file.Read(p, length);
            if (n <= 0)
                return false;
            p += n;
            length -= static_cast<size_t>(n);
        }
        return true;
    };
    return ExecutableImageLength(read, size);
}
