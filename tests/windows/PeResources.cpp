#include "tests/windows/PeResources.h"

#include <fstream>
#include <iterator>

namespace {

constexpr uint32_t kSubdirectory = 0x80000000u;
constexpr uint32_t kNamed = 0x80000000u;
constexpr int kResourceDirectoryIndex = 2;

} // namespace

bool PeResources::Fits(size_t pos, size_t length) const {
    return pos <= m_bytes.size() && length <= m_bytes.size() - pos;
}

uint16_t PeResources::U16(size_t pos) const {
    if (!Fits(pos, 2))
        return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(m_bytes.data()) + pos;
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t PeResources::U32(size_t pos) const {
    return static_cast<uint32_t>(U16(pos)) | static_cast<uint32_t>(U16(pos + 2)) << 16;
}

std::optional<PeResources> PeResources::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    PeResources pe;
    pe.m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!pe.Fits(0, 64) || pe.m_bytes.compare(0, 2, "MZ") != 0)
        return std::nullopt;
    const uint32_t head = pe.U32(0x3C);
    if (!pe.Fits(head, 24) || pe.m_bytes.compare(head, 4, std::string("PE\0\0", 4)) != 0)
        return std::nullopt;
    const uint16_t sections = pe.U16(head + 6);
    const uint16_t optionalSize = pe.U16(head + 20);
    const uint32_t optional = head + 24;
    const uint16_t magic = pe.U16(optional);
    if (magic != 0x10B && magic != 0x20B)
        return std::nullopt;
    pe.m_bPe32Plus = magic == 0x20B;
    const uint32_t countField = optional + (pe.m_bPe32Plus ? 108 : 92);
    const uint32_t directories = countField + 4;
    if (pe.U32(countField) <= kResourceDirectoryIndex ||
        !pe.Fits(directories, 8 * (kResourceDirectoryIndex + 1)))
        return std::nullopt;
    const uint32_t resourceRva = pe.U32(directories + 8 * kResourceDirectoryIndex);
    pe.m_rootSize = pe.U32(directories + 8 * kResourceDirectoryIndex + 4);

    const uint32_t table = optional + optionalSize;
    if (!pe.Fits(table, size_t{40} * sections))
        return std::nullopt;
    for (uint16_t i = 0; i < sections; ++i) {
        const uint32_t at = table + 40u * i;
        pe.m_sections.push_back(
            {pe.U32(at + 12), pe.U32(at + 8), pe.U32(at + 20), pe.U32(at + 16)});
    }
    const auto root = pe.FileOffset(resourceRva, pe.m_rootSize);
    if (!root || pe.m_rootSize < 16)
        return std::nullopt;
    pe.m_root = *root;
    return pe;
}

std::optional<uint32_t> PeResources::FileOffset(uint32_t rva, uint32_t length) const {
    for (const Section& s : m_sections) {
        if (rva < s.virtualAddress || rva - s.virtualAddress >= s.rawSize)
            continue;
        const uint32_t within = rva - s.virtualAddress;
        if (length > s.rawSize - within || !Fits(size_t{s.rawOffset} + within, length))
            return std::nullopt;
        return s.rawOffset + within;
    }
    return std::nullopt;
}

std::string PeResources::NameAt(uint32_t offset) const {
    const uint32_t at = m_root + offset;
    const uint16_t length = U16(at);
    if (offset >= m_rootSize || !Fits(at + 2, size_t{2} * length))
        return {};
    std::string name;
    for (uint16_t i = 0; i < length; ++i) {
        const uint16_t c = U16(at + 2 + 2u * i);
        name += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return name;
}

std::optional<uint32_t> PeResources::Child(uint32_t directory, const std::optional<uint16_t>& id,
                                           const std::string& name) const {
    const uint32_t at = m_root + directory;
    if (directory > m_rootSize || m_rootSize - directory < 16)
        return std::nullopt;
    const uint32_t count = uint32_t{U16(at + 12)} + U16(at + 14);
    if ((m_rootSize - directory - 16) / 8 < count)
        return std::nullopt;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t entry = at + 16 + 8 * i;
        const uint32_t key = U32(entry);
        const bool named = (key & kNamed) != 0;
        const bool match = id ? (!named && key == *id) : (named && NameAt(key & ~kNamed) == name);
        if (match)
            return U32(entry + 4);
    }
    return std::nullopt;
}

std::optional<std::string> PeResources::Leaf(uint32_t typeEntry, uint16_t id) const {
    if ((typeEntry & kSubdirectory) == 0)
        return std::nullopt;
    const auto idEntry = Child(typeEntry & ~kSubdirectory, id, {});
    if (!idEntry || (*idEntry & kSubdirectory) == 0)
        return std::nullopt;
    // The first language of the id.
    const uint32_t languages = *idEntry & ~kSubdirectory;
    const uint32_t at = m_root + languages;
    if (languages > m_rootSize || m_rootSize - languages < 24 || U16(at + 12) + U16(at + 14) < 1)
        return std::nullopt;
    const uint32_t data = U32(at + 16 + 4);
    if ((data & kSubdirectory) != 0 || data > m_rootSize || m_rootSize - data < 16)
        return std::nullopt;
    const uint32_t rva = U32(m_root + data);
    const uint32_t size = U32(m_root + data + 4);
    const auto offset = FileOffset(rva, size);
    if (!offset)
        return std::nullopt;
    return m_bytes.substr(*offset, size);
}

std::optional<std::string> PeResources::Find(uint16_t type, uint16_t id) const {
    const auto typeEntry = Child(0, type, {});
    return typeEntry ? Leaf(*typeEntry, id) : std::nullopt;
}

std::optional<std::string> PeResources::Find(const std::string& type, uint16_t id) const {
    const auto typeEntry = Child(0, std::nullopt, type);
    return typeEntry ? Leaf(*typeEntry, id) : std::nullopt;
}
