#pragma once

#include <functional>
#include <windows.h>

// The About box: the program's icon, "Velkora Self Maker", its version, an
// OK button and the vendor's web address as a link. Clicking the link calls
// followLink with the box's window, which then owns any message shown.
void ShowAboutDialog(HINSTANCE instance, HWND owner,
                     const std::function<void(HWND box)>& followLink);
