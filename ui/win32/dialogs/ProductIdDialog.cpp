#include "ui/win32/dialogs/ProductIdDialog.h"

#include "ui/win32/dialogs/DialogControls.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"

namespace dialogs {

bool CProductIdDialog::Run(HWND owner) {
    return CDialogBase::Run(owner, IDD_PRODUCT_ID) == IDOK;
}

INT_PTR CProductIdDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        m_bFilling = true;
        FillCombo(m_hwnd, IDC_PID_SERVICE, m_form.Names(), m_form.Selected());
        SetControlText(m_hwnd, IDC_PID_ID, m_form.ProductId());
        SetControlText(m_hwnd, IDC_PID_LINK, m_form.PurchaseLink());
        m_bFilling = false;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PID_ID:
            if (HIWORD(wParam) == EN_CHANGE && !m_bFilling)
                OnProductIdChanged();
            return TRUE;
        case IDC_PID_SERVICE:
            if (HIWORD(wParam) == CBN_SELCHANGE)
                OnServiceChanged();
            return TRUE;
        case IDOK:
            OnOk();
            return TRUE;
        case IDCANCEL:
            EndDialog(m_hwnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void CProductIdDialog::OnProductIdChanged() {
    m_form.SetPurchaseLink(ControlText(m_hwnd, IDC_PID_LINK));
    if (m_form.SetProductId(ControlText(m_hwnd, IDC_PID_ID)))
        ShowTextFromStart(m_hwnd, IDC_PID_LINK, m_form.PurchaseLink());
}

void CProductIdDialog::OnServiceChanged() {
    m_form.SetPurchaseLink(ControlText(m_hwnd, IDC_PID_LINK));
    if (m_form.SelectService(ComboSelection(m_hwnd, IDC_PID_SERVICE)))
        ShowTextFromStart(m_hwnd, IDC_PID_LINK, m_form.PurchaseLink());
}

void CProductIdDialog::OnOk() {
    // The person may have typed the link last: the form takes every field as shown.
    m_form.SelectService(ComboSelection(m_hwnd, IDC_PID_SERVICE));
    m_form.SetProductId(ControlText(m_hwnd, IDC_PID_ID));
    m_form.SetPurchaseLink(ControlText(m_hwnd, IDC_PID_LINK));
    const std::string message = m_form.Check();
    if (!message.empty()) {
        ShowMessage(m_hwnd, message);
        return;
    }
    EndDialog(m_hwnd, IDOK);
}

} // namespace dialogs
