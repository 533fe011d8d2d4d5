#include "CliTestSupport.h"

#include "cli/CommandTable.h"
#include "platform/FileLock.h"

#include <algorithm>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool DeclaresWait(const std::string& name) {
    const auto command = FindCommand(name);
    EXPECT_TRUE(command) << name;
    if (!command)
        return false;
    const CliSyntax syntax = command->Syntax();
    return std::any_of(syntax.options.begin(), syntax.options.end(),
                       [](const CliOption& o) { return o.name == "wait" && o.takesValue; });
}

TEST(ProjectLockOptionTest, EveryCommandThatWritesAProjectWaitsAndNoReaderDoes) {
    for (const char* writer : {"new", "add-affiliate", "remove-affiliate", "set-product",
                               "import-affiliates", "build-self-creator"})
        EXPECT_TRUE(DeclaresWait(writer)) << writer;
    for (const char* reader :
         {"show", "export-affiliates", "build", "run-setup", "verify", "inspect"})
        EXPECT_FALSE(DeclaresWait(reader)) << reader;
}

// A writing command line; "F" stands for the project, "C" for a CSV file.
using Words = std::vector<std::string>;

class LockedProjectTest : public CliTest, public ::testing::WithParamInterface<Words> {
protected:
    Words Expand(const Words& words) {
        Words out;
        for (const std::string& w : words)
            out.push_back(w == "F" ? m_file : w == "C" ? (m_dir / "a.csv").string() : w);
        return out;
    }
};

TEST_P(LockedProjectTest, AWriterThatCannotGetTheLockChangesNothing) {
    MakeProject();
    ASSERT_EQ(RunCliWords({"add-affiliate", m_file, "--name", "Ann", "--affiliate-id", "a"}).code,
              0);
    std::ofstream(m_dir / "a.csv") << "Name,Affiliate ID\r\nBob,b\r\n";
    const std::string before = ReadFile(m_file);

    platform::FileLockOutcome outcome{};
    platform::FileStatus status;
    const platform::FileLock held =
        platform::FileLock::Acquire(m_file, std::chrono::milliseconds(0), outcome, status);
    ASSERT_EQ(outcome, platform::FileLockOutcome::Locked);

    Words words = Expand(GetParam());
    words.insert(words.end(), {"--wait", "0.05"});
    const CliRun run = RunCliWords(words);
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_EQ(run.err, "'" + m_file +
                           "' is being changed by another program; gave up after 0.05 second(s). "
                           "Nothing was changed.\n");
    EXPECT_EQ(ReadFile(m_file), before);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, LockedProjectTest,
    ::testing::Values(Words{"add-affiliate", "F", "--name", "X", "--affiliate-id", "x"},
                      Words{"remove-affiliate", "F", "0"},
                      Words{"set-product", "F", "--title", "T"}, Words{"set-product", "F"},
                      Words{"import-affiliates", "F", "C"},
                      Words{"new", "F", "--title", "T", "--version", "1", "--website", "w",
                            "--setup-file", "s", "--output-dir", "o", "--service", "RegNow",
                            "--product-id", "1", "--force"}),
    [](const ::testing::TestParamInfo<Words>& info) {
        std::string name = info.param[0] + "_" + std::to_string(info.index);
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST_F(CliTest, ADryRunImportReadsWithoutTheLock) {
    MakeProject();
    std::ofstream(m_dir / "a.csv") << "Name,Affiliate ID\r\nBob,b\r\n";
    platform::FileLockOutcome outcome{};
    platform::FileStatus status;
    const platform::FileLock held =
        platform::FileLock::Acquire(m_file, std::chrono::milliseconds(0), outcome, status);
    ASSERT_EQ(outcome, platform::FileLockOutcome::Locked);
    const CliRun run = RunCliWords(
        {"import-affiliates", m_file, (m_dir / "a.csv").string(), "--dry-run", "--wait", "0"});
    EXPECT_EQ(run.code, 0) << run.err;
}

struct WaitValue {
    const char* text;
    int code;
};

class WaitValueTest : public CliTest, public ::testing::WithParamInterface<WaitValue> {};

TEST_P(WaitValueTest, IsANumberOfSecondsUpToADay) {
    MakeProject();
    const CliRun run = RunCliWords({"set-product", m_file, "--wait", GetParam().text});
    EXPECT_EQ(run.code, GetParam().code) << run.err;
    if (GetParam().code == 2) {
        EXPECT_EQ(run.err.rfind(std::string("'") + GetParam().text +
                                    "' is not a number of seconds (0 to 86400).\nUsage: ",
                                0),
                  0u)
            << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, WaitValueTest,
    ::testing::Values(WaitValue{"0", 0}, WaitValue{"2.5", 0}, WaitValue{"86400", 0},
                      WaitValue{"86401", 2}, WaitValue{"-1", 2}, WaitValue{"1e3", 2},
                      WaitValue{"five", 2}, WaitValue{"", 2}, WaitValue{"1.2.3", 2}),
    [](const ::testing::TestParamInfo<WaitValue>& info) { return std::to_string(info.index); });

TEST_F(CliTest, ALockFileThatIsNotAPlainFileOfOursIsRefused) {
    MakeProject();
    const std::string before = ReadFile(m_file);
    std::filesystem::remove(platform::LockFilePathFor(m_file));
    std::filesystem::create_directory(platform::LockFilePathFor(m_file));
    const CliRun run = RunCliWords({"set-product", m_file, "--title", "T"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "The lock file '" + platform::LockFilePathFor(m_file) +
                           "' is not a plain file of yours; '" + m_file + "' was not changed.\n");
    EXPECT_EQ(ReadFile(m_file), before);
}

} // namespace
