#pragma once

#include "app/ProductIdForm.h"
#include "ui/win32/dialogs/DialogBase.h"

namespace dialogs {

// "New Product ID" on the core's form: on OK the form holds the accepted
// service, product ID and link.
class CProductIdDialog : public CDialogBase {
public:
    explicit CProductIdDialog(CProductIdForm& form) : m_form(form) {}
    bool Run(HWND owner);

protected:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnProductIdChanged();
    void OnServiceChanged();
    void OnOk();

    CProductIdForm& m_form;
    bool m_bFilling = false;
};

} // namespace dialogs
