// Stands in for the document's dialogs until they are built: each says so
// and is taken as cancelled, so the document changes nothing.
#include "platform/win32/WideText.h"
#include "ui/win32/DocumentDialogsFactory.h"
#include "ui/win32/WindowTexts.h"

namespace {

class CPendingDocumentDialogs : public IDocumentDialogs {
public:
    explicit CPendingDocumentDialogs(HWND owner) : m_owner(owner) {}

    bool RunNewProjectWizard(NewProjectAnswers&) override { return Pending(); }
    bool EditNewAffiliate(CAffProject&, CReseller&) override { return Pending(); }
    bool EditProductSettings(CAffProject&) override { return Pending(); }
    bool EditProgramUuid(std::string&) override { return Pending(); }

private:
    bool Pending() {
        MessageBoxW(m_owner,
                    L"This dialog is not available in this version of Velkora for Windows yet.",
                    platform::win32::Widen(apptext::kAppTitle).c_str(), MB_OK | MB_ICONINFORMATION);
        return false;
    }

    HWND m_owner;
};

} // namespace

std::unique_ptr<IDocumentDialogs> CreateDocumentDialogs(HWND owner) {
    return std::make_unique<CPendingDocumentDialogs>(owner);
}
