#pragma once

#include "app/WelcomeChoice.h"

#include <string>
#include <vector>
#include <windows.h>

// The Welcome dialog at start-up: create a new project, or open one of the
// recent files (shown relative to folder) or another one ("More files ...").
WelcomeAnswer RunWelcomeDialog(HINSTANCE instance, HWND owner,
                               const std::vector<std::string>& recentFiles,
                               const std::string& folder);
