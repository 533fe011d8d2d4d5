#include "platform/UserSettings.h"

#include "platform/win32/WideText.h"

#include <vector>
#include <windows.h>

namespace platform {
namespace {

// The longest value read: a settings text is a path or a word.
constexpr DWORD kMaxValueBytes = 64 * 1024;

std::wstring SectionKey(const SettingsPlace& place, const std::string& section) {
    return L"Software\\" + win32::Widen(place.vendor) + L"\\" + win32::Widen(place.program) +
           L"\\" + win32::Widen(section);
}

// Closes the key it holds.
class OpenKey {
public:
    OpenKey(const std::wstring& path, bool create, REGSAM access) {
        const LONG status =
            create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, access, nullptr, &m_key, nullptr)
                   : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &m_key);
        if (status != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~OpenKey() {
        if (m_key)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

} // namespace

bool UserSettingsAvailable() {
    return true;
}

std::optional<std::string> ReadUserSetting(const SettingsPlace& place, const std::string& section,
                                           const std::string& key) {
    const OpenKey opened(SectionKey(place, section), false, KEY_QUERY_VALUE);
    if (!opened.Get())
        return std::nullopt;
    const std::wstring name = win32::Widen(key);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || bytes > kMaxValueBytes)
        return std::nullopt;
    // Room for a terminator the stored value may lack.
    std::vector<wchar_t> value(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = bytes;
    if (RegQueryValueExW(opened.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &got) != ERROR_SUCCESS ||
        got > bytes)
        return std::nullopt;
    const size_t units = got / sizeof(wchar_t);
    return win32::Narrow(std::wstring_view(value.data(), wcsnlen(value.data(), units)));
}

bool WriteUserSetting(const SettingsPlace& place, const std::string& section,
                      const std::string& key, const std::string& value) {
    const OpenKey opened(SectionKey(place, section), true, KEY_SET_VALUE);
    if (!opened.Get())
        return false;
    const std::wstring wide = win32::Widen(value);
    const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(opened.Get(), win32::Widen(key).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

bool RemoveUserSetting(const SettingsPlace& place, const std::string& section,
                       const std::string& key) {
    const OpenKey opened(SectionKey(place, section), false, KEY_SET_VALUE);
    if (!opened.Get())
        return true;
    const LONG status = RegDeleteValueW(opened.Get(), win32::Widen(key).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace platform
