#pragma once

#include <QSettings>

#include <memory>

// The per-user settings of velkora. On Windows they stay under the registry key
// "Local AppWizard-Generated Applications" / "Velkora". Elsewhere they live in
// the program's own folder, ~/.config/velkora/velkora.conf ($XDG_CONFIG_HOME),
// and the recent-file list is carried over once from the old place
// ("~/.config/Local AppWizard-Generated Applications/Velkora.conf") while the
// new file does not exist yet. Key and value names are the same in both.
std::unique_ptr<QSettings> OpenAppSettings();

// The settings at the place used before velkora had its own folder.
std::unique_ptr<QSettings> OpenOldAppSettings();
