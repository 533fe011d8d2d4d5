#include "platform/FileLock.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using platform::FileLock;
using platform::FileLockOutcome;
using namespace std::chrono_literals;

namespace {

struct Attempt {
    FileLock lock;
    FileLockOutcome outcome{};
    platform::FileStatus status;
};

Attempt Try(const std::string& path, std::chrono::milliseconds wait = 0ms) {
    Attempt a;
    a.lock = FileLock::Acquire(path, wait, a.outcome, a.status);
    return a;
}

struct LockName {
    const char* path;
    const char* lock;
};

class LockFileNameTest : public ::testing::TestWithParam<LockName> {};

TEST_P(LockFileNameTest, LiesBesideTheFileAsAHiddenName) {
    EXPECT_EQ(platform::LockFilePathFor(GetParam().path), GetParam().lock);
}

INSTANTIATE_TEST_SUITE_P(Names, LockFileNameTest,
                         ::testing::Values(LockName{"P.vkp", ".P.vkp.lock"},
                                           LockName{"dir/P.vkp", "dir/.P.vkp.lock"},
                                           LockName{"/a/b c/My App.vkp", "/a/b c/.My App.vkp.lock"},
                                           LockName{"/a/.hidden", "/a/..hidden.lock"}),
                         [](const ::testing::TestParamInfo<LockName>& info) {
                             return std::to_string(info.index);
                         });

class FileLockTest : public ::testing::Test {
protected:
    TempFolder m_dir{"velkora-lock"};
    std::string m_file = m_dir / "P.vkp";
};

TEST_F(FileLockTest, ASecondHolderWaitsUntilTheFirstLetsGo) {
    Attempt first = Try(m_file);
    ASSERT_EQ(first.outcome, FileLockOutcome::Locked);
    EXPECT_TRUE(first.lock.Held());

    // Another lock object excludes even in the same process.
    Attempt second = Try(m_file, 30ms);
    EXPECT_EQ(second.outcome, FileLockOutcome::Busy);
    EXPECT_FALSE(second.lock.Held());

    first.lock.Release();
    EXPECT_FALSE(first.lock.Held());
    EXPECT_EQ(Try(m_file).outcome, FileLockOutcome::Locked);
    // Created once and kept: a writer waiting on it must find the same file.
    EXPECT_TRUE(std::filesystem::is_regular_file(platform::LockFilePathFor(m_file)));
}

TEST_F(FileLockTest, AWaitingHolderGetsTheLockWhenItIsReleasedDuringTheWait) {
    Attempt first = Try(m_file);
    ASSERT_EQ(first.outcome, FileLockOutcome::Locked);
    std::thread releaser([&] {
        std::this_thread::sleep_for(50ms);
        first.lock.Release();
    });
    Attempt second = Try(m_file, 20000ms);
    releaser.join();
    EXPECT_EQ(second.outcome, FileLockOutcome::Locked);
}

TEST_F(FileLockTest, AMovedLockStaysHeldAndGoesWithItsLastOwner) {
    Attempt first = Try(m_file);
    ASSERT_EQ(first.outcome, FileLockOutcome::Locked);
    {
        FileLock moved = std::move(first.lock);
        EXPECT_FALSE(first.lock.Held()); // NOLINT(bugprone-use-after-move): checks the move
        EXPECT_EQ(Try(m_file).outcome, FileLockOutcome::Busy);
    }
    EXPECT_EQ(Try(m_file).outcome, FileLockOutcome::Locked);
}

TEST_F(FileLockTest, LocksOfTwoFilesInOneFolderAreIndependent) {
    Attempt first = Try(m_file);
    Attempt other = Try(m_dir / "Q.vkp");
    EXPECT_EQ(first.outcome, FileLockOutcome::Locked);
    EXPECT_EQ(other.outcome, FileLockOutcome::Locked);
}

TEST_F(FileLockTest, AMissingFolderFailsWithTheFileError) {
    const Attempt a = Try(m_dir / "no-such-folder/P.vkp");
    EXPECT_EQ(a.outcome, FileLockOutcome::Failed);
    EXPECT_EQ(a.status.error, platform::FileError::NotFound);
}

TEST_F(FileLockTest, AFolderInPlaceOfTheLockFileIsNotUsed) {
    std::filesystem::create_directory(platform::LockFilePathFor(m_file));
    const Attempt a = Try(m_file);
    EXPECT_EQ(a.outcome, FileLockOutcome::NotOwned);
    EXPECT_FALSE(a.lock.Held());
}

} // namespace
