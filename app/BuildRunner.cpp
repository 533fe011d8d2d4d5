#include "app/BuildRunner.h"

#include "app/AppTexts.h"

#include "app/AppPrompts.h"
#include "app/Document.h"
#include "package/BuildLogSink.h"
#include "package/BuildRunningFlag.h"
#include "package/SelfCreatorBuilder.h"
#include "package/SetupTemplate.h"
#include "package/StampTemplate.h"
#include "package/StampingWriter.h"

#include <utility>

BuildRunner::BuildRunner(IAppPrompts& prompts, IBuildEvents& events, Post post)
    : m_prompts(prompts), m_events(events), m_post(std::move(post)) {}

BuildRunner::~BuildRunner() {
    // Workers still running end after their current package; their jobs join.
    m_shared->stop = true;
}

bool BuildRunner::IsBuilding() const {
    return IsBuildRunning() || !m_jobs.empty();
}

void BuildRunner::RequestStop() {
    if (!m_jobs.empty())
        m_shared->stop = true;
}

bool BuildRunner::MayExit() {
    if (!IsBuilding())
        return true;
    if (!m_prompts.Question(std::string(apptext::kStopBuildAndExit)))
        return false;
    RequestStop();
    return true;
}

bool BuildRunner::MayClose(Document& doc) {
    return MayExit() && doc.SaveModified();
}

BuildEnvironment BuildRunner::MakeEnvironment(int id) {
    BuildEnvironment env;
    env.log = m_log;
    const std::shared_ptr<Shared> shared = m_shared;
    env.stopRequested = [shared] { return shared->stop.load(); };
    env.onAffiliate = [this, shared](size_t index, size_t count) {
        shared->index = index;
        shared->count = count;
        // One notice waits at a time: a fast worker does not flood the thread.
        if (!shared->progressPosted.exchange(true))
            m_post([this] { ShowProgress(); });
    };
    env.onFinished = [this, id](int errors) { m_post([this, id, errors] { Ended(id, errors); }); };
    if (adjustEnvironment)
        adjustEnvironment(env);
    return env;
}

void BuildRunner::ShowProgress() {
    m_shared->progressPosted = false;
    if (!m_jobs.empty())
        m_events.BuildProgress(m_shared->index, m_shared->count);
}

bool BuildRunner::Track(std::unique_ptr<CBuildJob> job, int id) {
    if (!job)
        return false;
    m_jobs.emplace(id, std::move(job));
    m_events.BuildStarted();
    return true;
}

void BuildRunner::Ended(int id, int errors) {
    auto it = m_jobs.find(id);
    if (it == m_jobs.end())
        return;
    m_jobs.erase(it); // the worker has nothing left to do: joins at once
    if (m_jobs.empty())
        m_shared->stop = false;
    m_events.BuildFinished(errors);
}

bool BuildRunner::BuildAll(Document& doc) {
    if (IsBuilding() || doc.Project().m_mapResellers.IsEmpty() || !m_log)
        return false;
    doc.SaveModified(); // the build goes on whatever the answer
    const int id = m_nNextBuildId++;
    CAffiliateBuilder builder(MakeEnvironment(id));
    return Track(builder.BuildAll(doc.Project()), id);
}

bool BuildRunner::StampFromTemplate(Document& doc) {
    if (IsBuilding() || doc.Project().m_mapResellers.IsEmpty() || !m_log)
        return false;
    FileChoice request;
    request.filters = ParseFilterChoices(std::string(apptext::kTemplateFilter));
    const std::string chosen = m_prompts.OpenFile(request);
    if (chosen.empty())
        return false;
    auto stampTemplate = std::make_shared<CStampTemplate>();
    const std::string problem = OpenTemplateForStamping(doc.Project(), chosen, *stampTemplate);
    if (!problem.empty()) {
        m_prompts.Message(problem);
        return false;
    }
    const int id = m_nNextBuildId++;
    BuildEnvironment env = MakeEnvironment(id);
    env.writePackage = StampingWriter(stampTemplate);
    CAffiliateBuilder builder(std::move(env));
    return Track(builder.BuildAll(doc.Project()), id);
}

bool BuildRunner::BuildSelected(Document& doc, const std::vector<uint16_t>& keys) {
    if (IsBuilding() || keys.empty() || !m_log)
        return false;
    doc.SaveModified();
    const int id = m_nNextBuildId++;
    CAffiliateBuilder builder(MakeEnvironment(id));
    return Track(builder.BuildSelected(doc.Project(), keys), id);
}

namespace {

// Stands in for the build log before the front end has set one.
class DiscardLog : public IBuildLogSink {
public:
    void Clear() override {}
    void Append(const std::string&) override {}
};

} // namespace

void BuildRunner::BuildSelfCreator(Document& doc) {
    // The same adjustments as the affiliate builds get (tests move the
    // temporary folder and the clock).
    BuildEnvironment env;
    env.log = m_log;
    env.now = doc.clock;
    if (adjustEnvironment)
        adjustEnvironment(env);
    DiscardLog discard;
    CSelfCreatorBuilder builder(env.log ? *env.log : discard, env.now);
    if (!env.tempFolder.empty())
        builder.SetTempFolder(env.tempFolder);
    builder.Build(doc.Project());
}

bool BuildRunner::RunSetup(Document& doc, uint16_t key) {
    if (!m_log)
        return false;
    const int id = m_nNextBuildId++;
    CAffiliateBuilder builder(MakeEnvironment(id));
    RunSetupOutcome outcome = builder.RunSetup(doc.Project(), key);
    if (outcome.startedExisting)
        return false;
    return Track(std::move(outcome.job), id);
}
