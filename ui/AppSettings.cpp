#include "ui/AppSettings.h"

#include "app/AppSettings.h"
#include "app/RecentFiles.h"
#include "ui/QtSettingsStore.h"

#include <QFileInfo>

std::unique_ptr<QSettings> OpenOldAppSettings() {
    return std::make_unique<QSettings>(kOldSettingsOrganization, kOldSettingsApplication);
}

std::unique_ptr<QSettings> OpenAppSettings() {
#ifdef Q_OS_WIN
    return OpenOldAppSettings();
#else
    auto open = [] {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           kSettingsFolder, kSettingsName);
    };
    auto settings = open();
    if (!QFileInfo::exists(settings->fileName())) {
        CQtSettingsStore old(OpenOldAppSettings);
        CQtSettingsStore fresh(open);
        if (CarryOverRecentFiles(old, fresh) > 0)
            settings->sync(); // re-read: the file exists from now on
    }
    return settings;
#endif
}
