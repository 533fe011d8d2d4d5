#pragma once

#include <string>

// Opens a web address with the desktop's opener; when that cannot be started,
// with the desktop's web-browser command ("%1" replaced by the address, or the
// address appended). Returns an empty text on success, otherwise the reason
// to show after "Unable to open hyperlink:".
std::string OpenHyperlink(const std::string& address);
