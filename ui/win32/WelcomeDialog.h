#pragma once

#include <string>
#include <vector>
#include <windows.h>

// What the Welcome dialog was answered with.
enum class WelcomeChoice { Nothing, NewProject, OpenRecent, MoreFiles };

struct WelcomeResult {
    WelcomeChoice choice = WelcomeChoice::Nothing;
    std::string file; // OpenRecent: the chosen recent file
};

// The Welcome dialog at start-up: create a new project, or open one of the
// recent files (shown relative to folder) or another one ("More files ...").
WelcomeResult RunWelcomeDialog(HINSTANCE instance, HWND owner,
                               const std::vector<std::string>& recentFiles,
                               const std::string& folder);
