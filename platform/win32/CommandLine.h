#pragma once

#include <string>
#include <vector>
#include <windows.h>

namespace platform::win32 {

// One argument quoted so that the C runtime of the started program splits it
// back into the same text: blanks and quotes are enclosed, backslashes before
// a quote doubled.
std::string QuoteArgument(const std::string& arg);

// Starts program with args (re-quoted) without a console window of its own.
// A program name without a folder is searched as the system searches it.
bool CreateProgramProcess(const std::string& program, const std::vector<std::string>& args,
                          PROCESS_INFORMATION& started);

} // namespace platform::win32
