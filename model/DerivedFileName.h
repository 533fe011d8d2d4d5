#pragma once

#include <string>
#include <string_view>

// The one rule for file names that are made from texts typed for something
// else (an affiliate's name): such a text must never steer the file out of
// the folder it is meant for, nor put bytes into a file name that tools and
// terminals take as commands. Path separators ('/' and '\'), every ".."
// (both dots), control bytes (below 0x20 and 0x7F) and NUL become '_'.
// The result is one plain file name: joined to a folder it stays inside it.
std::string SafeFileNamePart(std::string_view text);

// "<setup title>_<name><ext>" of the product's setup file, after the rule
// above: "setup.exe" and "Bob" give "setup_Bob.exe", "setup.sh" and
// "x/../y" give "setup_x____y.sh".
std::string DerivedSetupFileName(const std::string& productSetupFile, const std::string& name);
