#include "package/PeResourceTree.h"

#include "model/ByteOrder.h"

#include <algorithm>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kDirectoryHeader = 16;
constexpr uint32_t kEntrySize = 8;
constexpr uint32_t kDataEntrySize = 16;
constexpr int kLevels = 3;

// Reads the tree below the resource root, each piece checked against the
// sections before it is read.
class TreeReader {
public:
    TreeReader(const PeLayoutReadAt& read, int64_t size, const PeImageLayout& layout,
               uint32_t rootRva, const ResourceTypeFilter& wanted)
        : m_read(read), m_size(size), m_layout(layout), m_root(rootRva), m_wanted(wanted) {}

    bool ReadLevel(uint32_t offset, int level, ResourceItem& path) {
        if (++m_directories > kMaxResourceItems * kLevels)
            return false; // a tree that points back at itself
        unsigned char header[kDirectoryHeader];
        if (!ReadRelative(offset, header, sizeof header))
            return false;
        const uint32_t count = uint32_t{ReadU16LE(header + 12)} + ReadU16LE(header + 14);
        for (uint32_t i = 0; i < count; ++i) {
            unsigned char entry[kEntrySize];
            if (!ReadRelative(offset + kDirectoryHeader + i * kEntrySize, entry, sizeof entry))
                return false;
            if (!ReadEntry(ReadU32LE(entry), ReadU32LE(entry + 4), level, path))
                return false;
        }
        return true;
    }

    std::vector<ResourceItem> Items() { return std::move(m_items); }

private:
    bool ReadEntry(uint32_t nameField, uint32_t target, int level, ResourceItem& path) {
        const bool isDirectory = (target & kHighBit) != 0;
        if (isDirectory != (level < kLevels - 1))
            return false;
        if (level == kLevels - 1) {
            if ((nameField & kHighBit) != 0)
                return false; // languages are numbers
            path.language = static_cast<uint16_t>(nameField);
            return ReadData(target, path);
        }
        ResourceKey key;
        if ((nameField & kHighBit) != 0) {
            key.named = true;
            if (!ReadName(nameField & ~kHighBit, key.name))
                return false;
        } else {
            key.id = static_cast<uint16_t>(nameField);
        }
        if (level == 0 && m_wanted && !m_wanted(key))
            return true; // a type the caller does not want is not read at all
        (level == 0 ? path.type : path.name) = key;
        return ReadLevel(target & ~kHighBit, level + 1, path);
    }

    bool ReadName(uint32_t offset, std::vector<uint16_t>& name) {
        unsigned char length[2];
        if (!ReadRelative(offset, length, sizeof length))
            return false;
        std::string units(size_t{ReadU16LE(length)} * 2, '\0');
        if (!units.empty() && !ReadRelative(offset + 2, units.data(), units.size()))
            return false;
        name.clear();
        for (size_t i = 0; i < units.size(); i += 2)
            name.push_back(ReadU16LE(units.data() + i));
        return true;
    }

    bool ReadData(uint32_t offset, const ResourceItem& path) {
        unsigned char entry[kDataEntrySize];
        if (!ReadRelative(offset, entry, sizeof entry) || m_items.size() >= kMaxResourceItems)
            return false;
        const uint32_t length = ReadU32LE(entry + 4);
        if (length > kMaxResourceBytes - m_bytes || !Holds(ReadU32LE(entry), length))
            return false;
        ResourceItem item = path;
        item.codePage = ReadU32LE(entry + 8);
        // Nothing is allocated for bytes that are not there.
        item.bytes.assign(length, '\0');
        if (length > 0 && !ReadRva(ReadU32LE(entry), item.bytes.data(), length))
            return false;
        m_bytes += length;
        m_items.push_back(std::move(item));
        return true;
    }

    bool ReadRelative(uint32_t offset, void* out, size_t length) {
        if (offset > UINT32_MAX - m_root)
            return false;
        return ReadRva(m_root + offset, out, length);
    }

    bool Holds(uint32_t rva, uint32_t length) const {
        const std::optional<int64_t> at = m_layout.FileOffsetOf(rva, length);
        return at && *at >= 0 && *at <= m_size && int64_t{length} <= m_size - *at;
    }

    bool ReadRva(uint32_t rva, void* out, size_t length) {
        const std::optional<int64_t> at = m_layout.FileOffsetOf(rva, static_cast<uint32_t>(length));
        return at && *at >= 0 && *at <= m_size && static_cast<int64_t>(length) <= m_size - *at &&
               m_read(*at, out, length);
    }

    const PeLayoutReadAt& m_read;
    int64_t m_size;
    const PeImageLayout& m_layout;
    uint32_t m_root;
    const ResourceTypeFilter& m_wanted;
    size_t m_directories = 0;
    uint32_t m_bytes = 0;
    std::vector<ResourceItem> m_items;
};

uint32_t AlignUp(uint32_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

void PutU32(std::string& out, uint32_t at, uint32_t value) {
    StoreU32LE(out.data() + at, value);
}

void PutDirectoryHeader(std::string& out, uint32_t at, uint16_t named, uint16_t ids) {
    StoreU16LE(out.data() + at + 12, named);
    StoreU16LE(out.data() + at + 14, ids);
}

// Where the parts of the section begin: directories at 0, then these.
struct Layout {
    uint32_t dataEntries = 0;
    uint32_t strings = 0;
    uint32_t data = 0;
};

} // namespace

bool ResourceKey::operator==(const ResourceKey& other) const {
    return named == other.named && (named ? name == other.name : id == other.id);
}

bool ResourceKey::operator<(const ResourceKey& other) const {
    if (named != other.named)
        return named;
    return named ? name < other.name : id < other.id;
}

std::optional<std::vector<ResourceItem>> ReadResourceItems(const PeLayoutReadAt& read, int64_t size,
                                                           const PeImageLayout& layout,
                                                           const ResourceTypeFilter& wanted) {
    if (layout.directoryCount <= kPeResourceDirectory)
        return std::vector<ResourceItem>{};
    unsigned char entry[8];
    const int64_t entryAt = layout.directoryTable + int64_t{kPeResourceDirectory} * 8;
    if (entryAt < 0 || entryAt > size - 8 || !read(entryAt, entry, sizeof entry))
        return std::nullopt;
    const uint32_t rootRva = ReadU32LE(entry);
    if (rootRva == 0 && ReadU32LE(entry + 4) == 0)
        return std::vector<ResourceItem>{};
    TreeReader reader(read, size, layout, rootRva, wanted);
    ResourceItem path;
    if (!reader.ReadLevel(0, 0, path))
        return std::nullopt;
    return reader.Items();
}

namespace {

struct NameGroup {
    const ResourceKey* name = nullptr;
    std::vector<const ResourceItem*> languages;
};

struct TypeGroup {
    const ResourceKey* type = nullptr;
    std::vector<NameGroup> names;
};

// The items as the tree's three levels, each in the tree's order.
std::vector<TypeGroup> Levels(const std::vector<ResourceItem>& items) {
    std::vector<const ResourceItem*> sorted;
    sorted.reserve(items.size());
    for (const ResourceItem& item : items)
        sorted.push_back(&item);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const ResourceItem* a, const ResourceItem* b) {
                         if (!(a->type == b->type))
                             return a->type < b->type;
                         if (!(a->name == b->name))
                             return a->name < b->name;
                         return a->language < b->language;
                     });
    std::vector<TypeGroup> types;
    for (const ResourceItem* item : sorted) {
        if (types.empty() || !(*types.back().type == item->type))
            types.push_back({&item->type, {}});
        std::vector<NameGroup>& names = types.back().names;
        if (names.empty() || !(*names.back().name == item->name))
            names.push_back({&item->name, {}});
        names.back().languages.push_back(item);
    }
    return types;
}

// The names of named keys, each once, with their offsets in the string area.
class NameStrings {
public:
    void Add(const ResourceKey& key) {
        if (!key.named || Find(key.name) != nullptr)
            return;
        m_names.push_back({key.name, m_bytes});
        m_bytes += 2 + static_cast<uint32_t>(key.name.size()) * 2;
    }
    const uint32_t* Find(const std::vector<uint16_t>& name) const {
        for (const auto& [text, offset] : m_names)
            if (text == name)
                return &offset;
        return nullptr;
    }
    uint32_t Bytes() const { return m_bytes; }
    const std::vector<std::pair<std::vector<uint16_t>, uint32_t>>& Names() const { return m_names; }

private:
    std::vector<std::pair<std::vector<uint16_t>, uint32_t>> m_names;
    uint32_t m_bytes = 0;
};

uint32_t DirectorySize(size_t entries) {
    return kDirectoryHeader + static_cast<uint32_t>(entries) * kEntrySize;
}

template <typename Group>
void CountKeys(const std::vector<Group>& groups, uint16_t& named, uint16_t& ids) {
    named = ids = 0;
    for (const Group& group : groups) {
        const ResourceKey& key = [&]() -> const ResourceKey& {
            if constexpr (std::is_same_v<Group, TypeGroup>)
                return *group.type;
            else
                return *group.name;
        }();
        ++(key.named ? named : ids);
    }
}

} // namespace

std::string WriteResourceSection(const std::vector<ResourceItem>& items, uint32_t rva) {
    const std::vector<TypeGroup> types = Levels(items);
    Layout at;
    uint32_t directories = DirectorySize(types.size());
    uint32_t dataEntries = 0;
    NameStrings strings;
    for (const TypeGroup& type : types) {
        strings.Add(*type.type);
        directories += DirectorySize(type.names.size());
        for (const NameGroup& name : type.names) {
            strings.Add(*name.name);
            directories += DirectorySize(name.languages.size());
            dataEntries += static_cast<uint32_t>(name.languages.size()) * kDataEntrySize;
        }
    }
    at.dataEntries = directories;
    at.strings = at.dataEntries + dataEntries;
    at.data = AlignUp(at.strings + strings.Bytes(), 8);
    uint32_t total = at.data;
    for (const ResourceItem& item : items)
        total = AlignUp(total + static_cast<uint32_t>(item.bytes.size()), 8);

    std::string out(total, '\0');
    for (const auto& [name, offset] : strings.Names()) {
        const uint32_t p = at.strings + offset;
        StoreU16LE(out.data() + p, static_cast<uint16_t>(name.size()));
        for (size_t i = 0; i < name.size(); ++i)
            StoreU16LE(out.data() + p + 2 + i * 2, static_cast<uint16_t>(name[i]));
    }
    const auto keyField = [&](const ResourceKey& key) {
        return key.named ? (kHighBit | (at.strings + *strings.Find(key.name))) : uint32_t{key.id};
    };

    uint16_t named = 0;
    uint16_t ids = 0;
    CountKeys(types, named, ids);
    PutDirectoryHeader(out, 0, named, ids);
    uint32_t nextDirectory = DirectorySize(types.size());
    uint32_t nextData = at.dataEntries;
    uint32_t nextBytes = at.data;
    uint32_t typeEntry = kDirectoryHeader;
    for (const TypeGroup& type : types) {
        const uint32_t nameDirectory = nextDirectory;
        PutU32(out, typeEntry, keyField(*type.type));
        PutU32(out, typeEntry + 4, kHighBit | nameDirectory);
        typeEntry += kEntrySize;
        CountKeys(type.names, named, ids);
        PutDirectoryHeader(out, nameDirectory, named, ids);
        nextDirectory += DirectorySize(type.names.size());
        uint32_t nameEntry = nameDirectory + kDirectoryHeader;
        for (const NameGroup& name : type.names) {
            const uint32_t languageDirectory = nextDirectory;
            PutU32(out, nameEntry, keyField(*name.name));
            PutU32(out, nameEntry + 4, kHighBit | languageDirectory);
            nameEntry += kEntrySize;
            PutDirectoryHeader(out, languageDirectory, 0,
                               static_cast<uint16_t>(name.languages.size()));
            nextDirectory += DirectorySize(name.languages.size());
            uint32_t languageEntry = languageDirectory + kDirectoryHeader;
            for (const ResourceItem* item : name.languages) {
                PutU32(out, languageEntry, item->language);
                PutU32(out, languageEntry + 4, nextData);
                languageEntry += kEntrySize;
                PutU32(out, nextData, rva + nextBytes);
                PutU32(out, nextData + 4, static_cast<uint32_t>(item->bytes.size()));
                PutU32(out, nextData + 8, item->codePage);
                nextData += kDataEntrySize;
                out.replace(nextBytes, item->bytes.size(), item->bytes);
                nextBytes = AlignUp(nextBytes + static_cast<uint32_t>(item->bytes.size()), 8);
            }
        }
    }
    return out;
}
