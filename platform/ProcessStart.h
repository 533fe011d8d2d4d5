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

// The part of a Windows command line after the program name and the blanks
// that follow it. The program name ends at the first blank unless it starts
// with a double quote, when it ends at the next double quote; backslashes do
// not escape anything there.
std::string ArgumentTail(const std::string& commandLine);

// Adds execute permission for the owner of the file at path.
bool MakeOwnerExecutable(const std::string& path);

} // namespace platform
