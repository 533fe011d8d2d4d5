#pragma once

#include <optional>
#include <string>
#include <vector>

// Handing files, folders and web addresses to the desktop. Every start is
// detached: the caller never waits for the started program, and no zombie
// process is left behind.
namespace platform {

// Asks the desktop's opener to open target (a URL, a "mailto:" address or a
// file). True when the opener was started; what it then does is not known.
bool ShellOpen(const std::string& target);

// Opens folder in the desktop's file manager. Its existence is not checked.
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
