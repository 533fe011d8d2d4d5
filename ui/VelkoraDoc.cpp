#include "ui/VelkoraDoc.h"

#include "package/BuildLogSink.h"
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
      m_core(m_appPrompts, m_dialogs, recentFiles.Core(), *this),
      m_builds(m_appPrompts, *this, [this](std::function<void()> task) {
          QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
      }) {
    m_builds.adjustEnvironment = [this](BuildEnvironment& env) {
        if (adjustBuildEnvironment)
            adjustBuildEnvironment(env);
    };
}

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
    m_builds.SetLog(log);
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
    // Runs to its end on this thread.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_builds.BuildSelfCreator(m_core);
    QApplication::restoreOverrideCursor();
}

void CVelkoraDoc::BuildStarted() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    emit buildStarted();
}

void CVelkoraDoc::BuildProgress(size_t index, size_t count) {
    emit buildProgress(static_cast<int>(index), static_cast<int>(count));
}

void CVelkoraDoc::BuildFinished(int errors) {
    QApplication::restoreOverrideCursor();
    emit buildFinished(errors);
}

bool CVelkoraDoc::MayClose() {
    if (!m_builds.MayClose(m_core))
        return false;
    WaitForBuilds();
    return true;
}

void CVelkoraDoc::OnBuildAll() {
    m_builds.BuildAll(m_core);
}

void CVelkoraDoc::OnStampFromTemplate() {
    m_builds.StampFromTemplate(m_core);
}

void CVelkoraDoc::BuildSelected(const std::vector<uint16_t>& keys) {
    m_builds.BuildSelected(m_core, keys);
}

void CVelkoraDoc::RunSetup(uint16_t key) {
    m_builds.RunSetup(m_core, key);
}

void CVelkoraDoc::WaitForBuilds() {
    // The workers wait for their log lines on this thread, so this thread
    // keeps serving events instead of joining them.
    while (m_builds.HasJobs()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
