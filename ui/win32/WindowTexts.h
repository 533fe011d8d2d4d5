#pragma once

#include "app/AppTexts.h"

#include <string>

// The texts of velkora.exe's window that are composed at run time, from the
// desktop program's texts (app/AppTexts.h).
namespace windowtexts {

// "affiliate n of N" of a running build.
inline std::string BuildProgress(size_t index, size_t count) {
    return apptext::FormatText(apptext::kBuildProgress,
                               {std::to_string(index), std::to_string(count)});
}

// The About box's lines for version.
inline std::string AboutText(const std::string& version) {
    return std::string(apptext::kAppTitle) + " " +
           apptext::FormatText(apptext::kAboutVersion, {version}) + "\n" +
           std::string(apptext::kAboutDescription) + "\n" + std::string(apptext::kAboutCopyright) +
           "\n" + std::string(apptext::kAboutLicence);
}

// A recent file's menu entry: "&1 name".
inline std::string RecentFileEntry(size_t index, const std::string& name) {
    return apptext::FormatText(apptext::kRecentFileEntry, {std::to_string(index + 1), name});
}

} // namespace windowtexts
