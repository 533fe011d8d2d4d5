#pragma once

#include "package/InfoBlocks.h"

#include <string>
#include <string_view>

// The product information file a self creator carries as its first entry: two
// length-prefixed blocks (4-byte length, least significant byte first, then
// that many bytes, no terminator): the program UUID and the registration list
// text. Nothing comes before, between or after them.

// Readers hold a block in a 4000-byte buffer, so a block is at most this long.
constexpr size_t kProductInfoMaxBlock = kInfoBlockMax;

// The blocks are written with WriteLengthPrefixedBlock (package/InfoBlocks.h).

struct CProductInfo {
    std::string strUuid;
    std::string strRegistrationList;
};

enum class ProductInfoStatus {
    Ok,
    OpenFailed, // the file cannot be opened for reading
    Corrupted,  // a block is 4000 bytes or longer, or the file ends early
};

ProductInfoStatus ReadProductInfoFile(const std::string& path, CProductInfo& info);
