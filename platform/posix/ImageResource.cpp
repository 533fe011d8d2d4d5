#include "platform/shared/ImageResource.h"

namespace platform {

// ELF programs carry their images as linked-in data, registered at start-up.
EmbeddedImage FindImageResource(std::string_view, int) {
    return {};
}

} // namespace platform
