#include "platform/HostPath.h"

#include <windows.h>

namespace platform {

PathStyle HostPathStyle() {
    return PathStyle::Windows;
}

std::string CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0)
        return {};
    std::string text(needed, '\0');
    const DWORD n = GetCurrentDirectoryA(needed, text.data());
    if (n == 0 || n >= needed)
        return {};
    text.resize(n);
    return text;
}

} // namespace platform
