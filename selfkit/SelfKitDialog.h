#pragma once

#include "selfkit/SelfKit.h"

#include <QDialog>

#include <functional>
#include <memory>

class CBuildProgressDialog;
class ISelfKitPrompts;
class QComboBox;
class QLineEdit;
class QPushButton;

// The main window of the self creator, "Create Your Custom Build Now!": a
// thin view over CSelfKit. Controls carry their dialog identifiers in the
// "controlId" property (1002 service, 1000 affiliate ID, 1005 homepage,
// 1003 pathname, 1004 "...", 1 Build, 2 Cancel).
class CSelfKitDialog : public QDialog {
    Q_OBJECT
public:
    CSelfKitDialog(CSelfKit& kit, ISelfKitPrompts& prompts, QWidget* parent = nullptr);
    ~CSelfKitDialog() override;

    // Extracts and reads the product; on failure shows "File corrupted, please
    // download it again!" and returns false (the program then ends).
    bool Initialize();

    // Pause after each build step, in milliseconds (200 by default).
    void SetStepPause(int milliseconds) { m_nStepPauseMs = milliseconds; }
    // Called after each build step, before the cancel flag is read (tests).
    void SetStepObserver(std::function<void(int position)> observer) {
        m_stepObserver = std::move(observer);
    }

    QComboBox* ServiceCombo() const { return m_pService; }
    QLineEdit* AffiliateEdit() const { return m_pAffiliate; }
    QLineEdit* HomepageEdit() const { return m_pHomepage; }
    QLineEdit* PathEdit() const { return m_pPath; }
    QPushButton* BuildButton() const { return m_pBuild; }
    QPushButton* BrowseButton() const { return m_pBrowse; }
    // The progress window while a build runs, otherwise null.
    CBuildProgressDialog* ProgressDialog() const { return m_pProgress.get(); }
    // How the last build ended (Ok before the first).
    SelfKitStatus LastBuildStatus() const { return m_lastStatus; }

public slots:
    void OnBuild();
    void OnBrowse();
    void ShowAbout();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool StepTo(int position);
    void EndProgress();

    CSelfKit& m_kit;
    ISelfKitPrompts& m_prompts;
    QComboBox* m_pService;
    QLineEdit* m_pAffiliate;
    QLineEdit* m_pHomepage;
    QLineEdit* m_pPath;
    QPushButton* m_pBrowse;
    QPushButton* m_pBuild;
    QPushButton* m_pCancel;
    std::unique_ptr<CBuildProgressDialog> m_pProgress;
    std::function<void(int)> m_stepObserver;
    int m_nStepPauseMs = 200;
    bool m_bBuilding = false;
    SelfKitStatus m_lastStatus = SelfKitStatus::Ok;
};
