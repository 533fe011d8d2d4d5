#include "platform/MachineStore.h"
#include "platform/PausePoint.h"
#include "platform/shared/StoreKeyPath.h"
#include "platform/win32/StoreWriterLock.h"
#include "platform/win32/WideText.h"

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <windows.h>

// On Windows the store is the registry. A store's root text names the hive,
// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER" (or "HKLM", "HKCU"), optionally
// followed by a backslash and a key path under which its keys live. Both hives are used through
// the 32-bit view, so that 32-bit and 64-bit programs see the same values.
namespace platform {
namespace {

constexpr REGSAM kView = KEY_WOW64_32KEY;

// The switch that makes the machine-wide hive refuse writes, as it does for
// a user without administrator rights (the test system grants them all).
bool MachineWritesRefused() {
    const char* refuse = std::getenv("VELKORA_REFUSE_MACHINE_STORE");
    return refuse != nullptr && refuse[0] != '\0' && refuse[0] != '0';
}

struct Location {
    HKEY hive = nullptr;
    std::string path; // full key path below the hive, empty when refused
};

Location Locate(const std::string& root, std::string_view keyPath) {
    Location where;
    const std::string_view hiveName = std::string_view(root).substr(0, root.find('\\'));
    if (hiveName == "HKEY_LOCAL_MACHINE" || hiveName == "HKLM")
        where.hive = HKEY_LOCAL_MACHINE;
    else if (hiveName == "HKEY_CURRENT_USER" || hiveName == "HKCU")
        where.hive = HKEY_CURRENT_USER;
    const std::string key = NormalizeKeyPath(keyPath);
    if (!where.hive || key.empty() || keyPath.size() > MachineStore::kMaxKeyPath)
        return {};
    const std::string prefix =
        NormalizeKeyPath(std::string_view(root).substr(std::min(root.size(), hiveName.size())));
    where.path = prefix.empty() ? key : prefix + "\\" + key;
    return where;
}

// The key's last-write time tells a reader which store was written last. The
// registry may leave that time alone when a value is set to the bytes it
// already holds (a later setup of the same affiliate), so the value is
// removed first: every write then counts as the newest.
void TouchForWrite(HKEY key, const std::wstring& name) {
    RegDeleteValueW(key, name.c_str());
}

class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (m_key)
            RegCloseKey(m_key);
    }
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Creates the key when needed and stores size bytes of data under valueName.
bool WriteValue(const std::string& root, std::string_view keyPath, std::string_view valueName,
                DWORD type, const char* data, size_t size) {
    const Location where = Locate(root, keyPath);
    if (where.path.empty() || (where.hive == HKEY_LOCAL_MACHINE && MachineWritesRefused()))
        return false;
    Key key;
    if (RegCreateKeyExW(where.hive, win32::Widen(where.path).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | kView, nullptr, key.Out(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring name = win32::Widen(valueName);
    TouchForWrite(key.Get(), name);
    return RegSetValueExW(key.Get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

// A text value: UTF-16 with its terminator, as the system's text values are.
bool WriteText(const std::string& root, std::string_view keyPath, std::string_view valueName,
               std::string_view text) {
    const std::wstring wide = win32::Widen(text);
    return WriteValue(root, keyPath, valueName, REG_SZ, reinterpret_cast<const char*>(wide.c_str()),
                      (wide.size() + 1) * sizeof(wchar_t));
}

} // namespace

MachineStore MachineStore::MachineWide() {
    return MachineStore("HKEY_LOCAL_MACHINE");
}

MachineStore MachineStore::PerUser() {
    return MachineStore("HKEY_CURRENT_USER");
}

bool MachineStore::SetValue(std::string_view keyPath, std::string_view valueName,
                            std::string_view bytes) const {
    return WriteValue(root_, keyPath, valueName, REG_BINARY, bytes.data(), bytes.size());
}

bool MachineStore::SetString(std::string_view keyPath, std::string_view valueName,
                             std::string_view text) const {
    return WriteText(root_, keyPath, valueName, text);
}

// The registry keeps values in its own files and makes them durable itself,
// so there is nothing slow to do ahead: the values wait in memory and are
// written when committed.
struct StagedValues::State {
    std::string root;
    std::string keyPath;
    std::vector<std::pair<std::string, std::string>> values; // name, text
};

StagedValues::StagedValues() = default;
StagedValues::StagedValues(std::unique_ptr<State> state) : state_(std::move(state)) {}
StagedValues::StagedValues(StagedValues&& other) noexcept = default;
StagedValues& StagedValues::operator=(StagedValues&& other) noexcept = default;
StagedValues::~StagedValues() = default;

// The values of one key are written under the key's writer lock, so that the
// values of two setups of one product are never mixed.
bool StagedValues::Commit() {
    const std::unique_ptr<State> state = std::move(state_);
    if (!state)
        return false;
    const win32::StoreWriterLock lock(state->root, NormalizeKeyPath(state->keyPath));
    if (!lock.Held())
        return false;
    bool first = true;
    for (const auto& [name, text] : state->values) {
        if (!first)
            PausePoint("store-between-values");
        first = false;
        if (!WriteText(state->root, state->keyPath, name, text))
            return false;
    }
    return true;
}

StagedValues MachineStore::StageStrings(std::string_view keyPath,
                                        std::initializer_list<NamedText> values) const {
    const Location where = Locate(root_, keyPath);
    if (where.path.empty() || (where.hive == HKEY_LOCAL_MACHINE && MachineWritesRefused()))
        return {};
    auto state = std::make_unique<StagedValues::State>();
    state->root = root_;
    state->keyPath = std::string(keyPath);
    for (const auto& [name, text] : values)
        state->values.emplace_back(std::string(name), std::string(text));
    return StagedValues(std::move(state));
}

bool MachineStore::KeyExists(std::string_view keyPath) const {
    const Location where = Locate(root_, keyPath);
    Key key;
    return !where.path.empty() && RegOpenKeyExW(where.hive, win32::Widen(where.path).c_str(), 0,
                                                KEY_READ | kView, key.Out()) == ERROR_SUCCESS;
}

StoreRead MachineStore::QueryValue(std::string_view keyPath, std::string_view valueName,
                                   void* buffer, uint32_t* size) const {
    // Read whole, as UTF-8 for a text value: the size handed out is the one
    // of the bytes the caller gets.
    constexpr size_t kLargestValue = size_t(1) << 20;
    StoredValue value;
    const StoreRead read = ReadValue(keyPath, valueName, kLargestValue, value);
    if (read == StoreRead::NoKey || read == StoreRead::NoValue)
        return read;
    if (read == StoreRead::MoreData)
        return StoreRead::NoValue;
    const auto needed = static_cast<uint32_t>(value.bytes.size());
    if (buffer != nullptr && *size < needed) {
        *size = needed;
        return StoreRead::MoreData;
    }
    if (buffer != nullptr)
        std::copy(value.bytes.begin(), value.bytes.end(), static_cast<char*>(buffer));
    *size = needed;
    return StoreRead::Ok;
}

namespace {

// A text value's UTF-16 bytes as UTF-8, with the terminator it was stored with.
std::string TextValueAsUtf8(const std::string& bytes) {
    std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
    std::copy(bytes.begin(),
              bytes.begin() + static_cast<std::ptrdiff_t>(wide.size() * sizeof(wchar_t)),
              reinterpret_cast<char*>(wide.data()));
    const bool terminated = !wide.empty() && wide.back() == L'\0';
    if (terminated)
        wide.pop_back();
    std::string text = win32::Narrow(wide);
    if (terminated)
        text.push_back('\0');
    return text;
}

} // namespace

// The size is asked first: nothing larger than the UTF-16 form of maxBytes is
// ever read. Text values come back as UTF-8, other values as their bytes. The
// key's last-write time is the value's: the launcher writes a key's values
// together, and the registry keeps no time per value.
StoreRead MachineStore::ReadValue(std::string_view keyPath, std::string_view valueName,
                                  size_t maxBytes, StoredValue& out) const {
    const Location where = Locate(root_, keyPath);
    Key key;
    if (where.path.empty() || RegOpenKeyExW(where.hive, win32::Widen(where.path).c_str(), 0,
                                            KEY_QUERY_VALUE | kView, key.Out()) != ERROR_SUCCESS)
        return StoreRead::NoKey;
    const std::wstring name = win32::Widen(valueName);
    DWORD size = 0;
    DWORD type = REG_NONE;
    FILETIME written{};
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS)
        return StoreRead::NoValue;
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    if (size > (text ? maxBytes * sizeof(wchar_t) : maxBytes))
        return StoreRead::MoreData;
    std::string bytes(size, '\0');
    DWORD got = size;
    DWORD typeNow = REG_NONE;
    // A writer may replace the value meanwhile: a larger one is not read.
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &typeNow,
                         reinterpret_cast<BYTE*>(bytes.data()), &got) != ERROR_SUCCESS ||
        got > size || typeNow != type)
        return StoreRead::NoValue;
    bytes.resize(got);
    if (text) {
        bytes = TextValueAsUtf8(bytes);
        if (bytes.size() > maxBytes)
            return StoreRead::MoreData;
    }
    out.bytes = std::move(bytes);
    out.writeTime = (static_cast<int64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return StoreRead::Ok;
}

std::string MachineStore::KeyFolder(std::string_view keyPath) {
    if (keyPath.size() > kMaxKeyPath)
        return {};
    return NormalizeKeyPath(keyPath);
}

} // namespace platform
