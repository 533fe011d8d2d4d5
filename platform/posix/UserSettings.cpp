#include "platform/UserSettings.h"

// Linux programs keep their settings in files of their own (~/.config).
namespace platform {

bool UserSettingsAvailable() {
    return false;
}

std::optional<std::string> ReadUserSetting(const SettingsPlace&, const std::string&,
                                           const std::string&) {
    return std::nullopt;
}

bool WriteUserSetting(const SettingsPlace&, const std::string&, const std::string&,
                      const std::string&) {
    return false;
}

bool RemoveUserSetting(const SettingsPlace&, const std::string&, const std::string&) {
    return false;
}

} // namespace platform
