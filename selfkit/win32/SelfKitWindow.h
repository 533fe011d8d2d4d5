#pragma once

#include "selfkit/SelfKit.h"
#include "selfkit/SelfKitView.h"
#include "selfkit/win32/ProgressDialog.h"

#include <memory>
#include <string>
#include <windows.h>

// The self creator's main dialog on Windows ("Create Your Custom Build
// Now!"), from the dialog template IDD_SELFKIT: the form, the About item of
// the system menu, and the dialog side of the build road (message boxes,
// the "Building" dialog, starting the written setup).
class CSelfKitWindow final : public ISelfKitView {
public:
    CSelfKitWindow(HINSTANCE instance, CSelfKit& kit);

    // Shows the dialog until it is closed. 0 after Cancel or the close box,
    // 1 when the program's own package could not be read.
    int Run();

    void ShowMessage(MessageKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void BeginProgress() override;
    bool StepProgress(int position) override;
    void EndProgress() override;
    bool StartPackage(const std::string& path) override;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    bool OnInit();
    void OnBuild();
    void OnBrowse();
    void ShowAbout();
    std::string FieldText(int id) const;
    std::string SelectedService() const;

    HINSTANCE m_hInstance;
    CSelfKit& m_kit;
    HWND m_hwnd = nullptr;
    HWND m_hMessageOwner = nullptr; // the About box while it is open
    std::unique_ptr<CProgressDialog> m_progress;
    bool m_bBuilding = false;
};
