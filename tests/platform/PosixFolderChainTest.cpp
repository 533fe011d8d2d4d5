#include "platform/FolderChain.h"

#include "tests/support/SecondUser.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A folder chain that passes a shared folder (as /tmp is) where another user
// put a link of the chain's next name.
class FolderChainLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!seconduser::Available())
            GTEST_SKIP() << "needs root to play a second user";
        ASSERT_FALSE(m_dir.Path().empty());
        m_shared = seconduser::StickyFolder(m_dir.Path());
        m_elsewhere = m_dir / "elsewhere";
        ASSERT_TRUE(std::filesystem::create_directory(m_elsewhere));
    }

    TempFolder m_dir;
    std::string m_shared;
    std::string m_elsewhere;
};

TEST_F(FolderChainLinkTest, PlantedLinkOfAnotherUserIsNotFollowed) {
    ASSERT_TRUE(seconduser::PlantLink(m_elsewhere, m_shared + "/out"));
    const platform::FolderChainResult result =
        platform::CreateFolderChain(m_dir.Path(), {"shared", "out", "made"});
    EXPECT_FALSE(result.made);
    EXPECT_EQ(result.failedFolder, m_shared + "/out");
    EXPECT_FALSE(std::filesystem::exists(m_elsewhere + "/made"));
}

// The user's own links are followed; one that leads nowhere is not made into
// the folder it names.
TEST_F(FolderChainLinkTest, OwnLinkIsFollowedButNotIntoNothing) {
    std::filesystem::create_directory_symlink(m_elsewhere, m_shared + "/out");
    const platform::FolderChainResult made =
        platform::CreateFolderChain(m_dir.Path(), {"shared", "out", "made"});
    EXPECT_TRUE(made.made) << made.failedFolder;
    EXPECT_TRUE(std::filesystem::is_directory(m_elsewhere + "/made"));

    std::filesystem::create_directory_symlink(m_dir / "nowhere", m_shared + "/dangling");
    const platform::FolderChainResult dangling =
        platform::CreateFolderChain(m_dir.Path(), {"shared", "dangling"});
    EXPECT_FALSE(dangling.made);
    EXPECT_EQ(dangling.failedFolder, m_shared + "/dangling");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "nowhere"));
}

} // namespace
