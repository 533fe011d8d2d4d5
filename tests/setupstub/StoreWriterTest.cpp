#include "platform/MachineStore.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>

namespace fs = std::filesystem;
using platform::MachineStore;

namespace {

void AgeBy(const std::string& path, int seconds) {
    const time_t then = ::time(nullptr) - seconds;
    const struct timeval times[2] = {{then, 0}, {then, 0}};
    ASSERT_EQ(::lutimes(path.c_str(), times), 0) << path;
}

} // namespace

// A writer killed between staging and its commit leaves staged files; the
// next writer of the key removes those of the store's own naming that are
// older than a minute, and nothing else.
TEST(StoreWriter, StagedFilesOfKilledWritersAreRemovedByTheNextWriter) {
    ScratchFolder dir;
    MachineStore store(dir / "root");
    ASSERT_TRUE(store.SetString("K", "PurchaseLink", "first"));
    const fs::path key = fs::path(dir / "root") / MachineStore::KeyFolder("K");
    struct Planted {
        std::string name;
        int age;
        bool removed;
    };
    const Planted planted[] = {
        {"t.0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9", 120, true},
        {"t.1F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9", 5, false},   // a writer at work
        {"t.notours", 120, false},                              // not our naming
        {"t.2F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F", 120, false},  // one digit short
        {"t.3F1E2D3C+4B5A-4978-8695-A4B3C2D1E0F9", 120, false}, // no dash there
        {"v.other", 120, false},                                // a value
    };
    for (const Planted& p : planted) {
        WriteFileBytes((key / p.name).string(), "x");
        AgeBy((key / p.name).string(), p.age);
    }
    fs::create_symlink("/nonexistent", key / "t.4F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9");
    AgeBy((key / "t.4F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9").string(), 120);

    ASSERT_TRUE(store.SetString("K", "PurchaseLink", "second"));
    for (const Planted& p : planted)
        EXPECT_EQ(fs::exists(key / p.name), !p.removed) << p.name;
    EXPECT_FALSE(fs::is_symlink(key / "t.4F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9"))
        << "a planted link is removed, never followed";
}

// Only the store's owner can open the writers' lock: no other user can hold
// the machine-wide store's writers off.
TEST(StoreWriter, WritersLockIsTheOwnersAlone) {
    ScratchFolder dir;
    MachineStore store(dir / "root");
    ASSERT_TRUE(store.SetString("K", "PurchaseLink", "x"));
    struct stat info {};
    const fs::path lock = fs::path(dir / "root") / MachineStore::KeyFolder("K") / "w.lock";
    ASSERT_EQ(::lstat(lock.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}
