#pragma once

// Where velkora keeps its per-user settings and what it keeps there. Only the
// recent-file list is kept (RecentFiles); everything else lives in the
// project file, and the main window starts maximised every time.
// The old place is read once, by CarryOverRecentFiles (app/RecentFiles.h).

// The settings' own place: folder and name ("velkora/velkora" becomes
// ~/.config/velkora/velkora.conf where settings are files).
inline constexpr const char* kSettingsFolder = "velkora";
inline constexpr const char* kSettingsName = "velkora";

// The place older versions used, kept on systems with a registry: the key
// "Local AppWizard-Generated Applications" / "Velkora".
inline constexpr const char* kOldSettingsOrganization = "Local AppWizard-Generated Applications";
inline constexpr const char* kOldSettingsApplication = "Velkora";
