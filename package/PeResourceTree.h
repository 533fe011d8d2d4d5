#pragma once

#include "package/PeImageLayout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The resources of a Windows program as a flat list (type, name, language and
// the bytes), read from and written as the three-level resource tree of the
// image's resource section. Names are kept as the UTF-16 units the tree holds.

inline constexpr uint16_t kResourceIcon = 3;
inline constexpr uint16_t kResourceGroupIcon = 14;
inline constexpr uint16_t kResourceVersion = 16;

// A type or name of a resource: a number, or a name when named.
struct ResourceKey {
    bool named = false;
    uint16_t id = 0;
    std::vector<uint16_t> name;

    static ResourceKey Id(uint16_t value) { return {false, value, {}}; }
    bool operator==(const ResourceKey& other) const;
    // The tree's order: names first (by their UTF-16 units), then numbers.
    bool operator<(const ResourceKey& other) const;
};

struct ResourceItem {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 0;
    uint32_t codePage = 0;
    std::string bytes;
};

// More is no program's tree; a tree that holds more is refused.
inline constexpr size_t kMaxResourceItems = 4096;
inline constexpr uint32_t kMaxResourceBytes = 64u << 20;

// Which types a reader wants; the others are skipped unread. Empty: all.
using ResourceTypeFilter = std::function<bool(const ResourceKey& type)>;

// Reads the resources of the image through read (the image is size bytes):
// an empty list when it has no resource directory, nothing when the tree is
// broken: an entry, name or data outside the sections' raw data, a
// subdirectory where data belongs or the other way round, a named language,
// a tree that points back into itself, or more than kMaxResourceItems or
// kMaxResourceBytes.
std::optional<std::vector<ResourceItem>> ReadResourceItems(const PeLayoutReadAt& read, int64_t size,
                                                           const PeImageLayout& layout,
                                                           const ResourceTypeFilter& wanted = {});

// The bytes of a resource section at the relative virtual address rva that
// holds items: directories, data entries, names, then the data, each piece
// aligned as the loader wants. items must be sorted by (type, name, language)
// and hold no duplicates.
std::string WriteResourceSection(const std::vector<ResourceItem>& items, uint32_t rva);
