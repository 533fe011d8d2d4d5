#pragma once

#include <string>

namespace platform {

// s without the spaces, tabs and carriage returns at either end, as lines of
// desktop entries and command lines are read.
inline std::string TrimBlanks(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

} // namespace platform
