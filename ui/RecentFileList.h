#pragma once

#include "app/RecentFiles.h"
#include "ui/QtSettingsStore.h"

#include <QString>
#include <QStringList>

// The core's recent-file list (app/RecentFiles.h) in the program's settings,
// with the toolkit's strings for the menus and the welcome dialog.
class CRecentFileList {
public:
    static constexpr int kSize = static_cast<int>(RecentFiles::kSize);

    CRecentFileList() = default;

    // Reads the list from the settings.
    void Load() { m_files.Load(); }
    // Puts path at the top (an equal entry moves up) and writes the list.
    void Add(const QString& path);
    // Drops path from the list and writes the list.
    void Remove(const QString& path);

    QStringList Files() const;
    RecentFiles& Core() { return m_files; }
    // The name shown for a file: relative to the current directory when the
    // file lies below it, the full path otherwise.
    static QString DisplayName(const QString& path);

private:
    CQtSettingsStore m_store;
    RecentFiles m_files{m_store};
};
