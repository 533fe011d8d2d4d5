#include "ui/MyPropertyPageStep2.h"

#include "app/FileChoices.h"
#include "app/WizardPages.h"
#include "app/WizardSteps.h"
#include "ui/PathFields.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"
#include "ui/WizardBitmaps.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWizard>

CMyPropertyPageStep2::CMyPropertyPageStep2(QWidget* parent, IUserPrompts* prompts)
    : QWizardPage(parent), m_prompts(prompts ? *prompts : DefaultUserPrompts()) {
    setObjectName(QStringLiteral("CMyPropertyPageStep2"));
    setProperty("formCaption", AppText(apptext::kWizardStep2Caption));
    setTitle(VkLoadString(apptext::IDS_STEP2_TITLE));
    setSubTitle(VkLoadString(apptext::IDS_STEP2_SUBTITLE));
    setPixmap(QWizard::LogoPixmap, WizardHeaderPixmap());

    m_pSetupFile = new QLineEdit(this);
    m_pSetupFile->setObjectName(QStringLiteral("1008"));
    m_pOutputDir = new QLineEdit(this);
    m_pOutputDir->setObjectName(QStringLiteral("1009"));
    m_pSelfCreator = new QLineEdit(this);
    m_pSelfCreator->setObjectName(QStringLiteral("1010"));
    QPushButton* setupButton = MakeBrowseButton("1003", this);
    QPushButton* outputButton = MakeBrowseButton("1006", this);
    QPushButton* creatorButton = MakeBrowseButton("1007", this);

    auto* grid = new QGridLayout(this);
    int row = 0;
    AddPathField(grid, row, AppText(apptext::kWizardSetupFile), m_pSetupFile, setupButton);
    AddPathField(grid, row, AppText(apptext::kWizardOutputDir), m_pOutputDir, outputButton);
    AddPathField(grid, row, AppText(apptext::kWizardSelfMaker), m_pSelfCreator, creatorButton);
    grid->setRowStretch(row, 1);

    for (QLineEdit* edit : {m_pSetupFile, m_pOutputDir, m_pSelfCreator})
        connect(edit, &QLineEdit::textChanged, this, &QWizardPage::completeChanged);
    connect(setupButton, &QPushButton::clicked, this, &CMyPropertyPageStep2::OnBrowseSetupFile);
    connect(outputButton, &QPushButton::clicked, this, &CMyPropertyPageStep2::OnBrowseOutputDir);
    connect(creatorButton, &QPushButton::clicked, this, &CMyPropertyPageStep2::OnBrowseSelfCreator);
}

QString CMyPropertyPageStep2::SetupFile() const {
    return m_pSetupFile->text();
}

QString CMyPropertyPageStep2::OutputDir() const {
    return m_pOutputDir->text();
}

QString CMyPropertyPageStep2::SelfCreatorPath() const {
    return m_pSelfCreator->text();
}

bool CMyPropertyPageStep2::isComplete() const {
    NewProjectAnswers answers;
    answers.setupFile = ToProjectText(m_pSetupFile->text());
    answers.outputDir = ToProjectText(m_pOutputDir->text());
    return WizardStepComplete(WizardStep::SetupFiles, answers);
}

void CMyPropertyPageStep2::OnBrowseSetupFile() {
    FileRequest request;
    request.filters = FromFileChoices(WizardSetupFileChoice().filters);
    const QString chosen = m_prompts.OpenFile(this, request);
    if (!chosen.isEmpty())
        m_pSetupFile->setText(chosen);
}

void CMyPropertyPageStep2::OnBrowseOutputDir() {
    FolderRequest request;
    const FolderChoice choice = WizardOutputFolderChoice(ToProjectText(m_pOutputDir->text()));
    request.caption = FromProjectText(choice.caption);
    request.instruction = FromProjectText(choice.instruction);
    request.initialFolder = FromProjectText(choice.initialFolder);
    const QString chosen = m_prompts.ChooseFolder(this, request);
    if (!chosen.isEmpty())
        m_pOutputDir->setText(chosen);
}

void CMyPropertyPageStep2::OnBrowseSelfCreator() {
    const QString chosen = m_prompts.SaveFile(this, SelfCreatorFileRequest(false));
    if (!chosen.isEmpty())
        m_pSelfCreator->setText(chosen);
}
