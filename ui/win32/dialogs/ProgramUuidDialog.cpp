#include "ui/win32/dialogs/ProgramUuidDialog.h"

#include "app/AppTexts.h"
#include "platform/win32/WideText.h"
#include "ui/win32/dialogs/DialogControls.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"

#include <cstring>

namespace dialogs {

namespace {

bool PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool placed = false;
    if (memory) {
        if (void* at = GlobalLock(memory)) {
            std::memcpy(at, text.c_str(), bytes);
            GlobalUnlock(memory);
            placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!placed)
            GlobalFree(memory); // the clipboard owns it only once placed
    }
    CloseClipboard();
    return placed;
}

} // namespace

bool CProgramUuidDialog::Run(HWND owner) {
    return CDialogBase::Run(owner, IDD_PROGRAM_UUID) == IDOK;
}

INT_PTR CProgramUuidDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetControlText(m_hwnd, IDC_UUID_EDIT, m_strText);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_UUID_COPY:
            OnCopy();
            return TRUE;
        case IDOK:
            m_strText = ControlText(m_hwnd, IDC_UUID_EDIT);
            EndDialog(m_hwnd, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(m_hwnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void CProgramUuidDialog::OnCopy() {
    SendDlgItemMessageW(m_hwnd, IDC_UUID_EDIT, EM_SETSEL, 0, -1);
    const std::string text = ControlText(m_hwnd, IDC_UUID_EDIT);
    if (PutOnClipboard(m_hwnd, platform::win32::Widen(text)))
        ShowMessage(m_hwnd, std::string(apptext::kUuidCopied), PromptIcon::Information);
}

} // namespace dialogs
