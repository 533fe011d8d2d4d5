#include "ui/ProductSettingsDialog.h"

#include "app/ProductSettingsForm.h"
#include "model/AffProject.h"
#include "ui/ContextHelp.h"
#include "ui/OkCancelRow.h"
#include "ui/ProductPageGeneralInfo.h"
#include "ui/ProductPageLinkInfo.h"
#include "ui/ProductPageSetupFile.h"
#include "ui/StringTable.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CProductSettingsDialog::CProductSettingsDialog(CAffProject& project, QWidget* parent,
                                               IUserPrompts* prompts)
    : QDialog(parent), m_project(project) {
    IUserPrompts& ask = prompts ? *prompts : DefaultUserPrompts();
    setObjectName(QStringLiteral("CProductSettingsDialog"));
    setWindowTitle(AppText(apptext::kProductSettingsCaption));
    InstallContextHelp(this);

    // The invisible placeholder marks where the sheet sits: 3 pixels right of
    // and 8 pixels below its top-left corner.
    auto* placeholder = new QWidget(this);
    placeholder->setObjectName(QStringLiteral("1021"));
    auto* placeholderLayout = new QVBoxLayout(placeholder);
    placeholderLayout->setContentsMargins(3, 8, 0, 0);

    m_pSheet = new QTabWidget(placeholder);
    m_pSheet->setObjectName(QStringLiteral("sheet"));
    m_pGeneral = new CProductPageGeneralInfo(m_pSheet);
    m_pSetupFile = new CProductPageSetupFile(project, ask, m_pSheet);
    m_pLinkInfo = new CProductPageLinkInfo(project, ask, m_pSheet);
    m_pSheet->addTab(m_pGeneral, AppText(apptext::kGeneralInfoPage));
    m_pSheet->addTab(m_pSetupFile, AppText(apptext::kSetupFilesPage));
    m_pSheet->addTab(m_pLinkInfo, AppText(apptext::kRegistrationInfoPage));
    placeholderLayout->addWidget(m_pSheet);
    m_pGeneral->Load(project);
    m_pSetupFile->Load(project);

    const OkCancelRow buttons = MakeOkCancelRow(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(placeholder);
    layout->addLayout(buttons.layout);
    resize(460, 340);
}

void CProductSettingsDialog::accept() {
    ProductSettingsForm form = ProductSettingsForm::Load(m_project);
    m_pGeneral->Store(form);
    m_pSetupFile->Store(form);
    m_pLinkInfo->Store(form);
    form.Store(m_project);
    QDialog::accept();
    emit projectModified();
}
