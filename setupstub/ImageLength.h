#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// How many bytes of a file an executable's own headers account for: the
// image a linker wrote, before anything appended to it. ELF (32- and 64-bit,
// little-endian): the furthest end of the headers, segments and sections. PE:
// the furthest end of the headers and the sections' raw data, and of the
// certificate table when it follows them directly (a signed launcher image).
// read(pos, buffer, length) fills buffer from position pos; false on failure
// or a short read. Every offset and count is checked against size; -1 when
// the file is neither format or its headers point outside it.
using ImageReadAt = std::function<bool(int64_t pos, void* buffer, size_t length)>;
int64_t ExecutableImageLength(const ImageReadAt& read, int64_t size);

// The same for a file on disk; -1 when it cannot be read.
int64_t ExecutableImageLengthOf(const std::string& path);
