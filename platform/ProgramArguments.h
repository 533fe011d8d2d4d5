#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's arguments after its own name, as UTF-8 texts. On Windows they
// come from the wide command line, so that any name survives whatever the
// system's code page; elsewhere they are argv as given.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes a console that standard output and error may be attached to show
// the program's UTF-8 texts as they are (Windows; nothing to do elsewhere).
void UseUtf8Console();

} // namespace platform
