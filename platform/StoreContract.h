#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the launcher writes and the purchase-link library reads, on every
// system: under the key "Software\Velkora\<program UUID>" the string values
// "PurchaseLink" and "ResellerUrl", each stored with its terminator.
namespace platform {

inline constexpr std::string_view kStoreKeyPrefix = "Software\\Velkora\\";
inline constexpr std::string_view kPurchaseLinkValue = "PurchaseLink";
inline constexpr std::string_view kResellerUrlValue = "ResellerUrl";

// The one limit of every field that travels to an end user's machine (the
// purchase link, the web site, the program UUID, the blocks of the
// information files): the launcher reads each into 4000 bytes and keeps the
// last one for the terminator. Editors refuse longer texts where they are
// typed; the information files' codecs refuse them on both sides.
inline constexpr size_t kInfoFieldMax = 3999;

// A stored value with its terminator is at most this long.
inline constexpr size_t kMaxStoredValueBytes = kInfoFieldMax + 1;

// The key of a product: the prefix followed by the product's key text.
inline std::string ProductKeyPath(std::string_view productKey) {
    std::string path(kStoreKeyPrefix);
    path.append(productKey);
    return path;
}

} // namespace platform
