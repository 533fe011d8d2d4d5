#include "ui/win32/dialogs/SetupFilesPage.h"

#include "ui/win32/dialogs/DialogControls.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"
#include "ui/win32/dialogs/FileChoosers.h"

namespace dialogs {

void CSetupFilesPage::Save() {
    m_form.setupFile = ControlText(m_hwnd, IDC_PS_SETUP_FILE);
    m_form.outputDir = ControlText(m_hwnd, IDC_PS_OUTPUT_DIR);
    m_form.selfCreatorPath = ControlText(m_hwnd, IDC_PS_SELF_CREATOR);
}

INT_PTR CSetupFilesPage::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetControlText(m_hwnd, IDC_PS_SETUP_FILE, m_form.setupFile);
        SetControlText(m_hwnd, IDC_PS_OUTPUT_DIR, m_form.outputDir);
        SetControlText(m_hwnd, IDC_PS_SELF_CREATOR, m_form.selfCreatorPath);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnBrowse(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void CSetupFilesPage::OnBrowse(int button) {
    int field = 0;
    std::string chosen;
    switch (button) {
    case IDC_PS_BROWSE_SETUP:
        field = IDC_PS_SETUP_FILE;
        chosen = ChooseFileToOpen(m_hwnd, SettingsSetupFileChoice(ControlText(m_hwnd, field)));
        break;
    case IDC_PS_BROWSE_OUTPUT:
        field = IDC_PS_OUTPUT_DIR;
        chosen =
            ChooseFolder(m_hwnd, SettingsOutputFolderChoice(m_project, ControlText(m_hwnd, field)));
        break;
    case IDC_PS_BROWSE_CREATOR:
        field = IDC_PS_SELF_CREATOR;
        chosen = ChooseFileToSave(m_hwnd, SelfCreatorFileChoice(true));
        break;
    default:
        return;
    }
    if (!chosen.empty())
        SetControlText(m_hwnd, field, ProjectFieldPath(m_project, chosen));
}

} // namespace dialogs
