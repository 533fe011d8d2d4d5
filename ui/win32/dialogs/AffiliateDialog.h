#pragma once

#include "model/AffiliateEditor.h"
#include "ui/win32/dialogs/DialogBase.h"

class CAffProject;
class CReseller;

namespace dialogs {

// "Affiliate Property" for a new affiliate (modal), on the core's affiliate
// rules: the derived setup path, the composed link, the missing product ID
// offer, the picked path's checks and OK's checks.
class CAffiliateDialog : public CDialogBase {
public:
    CAffiliateDialog(CAffProject& project, const CReseller* edited);
    // True on OK; Fields() then holds the accepted values.
    bool Run(HWND owner);
    const AffiliateFields& Fields() const { return m_fields; }

protected:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInit();
    void OnCommand(int id, int code);
    void ReadFields();
    void ShowFields();
    void OnNameChanged();
    void OnAffiliateIdChanged();
    void OnServiceChanged();
    void OnBrowse();
    void OnOk();

    CAffProject& m_project;
    const CReseller* m_pEdited;
    AffiliateFields m_fields;
    int m_nLoading = 0;
};

} // namespace dialogs
