#pragma once

#include <cstddef>

// The setup launcher reads each field of an information file into 4000 bytes
// with its terminator, so a purchase link, web site or other field that goes
// into a package holds at most this many bytes. Editors refuse longer texts
// where they are typed; the file codec refuses them on both sides.
inline constexpr size_t kInfoFieldMax = 3999;
