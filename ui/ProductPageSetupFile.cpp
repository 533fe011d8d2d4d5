#include "ui/ProductPageSetupFile.h"

#include "app/FileChoices.h"
#include "app/ProductSettingsForm.h"
#include "model/AffProject.h"
#include "ui/PathFields.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

CProductPageSetupFile::CProductPageSetupFile(const CAffProject& project, IUserPrompts& prompts,
                                             QWidget* parent)
    : QWidget(parent), m_project(project), m_prompts(prompts) {
    setObjectName(QStringLiteral("CProductPageSetupFile"));
    m_pSetupFile = new QLineEdit(this);
    m_pSetupFile->setObjectName(QStringLiteral("1024"));
    m_pOutputDir = new QLineEdit(this);
    m_pOutputDir->setObjectName(QStringLiteral("1030"));
    m_pSelfCreator = new QLineEdit(this);
    m_pSelfCreator->setObjectName(QStringLiteral("1031"));
    QPushButton* setupButton = MakeBrowseButton("1033", this);
    QPushButton* outputButton = MakeBrowseButton("1034", this);
    QPushButton* creatorButton = MakeBrowseButton("1035", this);

    auto* grid = new QGridLayout(this);
    int row = 0;
    AddPathField(grid, row, AppText(apptext::kProgramSetupFileLabel), m_pSetupFile, setupButton);
    AddPathField(grid, row, AppText(apptext::kOutputDirectoryLabel), m_pOutputDir, outputButton);
    AddPathField(grid, row, AppText(apptext::kSelfMakerFileLabel), m_pSelfCreator, creatorButton);
    grid->setRowStretch(row, 1);

    connect(setupButton, &QPushButton::clicked, this, &CProductPageSetupFile::OnBrowseSetupFile);
    connect(outputButton, &QPushButton::clicked, this, &CProductPageSetupFile::OnBrowseOutputDir);
    connect(creatorButton, &QPushButton::clicked, this,
            &CProductPageSetupFile::OnBrowseSelfCreator);
}

void CProductPageSetupFile::Load(const CAffProject& project) {
    m_pOutputDir->setText(QString::fromStdString(project.m_strOutputDir));
    m_pSetupFile->setText(QString::fromStdString(project.m_strSetupFile));
    m_pSelfCreator->setText(QString::fromStdString(project.m_strSelfCreatorPath));
}

void CProductPageSetupFile::Store(ProductSettingsForm& form) const {
    form.setupFile = ToProjectText(m_pSetupFile->text());
    form.outputDir = ToProjectText(m_pOutputDir->text());
    form.selfCreatorPath = ToProjectText(m_pSelfCreator->text());
}

QString CProductPageSetupFile::ProjectRelative(const QString& path) const {
    return FromProjectText(ProjectFieldPath(m_project, ToProjectText(path)));
}

void CProductPageSetupFile::OnBrowseSetupFile() {
    FileRequest request;
    request.initialPath = m_pSetupFile->text();
    request.filters = FromFileChoices(SetupFileChoices());
    const QString chosen = m_prompts.OpenFile(this, request);
    if (!chosen.isEmpty())
        m_pSetupFile->setText(ProjectRelative(chosen));
}

void CProductPageSetupFile::OnBrowseOutputDir() {
    FolderRequest request;
    const FolderChoice choice =
        SettingsOutputFolderChoice(m_project, ToProjectText(m_pOutputDir->text()));
    request.caption = FromProjectText(choice.caption);
    request.instruction = FromProjectText(choice.instruction);
    request.initialFolder = FromProjectText(choice.initialFolder);
    const QString chosen = m_prompts.ChooseFolder(this, request);
    if (!chosen.isEmpty())
        m_pOutputDir->setText(ProjectRelative(chosen));
}

void CProductPageSetupFile::OnBrowseSelfCreator() {
    const QString chosen = m_prompts.SaveFile(this, SelfCreatorFileRequest(true));
    if (!chosen.isEmpty())
        m_pSelfCreator->setText(ProjectRelative(chosen));
}
