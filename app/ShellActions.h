#pragma once

#include <functional>
#include <optional>
#include <string>

class CAffProject;
class CReseller;

// The desktop operations OpenDocumentLink relies on; tests replace them.
struct ShellOperations {
    std::function<bool(const std::string&)> open;
    std::function<std::optional<std::string>()> browserCommand;
    std::function<bool(const std::string&)> startCommandLine;
    std::function<bool(const std::string&)> explore;

    // The real desktop (platform/ShellOpen.h).
    static ShellOperations Desktop();
};

// How OpenDocumentLink ended. The list's commands show nothing whatever the
// outcome; Help > Index & Content says when the guide could not be opened.
enum class LinkResult { Opened, OpenedByBrowser, NoBrowser, BrowserFailed };

// Opens a URL, "mailto:" address or file with the desktop's opener; when the
// opener cannot be started, starts the web browser command with target.
LinkResult OpenDocumentLink(const std::string& target,
                            const ShellOperations& ops = ShellOperations::Desktop());

// The browser command cut at its first "\"%1\"" (else its first "%1") and the
// blanks before it, then one blank and target. A command without a
// placeholder keeps its whole text.
std::string BrowserCommandLine(const std::string& browserCommand, const std::string& target);

// "mailto:" followed by the address as it is (no encoding).
std::string MailtoTarget(const std::string& email);

// The folder of the affiliate's setup file: its path resolved against the
// project's folder, cut at its last separator.
std::string OutputFolderOf(const CAffProject& project, const CReseller& affiliate);

// The user guide: "VelkHelp.html" beside the program (a build tree, a
// portable copy), else where an installation puts shared data
// (<prefix>/share/velkora next to <prefix>/bin); the first when neither exists.
std::string HelpFilePath(const std::string& programFolder);

// Help > Index & Content: opens the guide at helpPath. Returns the message to
// show when the guide is missing or the desktop could not open it; empty when
// it was opened.
std::string OpenHelpIndex(const std::string& helpPath, const ShellOperations& ops);
