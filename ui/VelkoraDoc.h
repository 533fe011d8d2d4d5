#pragma once

#include "app/BuildRunner.h"
#include "app/Document.h"
#include "app/DocumentEvents.h"
#include "app/ShellActions.h"
#include "package/AffiliateBuilder.h"
#include "platform/Clock.h"
#include "ui/DocumentDialogs.h"
#include "ui/QtAppPrompts.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class CRecentFileList;
class IBuildLogSink;
class IUserPrompts;
class QWidget;

// The Qt program's side of the document (app/Document.h): the core's notices
// become signals, its questions the window's dialogs. Builds run on workers of
// the affiliate builder; they work on copies, so the project may be edited
// meanwhile.
class CVelkoraDoc : public QObject, private IDocumentEvents, private IBuildEvents {
    Q_OBJECT
public:
    using SaveAnswer = ::SaveAnswer;

    CVelkoraDoc(IUserPrompts& prompts, CRecentFileList& recentFiles, QObject* parent = nullptr);
    ~CVelkoraDoc() override;

    Document& Core() { return m_core; }
    CAffProject& Project() { return m_core.Project(); }
    const CAffProject& Project() const { return m_core.Project(); }
    QString PathName() const;
    QString Title() const;
    QString Caption() const;
    bool IsModified() const { return m_core.IsModified(); }
    void SetModifiedFlag(bool modified = true) { m_core.SetModifiedFlag(modified); }

    // Where dialogs are centred and the build log; set by the main frame.
    void SetFrame(QWidget* frame) { m_frame = frame; }
    void SetLog(IBuildLogSink* log);
    IUserPrompts& Prompts() { return m_prompts; }
    // The window's prompts as the core asks them.
    IAppPrompts& AppPrompts() { return m_appPrompts; }
    // The build log (Build Self Creator clears it and appends to it).
    IBuildLogSink* Log() const { return m_log; }

    bool SaveModified(bool* discarded = nullptr) { return m_core.SaveModified(discarded); }

    // File commands.
    void OnFileNew() { m_core.OnFileNew(); }
    bool OnFileOpen() { return m_core.OnFileOpen(); }
    bool OnFileSave() { return m_core.OnFileSave(); }
    bool OnFileSaveAs() { return m_core.OnFileSaveAs(); }
    bool OpenDocument(const QString& path);
    bool OpenFile(const QString& path, bool discarded);
    void NewDocument() { m_core.NewDocument(); }
    // Nothing while a dialog of the program is open.
    void OfferReloadIfChanged();

    // Document commands.
    void OnAddAffiliate() { m_core.OnAddAffiliate(); }
    void OnProductSettings() { m_core.OnProductSettings(); }
    void OnProgramUuid() { m_core.OnProgramUuid(); }
    void OnBuildAll();
    // Build > Stamp from Signed Template: asks for the signed template, then
    // writes every affiliate's custom setup as a stamped copy of it, with the
    // log of Build All. The project is neither saved nor offered for saving.
    void OnStampFromTemplate();
    // Build Self Creator: written on this thread, the log filled as it goes.
    void OnBuildSelfCreator();
    // Commands of the list that build.
    void BuildSelected(const std::vector<uint16_t>& keys);
    void RunSetup(uint16_t key);

    // A build runs: the process-wide flag is set, or a build was started and
    // its worker has not reported its end yet (it may not have set the flag).
    bool IsBuilding() const { return m_builds.IsBuilding(); }
    // Build > Stop: the build ends after the package being written.
    void StopBuild() { m_builds.RequestStop(); }
    // Exit during a build asks whether to stop it; then the save question.
    // True when the window may close.
    bool MayClose();
    // Keeps the user-interface thread serving the log until every build ended.
    void WaitForBuilds();

    // Replaceable by tests.
    std::function<SaveAnswer(QWidget* parent, const QString& text)> askSaveChanges;
    // Adjusts the environment of every build (tests give their own image writer).
    std::function<void(BuildEnvironment&)> adjustBuildEnvironment;
    ShellOperations& Shell() { return m_shell; }

private:
    // Declared before the references below, which name its members.
    QWidget* m_frame = nullptr;
    IUserPrompts& m_prompts;
    CQtAppPrompts m_appPrompts;
    CQtDocumentDialogs m_dialogs;
    Document m_core;
    BuildRunner m_builds;

public:
    // How long Save waits for another program that is changing the file.
    std::chrono::milliseconds& saveLockWait = m_core.saveLockWait;
    // "Now" for change stamps; tests set it.
    platform::Clock& clock = m_core.clock;
    std::time_t Now() const { return m_core.Now(); }

signals:
    // A different project is current (New, Open): views recreate their rows.
    void projectReplaced();
    // Affiliates were added: views refresh every row.
    void viewsUpdateRequested();
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    void recentFilesChanged();
    void buildStarted();
    // The worker began affiliate index (from 1) of count.
    void buildProgress(int index, int count);
    void buildFinished(int errors);

private:
    void ProjectReplaced() override { emit projectReplaced(); }
    void RowsChanged() override { emit viewsUpdateRequested(); }
    void TitleChanged() override { emit titleChanged(Title()); }
    void ModifiedChanged(bool modified) override { emit modifiedChanged(modified); }
    void RecentFilesChanged() override { emit recentFilesChanged(); }
    void BuildStarted() override;
    void BuildProgress(size_t index, size_t count) override;
    void BuildFinished(int errors) override;

    QWidget* Frame() const { return m_frame; }

    IBuildLogSink* m_log = nullptr;
    ShellOperations m_shell = ShellOperations::Desktop();
};
