#pragma once

#include <string>
#include <string_view>

namespace platform {

// A store key path as every store keeps it: the components of a
// backslash-separated path, empty ones dropped, joined again with single
// backslashes, so doubled, leading and trailing ones do not make other keys.
std::string NormalizeKeyPath(std::string_view keyPath);

} // namespace platform
