#include "package/VendorFace.h"

#include "model/ByteOrder.h"
#include "package/PeHeader.h"
#include "platform/RawFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kGroupHeader = 6;
constexpr size_t kGroupEntry = 14;
constexpr uint32_t kSectionFlags = 0x40000040; // initialized data, readable
constexpr char kSectionName[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};

bool IsType(const ResourceItem& item, uint16_t type) {
    return item.type == ResourceKey::Id(type);
}

const ResourceItem* FindIcon(const std::vector<ResourceItem>& items, uint16_t id,
                             uint16_t language) {
    const ResourceItem* any = nullptr;
    for (const ResourceItem& item : items) {
        if (!IsType(item, kResourceIcon) || !(item.name == ResourceKey::Id(id)))
            continue;
        if (item.language == language)
            return &item;
        if (!any)
            any = &item;
    }
    return any;
}

// The group with the icons it names, or nothing when one is missing.
std::vector<ResourceItem> IconGroupWithIcons(const std::vector<ResourceItem>& items,
                                             const ResourceItem& group) {
    const std::string& bytes = group.bytes;
    if (bytes.size() < kGroupHeader || ReadU16LE(bytes.data()) != 0 ||
        ReadU16LE(bytes.data() + 2) != 1)
        return {};
    const size_t count = ReadU16LE(bytes.data() + 4);
    if (count == 0 || count > (bytes.size() - kGroupHeader) / kGroupEntry)
        return {};
    std::vector<ResourceItem> out{group};
    for (size_t i = 0; i < count; ++i) {
        const uint16_t id = ReadU16LE(bytes.data() + kGroupHeader + i * kGroupEntry + 12);
        const ResourceItem* icon = FindIcon(items, id, group.language);
        if (!icon)
            return {};
        // A group may name one icon twice; it is copied once.
        if (std::none_of(out.begin(), out.end(), [&](const ResourceItem& kept) {
                return IsType(kept, kResourceIcon) && kept.name == icon->name;
            }))
            out.push_back(*icon);
    }
    return out;
}

bool IsPowerOfTwo(uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

uint64_t AlignUp(uint64_t value, uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

std::vector<ResourceItem> Merged(std::vector<ResourceItem> own,
                                 const std::vector<ResourceItem>& face) {
    const bool hasIcon = std::any_of(face.begin(), face.end(), [](const ResourceItem& item) {
        return IsType(item, kResourceGroupIcon);
    });
    const bool hasVersion = std::any_of(face.begin(), face.end(), [](const ResourceItem& item) {
        return IsType(item, kResourceVersion);
    });
    own.erase(std::remove_if(own.begin(), own.end(),
                             [&](const ResourceItem& item) {
                                 return (hasIcon && (IsType(item, kResourceIcon) ||
                                                     IsType(item, kResourceGroupIcon))) ||
                                        (hasVersion && IsType(item, kResourceVersion));
                             }),
              own.end());
    own.insert(own.end(), face.begin(), face.end());
    std::stable_sort(own.begin(), own.end(), [](const ResourceItem& a, const ResourceItem& b) {
        if (!(a.type == b.type))
            return a.type < b.type;
        if (!(a.name == b.name))
            return a.name < b.name;
        return a.language < b.language;
    });
    // One item per (type, name, language): the first, which is the own one
    // only where the face does not replace that kind.
    own.erase(std::unique(own.begin(), own.end(),
                          [](const ResourceItem& a, const ResourceItem& b) {
                              return a.type == b.type && a.name == b.name &&
                                     a.language == b.language;
                          }),
              own.end());
    return own;
}

// Where the new section goes, checked against everything the headers say.
struct NewSection {
    uint32_t rva = 0;
    uint32_t rawOffset = 0;
};

std::optional<NewSection> PlaceSection(const PeImageLayout& layout, size_t imageSize) {
    if (!IsPowerOfTwo(layout.sectionAlignment) || !IsPowerOfTwo(layout.fileAlignment) ||
        layout.fileAlignment > layout.sectionAlignment)
        return std::nullopt;
    const uint64_t rowsEnd = static_cast<uint64_t>(layout.sectionTable) +
                             (layout.sections.size() + 1) * kPeSectionRowSize;
    uint64_t firstRaw = layout.sizeOfHeaders;
    uint64_t rawEnd = layout.sizeOfHeaders;
    uint64_t virtualEnd = layout.sizeOfImage;
    for (const PeSection& section : layout.sections) {
        if (section.rawSize > 0) {
            firstRaw = std::min<uint64_t>(firstRaw, section.rawOffset);
            rawEnd = std::max<uint64_t>(rawEnd, uint64_t{section.rawOffset} + section.rawSize);
        }
        virtualEnd =
            std::max<uint64_t>(virtualEnd, uint64_t{section.virtualAddress} +
                                               std::max(section.virtualSize, section.rawSize));
    }
    // The sections' bytes must end the file: bytes after them (an overlay)
    // would end up inside the new section, and headers that claim more bytes
    // than the file has describe no image this writer may extend.
    if (rowsEnd > firstRaw || rowsEnd > layout.sizeOfHeaders || rawEnd != imageSize)
        return std::nullopt;
    const uint64_t rva = AlignUp(virtualEnd, layout.sectionAlignment);
    const uint64_t raw = AlignUp(rawEnd, layout.fileAlignment);
    if (rva > UINT32_MAX / 2 || raw > UINT32_MAX / 2)
        return std::nullopt;
    return NewSection{static_cast<uint32_t>(rva), static_cast<uint32_t>(raw)};
}

void Put32(std::string& image, int64_t at, uint32_t value) {
    StoreU32LE(image.data() + at, value);
}

} // namespace

std::vector<ResourceItem> ReadVendorFace(const PeLayoutReadAt& read, int64_t size) {
    const std::optional<PeImageLayout> layout = ReadPeImageLayout(read, size);
    if (!layout)
        return {};
    const std::optional<std::vector<ResourceItem>> items =
        ReadResourceItems(read, size, *layout, [](const ResourceKey& type) {
            return type == ResourceKey::Id(kResourceIcon) ||
                   type == ResourceKey::Id(kResourceGroupIcon) ||
                   type == ResourceKey::Id(kResourceVersion);
        });
    if (!items)
        return {};
    std::vector<ResourceItem> face;
    const auto group = std::find_if(items->begin(), items->end(), [](const ResourceItem& item) {
        return IsType(item, kResourceGroupIcon);
    });
    if (group != items->end())
        face = IconGroupWithIcons(*items, *group);
    const auto version = std::find_if(items->begin(), items->end(), [](const ResourceItem& item) {
        return IsType(item, kResourceVersion);
    });
    if (version != items->end())
        face.push_back(*version);
    return face;
}

std::vector<ResourceItem> ReadVendorFaceOfFile(const std::string& path) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen() || !file.IsRegular())
        return {};
    return ReadVendorFace(
        [&file](int64_t pos, void* buffer, size_t length) {
            return file.SeekTo(pos) && file.ReadAll(buffer, length);
        },
        file.Size());
}

FaceResult ApplyVendorFace(std::string& image, const std::vector<ResourceItem>& face) {
    if (face.empty())
        return FaceResult::NothingToCopy;
    const auto* data = reinterpret_cast<const unsigned char*>(image.data());
    const std::optional<PeImageLayout> layout = ReadPeImageLayout(data, image.size());
    const PeHeader header = ReadPeHeader(data, image.size());
    if (!layout || header.fault != PeFault::None)
        return FaceResult::Unreadable;
    if (header.security && header.security->size != 0)
        return FaceResult::Signed;
    const auto readAt = [data](int64_t pos, void* buffer, size_t length) {
        std::memcpy(buffer, data + pos, length);
        return true;
    };
    const std::optional<std::vector<ResourceItem>> own =
        ReadResourceItems(readAt, static_cast<int64_t>(image.size()), *layout);
    if (!own || layout->directoryCount <= kPeResourceDirectory)
        return FaceResult::Unreadable;
    const std::optional<NewSection> place = PlaceSection(*layout, image.size());
    if (!place)
        return FaceResult::NoRoom;

    const std::string section = WriteResourceSection(Merged(*own, face), place->rva);
    const uint64_t rawSize = AlignUp(section.size(), layout->fileAlignment);
    const uint64_t sizeOfImage =
        AlignUp(uint64_t{place->rva} + section.size(), layout->sectionAlignment);
    if (rawSize > kMaxResourceBytes * 2ull || sizeOfImage > UINT32_MAX)
        return FaceResult::NoRoom;

    std::string out = image;
    out.resize(place->rawOffset, '\0');
    out += section;
    out.resize(place->rawOffset + rawSize, '\0');

    const int64_t row =
        layout->sectionTable + static_cast<int64_t>(layout->sections.size() * kPeSectionRowSize);
    std::memcpy(out.data() + row, kSectionName, sizeof kSectionName);
    Put32(out, row + 8, static_cast<uint32_t>(section.size()));
    Put32(out, row + 12, place->rva);
    Put32(out, row + 16, static_cast<uint32_t>(rawSize));
    Put32(out, row + 20, place->rawOffset);
    std::memset(out.data() + row + 24, 0, 12); // no relocations or line numbers
    Put32(out, row + 36, kSectionFlags);

    const int64_t fileHeader = layout->optionalHeader - 20;
    StoreU16LE(out.data() + fileHeader + 2, static_cast<uint16_t>(layout->sections.size() + 1));
    const int64_t opt = layout->optionalHeader;
    Put32(out, opt + kPeInitializedDataField,
          ReadU32LE(out.data() + opt + kPeInitializedDataField) + static_cast<uint32_t>(rawSize));
    Put32(out, opt + kPeSizeOfImageField, static_cast<uint32_t>(sizeOfImage));
    const int64_t resourceEntry = layout->directoryTable + int64_t{kPeResourceDirectory} * 8;
    Put32(out, resourceEntry, place->rva);
    Put32(out, resourceEntry + 4, static_cast<uint32_t>(section.size()));
    Put32(out, opt + kPeChecksumField, 0);
    Put32(out, opt + kPeChecksumField,
          PeImageChecksum(reinterpret_cast<const unsigned char*>(out.data()), out.size(),
                          opt + kPeChecksumField));
    image = std::move(out);
    return FaceResult::Applied;
}
