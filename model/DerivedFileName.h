#pragma once

#include "model/ProgramStart.h"

#include <string>
#include <string_view>

// The one rule for file names that are made from texts typed for something
// else (an affiliate's name): such a text must never steer the file out of
// the folder it is meant for, nor put bytes into a file name that tools and
// terminals take as commands. Path separators ('/' and '\'), every ".."
// (both dots), control bytes (below 0x20 and 0x7F) and NUL become '_'.
// The result is one plain file name: joined to a folder it stays inside it.
std::string SafeFileNamePart(std::string_view text);

// The one rule for the names of custom setups: "<setup title>_<name><ext>"
// of the product's setup file, after the rule above: "setup.exe" and "Bob"
// give "setup_Bob.exe", "setup.sh" and "x/../y" give "setup_x____y.sh". The
// name says what the file is: a setup carried by a Windows launcher (setupStart
// of a Windows program or an installer database) makes a Windows program, so
// <ext> is ".exe" whatever the setup's own ("Tidy.msi" gives "Tidy_Bob.exe");
// the Linux launcher keeps the setup's extension.
std::string DerivedSetupFileName(const std::string& productSetupFile, const std::string& name,
                                 ProgramStart setupStart);

// The default file name of a self creator: "VelkSMNG.exe" for a Windows
// program, "VelkSMNG" for a Linux one.
std::string SelfCreatorFileName(bool windowsProgram);
