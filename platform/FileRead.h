#pragma once

#include "platform/FileError.h"

#include <string>

namespace platform {

// Reads the whole file at path into bytes (replacing its content). Reading
// stops with an error when the file holds more than maxBytes, so that a huge
// file given by mistake does not exhaust memory.
FileStatus ReadFileBytes(const std::string& path, std::string& bytes,
                         size_t maxBytes = size_t(1) << 30);

} // namespace platform
