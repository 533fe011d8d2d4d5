#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Fills size bytes at out from the kernel's random source (getrandom, so the
// programs that travel ask nothing newer of the C library). False when the
// source fails; out is then not to be used.
bool FillSystemRandom(void* out, size_t size);

// "velkora-" and 16 random hex digits, for a folder whose name nobody can
// guess ahead; empty when the random source fails.
std::string RandomFolderName();

} // namespace platform
