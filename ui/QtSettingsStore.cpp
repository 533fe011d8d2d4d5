#include "ui/QtSettingsStore.h"

#include "ui/AppSettings.h"
#include "ui/ProjectText.h"

#include <QSettings>

CQtSettingsStore::CQtSettingsStore() : m_open(OpenAppSettings) {}

std::optional<std::string> CQtSettingsStore::Read(const std::string& section,
                                                  const std::string& key) {
    const auto settings = m_open();
    settings->beginGroup(FromProjectText(section));
    const QString name = FromProjectText(key);
    if (!settings->contains(name))
        return std::nullopt;
    return ToProjectText(settings->value(name).toString());
}

void CQtSettingsStore::Write(const std::string& section, const std::string& key,
                             const std::string& value) {
    const auto settings = m_open();
    settings->beginGroup(FromProjectText(section));
    settings->setValue(FromProjectText(key), FromProjectText(value));
}

void CQtSettingsStore::Remove(const std::string& section, const std::string& key) {
    const auto settings = m_open();
    settings->beginGroup(FromProjectText(section));
    settings->remove(FromProjectText(key));
}
