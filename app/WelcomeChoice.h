#pragma once

#include <string>
#include <vector>

// The start-up question: create a new project, or open another one ("More
// files ...", the list's first row) or one of the recent files (the rows
// below it).
enum class WelcomeChoice { Nothing, NewProject, OpenRecent, MoreFiles };

struct WelcomeAnswer {
    WelcomeChoice choice = WelcomeChoice::Nothing;
    std::string file; // OpenRecent: the chosen recent file
};

// OK is enabled for the create choice, and for the open choice once a row is
// selected (selectedRow -1: none).
bool WelcomeOkEnabled(bool create, int selectedRow);

// What OK answers: Nothing when the open choice has no row that names a file,
// and then OK does nothing.
WelcomeAnswer WelcomeAnswerFor(bool create, int selectedRow,
                               const std::vector<std::string>& recentFiles);
