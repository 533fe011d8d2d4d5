#include "package/VendorFace.h"
#include "package/PeResourceTestImage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ResourceItem Item(uint16_t type, uint16_t id, std::string bytes, uint16_t language = 1033) {
    ResourceItem item;
    item.type = ResourceKey::Id(type);
    item.name = ResourceKey::Id(id);
    item.language = language;
    item.bytes = std::move(bytes);
    return item;
}

// An icon group naming the icons ids, each entry 14 bytes.
std::string Group(const std::vector<uint16_t>& ids) {
    std::string group(6 + 14 * ids.size(), '\0');
    StoreU16LE(group.data() + 2, 1);
    StoreU16LE(group.data() + 4, static_cast<uint16_t>(ids.size()));
    for (size_t i = 0; i < ids.size(); ++i) {
        group[6 + 14 * i] = 32; // width
        StoreU16LE(group.data() + 6 + 14 * i + 12, ids[i]);
    }
    return group;
}

std::optional<std::vector<ResourceItem>> Resources(const std::string& image) {
    const auto* data = reinterpret_cast<const unsigned char*>(image.data());
    const std::optional<PeImageLayout> layout = ReadPeImageLayout(data, image.size());
    if (!layout)
        return std::nullopt;
    return ReadResourceItems(
        [data](int64_t pos, void* out, size_t length) {
            std::memcpy(out, data + pos, length);
            return true;
        },
        static_cast<int64_t>(image.size()), *layout);
}

std::vector<ResourceItem> FaceOf(const std::string& image) {
    const auto* data = reinterpret_cast<const unsigned char*>(image.data());
    return ReadVendorFace(
        [data](int64_t pos, void* out, size_t length) {
            std::memcpy(out, data + pos, length);
            return true;
        },
        static_cast<int64_t>(image.size()));
}

bool SameItems(const std::vector<ResourceItem>& a, const std::vector<ResourceItem>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i].type == b[i].type) || !(a[i].name == b[i].name) ||
            a[i].language != b[i].language || a[i].bytes != b[i].bytes)
            return false;
    return true;
}

const ResourceItem kManifest = Item(24, 1, "<assembly/>");
const ResourceItem kOwnIcon = Item(3, 1, "own icon");
const ResourceItem kOwnGroup = Item(14, 1, Group({1}));

// The vendor's setup: two icons in one group, a version, and a resource of a
// named type that is not copied.
std::vector<ResourceItem> VendorItems() {
    ResourceItem named = Item(0, 7, "payload");
    named.type = ResourceKey{true, 0, {'P', 'A', 'Y'}};
    return {named, Item(3, 5, std::string(300, 'a')), Item(3, 6, std::string(70, 'b')),
            Item(14, 103, Group({5, 6})), Item(16, 1, "VS_VERSION_INFO bytes")};
}

TEST(PeResourceTree, WrittenTreeReadsBack) {
    std::vector<ResourceItem> items = VendorItems();
    items.push_back(Item(16, 1, "German version", 1031));
    std::stable_sort(items.begin(), items.end(), [](const ResourceItem& a, const ResourceItem& b) {
        if (!(a.type == b.type))
            return a.type < b.type;
        if (!(a.name == b.name))
            return a.name < b.name;
        return a.language < b.language;
    });
    const std::optional<std::vector<ResourceItem>> read = Resources(MakeTestPe(items));
    ASSERT_TRUE(read);
    EXPECT_TRUE(SameItems(*read, items));
}

TEST(VendorFace, LauncherTakesTheVendorsIconAndVersion) {
    const std::string setup = MakeTestPe(VendorItems());
    const std::vector<ResourceItem> face = FaceOf(setup);
    ASSERT_EQ(face.size(), 4u); // the group, its two icons, the version

    std::string launcher = MakeTestPe({kOwnIcon, kOwnGroup, kManifest});
    const std::string before = launcher;
    ASSERT_EQ(ApplyVendorFace(launcher, face), FaceResult::Applied);

    // The own icon made way; the manifest stays; the face is the vendor's.
    const std::optional<std::vector<ResourceItem>> read = Resources(launcher);
    ASSERT_TRUE(read);
    const std::vector<ResourceItem> expected = {VendorItems()[1], VendorItems()[2],
                                                VendorItems()[3], VendorItems()[4], kManifest};
    EXPECT_TRUE(SameItems(*read, expected));
    EXPECT_TRUE(SameItems(FaceOf(launcher), face));

    // Headers follow the new last section; the old bytes stay in front.
    const auto* data = reinterpret_cast<const unsigned char*>(launcher.data());
    const std::optional<PeImageLayout> layout = ReadPeImageLayout(data, launcher.size());
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->sections.size(), 3u);
    const PeSection& added = layout->sections.back();
    EXPECT_EQ(std::string(added.name, 5), ".rsrc");
    EXPECT_EQ(added.virtualAddress, 0x3000u);
    EXPECT_EQ(added.rawOffset, before.size());
    EXPECT_EQ(added.rawOffset % layout->fileAlignment, 0u);
    EXPECT_EQ(launcher.size(), uint64_t{added.rawOffset} + added.rawSize);
    EXPECT_EQ(layout->sizeOfImage, 0x3000u + 0x1000u);
    EXPECT_EQ(ReadU32LE(data + layout->directoryTable + 16), added.virtualAddress);
    EXPECT_EQ(ReadU32LE(data + layout->directoryTable + 20), added.virtualSize);
    EXPECT_EQ(launcher.compare(0x400, before.size() - 0x400, before, 0x400), 0);
    const int64_t checksumAt = layout->optionalHeader + kPeChecksumField;
    EXPECT_EQ(ReadU32LE(data + checksumAt), PeImageChecksum(data, launcher.size(), checksumAt));
    EXPECT_NE(ReadU32LE(data + checksumAt), 0u);
}

// Setups without a face, broken faces, and launchers that must stay as they are.
TEST(VendorFace, WhatIsNotCopiedOrNotRewritten) {
    // A group naming an icon that is not there: only the version is copied.
    EXPECT_TRUE(SameItems(FaceOf(MakeTestPe({Item(14, 1, Group({9})), Item(16, 1, "v")})),
                          {Item(16, 1, "v")}));
    // A group whose count runs past its bytes.
    std::string cut = Group({5});
    StoreU16LE(cut.data() + 4, 2);
    EXPECT_TRUE(FaceOf(MakeTestPe({Item(3, 5, "i"), Item(14, 1, cut)})).empty());
    EXPECT_TRUE(FaceOf(MakeTestPe({}, {0x1000, 0x200, 0x400, false})).empty());
    EXPECT_TRUE(FaceOf("#!/bin/sh\n").empty());

    const std::vector<ResourceItem> face = {Item(16, 1, "v")};
    std::string launcher = MakeTestPe({kManifest});
    const std::string original = launcher;
    EXPECT_EQ(ApplyVendorFace(launcher, {}), FaceResult::NothingToCopy);
    // Signed: a certificate table in the security directory.
    std::string signedImage = launcher;
    StoreU32LE(signedImage.data() + 0x80 + 24 + 112 + 4 * 8, 0x800);
    StoreU32LE(signedImage.data() + 0x80 + 24 + 112 + 4 * 8 + 4, 0x10);
    const std::string signedBefore = signedImage;
    EXPECT_EQ(ApplyVendorFace(signedImage, face), FaceResult::Signed);
    EXPECT_EQ(signedImage, signedBefore);
    // No room for one more section row before the first section's bytes.
    std::string full = MakeTestPe({kManifest}, {0x1000, 0x200, 0x1A0 + 80, true});
    const std::string fullBefore = full;
    EXPECT_EQ(ApplyVendorFace(full, face), FaceResult::NoRoom);
    EXPECT_EQ(full, fullBefore);
    // Bytes after the sections (appended data) are never swallowed.
    std::string overlay = launcher + "appended";
    EXPECT_EQ(ApplyVendorFace(overlay, face), FaceResult::NoRoom);
    // Alignments that are no powers of two.
    std::string odd = MakeTestPe({kManifest}, {0x1000, 0x300, 0x600, true});
    EXPECT_EQ(ApplyVendorFace(odd, face), FaceResult::NoRoom);
    std::string elf = "\x7F"
                      "ELF";
    EXPECT_EQ(ApplyVendorFace(elf, face), FaceResult::Unreadable);
    EXPECT_EQ(launcher, original);
}

// Trees that point outside their section or back into themselves are refused.
TEST(PeResourceTree, BrokenTreesAreRefused) {
    const std::string good = MakeTestPe({kManifest});
    const uint32_t section = 0x600; // file offset of the resource section
    struct Break {
        const char* what;
        uint32_t at;
        uint32_t value;
    };
    const Break breaks[] = {
        {"type subdirectory outside", section + 16 + 4, 0x80000000u | 0x7FFF0},
        {"type entry to itself", section + 16 + 4, 0x80000000u},
        {"data where a directory belongs", section + 16 + 4, 0x18},
        {"entry count past the section", section + 14, 0xFFFF},
        {"named language", section + 16 + 8 + 16 + 8 + 16, 0x80000000u | 4},
        {"data outside the image", section + 0x48, 0x7FFF0000},
    };
    for (const Break& b : breaks) {
        std::string broken = good;
        if (b.at + 4 > broken.size())
            continue;
        if (b.value <= 0xFFFF && std::string(b.what).find("count") != std::string::npos)
            StoreU16LE(broken.data() + b.at, static_cast<uint16_t>(b.value));
        else
            StoreU32LE(broken.data() + b.at, b.value);
        EXPECT_FALSE(Resources(broken)) << b.what;
        std::string launcher = broken;
        EXPECT_EQ(ApplyVendorFace(launcher, {Item(16, 1, "v")}), FaceResult::Unreadable) << b.what;
    }
    ASSERT_TRUE(Resources(good));
}

} // namespace
