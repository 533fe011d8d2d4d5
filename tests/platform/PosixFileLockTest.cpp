#include "platform/FileLock.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using platform::FileLock;
using platform::FileLockOutcome;

namespace {

// Something a second user could have put where the lock file belongs.
struct Planted {
    const char* what;
    std::function<bool(const std::string& lockPath, const std::string& elsewhere)> plant;
};

void PrintTo(const Planted& p, std::ostream* os) {
    *os << p.what;
}

class PlantedLockFileTest : public ::testing::TestWithParam<Planted> {};

TEST_P(PlantedLockFileTest, IsRefusedWithoutTouchingIt) {
    TempFolder dir("velkora-lock");
    const std::string file = dir / "P.vkp";
    const std::string lockPath = platform::LockFilePathFor(file);
    const std::string elsewhere = dir / "victim";
    std::ofstream(elsewhere) << "keep";
    if (!GetParam().plant(lockPath, elsewhere))
        GTEST_SKIP() << "cannot plant " << GetParam().what << " here";

    FileLockOutcome outcome{};
    platform::FileStatus status;
    const FileLock lock = FileLock::Acquire(file, std::chrono::milliseconds(0), outcome, status);
    EXPECT_EQ(outcome, FileLockOutcome::NotOwned);
    EXPECT_FALSE(lock.Held());
    std::string kept;
    std::ifstream(elsewhere) >> kept;
    EXPECT_EQ(kept, "keep");
}

INSTANTIATE_TEST_SUITE_P(
    Plants, PlantedLockFileTest,
    ::testing::Values(Planted{"a link to a file of ours",
                              [](const std::string& lock, const std::string& target) {
                                  return ::symlink(target.c_str(), lock.c_str()) == 0;
                              }},
                      Planted{"a dangling link",
                              [](const std::string& lock, const std::string& target) {
                                  return ::symlink((target + ".new").c_str(), lock.c_str()) == 0;
                              }},
                      Planted{"a pipe, never waited on",
                              [](const std::string& lock, const std::string&) {
                                  return ::mkfifo(lock.c_str(), 0600) == 0;
                              }},
                      Planted{"a file of another user (needs root)",
                              [](const std::string& lock, const std::string&) {
                                  std::ofstream(lock).put('x');
                                  return ::geteuid() == 0 &&
                                         ::chown(lock.c_str(), 12345, 12345) == 0;
                              }}),
    [](const ::testing::TestParamInfo<Planted>& info) { return std::to_string(info.index); });

TEST(PosixFileLockTest, TheLockFileIsPrivateToItsOwner) {
    TempFolder dir("velkora-lock");
    FileLockOutcome outcome{};
    platform::FileStatus status;
    const FileLock lock =
        FileLock::Acquire(dir / "P.vkp", std::chrono::milliseconds(0), outcome, status);
    ASSERT_EQ(outcome, FileLockOutcome::Locked);
    struct stat st {};
    ASSERT_EQ(::lstat(platform::LockFilePathFor(dir / "P.vkp").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(st.st_mode & 077, 0u);
}

} // namespace
