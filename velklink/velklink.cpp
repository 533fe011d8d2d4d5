#include "velklink/velklink.h"

#include "platform/MachineStore.h"
#include "platform/StoreContract.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The key's path, as the launcher writes it, in a buffer of 1000 bytes.
constexpr size_t kKeyPathBuffer = 1000;

// A link as the launcher stores it: text, then its terminator, 4000 bytes at
// most. Anything else was not written by a launcher and is not handed out.
bool IsWellFormedLink(const std::string& bytes) {
    return !bytes.empty() && bytes.size() <= platform::kMaxStoredValueBytes && bytes.back() == '\0';
}

struct Lookup {
    bool keyFound = false;
    bool linkFound = false;
    platform::StoredValue link;
};

// Reads the store's link and keeps it when it is newer than the one found so
// far. The stores are visited machine-wide first, so on equal times the
// machine-wide link stays.
void ConsiderStore(const platform::MachineStore& store, const char* keyPath, Lookup& lookup) {
    platform::StoredValue value;
    platform::StoreRead read = store.ReadValue(keyPath, platform::kPurchaseLinkValue,
                                               platform::kMaxStoredValueBytes, value);
    if (read == platform::StoreRead::NoKey)
        return;
    lookup.keyFound = true;
    if (read != platform::StoreRead::Ok || !IsWellFormedLink(value.bytes))
        return;
    if (!lookup.linkFound || value.writeTime > lookup.link.writeTime) {
        lookup.link = std::move(value);
        lookup.linkFound = true;
    }
}

int32_t HandOut(const std::string& link, char* buffer, uint32_t* size) {
    const auto needed = static_cast<uint32_t>(link.size());
    if (buffer != nullptr && *size < needed) {
        *size = needed;
        return VELK_LINK_MORE_DATA;
    }
    // link ends with its terminator (IsWellFormedLink), which is copied too.
    if (buffer != nullptr)
        std::copy(link.begin(), link.end(), buffer);
    *size = needed;
    return VELK_LINK_OK;
}

} // namespace

extern "C" VELKLINK_API int32_t velkGetAffiliatePurchaseLink(const char* key, char* buffer,
                                                             uint32_t* size) {
    if (key == nullptr)
        return VELK_LINK_NO_KEY;
    char keyPath[kKeyPathBuffer];
    const std::string prefix(platform::kStoreKeyPrefix);
    int length = std::snprintf(keyPath, sizeof keyPath, "%s%s\\", prefix.c_str(), key);
    if (length < 0 || static_cast<size_t>(length) >= sizeof keyPath)
        return VELK_LINK_NO_KEY;

    // A setup run without the rights for the machine-wide store wrote the
    // user's own store instead; the link written last is the one that counts.
    Lookup lookup;
    ConsiderStore(platform::MachineStore::MachineWide(), keyPath, lookup);
    ConsiderStore(platform::MachineStore::PerUser(), keyPath, lookup);
    if (!lookup.keyFound)
        return VELK_LINK_NO_KEY;
    if (!lookup.linkFound || size == nullptr)
        return VELK_LINK_NO_VALUE;
    return HandOut(lookup.link.bytes, buffer, size);
}
