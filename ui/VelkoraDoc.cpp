#include "ui/VelkoraDoc.h"

#include "package/BuildLogSink.h"
#include "package/BuildRunningFlag.h"
#include "package/SetupTemplate.h"
#include "package/StampTemplate.h"
#include "package/StampingWriter.h"
#include "ui/BuildSelfCreator.h"
#include "ui/ProjectText.h"
#include "ui/RecentFileList.h"
#include "ui/UserPrompts.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

CVelkoraDoc::CVelkoraDoc(IUserPrompts& prompts, CRecentFileList& recentFiles, QObject* parent)
    : QObject(parent), askSaveChanges(CQtAppPrompts::AskWithMessageBox), m_prompts(prompts),
      m_appPrompts(
          prompts, [this] { return m_frame; }, askSaveChanges),
      m_dialogs(prompts, [this] { return m_frame; }),
      m_core(m_appPrompts, m_dialogs, recentFiles.Core(), *this) {}

CVelkoraDoc::~CVelkoraDoc() {
    WaitForBuilds();
}

QString CVelkoraDoc::PathName() const {
    return FromProjectText(m_core.PathName());
}

QString CVelkoraDoc::Title() const {
    return FromProjectText(m_core.Title());
}

QString CVelkoraDoc::Caption() const {
    return FromProjectText(m_core.Caption());
}

void CVelkoraDoc::SetLog(IBuildLogSink* log) {
    m_log = log;
    m_core.SetLog(log);
}

bool CVelkoraDoc::OpenDocument(const QString& path) {
    return m_core.OpenDocument(ToProjectText(path));
}

bool CVelkoraDoc::OpenFile(const QString& path, bool discarded) {
    return m_core.OpenFile(ToProjectText(path), discarded);
}

void CVelkoraDoc::OfferReloadIfChanged() {
    m_core.OfferReloadIfChanged(QApplication::activeModalWidget() != nullptr);
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
    if (IsBuilding() || m_core.Project().m_mapResellers.IsEmpty() || !m_log)
        return;
    SaveModified(); // the build goes on whatever the answer
    const int id = m_nNextBuildId;
    CAffiliateBuilder builder(MakeBuildEnvironment());
    TrackBuild(builder.BuildAll(m_core.Project()), id);
}

void CVelkoraDoc::OnStampFromTemplate() {
    if (IsBuilding() || m_core.Project().m_mapResellers.IsEmpty() || !m_log)
        return;
    FileRequest request;
    request.filters = ParseFilterText("Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||");
    const QString chosen = m_prompts.OpenFile(Frame(), request);
    if (chosen.isEmpty())
        return;
    auto stampTemplate = std::make_shared<CStampTemplate>();
    const std::string problem =
        OpenTemplateForStamping(m_core.Project(), chosen.toStdString(), *stampTemplate);
    if (!problem.empty()) {
        m_prompts.Message(Frame(), QString::fromStdString(problem));
        return;
    }
    const int id = m_nNextBuildId;
    BuildEnvironment env = MakeBuildEnvironment();
    env.writePackage = StampingWriter(stampTemplate);
    CAffiliateBuilder builder(std::move(env));
    TrackBuild(builder.BuildAll(m_core.Project()), id);
}

void CVelkoraDoc::BuildSelected(const std::vector<uint16_t>& keys) {
    if (IsBuilding() || keys.empty() || !m_log)
        return;
    SaveModified();
    const int id = m_nNextBuildId;
    CAffiliateBuilder builder(MakeBuildEnvironment());
    TrackBuild(builder.BuildSelected(m_core.Project(), keys), id);
}

void CVelkoraDoc::RunSetup(uint16_t key) {
    if (!m_log)
        return;
    const int id = m_nNextBuildId;
    CAffiliateBuilder builder(MakeBuildEnvironment());
    RunSetupOutcome outcome = builder.RunSetup(m_core.Project(), key);
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
