#include "ui/win32/dialogs/AffiliateDialog.h"

#include "app/AffiliateServiceChange.h"
#include "app/AppTexts.h"
#include "model/AffProject.h"
#include "ui/win32/dialogs/DialogControls.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"
#include "ui/win32/dialogs/FileChoosers.h"
#include "ui/win32/dialogs/ProductIdDialog.h"

namespace dialogs {

CAffiliateDialog::CAffiliateDialog(CAffProject& project, const CReseller* edited)
    : m_project(project), m_pEdited(edited) {
    m_fields = edited ? CAffiliateEditor::Load(*edited) : AffiliateFields{};
    if (!edited)
        m_fields.service = project.m_wDefaultService;
}

bool CAffiliateDialog::Run(HWND owner) {
    return CDialogBase::Run(owner, IDD_AFFILIATE) == IDOK;
}

INT_PTR CAffiliateDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void CAffiliateDialog::OnInit() {
    ++m_nLoading;
    FillServiceCombo(m_hwnd, IDC_AFF_SERVICE, m_fields.service);
    ShowFields();
    --m_nLoading;
    EnableWindow(GetDlgItem(m_hwnd, IDOK), FALSE);
}

void CAffiliateDialog::ShowFields() {
    SetControlText(m_hwnd, IDC_AFF_NAME, m_fields.name);
    SetControlText(m_hwnd, IDC_AFF_ID, m_fields.affiliateId);
    SetControlText(m_hwnd, IDC_AFF_LINK, m_fields.purchaseLink);
    SetControlText(m_hwnd, IDC_AFF_WEBSITE, m_fields.webSite);
    SetControlText(m_hwnd, IDC_AFF_EMAIL, m_fields.email);
    SetControlText(m_hwnd, IDC_AFF_SETUP_PATH, m_fields.setupPath);
}

void CAffiliateDialog::ReadFields() {
    m_fields.name = ControlText(m_hwnd, IDC_AFF_NAME);
    m_fields.service = ComboSelection(m_hwnd, IDC_AFF_SERVICE);
    m_fields.affiliateId = ControlText(m_hwnd, IDC_AFF_ID);
    m_fields.purchaseLink = ControlText(m_hwnd, IDC_AFF_LINK);
    m_fields.webSite = ControlText(m_hwnd, IDC_AFF_WEBSITE);
    m_fields.email = ControlText(m_hwnd, IDC_AFF_EMAIL);
    m_fields.setupPath = ControlText(m_hwnd, IDC_AFF_SETUP_PATH);
}

void CAffiliateDialog::OnCommand(int id, int code) {
    const bool edited = code == EN_CHANGE || (id == IDC_AFF_SERVICE && code == CBN_SELCHANGE);
    if (edited && m_nLoading == 0) {
        // Every change enables OK; the rules below read all controls first.
        EnableWindow(GetDlgItem(m_hwnd, IDOK), TRUE);
        ReadFields();
        if (id == IDC_AFF_NAME)
            OnNameChanged();
        else if (id == IDC_AFF_ID)
            OnAffiliateIdChanged();
        else if (id == IDC_AFF_SERVICE)
            OnServiceChanged();
        return;
    }
    switch (id) {
    case IDC_AFF_BROWSE:
        OnBrowse();
        break;
    case IDOK:
        OnOk();
        break;
    case IDCANCEL:
        EndDialog(m_hwnd, IDCANCEL);
        break;
    }
}

void CAffiliateDialog::OnNameChanged() {
    const CAffiliateEditor editor(m_project, m_pEdited);
    m_fields.setupPath = editor.DeriveSetupPath(m_fields.setupPath, m_fields.name);
    SetControlText(m_hwnd, IDC_AFF_SETUP_PATH, m_fields.setupPath);
}

void CAffiliateDialog::OnAffiliateIdChanged() {
    if (CAffiliateEditor(m_project, m_pEdited).ComposeLink(m_fields, ComposeMode::Keep))
        ShowTextFromStart(m_hwnd, IDC_AFF_LINK, m_fields.purchaseLink);
}

void CAffiliateDialog::OnServiceChanged() {
    ServiceChangeQuestions ask;
    ask.confirm = [this](const std::string& question) { return AskYesNo(m_hwnd, question); };
    ask.askProductId = [this](CProductIdForm& form) {
        CProductIdDialog dialog(form);
        return dialog.Run(m_hwnd);
    };
    const ServiceChange change = ChangeAffiliateService(m_project, m_pEdited, m_fields, ask);
    if (change.linkChanged)
        ShowTextFromStart(m_hwnd, IDC_AFF_LINK, m_fields.purchaseLink);
}

void CAffiliateDialog::OnBrowse() {
    FileChoice choice;
    choice.initialPath = m_project.ResolveProjectPath(ControlText(m_hwnd, IDC_AFF_SETUP_PATH));
    choice.filters = ParseFilterChoices(std::string(apptext::kAffiliateSetupFilter));
    choice.defaultSuffix = "exe";
    choice.confirmOverwrite = true;
    const std::string picked = ChooseFileToSave(m_hwnd, choice);
    if (picked.empty())
        return;
    const PickedPath checked = CAffiliateEditor(m_project, m_pEdited).CheckPickedPath(picked);
    if (checked.fault == PickedPathFault::ProductSetupFile) {
        ShowMessage(m_hwnd,
                    apptext::FormatText(apptext::NumberedString(apptext::IDS_IS_PRODUCT_SETUP_FILE),
                                        {picked}));
        return;
    }
    if (checked.fault == PickedPathFault::UsedByOtherAffiliate) {
        ShowMessage(m_hwnd, apptext::FormatText(apptext::NumberedString(apptext::IDS_FILE_IN_USE),
                                                {checked.stored}));
        return;
    }
    SetControlText(m_hwnd, IDC_AFF_SETUP_PATH, checked.stored);
    EnableWindow(GetDlgItem(m_hwnd, IDOK), TRUE);
}

void CAffiliateDialog::OnOk() {
    ReadFields();
    const std::string message = CAffiliateEditor(m_project, m_pEdited).Check(m_fields);
    if (!message.empty()) {
        ShowMessage(m_hwnd, message);
        return;
    }
    EndDialog(m_hwnd, IDOK);
}

} // namespace dialogs
