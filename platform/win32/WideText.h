#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// The one crossing between the program's UTF-8 texts and the system's UTF-16
// ("W") functions. Bytes that are not UTF-8, and lone surrogates coming back,
// become U+FFFD; a NUL inside a text is kept.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

} // namespace platform::win32
