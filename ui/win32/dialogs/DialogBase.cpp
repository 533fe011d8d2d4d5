#include "ui/win32/dialogs/DialogBase.h"

#include "ui/win32/dialogs/DialogControls.h"

namespace dialogs {

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
    }
    auto* self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

} // namespace dialogs
