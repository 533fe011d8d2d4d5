#include "ui/win32/dialogs/GeneralInfoPage.h"

#include "ui/win32/dialogs/DialogControls.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"

namespace dialogs {

void CGeneralInfoPage::Save() {
    m_form.title = ControlText(m_hwnd, IDC_PS_TITLE);
    m_form.version = ControlText(m_hwnd, IDC_PS_VERSION);
    m_form.webSite = ControlText(m_hwnd, IDC_PS_WEBSITE);
}

INT_PTR CGeneralInfoPage::Handle(UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG)
        return FALSE;
    SetControlText(m_hwnd, IDC_PS_TITLE, m_form.title);
    SetControlText(m_hwnd, IDC_PS_VERSION, m_form.version);
    SetControlText(m_hwnd, IDC_PS_WEBSITE, m_form.webSite);
    return TRUE;
}

} // namespace dialogs
