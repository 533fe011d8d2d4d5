#pragma once

#include "app/ProductSettingsForm.h"
#include "ui/win32/dialogs/DialogBase.h"

namespace dialogs {

// The "General Info" page: title, version and web site of the form.
class CGeneralInfoPage : public CDialogBase {
public:
    explicit CGeneralInfoPage(ProductSettingsForm& form) : m_form(form) {}
    // Reads the controls into the form (on OK).
    void Save();

protected:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ProductSettingsForm& m_form;
};

} // namespace dialogs
