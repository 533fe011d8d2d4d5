#pragma once

#include "model/FieldLimit.h"

#include <cstddef>
#include <string>
#include <string_view>

// The information files inside packages (the affiliate's and the product's)
// are a fixed number of length-prefixed blocks: a 4-byte little-endian
// length, then that many bytes, no terminator, nothing before, between or
// after. Blocks are at most kInfoFieldMax bytes long. The files' codecs
// (package/AffiliateInfoFile.h, package/ProductInfoFile.h) are made of these.

// The longest information file of count blocks.
constexpr size_t InfoFileMaxBytes(size_t count) {
    return count * (4 + kInfoFieldMax);
}

// Appends the length and the bytes of block to out.
void AppendInfoBlock(std::string& out, std::string_view block);

// Reads the block at pos and moves pos past it. False (pos and block
// unchanged) when the length is negative, above kInfoFieldMax or runs past
// the end of bytes.
bool TakeInfoBlock(std::string_view bytes, size_t& pos, std::string& block);

// The first limit bytes of the file at path, or false when it cannot be
// opened or read. Bytes past the blocks a reader wants are never looked at.
bool ReadInfoFileBytes(const std::string& path, size_t limit, std::string& bytes);
