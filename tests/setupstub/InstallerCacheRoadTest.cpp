// Which setups the launcher installs from the machine's installer cache:
// installer databases, and only when it runs elevated. The platform's side is
// replaced by a recorder; under wine64 tests/windows runs the real road.
#include "platform/PrivateFolder.h"
#include "setupstub/SetupStart.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

const char kKey[] = "6A1B2C3D-4E5F-4A6B-9C7D-8E9F0A1B2C3D";
const std::string kInstaller = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + "database";

using platform::ProgramRun;

struct RoadCase {
    const char* name;
    std::optional<std::string> bytes; // none: no file
    bool elevated;
    ProgramRun::Outcome installed;
    bool cacheTried;
    std::optional<int> status; // none: the per-run folder's start follows
};

class InstallerCacheRoad : public ::testing::TestWithParam<RoadCase> {};

TEST_P(InstallerCacheRoad, TakesTheCacheOnlyForAnElevatedInstaller) {
    ScratchFolder dir;
    platform::PrivateFolder folder =
        platform::PrivateFolder::Create(dir.Path(), platform::FolderTrust::OwnedByUser);
    ASSERT_TRUE(folder.IsOpen());
    if (GetParam().bytes)
        WriteFileBytes(folder.Path() + "Tidy.msi", *GetParam().bytes);

    int tries = 0;
    InstallerCacheAccess access;
    access.elevated = [] { return GetParam().elevated; };
    access.install = [&tries](const std::string& key, platform::RawFile& source,
                              const std::string& name) {
        ++tries;
        EXPECT_EQ(key, kKey);
        EXPECT_EQ(name, "Tidy.msi");
        // The whole database reaches the cache, from its first byte.
        std::string copied(static_cast<size_t>(source.Size()), '\0');
        EXPECT_TRUE(source.ReadAll(copied.data(), copied.size()));
        EXPECT_EQ(copied, GetParam().bytes.value_or(""));
        return ProgramRun{GetParam().installed, 1603};
    };
    const std::optional<SetupStartResult> started =
        StartFromInstallerCacheWith(access, folder, "Tidy.msi", kKey);
    EXPECT_EQ(tries, GetParam().cacheTried ? 1 : 0);
    ASSERT_EQ(started.has_value(), GetParam().status.has_value());
    if (started) {
        EXPECT_EQ(started->outcome, SetupStartResult::Outcome::Finished);
        EXPECT_EQ(started->exitCode, *GetParam().status);
    }
}

using O = ProgramRun::Outcome;

INSTANTIATE_TEST_SUITE_P(
    Setups, InstallerCacheRoad,
    ::testing::Values(
        RoadCase{"installer_elevated", kInstaller, true, O::Finished, true, 1603},
        RoadCase{"installer_not_elevated", kInstaller, false, O::Finished, false, std::nullopt},
        RoadCase{"cache_not_written", kInstaller, true, O::NotStarted, true, std::nullopt},
        RoadCase{"program_elevated", std::string("MZ\x90\0", 4), true, O::Finished, false,
                 std::nullopt},
        RoadCase{"script_elevated", std::string("#!/bin/sh\n"), true, O::Finished, false,
                 std::nullopt},
        RoadCase{"half_a_signature", kInstaller.substr(0, 7), true, O::Finished, false,
                 std::nullopt},
        RoadCase{"missing", std::nullopt, true, O::Finished, false, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
