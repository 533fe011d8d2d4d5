#include "ui/MyPropertyPageStep2.h"

#include "ui/StringTable.h"
#include "ui/WizardBitmaps.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWizard>

namespace {

QPushButton* BrowseButton(const char* id, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setFixedWidth(32);
    return button;
}

} // namespace

CMyPropertyPageStep2::CMyPropertyPageStep2(QWidget* parent, IUserPrompts* prompts)
    : QWizardPage(parent), m_prompts(prompts ? *prompts : DefaultUserPrompts()) {
    setObjectName(QStringLiteral("CMyPropertyPageStep2"));
    setProperty("formCaption", QStringLiteral("Velkora Wizard -Step2"));
    setTitle(VkLoadString(IDS_STEP2_TITLE));
    setSubTitle(VkLoadString(IDS_STEP2_SUBTITLE));
    setPixmap(QWizard::LogoPixmap, WizardHeaderPixmap());

    m_pSetupFile = new QLineEdit(this);
    m_pSetupFile->setObjectName(QStringLiteral("1008"));
    m_pOutputDir = new QLineEdit(this);
    m_pOutputDir->setObjectName(QStringLiteral("1009"));
    m_pSelfCreator = new QLineEdit(this);
    m_pSelfCreator->setObjectName(QStringLiteral("1010"));
    QPushButton* setupButton = BrowseButton("1003", this);
    QPushButton* outputButton = BrowseButton("1006", this);
    QPushButton* creatorButton = BrowseButton("1007", this);

    auto* grid = new QGridLayout(this);
    int row = 0;
    auto addField = [&](const QString& label, QLineEdit* edit, QPushButton* button) {
        grid->addWidget(new QLabel(label, this), row++, 0, 1, 2);
        grid->addWidget(edit, row, 0);
        grid->addWidget(button, row++, 1);
    };
    addField(QStringLiteral("Setup file for your application:"), m_pSetupFile, setupButton);
    addField(QStringLiteral("Output directory for affiliate custom builds:"), m_pOutputDir,
             outputButton);
    addField(QStringLiteral("Pathname for storing Velkora Self Maker:"), m_pSelfCreator,
             creatorButton);
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
    return !m_pSetupFile->text().isEmpty() && !m_pOutputDir->text().isEmpty();
}

void CMyPropertyPageStep2::OnBrowseSetupFile() {
    FileRequest request;
    request.filters = ParseFilterText(VkLoadString(IDS_SETUP_FILE_FILTER));
    const QString chosen = m_prompts.OpenFile(this, request);
    if (!chosen.isEmpty())
        m_pSetupFile->setText(chosen);
}

void CMyPropertyPageStep2::OnBrowseOutputDir() {
    FolderRequest request;
    request.caption = QStringLiteral("Browse");
    request.instruction = QStringLiteral("Select output directory.");
    request.initialFolder =
        m_pOutputDir->text().isEmpty() ? QDir::currentPath() : m_pOutputDir->text();
    const QString chosen = m_prompts.ChooseFolder(this, request);
    if (!chosen.isEmpty())
        m_pOutputDir->setText(chosen);
}

void CMyPropertyPageStep2::OnBrowseSelfCreator() {
    FileRequest request;
    request.initialPath =
        QDir::currentPath() + QDir::separator() + QStringLiteral("VelkSelfMaker.exe");
    request.filters = ParseFilterText(QStringLiteral("Executable Files (*.exe)|*.exe||"));
    request.defaultSuffix = QStringLiteral("exe");
    request.confirmOverwrite = false;
    const QString chosen = m_prompts.SaveFile(this, request);
    if (!chosen.isEmpty())
        m_pSelfCreator->setText(chosen);
}
