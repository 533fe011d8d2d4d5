#include "platform/ProcessStart.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include "tests/support/NoteChannel.h"
#include <csignal>
#include <filesystem>
#include <sys/stat.h>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {} // namespace

TEST(ProcessStart, DetachedStartPassesArgumentsAndLeavesNoChild) {
    ScratchFolder dir;
    NoteChannel out(dir / "out");
    ASSERT_TRUE(out.IsOpen());
    ASSERT_TRUE(platform::StartDetached(
        "sh", {"-c", "{ printf '[%s]' \"$@\"; echo; } > \"$0\"", out.Path(), "a b", "", "\"q\""}));
    EXPECT_EQ(out.Read(), "[a b][][\"q\"]\n");
    // The started program was not our child: nothing is left to wait for.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(ProcessStart, DetachedStartOfAMissingProgramFails) {
    ScratchFolder dir;
    EXPECT_FALSE(platform::StartDetached(dir / "no-such-program", {}));
    EXPECT_FALSE(platform::StartDetached("velkora-no-such-program-in-path", {"x"}));
    EXPECT_FALSE(platform::StartDetached("", {}));
}

TEST(ProcessStart, ReplaceKeepsTheProcessAndItsExitStatus) {
    ScratchFolder dir;
    std::string script = dir / "setup.sh";
    WriteFileBytes(script, "#!/bin/sh\nprintf '[%s]' \"$@\" > \"$SETUP_OUT\"\nexit 7\n");
    ASSERT_TRUE(platform::MakeOwnerExecutable(script));
    EXPECT_NE(fs::status(script).permissions() & fs::perms::owner_exec, fs::perms::none);

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("SETUP_OUT", (dir / "out").c_str(), 1);
        platform::ReplaceProcess(script, {"one", "two words", "*"});
        ::_exit(99); // only reached when the replacement failed
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
    EXPECT_EQ(ReadFileBytes(dir / "out"), "[one][two words][*]");
}

TEST(ProcessStart, ReplaceWithAMissingProgramReturnsFalse) {
    ScratchFolder dir;
    EXPECT_FALSE(platform::ReplaceProcess(dir / "missing", {}));
    EXPECT_FALSE(platform::MakeOwnerExecutable(dir / "missing"));
}

TEST(ProcessStart, OpenWithDesktopHandsTheFileToTheOpener) {
    ScratchFolder dir;
    WriteFileBytes(dir / "xdg-open", "#!/bin/sh\necho \"$1\" > \"$OPENER_OUT\"\n");
    ::chmod((dir / "xdg-open").c_str(), 0755);
    ScopedEnv path("PATH", dir.Path());
    NoteChannel opened(dir / "opened");
    ASSERT_TRUE(opened.IsOpen());
    ScopedEnv out("OPENER_OUT", opened.Path());
    ASSERT_TRUE(platform::OpenWithDesktop(dir / "setup.msi"));
    EXPECT_EQ(opened.Read(), dir / "setup.msi" + "\n");
}

TEST(ProcessStart, DetachedProgramDoesNotInheritBlockedSignals) {
    ScratchFolder dir;
    NoteChannel out(dir / "out");
    ASSERT_TRUE(out.IsOpen());
    sigset_t blocked, old;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &blocked, &old), 0);
    bool started =
        platform::StartDetached("sh", {"-c", "grep SigBlk /proc/self/status > \"$0\"", out.Path()});
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(out.Read(), "SigBlk:\t0000000000000000\n");
}
