// The link rule of every writer, against links that a second user plants.
#include "platform/WriteTarget.h"
#include "platform/AtomicFile.h"
#include "platform/FileReplace.h"
#include "tests/support/SecondUser.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <utime.h>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct LinkCase {
    const char* name;
    bool sticky;        // the folder is sticky and writable by everyone
    bool folderOfOther; // the folder belongs to the second user
    bool plantedByOther;
    bool followed;
};

class WriteTargetCases : public testing::TestWithParam<LinkCase> {};

TEST_P(WriteTargetCases, FollowsOnlyWhereTheProtectedLinksRuleWould) {
    if (!seconduser::Available())
        GTEST_SKIP() << "needs root to act as a second user";
    const LinkCase& c = GetParam();
    TempFolder tmp;
    const std::string folder = seconduser::StickyFolder(tmp.Path());
    if (!c.sticky)
        ::chmod(folder.c_str(), 0777);
    if (c.folderOfOther)
        ASSERT_EQ(::chown(folder.c_str(), seconduser::kSecondUid, seconduser::kSecondUid), 0);
    const std::string victim = tmp / "victim";
    WriteAll(victim, "precious");
    ::chmod(victim.c_str(), 0600);
    const std::string link = folder + "/affiliates.csv";
    if (c.plantedByOther) {
        ASSERT_TRUE(seconduser::PlantLink(victim, link));
    } else {
        fs::create_symlink(victim, link);
    }

    const platform::WriteTarget target = platform::ResolveWriteTarget(link);
    EXPECT_EQ(target.Ok(), c.followed);
    const platform::FileStatus written = platform::WriteFileAtomically(link, "new");
    EXPECT_EQ(written.Ok(), c.followed);
    if (c.followed) {
        EXPECT_EQ(target.path, victim);
        EXPECT_EQ(ReadAll(victim), "new");
    } else {
        EXPECT_EQ(target.status.error, platform::FileError::PlantedLink);
        EXPECT_EQ(written.error, platform::FileError::PlantedLink);
        EXPECT_EQ(ReadAll(victim), "precious");
        EXPECT_EQ(fs::status(victim).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        // Nothing was written beside the link either.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Links, WriteTargetCases,
    testing::Values(LinkCase{"OwnLinkInStickyFolder", true, false, false, true},
                    LinkCase{"OthersLinkInStickyFolder", true, false, true, false},
                    LinkCase{"OthersLinkInPlainSharedFolder", false, false, true, true},
                    LinkCase{"FolderOwnersLinkInStickyFolder", true, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteTarget, EveryHopOfAChainIsJudged) {
    if (!seconduser::Available())
        GTEST_SKIP() << "needs root to act as a second user";
    TempFolder tmp;
    const std::string shared = seconduser::StickyFolder(tmp.Path());
    const std::string victim = tmp / "victim";
    WriteAll(victim, "precious");
    ASSERT_TRUE(seconduser::PlantLink(victim, shared + "/hop"));
    fs::create_symlink(shared + "/hop", tmp / "mine.vkp");
    EXPECT_EQ(platform::ResolveWriteTarget(tmp / "mine.vkp").status.error,
              platform::FileError::PlantedLink);
    EXPECT_FALSE(platform::WriteFileAtomically(tmp / "mine.vkp", "new").Ok());
    EXPECT_EQ(ReadAll(victim), "precious");
}

TEST(WriteTarget, RelativeAndDanglingLinksNameTheFileToWrite) {
    TempFolder tmp;
    fs::create_directory(tmp / "real");
    fs::create_symlink("real/new.vkp", tmp / "link.vkp");
    const platform::WriteTarget target = platform::ResolveWriteTarget(tmp / "link.vkp");
    ASSERT_TRUE(target.Ok());
    EXPECT_TRUE(target.viaLink);
    EXPECT_EQ(target.path, tmp / "real/new.vkp");
    fs::create_symlink("loop", tmp / "loop");
    EXPECT_FALSE(platform::ResolveWriteTarget(tmp / "loop").Ok());
}

// Leftovers of killed writers: only our own names, only old ones, never one
// that a running writer holds.
TEST(StaleTemporaries, TheNextSaveRemovesOnlyOldUnheldLeftoversOfItsOwnName) {
    TempFolder tmp;
    const std::string target = tmp / "Big.vkp";
    const std::string old = tmp / ".Big.vkp.0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0.tmp";
    const std::string held = tmp / ".Big.vkp.00000000-1111-2222-3333-444444444444.tmp";
    const std::string fresh = tmp / ".Big.vkp.AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE.tmp";
    const std::string other = tmp / ".Other.vkp.0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0.tmp";
    const std::string notOurs = tmp / ".Big.vkp.not-a-uuid.tmp";
    for (const std::string& p : {old, held, fresh, other, notOurs})
        WriteAll(p, "partial");
    const utimbuf longAgo{::time(nullptr) - 120, ::time(nullptr) - 120};
    for (const std::string& p : {old, held, other, notOurs})
        ::utime(p.c_str(), &longAgo);
    const int holder = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    ASSERT_TRUE(platform::WriteFileAtomically(target, "project").Ok());
    ::close(holder);
    EXPECT_FALSE(fs::exists(old));
    for (const std::string& p : {held, fresh, other, notOurs})
        EXPECT_TRUE(fs::exists(p)) << p;
    EXPECT_EQ(ReadAll(target), "project");
}

TEST(StaleTemporaries, NamesAreRecognisedExactly) {
    const std::string uuid = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
    EXPECT_TRUE(platform::IsTemporaryNameFor(".a.vkp." + uuid + ".tmp", "a.vkp"));
    EXPECT_FALSE(platform::IsTemporaryNameFor(".a.vkp." + uuid + ".tmp", "b.vkp"));
    EXPECT_FALSE(platform::IsTemporaryNameFor("a.vkp." + uuid + ".tmp", "a.vkp"));
    EXPECT_FALSE(platform::IsTemporaryNameFor(".a.vkp." + uuid + ".tmpx", "a.vkp"));
    EXPECT_FALSE(platform::IsTemporaryNameFor(".a.vkp." + uuid.substr(1) + "0.tmp", "a.vkp"));
    const std::string longName(150, 'n');
    EXPECT_TRUE(platform::IsTemporaryNameFor(
        fs::path(platform::TemporaryPathBeside("/x/" + longName)).filename().string(), longName));
}

} // namespace
