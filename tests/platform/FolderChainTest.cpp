#include "platform/FolderChain.h"

#include "platform/PathText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string Join(std::string folder, const std::vector<std::string>& names, size_t count) {
    for (size_t i = 0; i < count; ++i)
        folder = platform::JoinPath(folder, names[i], platform::HostPathStyle());
    return folder;
}

struct ChainCase {
    const char* what;
    std::vector<std::string> folders; // there before, below the test folder
    std::vector<std::string> files;   // likewise
    std::vector<std::string> names;
    int failsAt; // -1: made; otherwise how many names lead to the failed folder
};

class FolderChainTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(FolderChainTest, MakesEachFolderBelowTheOneBefore) {
    const ChainCase& c = GetParam();
    TempFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    for (const std::string& folder : c.folders)
        ASSERT_TRUE(std::filesystem::create_directories(std::filesystem::u8path(dir / folder)));
    for (const std::string& file : c.files)
        WriteBytes(std::filesystem::u8path(dir / file), "x");

    const platform::FolderChainResult result = platform::CreateFolderChain(dir.Path(), c.names);
    EXPECT_EQ(result.made, c.failsAt < 0);
    if (c.failsAt < 0) {
        EXPECT_EQ(result.failedFolder, "");
        EXPECT_TRUE(platform::IsExistingFolder(Join(dir.Path(), c.names, c.names.size())));
    } else {
        const auto at = static_cast<size_t>(c.failsAt);
        EXPECT_EQ(result.failedFolder, Join(dir.Path(), c.names, at));
        // Nothing is made in the failed folder's stead, nor below it.
        for (size_t n = at; n <= c.names.size(); ++n)
            EXPECT_FALSE(platform::IsExistingFolder(Join(dir.Path(), c.names, n))) << n;
    }
}

const std::string kLongName(300, 'n');

INSTANTIATE_TEST_SUITE_P(
    Chains, FolderChainTest,
    ::testing::Values(ChainCase{"all_new", {}, {}, {"a", "b", "c"}, -1},
                      ChainCase{"first_exists", {"a"}, {}, {"a", "b"}, -1},
                      ChainCase{"all_exist", {"a/b"}, {}, {"a", "b"}, -1},
                      ChainCase{"no_names", {}, {}, {}, -1},
                      ChainCase{"other_languages", {}, {}, {"жук", "Größe Ωmega"}, -1},
                      ChainCase{"file_in_the_way", {}, {"f"}, {"f", "sub"}, 1},
                      ChainCase{"file_at_the_end", {"a"}, {"a/f"}, {"a", "f"}, 2},
                      ChainCase{"name_too_long", {}, {}, {"a", kLongName, "c"}, 2},
                      ChainCase{"separator_in_a_name", {}, {}, {"a", "b/c"}, 2}),
    [](const ::testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.what); });

// A name that would leave the chain is refused before anything is made.
TEST(FolderChainRootTest, ParentNameIsRefused) {
    TempFolder dir;
    const std::vector<std::string> names{"a", "..", "b"};
    const platform::FolderChainResult result = platform::CreateFolderChain(dir.Path(), names);
    EXPECT_FALSE(result.made);
    EXPECT_EQ(result.failedFolder, Join(dir.Path(), names, 2));
    EXPECT_FALSE(platform::IsExistingFolder(dir / "b"));
}

TEST(FolderChainRootTest, AMissingRootIsNeverMade) {
    TempFolder dir;
    const std::string root = dir / "missing";
    const platform::FolderChainResult result = platform::CreateFolderChain(root, {"a"});
    EXPECT_FALSE(result.made);
    EXPECT_EQ(result.failedFolder, root);
    EXPECT_FALSE(platform::IsExistingFolder(root));
}

} // namespace
