#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Bytes of a file linked into the running program as read-only data.
struct EmbeddedImage {
    const unsigned char* data = nullptr;
    size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// The image linked in under type (for packages "SFX_EXE") and id; empty when
// there is none. Images are added to a program with velkora_embed_image()
// from cmake/EmbedImage.cmake.
EmbeddedImage FindEmbeddedImage(std::string_view type, int id);

// Called by the code that velkora_embed_image() generates, before main. The
// first registration of a type and id wins.
void RegisterEmbeddedImage(const char* type, int id, const unsigned char* begin,
                           const unsigned char* end);

} // namespace platform
