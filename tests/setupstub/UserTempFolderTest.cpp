#include "platform/UserTempFolder.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string OwnName() {
    return "velkora-" + std::to_string(::geteuid());
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode;
}

} // namespace

TEST(UserTempFolder, CreatedPrivateInsideTmpdir) {
    ScratchFolder dir;
    ScopedEnv tmp("TMPDIR", dir.Path() + "//");
    std::string folder = platform::UserTempFolder();
    EXPECT_EQ(folder, dir.Path() + "/" + OwnName() + "/");
    mode_t mode = ModeOf(dir / OwnName());
    EXPECT_TRUE(S_ISDIR(mode));
    EXPECT_EQ(mode & 0777, 0700u);
    // A second call takes the same folder.
    EXPECT_EQ(platform::UserTempFolder(), folder);
}

TEST(UserTempFolder, OpenRightsOnAnOwnFolderAreTakenAway) {
    ScratchFolder dir;
    ScopedEnv tmp("TMPDIR", dir.Path());
    ASSERT_EQ(::mkdir((dir / OwnName()).c_str(), 0777), 0);
    ::chmod((dir / OwnName()).c_str(), 0777);
    EXPECT_FALSE(platform::UserTempFolder().empty());
    EXPECT_EQ(ModeOf(dir / OwnName()) & 0777, 0700u);
}

TEST(UserTempFolder, PlantedLinkOrFileIsRefused) {
    ScratchFolder dir;
    ScopedEnv tmp("TMPDIR", dir.Path());
    fs::create_directory(dir / "target");
    fs::create_directory_symlink(dir / "target", dir / OwnName());
    EXPECT_EQ(platform::UserTempFolder(), "");
    EXPECT_TRUE(fs::is_symlink(dir / OwnName()));

    fs::remove(dir / OwnName());
    WriteFileBytes(dir / OwnName(), "planted");
    EXPECT_EQ(platform::UserTempFolder(), "");
}

TEST(UserTempFolder, FolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a folder to another user";
    ScratchFolder dir;
    ScopedEnv tmp("TMPDIR", dir.Path());
    ASSERT_EQ(::mkdir((dir / OwnName()).c_str(), 0700), 0);
    ASSERT_EQ(::chown((dir / OwnName()).c_str(), 65534, 65534), 0);
    EXPECT_EQ(platform::UserTempFolder(), "");
}
