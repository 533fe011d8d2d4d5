#pragma once

#include "app/ProductSettingsForm.h"
#include "ui/win32/dialogs/DialogBase.h"

class CAffProject;

namespace dialogs {

// The "Setup Files" page: the product's setup file, the output folder and the
// self creator's path, each with its chooser; a chosen path is kept relative
// to the project's folder where possible.
class CSetupFilesPage : public CDialogBase {
public:
    CSetupFilesPage(const CAffProject& project, ProductSettingsForm& form)
        : m_project(project), m_form(form) {}
    void Save();

protected:
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnBrowse(int button);

    const CAffProject& m_project;
    ProductSettingsForm& m_form;
};

} // namespace dialogs
