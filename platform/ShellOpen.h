#pragma once

#include <optional>
#include <string>
#include <vector>

// Handing files, folders and web addresses to the desktop. No zombie process
// is ever left behind. Programs started from a command line are detached: the
// caller never waits for them. The desktop's opener is waited for only as
// long as it takes to learn whether it accepted the target (a few seconds at
// most), so that a failure is reported as one on every system.
namespace platform {

// Asks the desktop's opener to open target (a URL, a "mailto:" address or a
// file). True when the opener accepted it; false when there is no opener or
// it reported a failure (no program for that kind of target, say). An opener
// still busy after the short wait is taken to have accepted the target.
bool ShellOpen(const std::string& target);

// Opens folder in the desktop's file manager, reported as ShellOpen does. Its
// existence is not checked here.
bool ShellExplore(const std::string& folder);

// Starts a command line: words separated by blanks, double quotes group a word
// (the quotes are removed, backslashes are kept as they are). True when the
// program was found and started.
bool StartCommandLine(const std::string& commandLine);

// Starts program with arguments, without a shell. True when it was started.
bool StartProgram(const std::vector<std::string>& argv);

// The desktop's command line for web pages, with "%1" where the page goes
// (the desktop entry of the default handler of http links, its field codes
// turned into "%1"); then $BROWSER. Nothing when neither is configured.
std::optional<std::string> WebBrowserCommand();

// Splits a command line as StartCommandLine does.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// The Exec value of a desktop entry with its file field codes (%u %U %f %F)
// turned into "%1", the others dropped and "%%" turned into "%".
std::string ExecLineToCommand(const std::string& exec);

} // namespace platform
