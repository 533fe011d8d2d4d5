#include "platform/shared/ImageResource.h"
#include "platform/win32/WideText.h"

#include <string>
#include <windows.h>

namespace platform {

EmbeddedImage FindImageResource(std::string_view type, int id) {
    const std::wstring typeName = win32::Widen(type);
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), typeName.c_str());
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const DWORD size = SizeofResource(nullptr, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const unsigned char*>(data), size};
}

} // namespace platform
