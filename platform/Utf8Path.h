#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// A file system path from one of the program's UTF-8 texts. A path made
// straight from a narrow string reads it in the C library's locale on
// Windows, which turns any name beyond ASCII into another name.
inline std::filesystem::path Utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace platform
