#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs velkora-cli with the words after the program name; returns the exit code.
// Every text reaches out and err through TerminalGuardStream. rawDataOut says
// that out is a file or pipe, so a command that writes data there (a CSV)
// writes its bytes unchanged.
int RunCli(const std::vector<std::string>& words, std::ostream& out, std::ostream& err,
           bool rawDataOut = true);
