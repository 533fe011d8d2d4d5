#pragma once

#include "package/AffiliateBuilder.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class Document;
class IAppPrompts;
class IBuildLogSink;

// What the builds tell the front end, always on the front end's own thread.
class IBuildEvents {
public:
    virtual ~IBuildEvents() = default;
    virtual void BuildStarted() {}
    // The worker began affiliate index (from 1) of count.
    virtual void BuildProgress(size_t /*index*/, size_t /*count*/) {}
    virtual void BuildFinished(int /*errors*/) {}
};

// Build All, Build Selected, Stamp from Signed Template and Run Setup of the
// open project: when each may start, the save question before it, the worker
// (CAffiliateBuilder), the "affiliate n of N" count, Stop between two
// packages, and Exit during a build. The worker writes every log line through
// the front end's sink, which shows it before the worker goes on; the sink
// therefore serves the front end's thread, and that thread must keep serving
// its events until HasJobs() is false before the runner goes away.
class BuildRunner {
public:
    // Runs a task later on the front end's thread; called from workers.
    using Post = std::function<void(std::function<void()> task)>;

    BuildRunner(IAppPrompts& prompts, IBuildEvents& events, Post post);
    ~BuildRunner();
    BuildRunner(const BuildRunner&) = delete;
    BuildRunner& operator=(const BuildRunner&) = delete;

    void SetLog(IBuildLogSink* log) { m_log = log; }
    IBuildLogSink* Log() const { return m_log; }

    // Each returns whether a worker was started.
    bool BuildAll(Document& doc);
    bool BuildSelected(Document& doc, const std::vector<uint16_t>& keys);
    bool StampFromTemplate(Document& doc);
    bool RunSetup(Document& doc, uint16_t key);
    // Build Self Creator: writes the self-managed creator of the product on
    // the calling thread, to its end, into the log. A defaulted self creator
    // path is kept in the project but does not mark it modified.
    void BuildSelfCreator(Document& doc);

    // A build runs: the process-wide flag is set, or a worker has not reported
    // its end yet (it may not have set the flag).
    bool IsBuilding() const;
    bool HasJobs() const { return !m_jobs.empty(); }
    // Build > Stop: the worker ends after the package it is writing.
    void RequestStop();
    // Exit while a build runs asks whether to stop it. True when the program
    // may close (no build, or the build was told to stop).
    bool MayExit();
    // Closing the window: MayExit, then the document's save question. True
    // when the window may close; the front end then serves the log until
    // every build has ended (HasJobs).
    bool MayClose(Document& doc);

    // Adjusts the environment of every build (tests give their own writer).
    std::function<void(BuildEnvironment&)> adjustEnvironment;

private:
    // Shared with the workers' callbacks, which may outlive a posted task.
    struct Shared {
        std::atomic<bool> stop{false};
        std::atomic<size_t> index{0};
        std::atomic<size_t> count{0};
        std::atomic<bool> progressPosted{false};
    };

    BuildEnvironment MakeEnvironment(int id);
    bool Track(std::unique_ptr<CBuildJob> job, int id);
    void Ended(int id, int errors);
    void ShowProgress();

    IAppPrompts& m_prompts;
    IBuildEvents& m_events;
    Post m_post;
    IBuildLogSink* m_log = nullptr;
    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    std::map<int, std::unique_ptr<CBuildJob>> m_jobs;
    int m_nNextBuildId = 1;
};
