#include "ui/win32/dialogs/NewProjectWizard.h"

#include "app/AppTexts.h"
#include "app/ProductSettingsForm.h"
#include "model/RegistrationServices.h"
#include "platform/win32/WideText.h"
#include "ui/win32/dialogs/DialogControls.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"
#include "ui/win32/dialogs/FileChoosers.h"

#include <commctrl.h>
#include <prsht.h>

#include <array>
#include <string>

using platform::win32::Widen;

namespace dialogs {

namespace {

struct PageLook {
    WizardPage page;
    int templateId;
    int title;    // numbered string of the header title; 0: the page shows no header
    int subtitle; // numbered string of the header subtitle
};
constexpr PageLook kPages[kWizardPageCount] = {
    {WizardPage::Welcome, IDD_WIZARD_WELCOME, 0, 0},
    {WizardPage::Product, IDD_WIZARD_STEP1, apptext::IDS_STEP1_TITLE, apptext::IDS_STEP1_SUBTITLE},
    {WizardPage::SetupFiles, IDD_WIZARD_STEP2, apptext::IDS_STEP2_TITLE,
     apptext::IDS_STEP2_SUBTITLE},
    {WizardPage::Registration, IDD_WIZARD_STEP3, apptext::IDS_STEP3_TITLE,
     apptext::IDS_STEP3_SUBTITLE},
    {WizardPage::Finish, IDD_WIZARD_FINISH, 0, 0},
};

// The sheet's own Finish button.
constexpr WPARAM kFinishButton = 0x3025;

} // namespace

bool CNewProjectWizard::Run(HWND owner, NewProjectAnswers& answers) {
    m_answers = NewProjectAnswers{};
    m_answers.service = kServiceRegNow;
    m_bFinished = false;
    std::array<Page, kWizardPageCount> pages{};
    std::array<std::wstring, kWizardPageCount> titles;
    std::array<std::wstring, kWizardPageCount> subtitles;
    std::array<HPROPSHEETPAGE, kWizardPageCount> handles{};
    for (int i = 0; i < kWizardPageCount; ++i) {
        const PageLook& look = kPages[i];
        pages[i] = {this, look.page, nullptr};
        PROPSHEETPAGEW psp{};
        psp.dwSize = sizeof(psp);
        psp.hInstance = ResourceModule();
        psp.pszTemplate = MAKEINTRESOURCEW(look.templateId);
        psp.pfnDlgProc = PageProc;
        psp.lParam = reinterpret_cast<LPARAM>(&pages[i]);
        if (look.title) {
            titles[i] = Widen(apptext::NumberedString(look.title));
            subtitles[i] = Widen(apptext::NumberedString(look.subtitle));
            psp.dwFlags = PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
            psp.pszHeaderTitle = titles[i].c_str();
            psp.pszHeaderSubTitle = subtitles[i].c_str();
        } else {
            psp.dwFlags = PSP_HIDEHEADER;
        }
        handles[i] = CreatePropertySheetPageW(&psp);
        if (!handles[i]) {
            for (int made = 0; made < i; ++made)
                DestroyPropertySheetPage(handles[made]);
            return false;
        }
    }
    const std::wstring caption = Widen(apptext::NumberedString(apptext::IDS_WIZARD_CAPTION));
    PROPSHEETHEADERW psh{};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_WIZARD97;
    psh.hwndParent = owner;
    psh.hInstance = ResourceModule();
    psh.pszCaption = caption.c_str();
    psh.nPages = kWizardPageCount;
    psh.phpage = handles.data();
    PropertySheetW(&psh);
    if (m_bFinished)
        answers = m_answers;
    return m_bFinished;
}

INT_PTR CALLBACK CNewProjectWizard::PageProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, psp->lParam);
        reinterpret_cast<Page*>(psp->lParam)->hwnd = hwnd;
    }
    auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return page ? page->wizard->Handle(*page, message, wParam, lParam) : FALSE;
}

INT_PTR CNewProjectWizard::Handle(Page& page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitPage(page);
        return TRUE;
    case WM_COMMAND:
        OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_SETACTIVE:
            UpdateButtons(page);
            SetWindowLongPtrW(page.hwnd, DWLP_MSGRESULT, 0);
            return TRUE;
        case PSN_WIZFINISH:
            m_bFinished = true;
            SetWindowLongPtrW(page.hwnd, DWLP_MSGRESULT, FALSE);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void CNewProjectWizard::OnInitPage(const Page& page) {
    if (page.page != WizardPage::Registration)
        return;
    // The service list: the table's four services, RegNow first and selected.
    m_bFilling = true;
    FillServiceCombo(page.hwnd, IDC_WIZ_SERVICE, m_answers.service);
    m_bFilling = false;
}

void CNewProjectWizard::OnCommand(const Page& page, int id, int code) {
    if (m_bFilling)
        return;
    if (code == BN_CLICKED) {
        OnBrowse(page, id);
        return;
    }
    if (code != EN_CHANGE && code != CBN_SELCHANGE)
        return;
    ReadPage(page);
    if (page.page == WizardPage::Registration &&
        (id == IDC_WIZ_PRODUCT_ID || id == IDC_WIZ_SERVICE)) {
        const ComposeMode mode = id == IDC_WIZ_SERVICE ? ComposeMode::Reset : ComposeMode::Keep;
        if (ComposeWizardLink(m_answers, mode)) {
            m_bFilling = true;
            SetControlText(page.hwnd, IDC_WIZ_LINK, m_answers.purchaseLink);
            m_bFilling = false;
        }
    }
    UpdateButtons(page);
}

void CNewProjectWizard::ReadPage(const Page& page) {
    const HWND h = page.hwnd;
    switch (page.page) {
    case WizardPage::Product:
        m_answers.title = ControlText(h, IDC_WIZ_NAME);
        m_answers.version = ControlText(h, IDC_WIZ_VERSION);
        m_answers.webSite = ControlText(h, IDC_WIZ_WEBSITE);
        break;
    case WizardPage::SetupFiles:
        m_answers.setupFile = ControlText(h, IDC_WIZ_SETUP_FILE);
        m_answers.outputDir = ControlText(h, IDC_WIZ_OUTPUT_DIR);
        m_answers.selfCreatorPath = ControlText(h, IDC_WIZ_SELF_CREATOR);
        break;
    case WizardPage::Registration:
        m_answers.service = ComboSelection(h, IDC_WIZ_SERVICE);
        m_answers.productId = ControlText(h, IDC_WIZ_PRODUCT_ID);
        m_answers.purchaseLink = ControlText(h, IDC_WIZ_LINK);
        break;
    default:
        break;
    }
}

void CNewProjectWizard::UpdateButtons(const Page& page) const {
    const WizardButtons b = WizardButtonsFor(page.page, m_answers);
    LPARAM flags = 0;
    if (b.back)
        flags |= PSWIZB_BACK;
    if (b.next)
        flags |= PSWIZB_NEXT;
    if (b.finish)
        flags |= PSWIZB_FINISH;
    const HWND sheet = GetParent(page.hwnd);
    PostMessageW(sheet, PSM_SETWIZBUTTONS, 0, flags);
    // Enter finishes on the last page, as Next goes on before it.
    if (b.finish) {
        PostMessageW(sheet, DM_SETDEFID, kFinishButton, 0);
        PostMessageW(sheet, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(sheet, kFinishButton)), TRUE);
    }
}

void CNewProjectWizard::OnBrowse(const Page& page, int button) {
    if (page.page != WizardPage::SetupFiles)
        return;
    int field = 0;
    std::string chosen;
    switch (button) {
    case IDC_WIZ_BROWSE_SETUP:
        field = IDC_WIZ_SETUP_FILE;
        chosen = ChooseFileToOpen(page.hwnd, WizardSetupFileChoice());
        break;
    case IDC_WIZ_BROWSE_OUTPUT:
        field = IDC_WIZ_OUTPUT_DIR;
        chosen = ChooseFolder(page.hwnd, WizardOutputFolderChoice(m_answers.outputDir));
        break;
    case IDC_WIZ_BROWSE_CREATOR:
        field = IDC_WIZ_SELF_CREATOR;
        chosen = ChooseFileToSave(page.hwnd, SelfCreatorFileChoice(false));
        break;
    default:
        return;
    }
    // The field's change notice reads the page and sets the buttons anew.
    if (!chosen.empty())
        SetControlText(page.hwnd, field, chosen);
}

} // namespace dialogs
