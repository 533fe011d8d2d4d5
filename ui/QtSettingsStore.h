#pragma once

#include "app/SettingsStore.h"

// The core's settings in the program's QSettings (see OpenAppSettings).
class CQtSettingsStore : public ISettingsStore {
public:
    std::optional<std::string> Read(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    void Remove(const std::string& section, const std::string& key) override;
};
