#include "BuilderTestSupport.h"

#include "package/OutputFolders.h"
#include "platform/TempFile.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace buildertest;

namespace {

class BuilderFileHelpersTest : public ::testing::Test, public BuilderFixture {};

TEST_F(BuilderFileHelpersTest, UniqueTempFilesAreNewPrivateAndDistinct) {
    std::set<std::string> paths;
    for (int i = 0; i < 50; ++i) {
        std::string path;
        platform::FileHandle f =
            platform::CreateUniqueTempFile(tempFolder.string(), "_aff", ".ino", path);
        ASSERT_TRUE(f);
        EXPECT_TRUE(
            std::regex_match(fs::path(path).filename().string(), std::regex("_aff[0-9]+\\.ino")));
        EXPECT_EQ(fs::path(path).parent_path(), tempFolder);
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_EQ(st.st_size, 0);
        paths.insert(path);
    }
    EXPECT_EQ(paths.size(), 50u);

    std::string path = "untouched";
    EXPECT_FALSE(platform::CreateUniqueTempFile((root / "absent").string(), "_aff", ".ino", path));
    EXPECT_EQ(path, "untouched");
}

TEST_F(BuilderFileHelpersTest, FixedNameFileRefusesLinksAndForeignFiles) {
    const fs::path fixed = tempFolder / "afflreg.dat";
    const fs::path victim = root / "victim.txt";
    std::string path;
    WriteFile(victim, "precious");

    // A symbolic link planted under the name is never followed.
    fs::create_symlink(victim, fixed);
    EXPECT_FALSE(platform::CreateOwnTempFile(tempFolder.string(), "afflreg.dat", path));
    EXPECT_EQ(ReadFile(victim), "precious");
    fs::remove(fixed);

    // Nor is a hard link to somebody's file truncated.
    fs::create_hard_link(victim, fixed);
    EXPECT_FALSE(platform::CreateOwnTempFile(tempFolder.string(), "afflreg.dat", path));
    EXPECT_EQ(ReadFile(victim), "precious");
    fs::remove(fixed);

    // A folder under the name is refused too.
    fs::create_directory(fixed);
    EXPECT_FALSE(platform::CreateOwnTempFile(tempFolder.string(), "afflreg.dat", path));
    fs::remove(fixed);

    // Missing: created private. Left over from an earlier run: truncated.
    {
        platform::FileHandle f =
            platform::CreateOwnTempFile(tempFolder.string(), "afflreg.dat", path);
        ASSERT_TRUE(f);
        std::fputs("old contents", f.get());
    }
    struct stat st {};
    ASSERT_EQ(stat(fixed.string().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    {
        platform::FileHandle f =
            platform::CreateOwnTempFile(tempFolder.string(), "afflreg.dat", path);
        ASSERT_TRUE(f);
        std::fputs("new", f.get());
    }
    EXPECT_EQ(ReadFile(fixed), "new");
    EXPECT_EQ(path, fixed.string());
}

TEST_F(BuilderFileHelpersTest, OutputFoldersAreMadeForEverySeparatorAfterTheFirstCharacter) {
    const std::string base = root.string();
    CreateOutputFolders(base + "/a/b//c/file.exe");
    EXPECT_TRUE(fs::is_directory(root / "a" / "b" / "c"));
    EXPECT_FALSE(fs::exists(root / "a" / "b" / "c" / "file.exe"));

    // A trailing separator makes the last folder as well; existing folders
    // and failures are ignored.
    CreateOutputFolders(base + "/d/e/");
    EXPECT_TRUE(fs::is_directory(root / "d" / "e"));
    WriteFile(root / "plain", "x");
    CreateOutputFolders(base + "/plain/sub/file.exe");
    EXPECT_FALSE(fs::exists(root / "plain" / "sub"));

    // A separator at index 0 names no folder; a path without one makes none.
    const fs::path cwd = fs::current_path();
    fs::current_path(root);
    CreateOutputFolders("/");
    CreateOutputFolders("lonely.exe");
    CreateOutputFolders("rel/x.exe");
    fs::current_path(cwd);
    EXPECT_TRUE(fs::is_directory(root / "rel"));
    EXPECT_FALSE(fs::exists(root / "lonely.exe"));
}

} // namespace
