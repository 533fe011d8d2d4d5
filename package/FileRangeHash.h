#pragma once

#include "platform/RawFile.h"

#include <cstdint>
#include <string>

// SHA-256 (lower-case hex) of length bytes of file from position pos; empty
// when the file cannot be read or ends early. Memory use does not grow with
// length.
std::string HashFileRange(platform::RawFile& file, int64_t pos, int64_t length);
