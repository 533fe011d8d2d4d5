#pragma once

#include "app/AppPrompts.h"

#include <windows.h>

// The questions of the desktop program as Windows asks them: message boxes
// owned by the main window, the Open and Save dialogs with the choosers'
// file types, and the folder browser.
class CWin32AppPrompts : public IAppPrompts {
public:
    explicit CWin32AppPrompts(HWND owner) : m_owner(owner) {}

    void Message(const std::string& text, PromptIcon icon, const std::string& caption) override;
    bool Question(const std::string& text, PromptIcon icon, const std::string& caption) override;
    SaveAnswer AskSaveChanges(const std::string& text) override;
    std::string OpenFile(const FileChoice& request) override;
    std::string SaveFile(const FileChoice& request) override;
    std::string ChooseFolder(const FolderChoice& request) override;

private:
    int Box(const std::string& text, const std::string& caption, UINT type);

    HWND m_owner;
};
