#pragma once

#include <optional>
#include <string>

// A program's per-user settings where the system keeps them: named text
// values in sections below the program's own place (on Windows the key
// Software\<vendor>\<program> of the current user's registry). Systems
// without such a place say so; their programs keep settings in a file of
// their own instead. Texts are UTF-8.
namespace platform {

// Where one program's settings live.
struct SettingsPlace {
    std::string vendor;
    std::string program;
};

// Whether this system keeps programs' settings (false on Linux).
bool UserSettingsAvailable();

// The value key of section; nothing when it is missing, not a text, or the
// settings are not available.
std::optional<std::string> ReadUserSetting(const SettingsPlace& place, const std::string& section,
                                           const std::string& key);
// Creates the section when needed. False when the value could not be written.
bool WriteUserSetting(const SettingsPlace& place, const std::string& section,
                      const std::string& key, const std::string& value);
// A missing value counts as removed.
bool RemoveUserSetting(const SettingsPlace& place, const std::string& section,
                       const std::string& key);

} // namespace platform
