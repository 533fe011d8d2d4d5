#pragma once

#include "ui/UserPrompts.h"

#include <QString>
#include <QWizard>

class CMyPropertyPageWelcom;
class CMyPropertyPageStep1;
class CMyPropertyPageStep2;
class CMyPropertyPageStep3;
class CMyPropertyPageFinish;

// The values the New Project wizard collects; read after Finish.
struct WizardProductValues {
    QString productName;
    QString version;
    QString webSite;
    QString setupFile;
    QString outputDir;
    QString selfCreatorPath;
    int serviceIndex = 0;
    QString productId;
    QString purchaseLink;
};

// The New Project wizard: five pages, Next enabled only when a page's required
// fields are filled. It collects values only; the document stores them.
//
//   CWizardProductProperty wizard(parent);
//   if (wizard.Run()) { WizardProductValues v = wizard.Values(); ... }
class CWizardProductProperty : public QWizard {
    Q_OBJECT
public:
    enum PageId { kWelcome, kStep1, kStep2, kStep3, kFinish };

    explicit CWizardProductProperty(QWidget* parent = nullptr, IUserPrompts* prompts = nullptr);

    // Runs modally; true when the wizard ended with Finish.
    bool Run();

    WizardProductValues Values() const;

    CMyPropertyPageWelcom* WelcomePage() const { return m_pWelcome; }
    CMyPropertyPageStep1* Step1Page() const { return m_pStep1; }
    CMyPropertyPageStep2* Step2Page() const { return m_pStep2; }
    CMyPropertyPageStep3* Step3Page() const { return m_pStep3; }
    CMyPropertyPageFinish* FinishPage() const { return m_pFinish; }

private:
    void OnPageChanged(int id);

    CMyPropertyPageWelcom* m_pWelcome;
    CMyPropertyPageStep1* m_pStep1;
    CMyPropertyPageStep2* m_pStep2;
    CMyPropertyPageStep3* m_pStep3;
    CMyPropertyPageFinish* m_pFinish;
};
