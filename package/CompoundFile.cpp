#include "package/CompoundFile.h"

#include "model/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderFatSlots = 109;
constexpr uint32_t kLastRegularSector = 0xFFFFFFF9;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoEntry = 0xFFFFFFFF;
constexpr uint32_t kMiniSectorShift = 6;
constexpr uint32_t kMiniSectorSize = 1u << kMiniSectorShift;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr size_t kEntrySize = 128;
constexpr uint8_t kTypeStream = 2;
constexpr uint8_t kTypeRoot = 5;
// A database's directory holds a few hundred entries; a longer chain is
// refused rather than followed through a file of any size.
constexpr size_t kMaxDirectorySectors = 4096;

// The header fields the reader uses, checked against each other and the file.
struct Header {
    bool version3 = true;
    uint32_t sectorShift = 9;
    uint32_t fatSectors = 0;
    uint32_t firstDirectory = 0;
    uint32_t firstMiniFat = 0;
    uint32_t miniFatSectors = 0;
    uint32_t firstDifat = 0;
    uint32_t difatSectors = 0;
    uint32_t headerFat[kHeaderFatSlots] = {};
};

struct Entry {
    uint8_t type = 0;
    std::u16string name;
    uint32_t left = kNoEntry;
    uint32_t right = kNoEntry;
    uint32_t child = kNoEntry;
    uint32_t start = kEndOfChain;
    uint64_t size = 0;
};

bool SameName(std::u16string_view a, std::u16string_view b) {
    const auto fold = [](char16_t c) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&fold](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

class CompoundReader {
public:
    CompoundReader(const CompoundReadAt& read, int64_t size) : m_read(read), m_size(size) {}

    CompoundFault fault() const { return m_fault; }

    bool Open() { return ReadHeader() && ReadFatSectors(); }

    bool FindRootStream(std::u16string_view name, Entry& found);
    bool ReadStream(const Entry& entry, std::vector<unsigned char>& out);

private:
    bool Fail(CompoundFault fault) {
        if (m_fault == CompoundFault::None)
            m_fault = fault;
        return false;
    }
    size_t SectorSize() const { return size_t{1} << m_header.sectorShift; }
    size_t PerSector() const { return SectorSize() / 4; }
    bool ReadAt(int64_t pos, void* out, size_t length) {
        if (pos < 0 || pos > m_size || static_cast<uint64_t>(m_size - pos) < length)
            return Fail(CompoundFault::SectorOutside);
        return m_read(pos, out, length) || Fail(CompoundFault::ReadFailed);
    }
    bool ReadSector(uint32_t sector, size_t offset, void* out, size_t length) {
        if (sector >= m_sectors)
            return Fail(CompoundFault::SectorOutside);
        const int64_t start = (static_cast<int64_t>(sector) + 1) << m_header.sectorShift;
        return ReadAt(start + static_cast<int64_t>(offset), out, length);
    }
    bool ReadHeader();
    bool ReadFatSectors();
    bool FatEntry(uint32_t sector, uint32_t& next);
    bool Chain(uint32_t start, size_t count, std::vector<uint32_t>& out);
    bool ChainToEnd(uint32_t start, size_t limit, std::vector<uint32_t>& out);
    bool ReadEntry(uint32_t id, Entry& entry);
    bool EntrySize(const unsigned char* raw, uint64_t& size) const;
    bool ReadMiniStream(const Entry& entry, std::vector<unsigned char>& out);

    const CompoundReadAt& m_read;
    int64_t m_size;
    CompoundFault m_fault = CompoundFault::None;
    Header m_header;
    uint32_t m_sectors = 0; // whole or partial sectors after the header
    std::vector<uint32_t> m_fat;
    std::vector<uint32_t> m_directory;
    uint32_t m_rootStart = kEndOfChain; // the mini stream's chain and length
    uint64_t m_rootSize = 0;
    // The FAT sector read last: chains mostly run through one sector.
    uint32_t m_cachedFat = kNoEntry;
    std::vector<unsigned char> m_fatSector;
};

bool CompoundReader::ReadHeader() {
    unsigned char raw[kHeaderSize];
    if (m_size < static_cast<int64_t>(sizeof kSignature))
        return Fail(CompoundFault::NoSignature);
    if (!ReadAt(0, raw, sizeof kSignature))
        return false;
    if (std::memcmp(raw, kSignature, sizeof kSignature) != 0)
        return Fail(CompoundFault::NoSignature);
    if (m_size < static_cast<int64_t>(kHeaderSize))
        return Fail(CompoundFault::BadHeader);
    if (!ReadAt(0, raw, sizeof raw))
        return false;
    const uint16_t major = ReadU16LE(raw + 26);
    m_header.version3 = major == 3;
    m_header.sectorShift = ReadU16LE(raw + 30);
    const bool sizesFit =
        (major == 3 && m_header.sectorShift == 9) || (major == 4 && m_header.sectorShift == 12);
    if (ReadU16LE(raw + 28) != 0xFFFE || !sizesFit || ReadU16LE(raw + 32) != kMiniSectorShift ||
        ReadU32LE(raw + 56) != kMiniStreamCutoff)
        return Fail(CompoundFault::BadHeader);
    m_header.fatSectors = ReadU32LE(raw + 44);
    m_header.firstDirectory = ReadU32LE(raw + 48);
    m_header.firstMiniFat = ReadU32LE(raw + 60);
    m_header.miniFatSectors = ReadU32LE(raw + 64);
    m_header.firstDifat = ReadU32LE(raw + 68);
    m_header.difatSectors = ReadU32LE(raw + 72);
    for (size_t i = 0; i < kHeaderFatSlots; ++i)
        m_header.headerFat[i] = ReadU32LE(raw + 76 + 4 * i);
    const int64_t sectorSize = static_cast<int64_t>(SectorSize());
    if (m_size <= sectorSize)
        return Fail(CompoundFault::BadHeader);
    m_sectors = static_cast<uint32_t>(
        std::min<int64_t>((m_size - 1) / sectorSize, kLastRegularSector + int64_t{1}));
    if (m_header.fatSectors == 0 || m_header.fatSectors > m_sectors ||
        m_header.difatSectors > m_sectors || m_header.miniFatSectors > m_sectors)
        return Fail(CompoundFault::BadHeader);
    return true;
}

// The FAT's own sectors: the first 109 named by the header, the rest by the
// chain of DIFAT sectors, whose last slot names the next one.
bool CompoundReader::ReadFatSectors() {
    const size_t wanted = m_header.fatSectors;
    for (size_t i = 0; i < std::min(wanted, kHeaderFatSlots); ++i)
        m_fat.push_back(m_header.headerFat[i]);
    uint32_t difat = m_header.firstDifat;
    std::vector<unsigned char> raw(SectorSize());
    for (uint32_t read = 0; m_fat.size() < wanted; ++read) {
        if (read >= m_header.difatSectors || !ReadSector(difat, 0, raw.data(), raw.size()))
            return Fail(CompoundFault::SectorOutside);
        for (size_t slot = 0; slot + 1 < PerSector() && m_fat.size() < wanted; ++slot)
            m_fat.push_back(ReadU32LE(raw.data() + 4 * slot));
        difat = ReadU32LE(raw.data() + raw.size() - 4);
    }
    const bool inside =
        std::all_of(m_fat.begin(), m_fat.end(), [this](uint32_t s) { return s < m_sectors; });
    return inside || Fail(CompoundFault::SectorOutside);
}

bool CompoundReader::FatEntry(uint32_t sector, uint32_t& next) {
    const size_t index = sector / PerSector();
    if (index >= m_fat.size())
        return Fail(CompoundFault::SectorOutside);
    if (m_cachedFat != index) {
        m_fatSector.resize(SectorSize());
        if (!ReadSector(m_fat[index], 0, m_fatSector.data(), m_fatSector.size()))
            return false;
        m_cachedFat = static_cast<uint32_t>(index);
    }
    next = ReadU32LE(m_fatSector.data() + 4 * (sector % PerSector()));
    return true;
}

// The first count sectors of the chain from start, each inside the file.
bool CompoundReader::Chain(uint32_t start, size_t count, std::vector<uint32_t>& out) {
    out.clear();
    if (count > m_sectors)
        return Fail(CompoundFault::SectorOutside);
    uint32_t sector = start;
    for (size_t i = 0; i < count; ++i) {
        if (sector >= m_sectors)
            return Fail(CompoundFault::SectorOutside);
        out.push_back(sector);
        if (i + 1 < count && !FatEntry(sector, sector))
            return false;
    }
    return true;
}

// The chain from start up to its end mark, at most limit sectors.
bool CompoundReader::ChainToEnd(uint32_t start, size_t limit, std::vector<uint32_t>& out) {
    out.clear();
    uint32_t sector = start;
    while (sector != kEndOfChain) {
        if (sector >= m_sectors || out.size() >= limit)
            return Fail(CompoundFault::SectorOutside);
        out.push_back(sector);
        if (!FatEntry(sector, sector))
            return false;
    }
    return true;
}

// Version 3 files keep only the low half of a size (the high half may hold
// anything); version 4 sizes are whole.
bool CompoundReader::EntrySize(const unsigned char* raw, uint64_t& size) const {
    size = ReadU32LE(raw + 120);
    return m_header.version3 || ReadU32LE(raw + 124) == 0;
}

bool CompoundReader::ReadEntry(uint32_t id, Entry& entry) {
    const size_t perSector = SectorSize() / kEntrySize;
    if (id / perSector >= m_directory.size())
        return Fail(CompoundFault::DirectoryBroken);
    unsigned char raw[kEntrySize];
    if (!ReadSector(m_directory[id / perSector], (id % perSector) * kEntrySize, raw, sizeof raw))
        return false;
    const uint16_t nameBytes = ReadU16LE(raw + 64);
    if (nameBytes > 64 || nameBytes % 2 != 0)
        return Fail(CompoundFault::DirectoryBroken);
    entry.name.clear();
    for (size_t i = 0; i + 2 < nameBytes; i += 2)
        entry.name.push_back(static_cast<char16_t>(ReadU16LE(raw + i)));
    entry.type = raw[66];
    entry.left = ReadU32LE(raw + 68);
    entry.right = ReadU32LE(raw + 72);
    entry.child = ReadU32LE(raw + 76);
    entry.start = ReadU32LE(raw + 116);
    if (!EntrySize(raw, entry.size))
        entry.size = UINT64_MAX;
    return true;
}

// Walks the tree of the root's children; an entry met twice is a loop.
bool CompoundReader::FindRootStream(std::u16string_view name, Entry& found) {
    if (!ChainToEnd(m_header.firstDirectory, std::min<size_t>(m_sectors, kMaxDirectorySectors),
                    m_directory))
        return Fail(CompoundFault::DirectoryBroken);
    Entry root;
    if (!ReadEntry(0, root))
        return false;
    if (root.type != kTypeRoot)
        return Fail(CompoundFault::DirectoryBroken);
    m_rootStart = root.start;
    m_rootSize = root.size;
    const size_t entries = m_directory.size() * (SectorSize() / kEntrySize);
    std::vector<bool> seen(entries);
    std::vector<uint32_t> pending;
    if (root.child != kNoEntry)
        pending.push_back(root.child);
    while (!pending.empty()) {
        const uint32_t id = pending.back();
        pending.pop_back();
        if (id == 0 || id >= entries || seen[id])
            return Fail(CompoundFault::DirectoryBroken);
        seen[id] = true;
        Entry entry;
        if (!ReadEntry(id, entry))
            return false;
        if (entry.type == kTypeStream && SameName(entry.name, name)) {
            found = entry;
            return true;
        }
        for (const uint32_t sibling : {entry.left, entry.right})
            if (sibling != kNoEntry)
                pending.push_back(sibling);
    }
    return Fail(CompoundFault::StreamMissing);
}

// A short stream lies in the mini stream (kept in the root entry's chain) in
// 64-byte pieces chained by the mini FAT.
bool CompoundReader::ReadMiniStream(const Entry& entry, std::vector<unsigned char>& out) {
    const size_t sectorSize = SectorSize();
    if (m_rootSize > static_cast<uint64_t>(m_sectors) * sectorSize)
        return Fail(CompoundFault::SectorOutside);
    std::vector<uint32_t> rootChain;
    std::vector<uint32_t> miniFat;
    if (!Chain(m_rootStart, static_cast<size_t>((m_rootSize + sectorSize - 1) / sectorSize),
               rootChain) ||
        !Chain(m_header.firstMiniFat, m_header.miniFatSectors, miniFat))
        return false;
    uint32_t mini = entry.start;
    for (size_t done = 0; done < entry.size; done += kMiniSectorSize) {
        const uint64_t pos = static_cast<uint64_t>(mini) * kMiniSectorSize;
        if (mini > kLastRegularSector || pos + kMiniSectorSize > m_rootSize)
            return Fail(CompoundFault::SectorOutside);
        const size_t length = std::min<size_t>(kMiniSectorSize, entry.size - done);
        if (!ReadSector(rootChain[pos / sectorSize], pos % sectorSize, out.data() + done, length))
            return false;
        if (done + kMiniSectorSize >= entry.size)
            break;
        const size_t slot = mini / PerSector();
        unsigned char next[4];
        if (slot >= miniFat.size())
            return Fail(CompoundFault::SectorOutside);
        if (!ReadSector(miniFat[slot], 4 * (mini % PerSector()), next, sizeof next))
            return false;
        mini = ReadU32LE(next);
    }
    return true;
}

bool CompoundReader::ReadStream(const Entry& entry, std::vector<unsigned char>& out) {
    out.assign(static_cast<size_t>(entry.size), 0);
    if (entry.size == 0)
        return true;
    if (entry.size < kMiniStreamCutoff)
        return ReadMiniStream(entry, out);
    const size_t sectorSize = SectorSize();
    std::vector<uint32_t> chain;
    if (!Chain(entry.start, (out.size() + sectorSize - 1) / sectorSize, chain))
        return false;
    for (size_t i = 0; i < chain.size(); ++i) {
        const size_t done = i * sectorSize;
        if (!ReadSector(chain[i], 0, out.data() + done, std::min(sectorSize, out.size() - done)))
            return false;
    }
    return true;
}

} // namespace

CompoundStream ReadRootStream(const CompoundReadAt& read, int64_t size, std::u16string_view name,
                              size_t maxBytes) {
    CompoundStream stream;
    CompoundReader reader(read, size);
    Entry entry;
    if (!reader.Open() || !reader.FindRootStream(name, entry)) {
        stream.fault = reader.fault();
        return stream;
    }
    if (entry.size > maxBytes) {
        stream.fault = CompoundFault::StreamTooLong;
        return stream;
    }
    if (!reader.ReadStream(entry, stream.bytes)) {
        stream.fault = reader.fault();
        stream.bytes.clear();
    }
    return stream;
}

std::string_view CompoundFaultName(CompoundFault fault) {
    switch (fault) {
    case CompoundFault::None:
        return "none";
    case CompoundFault::NoSignature:
        return "no signature";
    case CompoundFault::BadHeader:
        return "bad header";
    case CompoundFault::SectorOutside:
        return "sector outside the file";
    case CompoundFault::DirectoryBroken:
        return "broken directory";
    case CompoundFault::StreamMissing:
        return "stream missing";
    case CompoundFault::StreamTooLong:
        return "stream too long";
    case CompoundFault::ReadFailed:
        return "read failed";
    }
    return "unknown";
}
