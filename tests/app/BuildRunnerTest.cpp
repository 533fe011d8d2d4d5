#include "app/BuildRunner.h"

#include "FakePrompts.h"
#include "app/Document.h"
#include "app/RecentFiles.h"
#include "package/BuildLogSink.h"
#include "package/SfxResult.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <future>
#include <mutex>
#include <thread>

namespace {

// The log as the front end keeps it, filled from the worker.
class RecordingLog : public IBuildLogSink {
public:
    void Clear() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.clear();
    }
    void Append(const std::string& line) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(line);
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// The front end's thread: tasks posted by workers wait until Serve runs them.
class TaskQueue {
public:
    void Post(std::function<void()> task) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    // Runs posted tasks until done() holds; false after ten seconds.
    bool ServeUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 10000 && !done(); ++i) {
            std::deque<std::function<void()>> tasks;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                tasks.swap(m_tasks);
            }
            for (auto& task : tasks)
                task();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return done();
    }

private:
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_tasks;
};

class Events : public IBuildEvents {
public:
    void BuildStarted() override { ++started; }
    void BuildProgress(size_t index, size_t count) override {
        lastIndex = index;
        lastCount = count;
        ++progress;
    }
    void BuildFinished(int errors) override {
        ++finished;
        lastErrors = errors;
    }
    int started = 0;
    int progress = 0;
    int finished = 0;
    int lastErrors = -1;
    size_t lastIndex = 0;
    size_t lastCount = 0;
};

class BuildRunnerTest : public ::testing::Test {
protected:
    BuildRunnerTest()
        : recent(settings), doc(prompts, dialogs, recent, docEvents),
          runner(prompts, events,
                 [this](std::function<void()> task) { queue.Post(std::move(task)); }) {
        runner.SetLog(&log);
        const std::string setup = dir / "setup.exe";
        std::ofstream(setup, std::ios::binary) << "setup";
        doc.Project().m_strSetupFile = setup;
        doc.Project().m_strUuid = "6f1c1f53-3c49-4d4e-9a51-2b0b0b8b5b0e";
        for (int i = 0; i < 10; ++i) {
            CReseller affiliate;
            affiliate.m_strName = "A" + std::to_string(i);
            affiliate.m_strSetupPath = dir / ("A" + std::to_string(i) + ".exe");
            doc.Project().AddReseller(affiliate);
        }
        // Packages are not written: each call counts, and the second waits
        // until the test lets it go on.
        runner.adjustEnvironment = [this](BuildEnvironment& env) {
            env.beep = [] {};
            env.writePackage = [this](CSfxPackage&, const std::string&) {
                if (++written == 2) {
                    secondWritten.set_value();
                    goOn.get_future().wait();
                }
                return static_cast<int>(SFX_OK);
            };
        };
    }

    bool LogHas(const std::string& text) {
        const std::vector<std::string> lines = log.Lines();
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }

    TempFolder dir{"velkora-runner"};
    FakePrompts prompts;
    FakeDialogs dialogs;
    MemorySettings settings;
    CountingEvents docEvents;
    RecentFiles recent;
    Document doc;
    RecordingLog log;
    TaskQueue queue;
    Events events;
    BuildRunner runner;
    std::atomic<int> written{0};
    std::promise<void> secondWritten;
    std::promise<void> goOn;
};

TEST_F(BuildRunnerTest, StopEndsTheBuildBetweenTwoPackagesAndTheLogSaysHowManyWereBuilt) {
    doc.SetModifiedFlag(true);
    prompts.saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(runner.BuildAll(doc));
    EXPECT_EQ(prompts.asked.size(), 1U) << "the save question comes first";
    EXPECT_TRUE(runner.IsBuilding());
    EXPECT_FALSE(runner.BuildAll(doc)) << "one build at a time";

    secondWritten.get_future().wait();
    prompts.yesNo = {false};
    EXPECT_FALSE(runner.MayExit()) << "answered: do not stop";
    prompts.yesNo = {true};
    EXPECT_TRUE(runner.MayExit());
    EXPECT_EQ(prompts.asked.back(), "A build is running. Stop it and exit?");
    goOn.set_value();

    ASSERT_TRUE(queue.ServeUntil([this] { return !runner.HasJobs(); }));
    EXPECT_EQ(written, 2);
    EXPECT_TRUE(LogHas("*** Stopped - 2 of 10 affiliate(s) built"));
    EXPECT_TRUE(LogHas("*** Finished! - 0 error(s)"));
    EXPECT_EQ(events.started, 1);
    EXPECT_EQ(events.finished, 1);
    EXPECT_GE(events.progress, 1);
    EXPECT_EQ(events.lastCount, 10U);
    EXPECT_LE(events.lastIndex, 2U);
    EXPECT_FALSE(runner.IsBuilding());
    EXPECT_TRUE(runner.MayExit()) << "no build: no question";
}

TEST_F(BuildRunnerTest, ClosingAsksToStopTheBuildFirstThenToSave) {
    doc.SetModifiedFlag(true);
    prompts.saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(runner.BuildAll(doc));
    secondWritten.get_future().wait();
    const size_t before = prompts.asked.size();
    prompts.yesNo = {false};
    EXPECT_FALSE(runner.MayClose(doc)) << "the build goes on: no save question";
    EXPECT_EQ(prompts.asked.size(), before + 1);
    doc.SetModifiedFlag(true);
    prompts.yesNo = {true};
    prompts.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(runner.MayClose(doc)) << "stopped, but the save question was cancelled";
    EXPECT_EQ(prompts.asked.size(), before + 3);
    goOn.set_value();
    ASSERT_TRUE(queue.ServeUntil([this] { return !runner.HasJobs(); }));
    prompts.saveAnswers = {SaveAnswer::No};
    EXPECT_TRUE(runner.MayClose(doc)) << "no build: only the save question";
    EXPECT_EQ(prompts.asked.size(), before + 4);
}

TEST_F(BuildRunnerTest, TheNextBuildRunsToTheEndAfterAStoppedOne) {
    std::vector<uint16_t> keys;
    doc.Project().m_mapResellers.ForEach([&keys](uint16_t key, const CReseller&) {
        if (keys.size() < 3)
            keys.push_back(key);
    });
    ASSERT_TRUE(runner.BuildSelected(doc, keys));
    secondWritten.get_future().wait();
    runner.RequestStop();
    goOn.set_value();
    ASSERT_TRUE(queue.ServeUntil([this] { return !runner.HasJobs(); }));
    EXPECT_TRUE(LogHas("*** Stopped - 2 of 3 affiliate(s) built"));

    log.Clear();
    ASSERT_TRUE(runner.BuildAll(doc));
    ASSERT_TRUE(queue.ServeUntil([this] { return !runner.HasJobs(); }));
    EXPECT_EQ(written, 12);
    EXPECT_FALSE(LogHas("*** Stopped - 2 of 10 affiliate(s) built"));
    EXPECT_EQ(events.lastErrors, 0);
}

TEST_F(BuildRunnerTest, NothingStartsWithoutAffiliatesOrALog) {
    EXPECT_FALSE(runner.BuildSelected(doc, {}));
    doc.Project().m_mapResellers.RemoveAll();
    EXPECT_FALSE(runner.BuildAll(doc));
    EXPECT_FALSE(runner.StampFromTemplate(doc));
    EXPECT_TRUE(prompts.choices.empty()) << "no template asked for";
    EXPECT_EQ(events.started, 0);
}

} // namespace
