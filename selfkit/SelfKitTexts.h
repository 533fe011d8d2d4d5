#pragma once

// Texts the self creator shows, byte for byte.
namespace selfkit_text {

inline constexpr const char* kCaption = "Create Your Custom Build Now!";
inline constexpr const char* kServiceLabel = "Registration Service:  ";
inline constexpr const char* kAffiliateLabel = "Affiliate ID:  ";
inline constexpr const char* kHomepageLabel = "Homepage:  ";
inline constexpr const char* kPathLabel = "Custom Build Pathname:  ";
inline constexpr const char* kBrowse = "...";
inline constexpr const char* kBuild = "Build";
inline constexpr const char* kCancel = "Cancel";

inline constexpr const char* kProgressCaption = "Building";
inline constexpr const char* kProgressInitial = " 0 %";

inline constexpr const char* kAboutMenuItem = "&About selfkit...";
inline constexpr const char* kAboutCaption = "About selfkit";
inline constexpr const char* kAboutText = "Velkora Self Maker \nVersion 1.0";
inline constexpr const char* kVendorAddress = "https://www.velkora.example/";
inline constexpr const char* kHyperlinkFailed = "Unable to open hyperlink:\n\n";

inline constexpr const char* kSaveFilter = "Executable Files (*.exe)";
inline constexpr const char* kPresetFileName = "setup.exe";

inline constexpr const char* kCorrupted = "File corrupted, please download it again!";
inline constexpr const char* kInternalError = "Internal Error!";
inline constexpr const char* kInfoAddFailed = "Internal Error! Can't write affiliate information!";
inline constexpr const char* kSetupAddFailed =
    "Internal Error! Please close the program and retry! ";
inline constexpr const char* kBuildFailed = "Error! Can't build affiliate setup file [%s].";
inline constexpr const char* kSuccess = "Custom setup file has been created successfully!";
inline constexpr const char* kRunNow = "Do you want to run the setup file now?";

// Refusals of requests the build cannot carry out soundly.
inline constexpr const char* kNoService =
    "This build offers no registration service, so no purchase link can be made.";
inline constexpr const char* kOutputIsWorkFile =
    "The Custom Build Pathname names a file this program reads while building:\n%s\n\n"
    "Please choose another pathname.";
inline constexpr const char* kStartFailed = "The setup file could not be started.";
inline constexpr const char* kFieldTooLong =
    "The Affiliate ID or the Homepage is too long: the purchase link and the homepage may "
    "hold at most 3999 characters each.";

} // namespace selfkit_text
