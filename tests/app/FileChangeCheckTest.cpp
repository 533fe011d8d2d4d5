#include "app/FileChangeCheck.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// What another program does to the file after it was remembered as "v1-abc".
struct Change {
    const char* what;
    const char* bytes; // nullptr: the file is removed
    FileChangeCheck::State expected;
};

void PrintTo(const Change& c, std::ostream* os) {
    *os << c.what;
}

class FileChangeCheckTest : public ::testing::TestWithParam<Change> {};

TEST_P(FileChangeCheckTest, TellsTheContentOnDiskFromTheRememberedOne) {
    TempFolder dir("velkora-change");
    const std::string path = dir / "P.vkp";
    Write(path, "v1-abc");
    FileChangeCheck check;
    check.Remember(path, "v1-abc");
    ASSERT_EQ(check.Check(), FileChangeCheck::State::Same);

    if (GetParam().bytes)
        Write(path, GetParam().bytes);
    else
        std::filesystem::remove(path);
    EXPECT_EQ(check.Check(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FileChangeCheckTest,
    ::testing::Values(
        Change{"the same bytes written again", "v1-abc", FileChangeCheck::State::Same},
        Change{"another content of the same size", "v1-abd", FileChangeCheck::State::Changed},
        Change{"a longer content", "v1-abc!", FileChangeCheck::State::Changed},
        Change{"an emptied file", "", FileChangeCheck::State::Changed},
        Change{"a removed file", nullptr, FileChangeCheck::State::Missing}),
    [](const ::testing::TestParamInfo<Change>& info) { return std::to_string(info.index); });

TEST(FileChangeCheckStateTest, NothingRememberedIsUnknownAndForgetClears) {
    TempFolder dir("velkora-change");
    const std::string path = dir / "P.vkp";
    Write(path, "x");
    FileChangeCheck check;
    EXPECT_EQ(check.Check(), FileChangeCheck::State::Unknown);
    EXPECT_FALSE(check.CurrentIdentity());
    check.Remember(path, "y"); // what was written is what counts, not what is there now
    EXPECT_EQ(check.Check(), FileChangeCheck::State::Changed);
    check.Forget();
    EXPECT_EQ(check.Check(), FileChangeCheck::State::Unknown);
    EXPECT_TRUE(check.Path().empty());
}

TEST(FileChangeCheckStateTest, TheIdentityCarriesSizeTimeAndHash) {
    const FileIdentity a = IdentityOfBytes("abc", 100);
    EXPECT_EQ(a.size, 3u);
    EXPECT_EQ(a.modified, 100);
    EXPECT_NE(a, IdentityOfBytes("abd", 100));
    EXPECT_NE(a, IdentityOfBytes("abc", 101));
    EXPECT_EQ(a, IdentityOfBytes("abc", 100));
    EXPECT_NE(IdentityOfBytes("", 0).contentHash,
              IdentityOfBytes(std::string(1, '\0'), 0).contentHash);
}

} // namespace
