#pragma once

#include "package/BuildLogSink.h"
#include "package/BuildRequest.h"
#include "platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CSfxPackage;

// Starts a built package as a program without waiting for it. A bare or
// relative name is taken relative to the current folder, never looked up in
// PATH, so another program of the same name cannot be started instead.
// args are handed to it unchanged. Returns false when it could not be started.
bool StartBuiltPackage(const std::string& path, const std::vector<std::string>& args = {});

// What a build takes from its surroundings. Everything but the log has a
// default that uses the platform; tests replace them.
struct BuildEnvironment {
    // Receives every line. Required; must outlive every build started with it.
    IBuildLogSink* log = nullptr;
    // "Now" for the start line. Default: the system clock.
    platform::Clock now;
    // The beep after an error and at the end. Default: platform::Beep.
    std::function<void()> beep;
    // Starts a package as a program without waiting for it; the outcome is
    // not examined. Default: the platform's detached program start.
    std::function<void(const std::string& path)> startProgram;
    // Writes the package: pkg holds both entries; returns a package result
    // code. Default: pkg.Build with the embedded launcher image (template 130).
    // Tests give a small launcher image of their own here.
    std::function<int(CSfxPackage& pkg, const std::string& outputPath)> writePackage;
    // Formerly the folder of the information files, which are now made in
    // memory; passed on to the self creator's builder by callers that set it.
    std::string tempFolder;
    // Called by the worker before each affiliate: index from 1, and the count.
    std::function<void(size_t index, size_t count)> onAffiliate;
    // Asked by the worker between two affiliates: true ends the build there,
    // the log saying how many were built. Called on the worker's thread.
    std::function<bool()> stopRequested;
    // Called by the worker as its very last action, after the build-running
    // flag was cleared, with the build's error count. It must not wait for a
    // thread that may destroy the job (post a message, do not block): the
    // job's destructor waits for this worker.
    std::function<void(int errors)> onFinished;
};

// One running build: the worker thread of one request.
class CBuildJob {
public:
    // Waits for the worker; see Wait.
    ~CBuildJob();
    CBuildJob(const CBuildJob&) = delete;
    CBuildJob& operator=(const CBuildJob&) = delete;

    // Blocks until the worker has ended and returns its error count. The
    // worker may itself wait in IBuildLogSink::Append, so a thread that
    // carries out appends must not call this while lines are pending; the
    // desktop program waits for onFinished instead.
    int Wait();

private:
    friend class CAffiliateBuilder;
    CBuildJob() = default;
    std::thread m_thread;
    int m_nErrors = 0;
};

// What Run Setup did.
struct RunSetupOutcome {
    // True when the existing package was up to date and was started; nothing
    // was built and job is null.
    bool startedExisting = false;
    // Otherwise the build (then run) of the affiliate; an empty build when the
    // key names no affiliate.
    std::unique_ptr<CBuildJob> job;
};

// The affiliate setup builder: Build All, Build Selected and Run Setup. The
// command functions are called on the thread that owns the project (the user-
// interface thread), copy what they need from it and return at once; each
// starts one worker thread that writes the packages and reports every step to
// the log. The project may be changed or destroyed as soon as they return.
// Relative paths in the records resolve against the project's base directory;
// the process's current directory is neither used nor changed.
class CAffiliateBuilder {
public:
    explicit CAffiliateBuilder(BuildEnvironment environment);

    // Clears the log, appends the start line and builds every affiliate.
    std::unique_ptr<CBuildJob> BuildAll(const CAffProject& project) const;

    // Appends the start line (the log is not cleared) and builds the
    // affiliates under keys, in that order; unknown keys are left out.
    std::unique_ptr<CBuildJob> BuildSelected(const CAffProject& project,
                                             const std::vector<uint16_t>& keys) const;

    // Starts the affiliate's package when it exists and is not older than the
    // affiliate's last change; otherwise builds it and then starts it. Logs no
    // start line.
    RunSetupOutcome RunSetup(const CAffProject& project, uint16_t key) const;

    // Starts a worker for request.
    std::unique_ptr<CBuildJob> Start(BuildRequest request) const;

    // The worker's work on the calling thread: builds request and returns the
    // error count. Sets the build-running flag for its duration.
    int Run(const BuildRequest& request) const;

    // "***Start building [14:03:59] " for the environment's current time.
    std::string StartLine() const;

private:
    BuildEnvironment m_env;
};
