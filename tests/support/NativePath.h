#pragma once

#include "platform/HostPath.h"

#include <algorithm>
#include <string>

// A relative path that a test writes with '/', as the system it runs on
// writes it: the programs join folder and name with the system's separator.
inline std::string Native(std::string path) {
    if (platform::HostPathStyle() == platform::PathStyle::Windows)
        std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
