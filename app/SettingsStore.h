#pragma once

#include <optional>
#include <string>

// The per-user settings as sections of named text values. Each front end keeps
// them where its platform keeps a program's settings; the core only names
// sections and keys.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual std::optional<std::string> Read(const std::string& section, const std::string& key) = 0;
    virtual void Write(const std::string& section, const std::string& key,
                       const std::string& value) = 0;
    virtual void Remove(const std::string& section, const std::string& key) = 0;
};
