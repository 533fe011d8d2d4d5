#pragma once

#include "app/SettingsStore.h"
#include "platform/UserSettings.h"

#include <utility>

// The settings where the system keeps a program's per-user settings
// (platform/UserSettings.h): on Windows the registry key
// Software\Velkora\velkora of the current user.
class UserSettingsStore : public ISettingsStore {
public:
    explicit UserSettingsStore(platform::SettingsPlace place = {"Velkora", "velkora"})
        : m_place(std::move(place)) {}

    std::optional<std::string> Read(const std::string& section, const std::string& key) override {
        return platform::ReadUserSetting(m_place, section, key);
    }
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override {
        platform::WriteUserSetting(m_place, section, key, value);
    }
    void Remove(const std::string& section, const std::string& key) override {
        platform::RemoveUserSetting(m_place, section, key);
    }

private:
    platform::SettingsPlace m_place;
};
