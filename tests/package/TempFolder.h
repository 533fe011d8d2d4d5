#pragma once

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <set>
#include <string>

// Names of the files directly in folder.
inline std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}
