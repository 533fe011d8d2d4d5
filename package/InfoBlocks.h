#pragma once

#include "model/FieldLimit.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

// The information files inside packages (the affiliate's and the product's)
// are a fixed number of length-prefixed blocks: a 4-byte little-endian
// length, then that many bytes, no terminator, nothing before, between or
// after. This is their one codec.

// Readers hold a block in 4000 bytes with a terminator, so none is longer.
inline constexpr size_t kInfoBlockMax = kInfoFieldMax;

// Appends the length and the bytes of block to out.
void AppendInfoBlock(std::string& out, std::string_view block);

// Reads the block at pos and moves pos past it. False (pos and block
// unchanged) when the length is negative, above kInfoBlockMax or runs past
// the end of bytes.
bool TakeInfoBlock(std::string_view bytes, size_t& pos, std::string& block);

// Appends one block to an open file; false when a write fails.
bool WriteLengthPrefixedBlock(std::FILE* file, std::string_view block);

// The first limit bytes of the file at path, or false when it cannot be
// opened or read. Bytes past the blocks a reader wants are never looked at.
bool ReadInfoFileBytes(const std::string& path, size_t limit, std::string& bytes);
