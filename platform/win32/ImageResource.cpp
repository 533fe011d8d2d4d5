#include "platform/shared/ImageResource.h"

#include <string>
#include <windows.h>

namespace platform {

EmbeddedImage FindImageResource(std::string_view type, int id) {
    const std::string typeName(type);
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), typeName.c_str());
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
