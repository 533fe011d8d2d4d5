#include "platform/win32/WideText.h"

#include <climits>
#include <windows.h>

namespace platform::win32 {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    const int got = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    wide.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(wide.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string text(static_cast<size_t>(needed), '\0');
    const int got =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

} // namespace platform::win32
