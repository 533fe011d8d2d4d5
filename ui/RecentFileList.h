#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

// The four most recently used project files, most recent first, kept in the
// per-user settings (see OpenAppSettings), section "Recent File List", values
// File1 to File4.
class CRecentFileList {
public:
    static constexpr int kSize = 4;

    CRecentFileList();

    // Reads the list from the settings.
    void Load();
    // Puts path at the top (an equal entry moves up) and writes the list.
    void Add(const QString& path);
    // Drops path from the list and writes the list.
    void Remove(const QString& path);

    const QStringList& Files() const { return m_files; }
    // The name shown for entry i: relative to the current directory when the
    // file lies below it, the full path otherwise.
    static QString DisplayName(const QString& path);

private:
    void Save() const;
    QStringList m_files;
};
