#pragma once

#include "model/ByteOrder.h"
#include "package/PeResourceTree.h"

#include <string>
#include <vector>

// A small PE32+ image made by hand: headers, one code section and, when items
// are given, a resource section holding them, as a linker lays them out.
struct TestPeOptions {
    uint32_t sectionAlignment = 0x1000;
    uint32_t fileAlignment = 0x200;
    uint32_t sizeOfHeaders = 0x400;
    bool withResources = true;
};

inline std::string MakeTestPe(const std::vector<ResourceItem>& items,
                              const TestPeOptions& options = {}) {
    constexpr uint32_t kPe = 0x80;
    constexpr uint32_t kOptional = kPe + 24;
    constexpr uint32_t kOptionalSize = 240;
    const uint32_t sectionCount = options.withResources ? 2 : 1;
    std::string image(options.sizeOfHeaders, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    StoreU32LE(image.data() + 0x3C, kPe);
    image.replace(kPe, 4, std::string("PE\0\0", 4));
    StoreU16LE(image.data() + kPe + 4, 0x8664);
    StoreU16LE(image.data() + kPe + 6, static_cast<uint16_t>(sectionCount));
    StoreU16LE(image.data() + kPe + 20, kOptionalSize);
    StoreU16LE(image.data() + kOptional, 0x20B);
    StoreU32LE(image.data() + kOptional + 32, options.sectionAlignment);
    StoreU32LE(image.data() + kOptional + 36, options.fileAlignment);
    StoreU32LE(image.data() + kOptional + 60, options.sizeOfHeaders);
    StoreU32LE(image.data() + kOptional + 108, 16);

    const uint32_t rowAt = kOptional + kOptionalSize;
    // The code section: one file alignment of 0xC3 bytes.
    const uint32_t textRaw = options.sizeOfHeaders;
    image.replace(rowAt, 5, ".text");
    StoreU32LE(image.data() + rowAt + 8, options.fileAlignment);
    StoreU32LE(image.data() + rowAt + 12, options.sectionAlignment);
    StoreU32LE(image.data() + rowAt + 16, options.fileAlignment);
    StoreU32LE(image.data() + rowAt + 20, textRaw);
    StoreU32LE(image.data() + rowAt + 36, 0x60000020);
    image.append(options.fileAlignment, '\xC3');
    uint32_t sizeOfImage = 2 * options.sectionAlignment;
    if (options.withResources) {
        const uint32_t rva = 2 * options.sectionAlignment;
        const std::string section = WriteResourceSection(items, rva);
        const uint32_t raw = static_cast<uint32_t>(image.size());
        const uint32_t rawSize =
            static_cast<uint32_t>((section.size() + options.fileAlignment - 1) /
                                  options.fileAlignment * options.fileAlignment);
        image.replace(rowAt + 40, 5, ".rsrc");
        StoreU32LE(image.data() + rowAt + 48, static_cast<uint32_t>(section.size()));
        StoreU32LE(image.data() + rowAt + 52, rva);
        StoreU32LE(image.data() + rowAt + 56, rawSize);
        StoreU32LE(image.data() + rowAt + 60, raw);
        StoreU32LE(image.data() + rowAt + 76, 0x40000040);
        image += section;
        image.resize(raw + rawSize, '\0');
        StoreU32LE(image.data() + kOptional + 112 + 16, rva);
        StoreU32LE(image.data() + kOptional + 112 + 20, static_cast<uint32_t>(section.size()));
        sizeOfImage = rva + (rawSize + options.sectionAlignment - 1) / options.sectionAlignment *
                                options.sectionAlignment;
    }
    StoreU32LE(image.data() + kOptional + 56, sizeOfImage);
    return image;
}
