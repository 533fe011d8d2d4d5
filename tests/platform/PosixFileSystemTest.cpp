// The Linux file facilities written on the system's own calls, against the
// standard library's, which the launcher does without to stay small.
#include "platform/FileSystem.h"
#include "platform/PrivateFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class AbsolutePathCases : public testing::TestWithParam<const char*> {};

TEST_P(AbsolutePathCases, ReadsAsTheStandardLibrarysNormalForm) {
    const std::string path = GetParam();
    EXPECT_EQ(platform::AbsolutePath(path), fs::absolute(path).lexically_normal().string());
}

INSTANTIATE_TEST_SUITE_P(Paths, AbsolutePathCases,
                         testing::Values("/", "/a", "/a/", "/a//b", "/a/./b", "/a/b/..", "/a/b/.",
                                         "/a/b/../", "/a/../../b", "/..", "/./", "//a///b//", "a",
                                         "a/b/../c", "./a", "../a", "..", ".", "a/", "a/.",
                                         "x/../../y/./z/", ".hidden/..name/...",
                                         "/srv/Project Files/app.vkp"));

TEST(AbsolutePath, EmptyStaysEmpty) {
    EXPECT_EQ(platform::AbsolutePath(""), "");
}

// A tree with files, a nested folder and links to a file and a folder outside
// it: everything inside goes, what the links name stays.
TEST(RemoveFolderTree, RemovesLinksNeverWhatTheyName) {
    TempFolder temp;
    const fs::path outside = fs::path(temp.Path()) / "outside";
    fs::create_directories(outside / "keep");
    std::ofstream(outside / "keep.txt") << "keep";
    const fs::path tree = fs::path(temp.Path()) / "tree";
    fs::create_directories(tree / "a" / "b" / "c");
    std::ofstream(tree / "top.txt") << "x";
    std::ofstream(tree / "a" / "b" / "c" / "deep.txt") << "x";
    fs::create_symlink(outside / "keep.txt", tree / "a" / "file-link");
    fs::create_symlink(outside / "keep", tree / "a" / "folder-link");
    fs::permissions(tree / "a" / "b", fs::perms::owner_all);

    EXPECT_TRUE(platform::RemoveFolderTree(tree.string()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));
    EXPECT_TRUE(fs::is_directory(outside / "keep"));
    EXPECT_FALSE(platform::RemoveFolderTree(""));
}

} // namespace
