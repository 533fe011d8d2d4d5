#pragma once

#include <windows.h>

namespace dialogs {

// A dialog from a template of the program's resources whose messages reach
// Handle of one object. Modal (Run) or a child of another dialog (CreateChild).
// A template with the context-help style (DS_CONTEXTHELP) answers help
// requests on its controls with their help texts (ContextHelpPopup.h).
class CDialogBase {
public:
    virtual ~CDialogBase() = default;
    CDialogBase() = default;
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // The code given to EndDialog, or -1 when the dialog could not be made.
    INT_PTR Run(HWND owner, int templateId);
    HWND CreateChild(HWND parent, int templateId);
    HWND Window() const { return m_hwnd; }

protected:
    virtual INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND m_hwnd = nullptr;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace dialogs
