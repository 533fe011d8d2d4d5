#pragma once

#include <string_view>

// Equality of two 8-bit texts without regard to the case of ASCII letters,
// as service names and affiliates' setup paths are matched.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
