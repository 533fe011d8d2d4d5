#include "velklink/velklink.h"

#include "platform/MachineStore.h"

#include <cstdio>

namespace {

// The key's path, as the launcher writes it, in a buffer of 1000 bytes.
constexpr size_t kKeyPathBuffer = 1000;

int32_t ResultOf(platform::StoreRead read) {
    switch (read) {
    case platform::StoreRead::Ok:
        return VELK_LINK_OK;
    case platform::StoreRead::NoKey:
        return VELK_LINK_NO_KEY;
    case platform::StoreRead::NoValue:
        return VELK_LINK_NO_VALUE;
    case platform::StoreRead::MoreData:
        return VELK_LINK_MORE_DATA;
    }
    return VELK_LINK_NO_VALUE;
}

} // namespace

extern "C" VELKLINK_API int32_t velkGetAffiliatePurchaseLink(const char* key, char* buffer,
                                                             uint32_t* size) {
    if (key == nullptr)
        return VELK_LINK_NO_KEY;
    char keyPath[kKeyPathBuffer];
    int length = std::snprintf(keyPath, sizeof keyPath, "Software\\Velkora\\%s\\", key);
    if (length < 0 || static_cast<size_t>(length) >= sizeof keyPath)
        return VELK_LINK_NO_KEY;

    // A setup run without the rights for the machine-wide store wrote the
    // current user's store instead; that one is the more specific answer.
    platform::StoreRead best = platform::StoreRead::NoKey;
    for (const platform::MachineStore& store :
         {platform::MachineStore::PerUser(), platform::MachineStore::MachineWide()}) {
        platform::StoreRead read = store.QueryValue(keyPath, "PurchaseLink", buffer, size);
        if (read == platform::StoreRead::Ok || read == platform::StoreRead::MoreData)
            return ResultOf(read);
        if (read == platform::StoreRead::NoValue)
            best = read;
    }
    return ResultOf(best);
}
