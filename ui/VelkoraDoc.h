#pragma once

#include "model/AffProject.h"
#include "model/FileChangeCheck.h"
#include "package/AffiliateBuilder.h"
#include "platform/Clock.h"
#include "ui/ShellActions.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class CRecentFileList;
class IBuildLogSink;
class IUserPrompts;
class QWidget;

// The one open project and its file: new, open, save, the modified flag, and
// the document's commands (Add Affiliate, Product Settings, Program UUID,
// Build All, Build Self Creator). Builds run on workers of the affiliate
// builder; they work on copies, so the project may be edited meanwhile.
class CVelkoraDoc : public QObject {
    Q_OBJECT
public:
    enum class SaveAnswer { Yes, No, Cancel };

    CVelkoraDoc(IUserPrompts& prompts, CRecentFileList& recentFiles, QObject* parent = nullptr);
    ~CVelkoraDoc() override;

    CAffProject& Project() { return m_project; }
    const CAffProject& Project() const { return m_project; }
    const QString& PathName() const { return m_pathName; }
    const QString& Title() const { return m_title; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    // Where dialogs are centred and the build log; set by the main frame.
    void SetFrame(QWidget* frame) { m_frame = frame; }
    void SetLog(IBuildLogSink* log) { m_log = log; }
    IUserPrompts& Prompts() { return m_prompts; }
    // The build log (Build Self Creator clears it and appends to it).
    IBuildLogSink* Log() const { return m_log; }

    // "Save changes to %1?" for a modified project. True when the caller may go
    // on (saved, not modified, or answered No); discarded tells whether unsaved
    // changes were given up.
    bool SaveModified(bool* discarded = nullptr);

    // File commands.
    void OnFileNew();
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Open with the save prompt first (File > Open, recent files, command line,
    // dropped files). False when the file was not opened.
    bool OpenDocument(const QString& path);
    // Open without the prompt. discarded: the user gave up unsaved changes, so
    // even an unreadable file replaces the project by a new one.
    bool OpenFile(const QString& path, bool discarded);
    // New project without the save prompt: clear, "Untitled", the wizard.
    void NewDocument();
    // The window came to the front: when another program changed the file
    // meanwhile, offer to reload it (once for each change it made).
    void OfferReloadIfChanged();

    // Document commands.
    void OnAddAffiliate();
    void OnProductSettings();
    void OnProgramUuid();
    void OnBuildAll();
    // Build > Stamp from Signed Template: asks for the signed template, then
    // writes every affiliate's custom setup as a stamped copy of it, with the
    // log of Build All. The project is neither saved nor offered for saving.
    void OnStampFromTemplate();
    // Build Self Creator: carried out by RunBuildSelfCreator (BuildSelfCreator.h).
    void OnBuildSelfCreator();
    // Commands of the list that build.
    void BuildSelected(const std::vector<uint16_t>& keys);
    void RunSetup(uint16_t key);

    bool HasRunningBuilds() const { return !m_jobs.empty(); }
    // A build runs: the process-wide flag is set, or a build was started and
    // its worker has not reported its end yet (it may not have set the flag).
    bool IsBuilding() const;
    // Keeps the user-interface thread serving the log until every build ended.
    void WaitForBuilds();

    // Replaceable by tests.
    std::function<SaveAnswer(QWidget* parent, const QString& text)> askSaveChanges;
    // How long Save waits for another program that is changing the file.
    std::chrono::milliseconds saveLockWait{5000};
    // Adjusts the environment of every build (tests give their own image writer).
    std::function<void(BuildEnvironment&)> adjustBuildEnvironment;
    ShellOperations& Shell() { return m_shell; }
    platform::Clock clock = platform::SystemNow;
    std::time_t Now() const { return clock ? clock() : platform::SystemNow(); }

signals:
    // A different project is current (New, Open): views recreate their rows.
    void projectReplaced();
    // Affiliates were added: views refresh every row.
    void viewsUpdateRequested();
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    void buildStarted();
    void buildFinished(int errors);

private:
    void DeleteContents();
    void SetPathName(const QString& path);
    void SetTitle(const QString& title);
    bool DoSave(const QString& path);
    bool MayReplaceFileOnDisk(const std::string& path);
    void TakeLoaded(CAffProject&& loaded, const QString& path, const std::string& bytes);
    QString ProposedFileName() const;
    QWidget* Frame() const { return m_frame; }
    BuildEnvironment MakeBuildEnvironment();
    void TrackBuild(std::unique_ptr<CBuildJob> job, int id);
    void OnBuildEnded(int id, int errors);

    CAffProject m_project;
    IUserPrompts& m_prompts;
    CRecentFileList& m_recentFiles;
    QWidget* m_frame = nullptr;
    IBuildLogSink* m_log = nullptr;
    QString m_pathName;
    QString m_title;
    bool m_bModified = false;
    // The file as this window last loaded or saved it, and a change on disk
    // the user chose not to reload (not offered again).
    FileChangeCheck m_fileCheck;
    std::optional<FileIdentity> m_declinedReload;
    bool m_bOfferingReload = false;
    ShellOperations m_shell = ShellOperations::Desktop();
    std::map<int, std::unique_ptr<CBuildJob>> m_jobs;
    int m_nNextBuildId = 1;
};
