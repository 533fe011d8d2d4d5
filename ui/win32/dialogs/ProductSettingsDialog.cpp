#include "ui/win32/dialogs/ProductSettingsDialog.h"

#include "app/AppTexts.h"
#include "platform/win32/WideText.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"

#include <commctrl.h>

namespace dialogs {

namespace {

struct PageLook {
    std::string_view tab;
    int templateId;
};
constexpr PageLook kPages[] = {{apptext::kGeneralInfoPage, IDD_PAGE_GENERAL_INFO},
                               {apptext::kSetupFilesPage, IDD_PAGE_SETUP_FILES},
                               {apptext::kRegistrationInfoPage, IDD_PAGE_REG_INFO}};
constexpr int kRegInfoPage = 2;

} // namespace

CProductSettingsDialog::CProductSettingsDialog(CAffProject& project)
    : m_project(project), m_form(ProductSettingsForm::Load(project)), m_general(m_form),
      m_setupFiles(project, m_form), m_regInfo(m_form.regRows) {}

bool CProductSettingsDialog::Run(HWND owner) {
    return CDialogBase::Run(owner, IDD_PRODUCT_SETTINGS) == IDOK;
}

INT_PTR CProductSettingsDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_SHEET_TABS && header->code == TCN_SELCHANGE)
            ShowPage(
                static_cast<int>(SendDlgItemMessageW(m_hwnd, IDC_SHEET_TABS, TCM_GETCURSEL, 0, 0)));
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            OnOk();
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(m_hwnd, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

void CProductSettingsDialog::OnInit() {
    const HWND tabs = GetDlgItem(m_hwnd, IDC_SHEET_TABS);
    int index = 0;
    for (const PageLook& page : kPages) {
        const std::wstring text = platform::win32::Widen(page.tab);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index++),
                     reinterpret_cast<LPARAM>(&item));
    }
    ShowPage(0);
}

void CProductSettingsDialog::ShowPage(int index) {
    if (index < 0 || index >= 3 || index == m_nShown)
        return;
    if (m_nShown >= 0)
        ShowWindow(m_pages[m_nShown], SW_HIDE);
    if (!m_pages[index]) {
        CDialogBase* pages[] = {&m_general, &m_setupFiles, &m_regInfo};
        m_pages[index] = pages[index]->CreateChild(m_hwnd, kPages[index].templateId);
        // The page fills the tabs' display area.
        const HWND tabs = GetDlgItem(m_hwnd, IDC_SHEET_TABS);
        RECT area{};
        GetWindowRect(tabs, &area);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&area), 2);
        SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        SetWindowPos(m_pages[index], HWND_TOP, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, 0);
        if (index == kRegInfoPage)
            m_form.regPageShown = true;
    }
    ShowWindow(m_pages[index], SW_SHOW);
    m_nShown = index;
}

void CProductSettingsDialog::OnOk() {
    if (m_pages[0])
        m_general.Save();
    if (m_pages[1])
        m_setupFiles.Save();
    m_form.Store(m_project);
    EndDialog(m_hwnd, IDOK);
}

} // namespace dialogs
