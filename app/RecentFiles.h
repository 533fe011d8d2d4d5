#pragma once

#include <string>
#include <vector>

class ISettingsStore;

// The section of the settings that holds the list.
inline constexpr const char* kRecentFileSection = "Recent File List";

// The four most recently used project files, most recent first, kept in the
// settings' section "Recent File List", values File1 to File4. Paths are UTF-8
// and absolute; an equal entry moves up instead of appearing twice.
class RecentFiles {
public:
    static constexpr size_t kSize = 4;

    explicit RecentFiles(ISettingsStore& store) : m_store(store) {}

    // Reads the list from the settings.
    void Load();
    // Puts path at the top and writes the list.
    void Add(const std::string& path);
    // Drops path from the list and writes the list.
    void Remove(const std::string& path);

    const std::vector<std::string>& Files() const { return m_files; }
    // The name shown for a file: relative to folder when the file lies below
    // it, the full path otherwise.
    static std::string DisplayName(const std::string& path, const std::string& folder);

private:
    void Save();
    ISettingsStore& m_store;
    std::vector<std::string> m_files;
};

// Copies the recent-file list (File1 to File4) from the settings of the place
// older versions used into fresh settings. The front end calls it once, when
// its settings do not exist yet, so that a list emptied later is not carried
// over again. Returns how many entries were copied.
int CarryOverRecentFiles(ISettingsStore& old, ISettingsStore& fresh);
