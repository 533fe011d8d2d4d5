#include "ui/MyPropertyPageStep1.h"

#include "app/WizardSteps.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"
#include "ui/WizardBitmaps.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QWizard>

CMyPropertyPageStep1::CMyPropertyPageStep1(QWidget* parent) : QWizardPage(parent) {
    setObjectName(QStringLiteral("CMyPropertyPageStep1"));
    setProperty("formCaption", AppText(apptext::kWizardStep1Caption));
    setTitle(VkLoadString(apptext::IDS_STEP1_TITLE));
    setSubTitle(VkLoadString(apptext::IDS_STEP1_SUBTITLE));
    setPixmap(QWizard::LogoPixmap, WizardHeaderPixmap());

    m_pName = new QLineEdit(this);
    m_pName->setObjectName(QStringLiteral("1005"));
    m_pVersion = new QLineEdit(this);
    m_pVersion->setObjectName(QStringLiteral("1007"));
    m_pWebSite = new QLineEdit(this);
    m_pWebSite->setObjectName(QStringLiteral("1002"));

    auto* form = new QFormLayout(this);
    form->addRow(AppText(apptext::kWizardProductName), m_pName);
    form->addRow(AppText(apptext::kWizardProductVersion), m_pVersion);
    form->addRow(AppText(apptext::kWizardProductWebSite), m_pWebSite);

    for (QLineEdit* edit : {m_pName, m_pVersion, m_pWebSite})
        connect(edit, &QLineEdit::textChanged, this, &QWizardPage::completeChanged);
}

QString CMyPropertyPageStep1::ProductName() const {
    return m_pName->text();
}

QString CMyPropertyPageStep1::Version() const {
    return m_pVersion->text();
}

QString CMyPropertyPageStep1::WebSite() const {
    return m_pWebSite->text();
}

bool CMyPropertyPageStep1::isComplete() const {
    NewProjectAnswers answers;
    answers.title = ToProjectText(m_pName->text());
    answers.version = ToProjectText(m_pVersion->text());
    answers.webSite = ToProjectText(m_pWebSite->text());
    return WizardStepComplete(WizardStep::Product, answers);
}
