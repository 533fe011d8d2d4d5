#include "platform/PrivateFolder.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::FolderTrust;
using platform::PrivateFolder;

namespace {

// A parent folder prepared one way, and whether each rule takes it.
struct TrustCase {
    const char* name;
    uid_t owner; // 0 here means the test's own user (root in CI)
    bool otherOwner;
    mode_t mode;
    bool throughLink;
    bool sharedTemporary; // taken as a shared temporary folder
    bool ownedByUser;     // taken as the user's own folder
};

const TrustCase kTrustCases[] = {
    {"own_private", 0, false, 0700, false, true, true},
    {"own_readable", 0, false, 0755, false, true, true},
    {"own_group_writable", 0, false, 0775, false, false, false},
    {"own_world_writable", 0, false, 0777, false, false, false},
    {"own_sticky_world_writable", 0, false, 01777, false, true, false},
    {"other_users_private", 0, true, 0700, false, false, false},
    {"other_users_world_writable", 0, true, 0777, false, false, false},
    {"other_users_sticky", 0, true, 01777, false, false, false},
    {"reached_through_a_link", 0, false, 0700, true, false, false},
};

class PrivateFolderTrustTest : public ::testing::TestWithParam<TrustCase> {};

} // namespace

TEST_P(PrivateFolderTrustTest, ParentIsTakenOnlyWhenTrusted) {
    const TrustCase& c = GetParam();
    ScratchFolder dir;
    const std::string parent = dir / "parent";
    fs::create_directory(parent);
    ASSERT_EQ(::chmod(parent.c_str(), c.mode), 0);
    if (c.otherOwner) {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to give a folder away";
        ASSERT_EQ(::chown(parent.c_str(), 4242, 4242), 0);
    }
    std::string asked = parent;
    if (c.throughLink) {
        fs::create_directory_symlink(parent, dir / "link");
        asked = dir / "link";
    }
    for (const auto& [trust, taken] : {std::pair{FolderTrust::SharedTemporary, c.sharedTemporary},
                                       std::pair{FolderTrust::OwnedByUser, c.ownedByUser}}) {
        PrivateFolder folder = PrivateFolder::Create(asked, trust);
        EXPECT_EQ(folder.IsOpen(), taken) << static_cast<int>(trust);
        if (!folder.IsOpen()) {
            EXPECT_TRUE(fs::is_empty(parent)) << "nothing is made in a refused folder";
            continue;
        }
        struct stat info {};
        ASSERT_EQ(::lstat(folder.Path().c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0700u);
        EXPECT_EQ(info.st_uid, ::geteuid());
    }
}

INSTANTIATE_TEST_SUITE_P(Parents, PrivateFolderTrustTest, ::testing::ValuesIn(kTrustCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The folder is reached through what the object holds: renamed and replaced
// by a link to another folder, it still gets the files, and its removal takes
// only what it made.
TEST(PrivateFolder, RenamedFolderIsStillTheOneWrittenAndRemoved) {
    ScratchFolder dir;
    fs::create_directory(dir / "victim");
    PrivateFolder folder = PrivateFolder::Create(dir.Path(), FolderTrust::OwnedByUser);
    ASSERT_TRUE(folder.IsOpen());
    const std::string path = folder.Path().substr(0, folder.Path().size() - 1);
    fs::rename(path, dir / "moved");
    fs::create_directory_symlink(dir / "victim", path);

    platform::RawFile file = folder.NewFile("setup.sh");
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(file.WriteAll("x", 1));
    ASSERT_TRUE(file.Close());
    EXPECT_TRUE(fs::exists(dir / "moved/setup.sh"));
    EXPECT_TRUE(fs::is_empty(dir / "victim"));

    EXPECT_FALSE(folder.Remove()) << "the name no longer names the folder it made";
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_TRUE(fs::is_empty(dir / "moved"));
}

TEST(PrivateFolder, FilesAreNeverWrittenThroughALinkAndNamesStayInside) {
    ScratchFolder dir;
    WriteFileBytes(dir / "precious", "keep");
    PrivateFolder folder = PrivateFolder::Create(dir.Path(), FolderTrust::OwnedByUser);
    ASSERT_TRUE(folder.IsOpen());
    fs::create_symlink(dir / "precious", folder.Path() + "setup.sh");
    platform::RawFile file = folder.NewFile("setup.sh");
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(file.WriteAll("new", 3));
    file.Close();
    EXPECT_EQ(ReadFileBytes(dir / "precious"), "keep");
    EXPECT_FALSE(fs::is_symlink(folder.Path() + "setup.sh"));
    for (const char* name : {"", ".", "..", "../escape", "a/b"})
        EXPECT_FALSE(folder.NewFile(name).IsOpen()) << name;

    const std::string path = folder.Path();
    folder = PrivateFolder();
    EXPECT_FALSE(fs::exists(path)) << "removed when the object goes";
}
