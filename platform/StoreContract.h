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

// The launcher reads each field into 4000 bytes and keeps the last one for
// the terminator, so no value it writes is longer than this, terminator
// included.
inline constexpr size_t kMaxStoredValueBytes = 4000;

// The key of a product: the prefix followed by the product's key text.
inline std::string ProductKeyPath(std::string_view productKey) {
    std::string path(kStoreKeyPrefix);
    path.append(productKey);
    return path;
}

} // namespace platform
