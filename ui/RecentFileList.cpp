#include "ui/RecentFileList.h"

#include "ui/ProjectText.h"

#include <QDir>

void CRecentFileList::Add(const QString& path) {
    m_files.Add(ToProjectText(path));
}

void CRecentFileList::Remove(const QString& path) {
    m_files.Remove(ToProjectText(path));
}

QStringList CRecentFileList::Files() const {
    QStringList files;
    for (const std::string& file : m_files.Files())
        files << FromProjectText(file);
    return files;
}

QString CRecentFileList::DisplayName(const QString& path) {
    return QDir::toNativeSeparators(FromProjectText(
        RecentFiles::DisplayName(ToProjectText(path), ToProjectText(QDir::currentPath()))));
}
