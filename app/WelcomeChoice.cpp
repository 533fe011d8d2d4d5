#include "app/WelcomeChoice.h"

bool WelcomeOkEnabled(bool create, int selectedRow) {
    return create || selectedRow >= 0;
}

WelcomeAnswer WelcomeAnswerFor(bool create, int selectedRow,
                               const std::vector<std::string>& recentFiles) {
    if (create)
        return {WelcomeChoice::NewProject, {}};
    if (selectedRow == 0)
        return {WelcomeChoice::MoreFiles, {}};
    if (selectedRow < 0 || static_cast<size_t>(selectedRow) > recentFiles.size())
        return {};
    return {WelcomeChoice::OpenRecent, recentFiles[static_cast<size_t>(selectedRow) - 1]};
}
