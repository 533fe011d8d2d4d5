#pragma once

#include <string>

// The texts velkora.exe shows that its resource script does not hold (menus,
// keys, prompts and dialog controls live in velkora.rc).
namespace windowtexts {

inline constexpr const char* kAppTitle = "Velkora";
inline constexpr const char* kDeleteQuestion = "Do you want to delete all the selected affiliates?";
inline constexpr const char* kDeleteCaption = "Warning!";
inline constexpr const char* kMoreFiles = "More files ...";
inline constexpr const char* kAboutText = "Velkora Version %1\n"
                                          "Custom setup files for the affiliates of your product.\n"
                                          "Copyright (C) The Velkora developers\n"
                                          "Released under the MIT licence.";
inline constexpr const char* kDialogNotBuilt = "This dialog is not available in this version of "
                                               "Velkora for Windows yet.";

// "affiliate n of N" of a running build.
inline std::string BuildProgress(size_t index, size_t count) {
    return "affiliate " + std::to_string(index) + " of " + std::to_string(count);
}

// The About box's text for version.
inline std::string AboutText(const std::string& version) {
    std::string text = kAboutText;
    text.replace(text.find("%1"), 2, version);
    return text;
}

} // namespace windowtexts
