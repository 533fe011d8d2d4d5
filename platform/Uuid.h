#pragma once

#include <string>

namespace platform {

// A new random (version 4) UUID as 36 upper-case characters in the
// 8-4-4-4-12 form, without braces.
std::string NewUuidText();

} // namespace platform
