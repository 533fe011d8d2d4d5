#include "platform/ProgramRun.h"
#include "platform/PrivateFolder.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::ProgramRun;

namespace {

std::string Script(const ScratchFolder& dir, const std::string& name, const std::string& body) {
    const std::string path = dir / name;
    WriteFileBytes(path, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

} // namespace

TEST(ProgramRun, ArgumentsGoThroughUnchangedAndTheExitStatusComesBack) {
    ScratchFolder dir;
    const std::string program = Script(
        dir, "p.sh", "for a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$0.out\"\nexit 42\n");
    ProgramRun run = platform::RunProgramAndWait(program, {"a b", "", "\"q\"", "$HOME", "*"});
    EXPECT_EQ(run.outcome, ProgramRun::Outcome::Finished);
    EXPECT_EQ(run.exitCode, 42);
    EXPECT_EQ(ReadFileBytes(program + ".out"), "[a b][][\"q\"][$HOME][*]");
}

TEST(ProgramRun, EndBySignalIsReportedAbove128) {
    ScratchFolder dir;
    ProgramRun run = platform::RunProgramAndWait(Script(dir, "k.sh", "kill -TERM $$\n"), {});
    EXPECT_EQ(run.outcome, ProgramRun::Outcome::Finished);
    EXPECT_EQ(run.exitCode, 128 + SIGTERM);
}

TEST(ProgramRun, MissingProgramIsNotStarted) {
    ScratchFolder dir;
    EXPECT_EQ(platform::RunProgramAndWait(dir / "absent", {}).outcome,
              ProgramRun::Outcome::NotStarted);
    EXPECT_EQ(platform::RunProgramAndWait("", {}).outcome, ProgramRun::Outcome::NotStarted);
}

TEST(ProgramRun, ProgramOnANoexecMountIsReportedAsNotExecutable) {
    ScratchFolder dir;
    fs::create_directories(dir / "m");
    const std::string mount =
        "mount -t tmpfs -o noexec,size=1m tmpfs '" + dir / "m" + "' 2>/dev/null";
    if (std::system(mount.c_str()) != 0)
        GTEST_SKIP() << "cannot mount a noexec folder here";
    WriteFileBytes(dir / "m/p.sh", "#!/bin/sh\nexit 0\n");
    fs::permissions(dir / "m/p.sh", fs::perms::owner_all);
    ProgramRun run = platform::RunProgramAndWait(dir / "m/p.sh", {});
    std::system(("umount '" + dir / "m" + "'").c_str());
    EXPECT_EQ(run.outcome, ProgramRun::Outcome::NotExecutable);
}

TEST(PrivateFolder, EachCallMakesANewFolderOnlyItsOwnerCanEnter) {
    ScratchFolder dir;
    mode_t old = ::umask(0);
    std::set<std::string> made;
    for (int i = 0; i < 20; ++i) {
        const std::string folder = platform::CreatePrivateFolder(dir.Path());
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), '/');
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
        EXPECT_EQ(fs::path(folder).parent_path().parent_path(), fs::path(dir.Path()));
        made.insert(folder);
    }
    ::umask(old);
    EXPECT_EQ(made.size(), 20u);
}

TEST(PrivateFolder, RemovalTakesTheContentButNeverFollowsALink) {
    ScratchFolder dir;
    fs::create_directories(dir / "outside");
    WriteFileBytes(dir / "outside/keep", "k");
    const std::string folder = platform::CreatePrivateFolder(dir.Path());
    ASSERT_FALSE(folder.empty());
    fs::create_directories(folder + "sub");
    WriteFileBytes(folder + "sub/file", "x");
    fs::create_directory_symlink(dir / "outside", folder + "link");
    EXPECT_TRUE(platform::RemoveFolderTree(folder));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(ReadFileBytes(dir / "outside/keep"), "k");
}

TEST(PrivateFolder, NoFolderInsideAFileOrAMissingParent) {
    ScratchFolder dir;
    WriteFileBytes(dir / "file", "x");
    EXPECT_EQ(platform::CreatePrivateFolder(dir / "file"), "");
    EXPECT_EQ(platform::CreatePrivateFolder(dir / "missing/deeper"), "");
}

TEST(PrivateFolder, CacheFolderIsMadePrivateWhenMissing) {
    ScratchFolder dir;
    {
        ScopedEnv cache("XDG_CACHE_HOME", dir / "xdg/cache");
        EXPECT_EQ(platform::UserCacheFolder(), dir / "xdg/cache");
        EXPECT_EQ(fs::status(dir / "xdg/cache").permissions(), fs::perms::owner_all);
    }
    ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    ScopedEnv home("HOME", dir / "home");
    EXPECT_EQ(platform::UserCacheFolder(), dir / "home/.cache");
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(platform::UserCacheFolder(), "");
}
