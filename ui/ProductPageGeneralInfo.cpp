#include "ui/ProductPageGeneralInfo.h"

#include "app/ProductSettingsForm.h"
#include "model/AffProject.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"

#include <QFormLayout>
#include <QLineEdit>

CProductPageGeneralInfo::CProductPageGeneralInfo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CProductPageGeneralInfo"));
    m_pTitle = new QLineEdit(this);
    m_pTitle->setObjectName(QStringLiteral("1023"));
    m_pVersion = new QLineEdit(this);
    m_pVersion->setObjectName(QStringLiteral("1026"));
    m_pWebSite = new QLineEdit(this);
    m_pWebSite->setObjectName(QStringLiteral("1029"));

    auto* form = new QFormLayout(this);
    form->addRow(AppText(apptext::kProgramTitleLabel), m_pTitle);
    form->addRow(AppText(apptext::kVersionLabel), m_pVersion);
    form->addRow(AppText(apptext::kWebSiteLabel), m_pWebSite);
}

void CProductPageGeneralInfo::Load(const CAffProject& project) {
    m_pTitle->setText(QString::fromStdString(project.m_strTitle));
    m_pWebSite->setText(QString::fromStdString(project.m_strWebSite));
    m_pVersion->setText(QString::fromStdString(project.m_strVersion));
}

void CProductPageGeneralInfo::Store(ProductSettingsForm& form) const {
    form.title = ToProjectText(m_pTitle->text());
    form.webSite = ToProjectText(m_pWebSite->text());
    form.version = ToProjectText(m_pVersion->text());
}
