#pragma once

#include "ui/AppCommands.h"
#include "ui/RecentFileList.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class CVelkoraDoc;
class IUserPrompts;

// The application: start-up, the Welcome choice, the recent-file list, the
// About box and the help. Owns the document and the main window.
class CVelkoraApp : public QObject, public IAppCommands {
    Q_OBJECT
public:
    explicit CVelkoraApp(IUserPrompts& prompts, QObject* parent = nullptr);
    ~CVelkoraApp() override;

    // The start-up sequence; args are the command-line words after the
    // program's name. show: false keeps the window hidden (screenshots).
    void InitInstance(const QStringList& args, bool show = true);

    CVelkoraDoc& Doc() override { return *m_doc; }
    CMainFrame& Frame() { return *m_frame; }
    CRecentFileList& RecentFiles() override { return m_recentFiles; }
    IUserPrompts& Prompts() override { return m_prompts; }

    // Application commands.
    void OnFileNew() override;
    void OnFileOpen() override;
    void OnOpenRecentFile(const QString& path) override;
    void OnAppAbout() override;
    void OnHelpIndex() override;

    // The Welcome dialog and what follows from it.
    void ShowWelcome();

    // "VelkHelp.html" in the program's folder, else in ../share/velkora.
    static QString HelpFilePath();

private:
    IUserPrompts& m_prompts;
    CRecentFileList m_recentFiles;
    std::unique_ptr<CVelkoraDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};
