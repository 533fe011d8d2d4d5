#pragma once

#include <string>
#include <string_view>

// A derived file name that Windows keeps as written, made the same on every
// system so that a project builds the same names everywhere: trailing dots
// and blanks (which Windows drops) become "_", and a name whose part before
// the first dot is a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9 and
// COM/LPT with a superscript digit, any case, blanks before the dot
// included) gets "_" behind that part: "con.exe" gives "con_.exe". Other
// names come back unchanged.
std::string PortableFileName(std::string_view name);
