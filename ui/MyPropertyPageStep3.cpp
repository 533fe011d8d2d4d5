#include "ui/MyPropertyPageStep3.h"

#include "app/WizardPages.h"
#include "app/WizardSteps.h"
#include "model/RegistrationServices.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"
#include "ui/WizardBitmaps.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QWizard>

CMyPropertyPageStep3::CMyPropertyPageStep3(QWidget* parent) : QWizardPage(parent) {
    setObjectName(QStringLiteral("CMyPropertyPageStep3"));
    setProperty("formCaption", AppText(apptext::kWizardStep3Caption));
    setTitle(VkLoadString(apptext::IDS_STEP3_TITLE));
    setSubTitle(VkLoadString(apptext::IDS_STEP3_SUBTITLE));
    setPixmap(QWizard::LogoPixmap, WizardHeaderPixmap());

    m_pService = new QComboBox(this);
    m_pService->setObjectName(QStringLiteral("1004"));
    for (const RegistrationService& s : ServiceTable())
        m_pService->addItem(QString::fromUtf8(s.name.data(), qsizetype(s.name.size())));
    m_pService->setCurrentIndex(kServiceRegNow);
    m_pProductId = new QLineEdit(this);
    m_pProductId->setObjectName(QStringLiteral("1000"));
    m_pPurchaseLink = new QLineEdit(this);
    m_pPurchaseLink->setObjectName(QStringLiteral("1001"));

    auto* form = new QFormLayout(this);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows); // room for long links
    form->addRow(AppText(apptext::kWizardService), m_pService);
    form->addRow(AppText(apptext::kWizardProductId), m_pProductId);
    form->addRow(AppText(apptext::kWizardPurchaseLink), m_pPurchaseLink);

    connect(m_pProductId, &QLineEdit::textChanged, this, &QWizardPage::completeChanged);
    connect(m_pPurchaseLink, &QLineEdit::textChanged, this, &QWizardPage::completeChanged);
    connect(m_pProductId, &QLineEdit::textEdited, this, &CMyPropertyPageStep3::OnProductIdEdited);
    connect(m_pService, &QComboBox::currentIndexChanged, this,
            &CMyPropertyPageStep3::OnServiceChanged);
}

int CMyPropertyPageStep3::ServiceIndex() const {
    return m_pService->currentIndex();
}

QString CMyPropertyPageStep3::ProductId() const {
    return m_pProductId->text();
}

QString CMyPropertyPageStep3::PurchaseLink() const {
    return m_pPurchaseLink->text();
}

bool CMyPropertyPageStep3::isComplete() const {
    NewProjectAnswers answers;
    answers.productId = ToProjectText(m_pProductId->text());
    answers.purchaseLink = ToProjectText(m_pPurchaseLink->text());
    return WizardStepComplete(WizardStep::Registration, answers);
}

void CMyPropertyPageStep3::Compose(ComposeMode mode) {
    NewProjectAnswers answers;
    answers.service = ServiceIndex();
    answers.productId = ToProjectText(m_pProductId->text());
    answers.purchaseLink = ToProjectText(m_pPurchaseLink->text());
    if (ComposeWizardLink(answers, mode))
        m_pPurchaseLink->setText(FromProjectText(answers.purchaseLink));
}

void CMyPropertyPageStep3::OnProductIdEdited() {
    Compose(ComposeMode::Keep);
}

void CMyPropertyPageStep3::OnServiceChanged() {
    Compose(ComposeMode::Reset);
}
