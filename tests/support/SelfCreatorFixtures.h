#pragma once

#include "package/ProductInfoFile.h"
#include "package/SfxPackage.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

// The self creator's tests call their temporary folder a scratch folder.
using ScratchFolder = TempFolder;

inline std::string LengthPrefixed(const std::string& bytes) {
    const auto n = static_cast<uint32_t>(bytes.size());
    std::string out{char(n & 0xFF), char((n >> 8) & 0xFF), char((n >> 16) & 0xFF),
                    char((n >> 24) & 0xFF)};
    return out + bytes;
}

inline std::string ProductInfoBytes(const std::string& uuid, const std::string& list) {
    return LengthPrefixed(uuid) + LengthPrefixed(list);
}

// A self creator as the builder writes it, on a stand-in image: entry 0 the
// product information file, entry 1 the setup file.
inline bool MakeSelfCreator(const ScratchFolder& work, const std::string& output,
                            const std::string& infoBytes, const std::string& setupBytes,
                            const std::string& setupName = "setup.exe") {
    WriteBytes(work / "_aff1.ino", infoBytes);
    WriteBytes(work / setupName, setupBytes);
    CSfxPackage package;
    if (!package.AddFile(work / "_aff1.ino") || !package.AddFile(work / setupName))
        return false;
    const std::string image(4096, 'I');
    return package.BuildWithImage(image.data(), image.size(), output) == SFX_OK;
}

// Entry 0 of the package at path: the information file a build made in
// memory. Empty when the package cannot be read.
inline std::string InfoEntryOf(const std::string& path) {
    CSfxPackage package;
    std::string bytes;
    if (package.ReadDirectory(path) != SFX_OK ||
        package.ReadEntryBytes(0, 1 << 16, bytes) != SFX_OK)
        return {};
    return bytes;
}

inline constexpr const char* kTestUuid = "0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9";
