#include "ui/AppSettings.h"

#include <QFileInfo>

namespace {

const char* const kOldOrganization = "Local AppWizard-Generated Applications";
const char* const kOldApplication = "Velkora";
const char* const kCarriedGroup = "Recent File List";

void CarryOverRecentFiles(QSettings& settings) {
    const auto old = OpenOldAppSettings();
    old->beginGroup(kCarriedGroup);
    const QStringList keys = old->childKeys();
    if (keys.isEmpty())
        return;
    settings.beginGroup(kCarriedGroup);
    for (const QString& key : keys)
        settings.setValue(key, old->value(key));
    settings.endGroup();
    settings.sync(); // the file exists from now on: carried over once
}

} // namespace

std::unique_ptr<QSettings> OpenOldAppSettings() {
    return std::make_unique<QSettings>(kOldOrganization, kOldApplication);
}

std::unique_ptr<QSettings> OpenAppSettings() {
#ifdef Q_OS_WIN
    return OpenOldAppSettings();
#else
    auto settings =
        std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                    QStringLiteral("velkora"), QStringLiteral("velkora"));
    if (!QFileInfo::exists(settings->fileName()))
        CarryOverRecentFiles(*settings);
    return settings;
#endif
}
