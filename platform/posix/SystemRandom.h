#pragma once

#include <cstddef>

namespace platform {

// Fills size bytes at out from the kernel's random source (getrandom, so the
// programs that travel ask nothing newer of the C library). False when the
// source fails; out is then not to be used.
bool FillSystemRandom(void* out, size_t size);

} // namespace platform
