#pragma once

#include "selfkit/SelfKit.h"
#include "selfkit/SelfKitView.h"

#include <FL/Fl_Double_Window.H>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CProgressWindow;
class Fl_Button;
class Fl_Choice;
class Fl_Input;

// The main dialog of the self creator, "Create Your Custom Build Now!", and
// the view the build road talks to. The controls carry their dialog ids
// (ControlTags.h) and take the focus in the order of the form: service,
// affiliate ID, homepage, pathname, "...", Build, Cancel, then the About
// button, which stands where the affiliate sees it.
class CSelfKitWindow : public Fl_Double_Window, public ISelfKitView {
public:
    explicit CSelfKitWindow(CSelfKit& kit);
    ~CSelfKitWindow() override;

    // Extracts and reads the product and fills the service list; on failure
    // shows "File corrupted, please download it again!" and returns false.
    bool Initialize();

    // Pause after each build step, in milliseconds (200 by default).
    void SetStepPause(int milliseconds) { m_nStepPauseMs = milliseconds; }
    // Answers the save-file chooser instead of the affiliate (tests); the
    // argument is the preset path.
    using SaveChooser = std::function<std::optional<std::string>(const std::string& preset)>;
    void SetSaveChooser(SaveChooser chooser) { m_chooser = std::move(chooser); }

    // The "Building" window while a build runs, otherwise null.
    CProgressWindow* ProgressWindow() const { return m_pProgress.get(); }
    // How the last build ended (Ok before the first).
    SelfKitStatus LastBuildStatus() const { return m_lastStatus; }

    void OnBuild();
    void OnBrowse();
    void ShowAbout();

    // ISelfKitView
    void ShowMessage(MessageKind kind, const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    void BeginProgress() override;
    bool StepProgress(int position) override;
    void EndProgress() override;
    bool StartPackage(const std::string& path) override;

private:
    void Pause(int milliseconds);
    CCustomBuildRequest Request() const;
    std::optional<std::string> ChooseSavePath(const std::string& preset);

    CSelfKit& m_kit;
    std::vector<std::string> m_serviceNames; // as listed
    Fl_Choice* m_pService;
    Fl_Input* m_pAffiliate;
    Fl_Input* m_pHomepage;
    Fl_Input* m_pPath;
    std::unique_ptr<CProgressWindow> m_pProgress;
    SaveChooser m_chooser;
    int m_nStepPauseMs = 200;
    bool m_bBuilding = false;
    SelfKitStatus m_lastStatus = SelfKitStatus::Ok;
};
