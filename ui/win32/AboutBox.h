#pragma once

#include <windows.h>

// Help > About: the program's icon, name, version and licence.
void ShowAboutBox(HINSTANCE instance, HWND owner);
