#pragma once

#include "app/SettingsStore.h"

#include <functional>
#include <memory>

class QSettings;

// The core's settings in QSettings: by default the program's own (see
// OpenAppSettings), opened for each call so that every call sees the file as
// it is; or the settings a given opener gives.
class CQtSettingsStore : public ISettingsStore {
public:
    using Opener = std::function<std::unique_ptr<QSettings>()>;

    CQtSettingsStore();
    explicit CQtSettingsStore(Opener open) : m_open(std::move(open)) {}

    std::optional<std::string> Read(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    void Remove(const std::string& section, const std::string& key) override;

private:
    Opener m_open;
};
