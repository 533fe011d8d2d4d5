// MachineStore::ReadValue on the registry: the value with its key's
// last-write time. The store's root names its hive ("HKEY_CURRENT_USER" for
// the user's store, the machine's otherwise); keys are opened in the 32-bit
// view, as the launcher writes them.
#include "platform/MachineStore.h"

#include <windows.h>

namespace platform {
namespace {

HKEY HiveOf(const MachineStore& store) {
    return store.Root().rfind("HKEY_CURRENT_USER", 0) == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

} // namespace

StoreRead MachineStore::ReadValue(std::string_view keyPath, std::string_view valueName,
                                  size_t maxBytes, StoredValue& out) const {
    if (keyPath.size() > kMaxKeyPath)
        return StoreRead::NoKey;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HiveOf(*this), std::string(keyPath).c_str(), 0,
                        KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return StoreRead::NoKey;
    const std::string name(valueName);
    StoreRead result = StoreRead::NoValue;
    DWORD size = 0;
    FILETIME written{};
    // The size is asked first: nothing larger than maxBytes is ever read.
    if (::RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, &written) == ERROR_SUCCESS) {
        if (size > maxBytes) {
            result = StoreRead::MoreData;
        } else {
            std::string bytes(size, '\0');
            DWORD got = size;
            if (::RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(bytes.data()), &got) == ERROR_SUCCESS &&
                got <= size) {
                bytes.resize(got);
                out.bytes = std::move(bytes);
                out.writeTime =
                    (static_cast<int64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
                result = StoreRead::Ok;
            }
        }
    }
    ::RegCloseKey(key);
    return result;
}

} // namespace platform
