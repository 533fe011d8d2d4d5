#include "selfkit/SelfKitDialog.h"

#include "selfkit/AboutBox.h"
#include "selfkit/BuildProgressDialog.h"
#include "selfkit/SelfKitPrompts.h"
#include "selfkit/SelfKitTexts.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Local(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString Latin(const char* text) {
    return QString::fromLatin1(text);
}

template <typename W> W* Tagged(W* widget, const char* name, int controlId) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setProperty("controlId", controlId);
    return widget;
}

} // namespace

CSelfKitDialog::CSelfKitDialog(CSelfKit& kit, ISelfKitPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_kit(kit), m_prompts(prompts) {
    using namespace selfkit_text;
    setWindowTitle(Latin(kCaption));
    setWindowIcon(style()->standardIcon(QStyle::SP_DriveHDIcon));

    m_pService = Tagged(new QComboBox(this), "service", 1002);
    m_pService->setEditable(false);
    m_pAffiliate = Tagged(new QLineEdit(this), "affiliateId", 1000);
    m_pHomepage = Tagged(new QLineEdit(this), "homepage", 1005);
    m_pPath = Tagged(new QLineEdit(this), "pathname", 1003);
    m_pBrowse = Tagged(new QPushButton(Latin(kBrowse), this), "browse", 1004);
    m_pBrowse->setAutoDefault(false);
    m_pBrowse->setMaximumWidth(m_pBrowse->fontMetrics().horizontalAdvance(QStringLiteral("....")) +
                               16);
    m_pBuild = Tagged(new QPushButton(Latin(kBuild), this), "build", 1);
    m_pBuild->setDefault(true);
    m_pCancel = Tagged(new QPushButton(Latin(kCancel), this), "cancel", 2);
    m_pCancel->setAutoDefault(false);
    m_pAffiliate->setMinimumWidth(260);

    auto* form = new QGridLayout;
    const auto addRow = [&](int row, const char* label, QWidget* field) {
        auto* text = new QLabel(Latin(label), this);
        text->setBuddy(field);
        form->addWidget(text, row, 0, Qt::AlignRight);
        form->addWidget(field, row, 1);
    };
    addRow(0, kServiceLabel, m_pService);
    addRow(1, kAffiliateLabel, m_pAffiliate);
    addRow(2, kHomepageLabel, m_pHomepage);
    addRow(3, kPathLabel, m_pPath);
    form->addWidget(m_pBrowse, 3, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pBuild);
    buttons->addWidget(m_pCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    // The toolkit gives no access to the window's system menu, so the About
    // item sits in the dialog's context menu and on F1.
    auto* about = new QAction(Latin(kAboutMenuItem), this);
    about->setShortcut(QKeySequence::HelpContents);
    about->setShortcutContext(Qt::WindowShortcut);
    addAction(about);
    connect(about, &QAction::triggered, this, &CSelfKitDialog::ShowAbout);

    connect(m_pBuild, &QPushButton::clicked, this, &CSelfKitDialog::OnBuild);
    connect(m_pBrowse, &QPushButton::clicked, this, &CSelfKitDialog::OnBrowse);
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CSelfKitDialog::~CSelfKitDialog() = default;

bool CSelfKitDialog::Initialize() {
    if (m_kit.Start() != SelfKitStatus::Ok) {
        m_prompts.ShowMessage(this, Latin(selfkit_text::kCorrupted));
        return false;
    }
    m_pService->clear();
    for (const std::string& name : m_kit.Services().names)
        m_pService->addItem(Local(name));
    if (m_pService->count() > 0)
        m_pService->setCurrentIndex(0);
    return true;
}

void CSelfKitDialog::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addSeparator();
    menu.addActions(actions());
    menu.exec(event->globalPos());
}

void CSelfKitDialog::ShowAbout() {
    CAboutBox box(m_prompts, windowIcon(), this);
    box.exec();
}

void CSelfKitDialog::OnBrowse() {
    const QString preset =
        QDir::currentPath() + QLatin1Char('/') + Latin(selfkit_text::kPresetFileName);
    if (const auto chosen = m_prompts.ChooseSavePath(this, QDir::toNativeSeparators(preset)))
        m_pPath->setText(*chosen);
}

bool CSelfKitDialog::StepTo(int position) {
    if (m_nStepPauseMs > 0) {
        QEventLoop loop;
        QTimer::singleShot(m_nStepPauseMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    m_pProgress->SetPosition(position);
    if (m_stepObserver)
        m_stepObserver(position);
    QCoreApplication::processEvents();
    return !m_pProgress->TakeCancel();
}

void CSelfKitDialog::EndProgress() {
    if (m_pProgress) {
        m_pProgress->hide();
        m_pProgress.reset();
    }
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    m_bBuilding = false;
}

void CSelfKitDialog::OnBuild() {
    if (m_bBuilding)
        return;
    CCustomBuildRequest request;
    request.strService =
        m_pService->currentIndex() >= 0 ? Local(m_pService->currentText()) : std::string();
    request.strAffiliateId = Local(m_pAffiliate->text());
    request.strHomePage = Local(m_pHomepage->text());
    request.strOutputPath = Local(m_pPath->text());

    m_lastStatus = m_kit.CheckRequest(request);
    if (m_lastStatus != SelfKitStatus::Ok) {
        m_prompts.ShowMessage(this, Local(SelfKitMessage(m_lastStatus, request.strOutputPath)));
        return;
    }

    m_bBuilding = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_pProgress = std::make_unique<CBuildProgressDialog>();
    m_pProgress->setWindowIcon(windowIcon());
    m_pProgress->show();
    setEnabled(false);

    m_lastStatus = m_kit.Build(request, [this](int position) { return StepTo(position); });
    EndProgress();

    if (m_lastStatus == SelfKitStatus::Cancelled)
        return;
    if (m_lastStatus != SelfKitStatus::Ok) {
        m_prompts.ShowMessage(this, Local(SelfKitMessage(m_lastStatus, request.strOutputPath)));
        return;
    }
    m_prompts.ShowMessage(this, Latin(selfkit_text::kSuccess));
    if (m_prompts.AskYesNo(this, Latin(selfkit_text::kRunNow)) &&
        !m_prompts.StartPackage(request.strOutputPath))
        m_prompts.ShowMessage(this, Latin(selfkit_text::kStartFailed));
}
