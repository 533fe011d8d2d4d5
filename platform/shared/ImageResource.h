#pragma once

#include "platform/EmbeddedImage.h"

#include <string_view>

namespace platform {

// The image the system's own executable-resource facility holds under type
// and id in the running program; empty where there is no such facility or no
// such resource. Consulted after the images registered at start-up.
EmbeddedImage FindImageResource(std::string_view type, int id);

} // namespace platform
