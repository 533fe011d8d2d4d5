#include "platform/PathIdentity.h"
#include "platform/HostPath.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool HostIgnoresCase() {
    return platform::HostPathStyle() == platform::PathStyle::Windows;
}

TEST(SameHostPath, ComparesAsTheHostsFileSystemDoes) {
    EXPECT_TRUE(platform::SameHostPath("/a/Setup.exe", "/a/Setup.exe"));
    EXPECT_EQ(platform::SameHostPath("/a/Setup.exe", "/a/SETUP.EXE"), HostIgnoresCase());
    EXPECT_FALSE(platform::SameHostPath("/a/Setup.exe", "/a/Setup.ex"));
    EXPECT_FALSE(platform::SameHostPath("/a/b", "/a/c"));
    // Only the text counts; folding is the path module's work.
    EXPECT_FALSE(platform::SameHostPath("/a/./b", "/a/b"));
}

class SameExistingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_dir.Path().empty());
        WriteBytes(m_dir / "file", "bytes");
        WriteBytes(m_dir / "twin", "bytes");
    }
    TempFolder m_dir{"velkora-identity"};
};

TEST_F(SameExistingFileTest, OneFileByAnyRoute) {
    fs::create_symlink(m_dir / "file", m_dir / "link");
    fs::create_hard_link(m_dir / "file", m_dir / "hard");
    fs::create_directory(m_dir / "sub");
    const std::string file = m_dir / "file";
    EXPECT_TRUE(platform::SameExistingFile(file.c_str(), file.c_str()));
    EXPECT_TRUE(platform::SameExistingFile(file.c_str(), (m_dir / "link").c_str()));
    EXPECT_TRUE(platform::SameExistingFile(file.c_str(), (m_dir / "hard").c_str()));
    EXPECT_TRUE(platform::SameExistingFile(file.c_str(), (m_dir / "sub/../file").c_str()));
}

TEST_F(SameExistingFileTest, DifferentOrMissingFilesAreNotTheSame) {
    const std::string file = m_dir / "file";
    // Equal bytes do not make one file.
    EXPECT_FALSE(platform::SameExistingFile(file.c_str(), (m_dir / "twin").c_str()));
    EXPECT_FALSE(platform::SameExistingFile(file.c_str(), (m_dir / "missing").c_str()));
    EXPECT_FALSE(
        platform::SameExistingFile((m_dir / "missing").c_str(), (m_dir / "missing").c_str()));
    // A dangling link names no file.
    fs::create_symlink(m_dir / "gone", m_dir / "dangling");
    EXPECT_FALSE(
        platform::SameExistingFile((m_dir / "dangling").c_str(), (m_dir / "gone").c_str()));
}

} // namespace
