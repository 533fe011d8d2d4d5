#include "ui/win32/dialogs/DialogBase.h"

#include "ui/win32/dialogs/ContextHelpPopup.h"
#include "ui/win32/dialogs/DialogControls.h"

namespace dialogs {

namespace {

bool AnswersContextHelp(HWND dialog) {
    return (GetWindowLongPtrW(dialog, GWL_STYLE) & DS_CONTEXTHELP) != 0;
}

// The dialog manager of some systems leaves the caption without its "?" even
// when the template asks for it.
void ShowContextHelpButton(HWND dialog) {
    const LONG_PTR extended = GetWindowLongPtrW(dialog, GWL_EXSTYLE);
    if (!AnswersContextHelp(dialog) || (extended & WS_EX_CONTEXTHELP))
        return;
    SetWindowLongPtrW(dialog, GWL_EXSTYLE, extended | WS_EX_CONTEXTHELP);
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

INT_PTR CDialogBase::Run(HWND owner, int templateId) {
    return DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), owner, Proc,
                           reinterpret_cast<LPARAM>(this));
}

HWND CDialogBase::CreateChild(HWND parent, int templateId) {
    return CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), parent, Proc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialogBase::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<CDialogBase*>(lParam)->m_hwnd = hwnd;
        ShowContextHelpButton(hwnd);
    }
    // A template with the caption's "?" (DS_CONTEXTHELP) answers help requests on
    // its controls; the others pass them on to their parent or owner.
    if (message == WM_HELP && AnswersContextHelp(hwnd)) {
        AnswerContextHelp(hwnd, *reinterpret_cast<const HELPINFO*>(lParam));
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    auto* self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

} // namespace dialogs
