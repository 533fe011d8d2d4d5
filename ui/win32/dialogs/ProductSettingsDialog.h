#pragma once

#include "app/ProductSettingsForm.h"
#include "ui/win32/dialogs/DialogBase.h"
#include "ui/win32/dialogs/GeneralInfoPage.h"
#include "ui/win32/dialogs/RegInfoPage.h"
#include "ui/win32/dialogs/SetupFilesPage.h"

class CAffProject;

namespace dialogs {

// "Product Settings": the three pages on a tabbed sheet. A page is made when
// it is first shown; on OK the pages made save into the form, which the
// project then takes (the registration rows only from a page that was shown).
class CProductSettingsDialog : public CDialogBase {
public:
    explicit CProductSettingsDialog(CAffProject& project);
    // True on OK (the project was written, changed or not).
    bool Run(HWND owner);

protected:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInit();
    void ShowPage(int index);
    void OnOk();

    CAffProject& m_project;
    ProductSettingsForm m_form;
    CGeneralInfoPage m_general;
    CSetupFilesPage m_setupFiles;
    CRegInfoPage m_regInfo;
    HWND m_pages[3] = {};
    int m_nShown = -1;
};

} // namespace dialogs
