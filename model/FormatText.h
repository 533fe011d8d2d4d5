#pragma once

#include <string>

// format with its first "%s" replaced by value; the texts of the log lines and
// messages carry exactly one.
inline std::string FormatText(const char* format, const std::string& value) {
    std::string text = format;
    const size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}
