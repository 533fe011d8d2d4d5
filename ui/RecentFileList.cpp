#include "ui/RecentFileList.h"

#include "ui/AppSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char* const kSection = "Recent File List";

QString Normalized(const QString& path) {
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

} // namespace

CRecentFileList::CRecentFileList() = default;

void CRecentFileList::Load() {
    m_files.clear();
    const auto settings = OpenAppSettings();
    settings->beginGroup(kSection);
    for (int i = 1; i <= kSize; ++i) {
        const QString file = settings->value(QString("File%1").arg(i)).toString();
        if (!file.isEmpty() && !m_files.contains(file))
            m_files << file;
    }
}

void CRecentFileList::Add(const QString& path) {
    const QString file = Normalized(path);
    if (file.isEmpty())
        return;
    m_files.removeAll(file);
    m_files.prepend(file);
    while (m_files.size() > kSize)
        m_files.removeLast();
    Save();
}

void CRecentFileList::Remove(const QString& path) {
    if (m_files.removeAll(path) + m_files.removeAll(Normalized(path)) > 0)
        Save();
}

void CRecentFileList::Save() const {
    const auto settings = OpenAppSettings();
    settings->beginGroup(kSection);
    for (int i = 1; i <= kSize; ++i) {
        const QString key = QString("File%1").arg(i);
        if (i <= m_files.size())
            settings->setValue(key, m_files[i - 1]);
        else
            settings->remove(key);
    }
}

QString CRecentFileList::DisplayName(const QString& path) {
    const QString relative = QDir::current().relativeFilePath(path);
    return relative.startsWith("..") || QDir::isAbsolutePath(relative)
               ? QDir::toNativeSeparators(path)
               : relative;
}
