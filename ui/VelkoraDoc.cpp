#include "ui/VelkoraDoc.h"

#include "model/ProjectFile.h"
#include "package/BuildLogSink.h"
#include "package/BuildRunningFlag.h"
#include "package/SetupTemplate.h"
#include "package/StampTemplate.h"
#include "package/StampingWriter.h"
#include "platform/FileLock.h"
#include "ui/AffiliateDialog.h"
#include "ui/BuildSelfCreator.h"
#include "ui/DocumentDialogs.h"
#include "ui/ProgramUuidDialog.h"
#include "ui/ProjectText.h"
#include "ui/RecentFileList.h"
#include "ui/UserPrompts.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

namespace {

const QString kUntitled = QStringLiteral("Untitled");

QList<FileFilter> ProjectFilters() {
    return {{QStringLiteral("Velkora Project (*.vkp)"), QStringLiteral("*.vkp")},
            {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")}};
}

CVelkoraDoc::SaveAnswer AskWithMessageBox(QWidget* parent, const QString& text) {
    const auto answer = QMessageBox::question(
        parent, QStringLiteral("Velkora"), text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return CVelkoraDoc::SaveAnswer::Yes;
    return answer == QMessageBox::No ? CVelkoraDoc::SaveAnswer::No
                                     : CVelkoraDoc::SaveAnswer::Cancel;
}

// Why Save could not take the file's lock. A folder that cannot be written
// gives the file error a save there would give.
QString LockFailureText(platform::FileLockOutcome outcome, const platform::FileStatus& status,
                        const std::string& target) {
    const QString name = QFileInfo(FromProjectText(target)).fileName();
    if (outcome == platform::FileLockOutcome::Busy)
        return CVelkoraDoc::tr("'%1' is being changed by another program. Try again in a moment.")
            .arg(name);
    const std::string fileError = platform::FileErrorText(status.error, target);
    if (outcome == platform::FileLockOutcome::Failed && !fileError.empty())
        return FromProjectText(fileError);
    return CVelkoraDoc::tr("'%1' cannot be locked for saving: its lock file '%2' cannot be used.")
        .arg(name, FromProjectText(platform::LockFilePathFor(target)));
}

} // namespace

CVelkoraDoc::CVelkoraDoc(IUserPrompts& prompts, CRecentFileList& recentFiles, QObject* parent)
    : QObject(parent), askSaveChanges(AskWithMessageBox), m_prompts(prompts),
      m_recentFiles(recentFiles), m_title(kUntitled) {}

CVelkoraDoc::~CVelkoraDoc() {
    WaitForBuilds();
}

void CVelkoraDoc::SetModifiedFlag(bool modified) {
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    emit modifiedChanged(modified);
}

void CVelkoraDoc::SetTitle(const QString& title) {
    m_title = title;
    emit titleChanged(title);
}

void CVelkoraDoc::SetPathName(const QString& path) {
    const QFileInfo info(path);
    m_pathName = info.absoluteFilePath();
    m_project.SetProjectPath(ToProjectText(m_pathName));
    // The project's folder is also the current directory, as relative paths
    // typed by the user mean paths beside the project.
    QDir::setCurrent(info.absolutePath());
    SetTitle(info.fileName());
    m_recentFiles.Add(m_pathName);
}

void CVelkoraDoc::DeleteContents() {
    m_project.Clear();
}

bool CVelkoraDoc::SaveModified(bool* discarded) {
    if (discarded)
        *discarded = false;
    if (!m_bModified)
        return true;
    const QString name = m_pathName.isEmpty() ? m_title : QFileInfo(m_pathName).fileName();
    switch (askSaveChanges(Frame(), tr("Save changes to %1?").arg(name))) {
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::No:
        if (discarded)
            *discarded = true;
        return true;
    case SaveAnswer::Yes:
        break;
    }
    return OnFileSave();
}

void CVelkoraDoc::OnFileNew() {
    if (!SaveModified())
        return;
    NewDocument();
}

void CVelkoraDoc::NewDocument() {
    DeleteContents();
    // The project keeps its folder as base directory for relative paths until
    // it is saved elsewhere.
    m_pathName.clear();
    m_fileCheck.Forget();
    SetTitle(kUntitled);
    SetModifiedFlag(false);
    m_project.Clear();
    emit projectReplaced();
    if (!RunNewProjectWizard(m_project, m_prompts, Frame(), Now()))
        return; // an empty project without a UUID, not modified
    emit viewsUpdateRequested();
    SetModifiedFlag(true);
    if (m_prompts.Question(Frame(),
                           tr("Do you want to add an affiliate to your product right now?"),
                           PromptIcon::Question, QStringLiteral("Hints")))
        OnAddAffiliate();
}

bool CVelkoraDoc::OnFileOpen() {
    FileRequest request;
    request.filters = ProjectFilters();
    request.defaultSuffix = QStringLiteral("vkp");
    const QString path = m_prompts.OpenFile(Frame(), request);
    if (path.isEmpty())
        return false;
    return OpenDocument(path);
}

bool CVelkoraDoc::OpenDocument(const QString& path) {
    bool discarded = false;
    if (!SaveModified(&discarded))
        return false;
    return OpenFile(path, discarded);
}

bool CVelkoraDoc::OpenFile(const QString& path, bool discarded) {
    CAffProject loaded;
    std::string bytes;
    const ProjectFileResult result = LoadProjectFile(ToProjectText(path), loaded, bytes);
    if (result.code == ProjectFileResult::Code::FileError && !discarded) {
        // The file cannot be read at all: the project stays as it was.
        m_prompts.Message(Frame(), FromProjectText(result.message), PromptIcon::Warning);
        return false;
    }
    if (!result.Ok()) {
        m_prompts.Message(Frame(), FromProjectText(result.message), PromptIcon::Warning);
        NewDocument();
        return false;
    }
    TakeLoaded(std::move(loaded), path, bytes);
    if (result.readAsWindows1252 && m_log)
        m_log->Append(LegacyTextNotice(ToProjectText(path)));
    return true;
}

void CVelkoraDoc::TakeLoaded(CAffProject&& loaded, const QString& path, const std::string& bytes) {
    DeleteContents();
    m_project = std::move(loaded);
    SetModifiedFlag(false);
    SetPathName(path);
    m_fileCheck.Remember(ToProjectText(m_pathName), bytes);
    m_declinedReload.reset();
    emit projectReplaced();
}

void CVelkoraDoc::OfferReloadIfChanged() {
    if (m_pathName.isEmpty() || m_bOfferingReload || QApplication::activeModalWidget())
        return;
    if (m_fileCheck.Check() != FileChangeCheck::State::Changed)
        return;
    const std::optional<FileIdentity> onDisk = m_fileCheck.CurrentIdentity();
    if (!onDisk || onDisk == m_declinedReload)
        return;
    // The question itself moves the window to the back and to the front.
    m_bOfferingReload = true;
    QString text = tr("The file '%1' has been changed by another program. Reload it?")
                       .arg(QFileInfo(m_pathName).fileName());
    if (m_bModified)
        text += tr("\nYour unsaved changes will be lost.");
    const bool reload = m_prompts.Question(Frame(), text);
    m_bOfferingReload = false;
    if (!reload) {
        m_declinedReload = onDisk;
        return;
    }
    // A file that cannot be read now leaves the window's project as it is.
    CAffProject loaded;
    std::string bytes;
    const ProjectFileResult result = LoadProjectFile(ToProjectText(m_pathName), loaded, bytes);
    if (!result.Ok()) {
        m_prompts.Message(Frame(), FromProjectText(result.message), PromptIcon::Warning);
        return;
    }
    TakeLoaded(std::move(loaded), m_pathName, bytes);
}

QString CVelkoraDoc::ProposedFileName() const {
    if (!m_pathName.isEmpty())
        return m_pathName;
    QString name = m_title;
    const qsizetype cut = name.indexOf(QRegularExpression(QStringLiteral("[ #%;/\\\\]")));
    if (cut >= 0)
        name.truncate(cut);
    return name + QStringLiteral(".vkp");
}

bool CVelkoraDoc::OnFileSave() {
    if (m_pathName.isEmpty())
        return OnFileSaveAs();
    return DoSave(m_pathName);
}

bool CVelkoraDoc::OnFileSaveAs() {
    FileRequest request;
    request.initialPath = ProposedFileName();
    request.filters = ProjectFilters();
    request.defaultSuffix = QStringLiteral("vkp");
    request.confirmOverwrite = true;
    const QString path = m_prompts.SaveFile(Frame(), request);
    if (path.isEmpty())
        return false;
    return DoSave(path);
}

// Asked before the file this window loaded is replaced: false when another
// program changed it meanwhile and the user does not want it overwritten.
bool CVelkoraDoc::MayReplaceFileOnDisk(const std::string& path) {
    if (m_fileCheck.Path() != path || m_fileCheck.Check() != FileChangeCheck::State::Changed)
        return true;
    if (m_prompts.Question(Frame(),
                           tr("The file '%1' has been changed by another program since it was "
                              "opened. Overwrite it?")
                               .arg(QFileInfo(m_pathName).fileName())))
        return true;
    m_declinedReload = m_fileCheck.CurrentIdentity(); // seen; not offered for reloading
    return false;
}

bool CVelkoraDoc::DoSave(const QString& path) {
    const std::string target = ToProjectText(QFileInfo(path).absoluteFilePath());
    // The same lock as every other writer of the file, from the look at the
    // file to the rename.
    platform::FileLockOutcome outcome{};
    platform::FileStatus lockStatus;
    const platform::FileLock lock =
        platform::FileLock::Acquire(target, saveLockWait, outcome, lockStatus);
    if (outcome != platform::FileLockOutcome::Locked) {
        m_prompts.Message(Frame(), LockFailureText(outcome, lockStatus, target),
                          PromptIcon::Warning);
        return false;
    }
    if (!MayReplaceFileOnDisk(target))
        return false;
    if (m_pathName.isEmpty()) {
        // A new project's paths were chosen before it had a folder: those
        // inside the folder it now gets are stored relative to it.
        m_project.SetProjectPath(target);
        m_project.StorePathsRelative();
    }
    // The writer replaces the file atomically: a failed save leaves no file of
    // its own behind and the previous file untouched.
    std::string written;
    const ProjectFileResult result = SaveProjectFile(target, m_project, written);
    if (!result.Ok()) {
        m_prompts.Message(Frame(), FromProjectText(result.message), PromptIcon::Warning);
        return false;
    }
    SetModifiedFlag(false);
    SetPathName(path);
    m_fileCheck.Remember(target, written);
    m_declinedReload.reset();
    return true;
}

void CVelkoraDoc::OnAddAffiliate() {
    CAffiliateDialog dialog(Frame(), &m_prompts);
    dialog.SetProject(&m_project);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CReseller record;
    dialog.StoreInto(record);
    record.m_tModified = static_cast<int32_t>(Now());
    record.m_bChanged = 1;
    if (m_project.AddReseller(record) != CAffProject::AddResult::Added) {
        m_prompts.Message(Frame(), tr("No more affiliates can be added to this project."),
                          PromptIcon::Warning);
        return;
    }
    SetModifiedFlag(true);
    emit viewsUpdateRequested();
}

void CVelkoraDoc::OnProductSettings() {
    if (RunProductSettings(m_project, m_prompts, Frame()))
        SetModifiedFlag(true);
}

void CVelkoraDoc::OnProgramUuid() {
    if (EditProgramUuid(m_project.m_strUuid, m_prompts, Frame()))
        SetModifiedFlag(true);
}

void CVelkoraDoc::OnBuildSelfCreator() {
    RunBuildSelfCreator(*this, Frame());
}

BuildEnvironment CVelkoraDoc::MakeBuildEnvironment() {
    BuildEnvironment env;
    env.log = m_log;
    const int id = m_nNextBuildId++;
    env.onFinished = [this, id](int errors) {
        QMetaObject::invokeMethod(
            this, [this, id, errors] { OnBuildEnded(id, errors); }, Qt::QueuedConnection);
    };
    if (adjustBuildEnvironment)
        adjustBuildEnvironment(env);
    return env;
}

void CVelkoraDoc::TrackBuild(std::unique_ptr<CBuildJob> job, int id) {
    if (!job)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_jobs.emplace(id, std::move(job));
    emit buildStarted();
}

void CVelkoraDoc::OnBuildEnded(int id, int errors) {
    auto it = m_jobs.find(id);
    if (it == m_jobs.end())
        return;
    m_jobs.erase(it); // the worker has nothing left to do: joins at once
    QApplication::restoreOverrideCursor();
    emit buildFinished(errors);
}

bool CVelkoraDoc::IsBuilding() const {
    return IsBuildRunning() || !m_jobs.empty();
}

void CVelkoraDoc::OnBuildAll() {
    if (IsBuilding() || m_project.m_mapResellers.IsEmpty() || !m_log)
        return;
    SaveModified(); // the build goes on whatever the answer
    const int id = m_nNextBuildId;
    CAffiliateBuilder builder(MakeBuildEnvironment());
    TrackBuild(builder.BuildAll(m_project), id);
}

void CVelkoraDoc::OnStampFromTemplate() {
    if (IsBuilding() || m_project.m_mapResellers.IsEmpty() || !m_log)
        return;
    FileRequest request;
    request.filters = ParseFilterText("Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||");
    const QString chosen = m_prompts.OpenFile(Frame(), request);
    if (chosen.isEmpty())
        return;
    auto stampTemplate = std::make_shared<CStampTemplate>();
    const std::string problem =
        OpenTemplateForStamping(m_project, chosen.toStdString(), *stampTemplate);
    if (!problem.empty()) {
        m_prompts.Message(Frame(), QString::fromStdString(problem));
        return;
    }
    const int id = m_nNextBuildId;
    BuildEnvironment env = MakeBuildEnvironment();
    env.writePackage = StampingWriter(stampTemplate);
    CAffiliateBuilder builder(std::move(env));
    TrackBuild(builder.BuildAll(m_project), id);
}

void CVelkoraDoc::BuildSelected(const std::vector<uint16_t>& keys) {
    if (IsBuilding() || keys.empty() || !m_log)
        return;
    SaveModified();
    const int id = m_nNextBuildId;
    CAffiliateBuilder builder(MakeBuildEnvironment());
    TrackBuild(builder.BuildSelected(m_project, keys), id);
}

void CVelkoraDoc::RunSetup(uint16_t key) {
    if (!m_log)
        return;
    const int id = m_nNextBuildId;
    CAffiliateBuilder builder(MakeBuildEnvironment());
    RunSetupOutcome outcome = builder.RunSetup(m_project, key);
    if (!outcome.startedExisting)
        TrackBuild(std::move(outcome.job), id);
}

void CVelkoraDoc::WaitForBuilds() {
    // The workers wait for their log lines on this thread, so this thread
    // keeps serving events instead of joining them.
    while (!m_jobs.empty()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
