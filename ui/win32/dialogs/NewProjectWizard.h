#pragma once

#include "app/DocumentDialogs.h"
#include "app/WizardPages.h"

#include <windows.h>

namespace dialogs {

// The New Project wizard: a wizard-style property sheet of five pages that
// gathers the answers; Next is enabled by the core's rule of each page.
class CNewProjectWizard {
public:
    // True when the wizard ended with Finish; answers then hold what was typed.
    bool Run(HWND owner, NewProjectAnswers& answers);

private:
    struct Page {
        CNewProjectWizard* wizard;
        WizardPage page;
        HWND hwnd;
    };

    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(Page& page, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitPage(const Page& page);
    void OnCommand(const Page& page, int id, int code);
    void ReadPage(const Page& page);
    void UpdateButtons(const Page& page) const;
    void OnBrowse(const Page& page, int button);

    NewProjectAnswers m_answers;
    bool m_bFinished = false;
    bool m_bFilling = false;
};

} // namespace dialogs
