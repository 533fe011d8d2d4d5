#include "ui/VelkoraApp.h"

#include "app/ShellActions.h"
#include "ui/AboutDialog.h"
#include "ui/MainFrame.h"
#include "ui/ProjectText.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraDoc.h"
#include "ui/VelkoraView.h"
#include "ui/WelcomeDialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QWindow>

namespace {

// The window manager maps and maximises the main window in its own time; a
// dialog opened before that is placed against the window's earlier geometry.
void WaitUntilExposed(QWidget& window) {
    constexpr int kBoundMs = 3000;
    QElapsedTimer timer;
    timer.start();
    QApplication::processEvents();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           timer.elapsed() < kBoundMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

CVelkoraApp::CVelkoraApp(IUserPrompts& prompts, QObject* parent)
    : QObject(parent), m_prompts(prompts) {}

CVelkoraApp::~CVelkoraApp() {
    if (m_doc)
        m_doc->WaitForBuilds();
    m_frame.reset();
    m_doc.reset();
}

void CVelkoraApp::InitInstance(const QStringList& args, bool show) {
    // 1. Settings and the recent-file list.
    m_recentFiles.Load();
    // 2-3. The document with an empty project and the main window with its panes.
    m_doc = std::make_unique<CVelkoraDoc>(m_prompts, m_recentFiles);
    m_frame = std::make_unique<CMainFrame>(*this);
    connect(m_doc.get(), &CVelkoraDoc::titleChanged, m_frame.get(),
            [this] { m_frame->RebuildRecentFileMenu(); });
    m_frame->View()->CreateList();
    if (show) {
        m_frame->showMaximized();
        WaitUntilExposed(*m_frame);
    }
    // 4-6. A file on the command line is opened directly; otherwise the Welcome choice.
    QString file;
    for (const QString& arg : args) {
        if (!arg.startsWith(QLatin1Char('-'))) {
            file = arg;
            break;
        }
    }
    if (!file.isEmpty())
        m_doc->OpenDocument(file);
    else
        ShowWelcome();
    m_frame->RebuildRecentFileMenu();
    m_frame->UpdateCommandUI();
}

void CVelkoraApp::ShowWelcome() {
    CWelcomeDialog welcome(m_recentFiles.Files(), m_frame.get());
    welcome.exec();
    switch (welcome.Result()) {
    case CWelcomeDialog::Choice::Nothing:
        break;
    case CWelcomeDialog::Choice::NewProject:
        m_doc->OnFileNew();
        break;
    case CWelcomeDialog::Choice::OpenRecent:
        OnOpenRecentFile(welcome.ChosenFile());
        break;
    case CWelcomeDialog::Choice::MoreFiles:
        m_doc->OnFileOpen();
        break;
    }
}

void CVelkoraApp::OnFileNew() {
    m_doc->OnFileNew();
}

void CVelkoraApp::OnFileOpen() {
    m_doc->OnFileOpen();
}

void CVelkoraApp::OnOpenRecentFile(const QString& path) {
    m_doc->Core().OpenRecentFile(ToProjectText(path));
}

void CVelkoraApp::OnAppAbout() {
    CAboutDialog about(m_frame.get());
    about.exec();
}

QString CVelkoraApp::HelpFilePath() {
    return FromProjectText(::HelpFilePath(ToProjectText(QCoreApplication::applicationDirPath())));
}

void CVelkoraApp::OnHelpIndex() {
    const QByteArray bytes = QFile::encodeName(HelpFilePath());
    const std::string problem =
        OpenHelpIndex(std::string(bytes.constData(), size_t(bytes.size())), m_doc->Shell());
    if (!problem.empty())
        m_prompts.Message(m_frame.get(), FromProjectText(problem), PromptIcon::Warning);
}
