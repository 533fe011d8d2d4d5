#pragma once

#include "package/CompoundFile.h"

#include <string_view>

// The machines a Windows installer database installs on, as its summary
// information's Template property names them ("Intel;1033", "x64;1033").
enum class InstallerPlatform {
    Intel,      // 32-bit x86 ("Intel", or no platform named)
    X64,        // 64-bit x86 ("x64", or the older "AMD64")
    Other,      // another platform ("Arm64", "Intel64", ...)
    Unreadable, // no summary information, or no Template in it
};

// Reads the summary information of the compound file of size bytes.
InstallerPlatform InstallerPlatformOf(const CompoundReadAt& read, int64_t size);

// The platform a Template text names.
InstallerPlatform InstallerPlatformOfTemplate(std::string_view text);
