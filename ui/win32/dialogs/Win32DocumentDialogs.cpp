#include "app/ProgramUuidEdit.h"
#include "model/AffiliateEditor.h"
#include "ui/win32/DocumentDialogsFactory.h"
#include "ui/win32/dialogs/AffiliateDialog.h"
#include "ui/win32/dialogs/NewProjectWizard.h"
#include "ui/win32/dialogs/ProductSettingsDialog.h"
#include "ui/win32/dialogs/ProgramUuidDialog.h"

namespace {

// The document's dialogs as native dialogs of the program's resources, on the
// core's rules; each is modal to the owner.
class CWin32DocumentDialogs : public IDocumentDialogs {
public:
    explicit CWin32DocumentDialogs(HWND owner) : m_owner(owner) {}

    bool RunNewProjectWizard(NewProjectAnswers& answers) override {
        dialogs::CNewProjectWizard wizard;
        return wizard.Run(m_owner, answers);
    }

    bool EditNewAffiliate(CAffProject& project, CReseller& affiliate) override {
        dialogs::CAffiliateDialog dialog(project, nullptr);
        if (!dialog.Run(m_owner))
            return false;
        CAffiliateEditor(project).StoreRecord(dialog.Fields(), affiliate);
        return true;
    }

    bool EditProductSettings(CAffProject& project) override {
        dialogs::CProductSettingsDialog dialog(project);
        return dialog.Run(m_owner);
    }

    bool EditProgramUuid(std::string& uuid) override {
        dialogs::CProgramUuidDialog dialog(uuid);
        return dialog.Run(m_owner) && ApplyProgramUuid(uuid, dialog.Text());
    }

private:
    HWND m_owner;
};

} // namespace

std::unique_ptr<IDocumentDialogs> CreateDocumentDialogs(HWND owner) {
    return std::make_unique<CWin32DocumentDialogs>(owner);
}

bool EditAffiliateFields(HWND owner, CAffProject& project, const CReseller& affiliate,
                         AffiliateFields& fields) {
    dialogs::CAffiliateDialog dialog(project, &affiliate);
    if (!dialog.Run(owner))
        return false;
    fields = dialog.Fields();
    return true;
}
