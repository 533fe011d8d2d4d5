#pragma once

#include <string>
#include <vector>

// Starting programs. A program name without a slash is looked up in PATH.
namespace platform {

// Replaces the running process with program, given args as its arguments
// (program itself becomes the first word of its argument list). The terminal,
// the process id and hence the exit status seen by the parent carry over.
// Returns only on failure.
bool ReplaceProcess(const std::string& program, const std::vector<std::string>& args);

// Starts program with args and returns without waiting for it. The started
// program is not a child of the caller, so no zombie is ever left behind.
// True when the program was found and started.
bool StartDetached(const std::string& program, const std::vector<std::string>& args);

// Hands target (a file or an address) to the desktop's default opener
// without waiting. True when the opener was started.
bool OpenWithDesktop(const std::string& target);

// Starts the setup program at path with the running program's own arguments
// passed on unchanged, waits for it to end and returns its exit status; -1
// when it could not be started. ownArgs are the program's arguments after its
// name, as main received them. Where a program receives one command line
// rather than a list (Windows), the setup is started with the shell's "open"
// action and handed the raw rest of the launcher's own command line, never a
// re-quoted ownArgs, so quoting reaches it exactly as typed; installer
// databases and setups that ask for elevation start that way too.
int RunAndWait(const std::string& path, const std::vector<std::string>& ownArgs);

// The part of a Windows command line after the program name and the blanks
// that follow it. The program name ends at the first blank unless it starts
// with a double quote, when it ends at the next double quote; backslashes do
// not escape anything there.
std::string ArgumentTail(const std::string& commandLine);

// Adds execute permission for the owner of the file at path.
bool MakeOwnerExecutable(const std::string& path);

} // namespace platform
