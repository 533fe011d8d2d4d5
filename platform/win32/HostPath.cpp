#include "platform/HostPath.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform {

PathStyle HostPathStyle() {
    return PathStyle::Windows;
}

std::string CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return {};
    std::wstring text(needed, L'\0');
    const DWORD n = GetCurrentDirectoryW(needed, text.data());
    if (n == 0 || n >= needed)
        return {};
    text.resize(n);
    return win32::Narrow(text);
}

} // namespace platform
