#include "ui/WizardProductProperty.h"

#include "ui/MyPropertyPageFinish.h"
#include "ui/MyPropertyPageStep1.h"
#include "ui/MyPropertyPageStep2.h"
#include "ui/MyPropertyPageStep3.h"
#include "ui/MyPropertyPageWelcom.h"
#include "ui/StringTable.h"

#include <QAbstractButton>

CWizardProductProperty::CWizardProductProperty(QWidget* parent, IUserPrompts* prompts)
    : QWizard(parent) {
    setObjectName(QStringLiteral("CWizardProductProperty"));
    setWindowTitle(VkLoadString(apptext::IDS_WIZARD_CAPTION));
    setWizardStyle(QWizard::ModernStyle);
    // Pages keep what was typed while the user moves back and forth.
    setOption(QWizard::IndependentPages, true);
    setOption(QWizard::NoBackButtonOnStartPage, false);
    setButtonText(QWizard::BackButton, AppText(apptext::kWizardBack));
    setButtonText(QWizard::NextButton, AppText(apptext::kWizardNext));
    setButtonText(QWizard::FinishButton, AppText(apptext::kWizardFinish));
    setButtonText(QWizard::CancelButton, AppText(apptext::kCancel));

    m_pWelcome = new CMyPropertyPageWelcom(this);
    m_pStep1 = new CMyPropertyPageStep1(this);
    m_pStep2 = new CMyPropertyPageStep2(this, prompts);
    m_pStep3 = new CMyPropertyPageStep3(this);
    m_pFinish = new CMyPropertyPageFinish(this);
    setPage(kWelcome, m_pWelcome);
    setPage(kStep1, m_pStep1);
    setPage(kStep2, m_pStep2);
    setPage(kStep3, m_pStep3);
    setPage(kFinish, m_pFinish);
    setStartId(kWelcome);

    connect(this, &QWizard::currentIdChanged, this, &CWizardProductProperty::OnPageChanged);
    resize(560, 400);
}

void CWizardProductProperty::OnPageChanged(int id) {
    // Each page's form carries its own caption, shown while it is current.
    if (const QWizardPage* p = page(id))
        setWindowTitle(p->property("formCaption").toString());
}

bool CWizardProductProperty::Run() {
    return exec() == QDialog::Accepted;
}

WizardProductValues CWizardProductProperty::Values() const {
    WizardProductValues v;
    v.productName = m_pStep1->ProductName();
    v.version = m_pStep1->Version();
    v.webSite = m_pStep1->WebSite();
    v.setupFile = m_pStep2->SetupFile();
    v.outputDir = m_pStep2->OutputDir();
    v.selfCreatorPath = m_pStep2->SelfCreatorPath();
    v.serviceIndex = m_pStep3->ServiceIndex();
    v.productId = m_pStep3->ProductId();
    v.purchaseLink = m_pStep3->PurchaseLink();
    return v;
}
