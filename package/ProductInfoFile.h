#pragma once

#include "package/InfoBlocks.h"

#include <string>
#include <string_view>

// The product information file a self creator carries as its first entry: two
// length-prefixed blocks (4-byte length, least significant byte first, then
// that many bytes, no terminator): the program UUID and the registration list
// text. Nothing comes before, between or after them. This is its one codec,
// in memory; the self creator's builder, selfkit and inspect use it.

struct CProductInfo {
    std::string strUuid;
    std::string strRegistrationList;
};

// The longest product information file; readers never look further.
inline constexpr size_t kProductInfoMaxBytes = InfoFileMaxBytes(2);

// Whether both blocks are at most kInfoFieldMax bytes long.
bool CanEncodeProductInfo(const CProductInfo& info);

// The file bytes, for info that CanEncodeProductInfo accepts.
std::string EncodeProductInfo(const CProductInfo& info);

enum class ProductInfoStatus {
    Ok,
    OpenFailed, // the file cannot be opened for reading
    Corrupted,  // a block is 4000 bytes or longer, or the file ends early
};

// Parses file bytes; bytes after the second block are ignored unless exact,
// which then refuses them (Corrupted).
ProductInfoStatus DecodeProductInfo(std::string_view bytes, CProductInfo& info, bool exact = false);

// Reads and decodes the file at path.
ProductInfoStatus ReadProductInfoFile(const std::string& path, CProductInfo& info);
