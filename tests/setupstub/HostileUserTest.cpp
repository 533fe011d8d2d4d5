// The launcher run as one user while another user, who owns the folders it
// is pointed at, tries to make it start a program of theirs. The launcher
// runs in a child that drops to an unused uid inside a mount namespace of its
// own, with a noexec tmpfs as TMPDIR, so that it must fall back to the user's
// cache folder; nothing is mounted or added on the host. Needs root.
#include "setupstub/LauncherStatus.h"
#include "tests/setupstub/LauncherChild.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const char kKey[] = "6A1B2C3D-4E5F-4A6B-9C7D-8E9F0A1B2C3D";

uid_t UnusedUid(uid_t from) {
    for (uid_t uid = from; uid < from + 1000; ++uid)
        if (::getpwuid(uid) == nullptr)
            return uid;
    return 0;
}

void MakeFolder(const std::string& path, uid_t owner, mode_t mode) {
    fs::create_directories(path);
    ASSERT_EQ(::chown(path.c_str(), owner, owner), 0) << path;
    ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

std::vector<std::string> PrivateFoldersIn(const std::string& parent) {
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(parent, ignored))
        if (entry.path().filename().string().rfind("velkora-", 0) == 0)
            found.push_back(entry.path().string());
    return found;
}

class HostileUserTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    uid_t user = 0;     // runs the launcher
    uid_t attacker = 0; // owns the home folder in the first case
    std::string out;    // where setups leave their marks

    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "runs the launcher as another user: needs root";
        user = UnusedUid(61000);
        attacker = UnusedUid(user + 1);
        ASSERT_NE(user, 0u);
        ASSERT_NE(attacker, 0u);
        ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
        out = dir / "out";
        MakeFolder(out, 0, 01777);
        MakeFolder(dir / "pause", 0, 01777);
        fs::create_directories(dir / "tmp");
        fs::create_directories(dir / "package");
        const std::string setup = "#!/bin/sh\nid -u > " + out + "/ran\n";
        ASSERT_TRUE(MakeLauncherPackage(SETUPSTUB_HOOKED, dir / "package/setup.bin",
                                        {kKey, "https://buy.example/?a=1", "https://site/"},
                                        setup));
        ASSERT_EQ(::chmod((dir / "package").c_str(), 0755), 0);
    }

    pid_t Start(const std::string& home) {
        return StartChild(dir / "package/setup.bin", {},
                          {"HOME=" + home, "TMPDIR=" + (dir / "tmp"), "PATH=/usr/bin:/bin",
                           "VELKORA_STORE_DIR=" + (dir / "machine"),
                           "VELKORA_USER_STORE_DIR=" + out + "/store", "VELKORA_PAUSE_AT=start",
                           "VELKORA_PAUSE_DIR=" + (dir / "pause")},
                          {user, dir / "tmp"});
    }

    // Lets the start in the noexec temporary folder go by; true when the
    // launcher then holds before its start from the fallback folder.
    bool HoldAtFallbackStart(pid_t pid, int& status) {
        const PauseDir pause(dir / "pause");
        if (std::optional<int> ended = pause.WaitHeld(pid, "start", 1)) {
            status = *ended;
            return false;
        }
        pause.Release("start", 1);
        if (std::optional<int> ended = pause.WaitHeld(pid, "start", 2)) {
            status = *ended;
            return false;
        }
        return true;
    }

    // The other user's move: the private folder is renamed away and a folder
    // of theirs, with a setup of theirs, takes its name.
    void SwapFolder(const std::string& folder) {
        fs::rename(folder, folder + ".moved");
        fs::create_directory(folder);
        WriteFileBytes(folder + "/setup.sh",
                       "#!/bin/sh\necho EVIL ran as $(id -u) > " + out + "/evil\n");
        ::chmod((folder + "/setup.sh").c_str(), 0755);
        ::chmod(folder.c_str(), 0777);
    }
};

} // namespace

// A home folder of another user: its cache folder is not the user's own, so
// the launcher refuses it rather than run anything from it.
TEST_F(HostileUserTest, CacheFolderOfAnotherUserIsRefused) {
    const std::string home = dir / "home";
    MakeFolder(home, attacker, 0755);
    MakeFolder(home + "/.cache", attacker, 0777);
    const pid_t pid = Start(home);
    int status = -1;
    if (HoldAtFallbackStart(pid, status)) {
        for (const std::string& folder : PrivateFoldersIn(home + "/.cache"))
            SwapFolder(folder);
        PauseDir(dir / "pause").Release("start", 2);
        status = WaitChild(pid);
    }
    EXPECT_EQ(status, kLauncherFailed);
    EXPECT_FALSE(fs::exists(out + "/evil")) << ReadFileBytes(out + "/evil");
    EXPECT_FALSE(fs::exists(out + "/ran"));
    EXPECT_TRUE(PrivateFoldersIn(home + "/.cache").empty());
}

// The user's own cache folder is used; the setup started is the file the
// launcher wrote, even when its folder is swapped right before the start.
TEST_F(HostileUserTest, OwnCacheFolderIsUsedAndTheSetupCannotBeSwapped) {
    const std::string home = dir / "own";
    MakeFolder(home, user, 0755);
    MakeFolder(home + "/.cache", user, 0700);
    const pid_t pid = Start(home);
    int status = -1;
    ASSERT_TRUE(HoldAtFallbackStart(pid, status)) << "ended with " << status;
    const std::vector<std::string> folders = PrivateFoldersIn(home + "/.cache");
    ASSERT_EQ(folders.size(), 1u);
    SwapFolder(folders[0]);
    PauseDir(dir / "pause").Release("start", 2);
    EXPECT_EQ(WaitChild(pid), 0);
    EXPECT_FALSE(fs::exists(out + "/evil"));
    EXPECT_EQ(ReadFileBytes(out + "/ran"), std::to_string(user) + "\n");
    // Its own folder went; the one put in its place is not the launcher's to remove.
    EXPECT_FALSE(fs::exists(folders[0] + ".moved/setup.sh"));
    fs::remove_all(folders[0]);
    fs::remove_all(folders[0] + ".moved");
}
