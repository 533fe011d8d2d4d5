// The launcher program itself, run on packages made from its own image:
// its exit statuses, what it stores and starts, how it ends when asked to,
// and two launchers of one product at once (its test build holds at named
// points, so that each race is run once, at the moment that matters).
#include "package/PackageTrailer.h"
#include "platform/MachineStore.h"
#include "platform/StoreContract.h"
#include "setupstub/LauncherStatus.h"
#include "tests/setupstub/LauncherChild.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;
using platform::MachineStore;

namespace {

const char kKey[] = "6A1B2C3D-4E5F-4A6B-9C7D-8E9F0A1B2C3D";
const std::string kProductKey = platform::ProductKeyPath(kKey);

// An image followed by the given entries and a trailer naming them.
std::string ComposePackage(const std::string& image,
                           const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string bytes = image;
    CPackageTrailer trailer;
    for (const auto& [name, payload] : entries) {
        CSfxEntry entry;
        entry.m_strName = name;
        entry.m_nOffset = static_cast<int32_t>(bytes.size());
        entry.m_nSize = static_cast<int32_t>(payload.size());
        trailer.m_entries.push_back(entry);
        bytes += payload;
    }
    trailer.EncodeTo(bytes);
    return bytes;
}

std::string Value(const MachineStore& store, std::string_view name) {
    char buffer[256];
    uint32_t size = sizeof buffer;
    if (store.QueryValue(kProductKey, name, buffer, &size) != platform::StoreRead::Ok)
        return "<none>";
    return std::string(buffer, size > 0 ? size - 1 : 0);
}

class LauncherProcessTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    MachineStore machine{dir / "machine"};
    std::string out = dir / "out";

    void SetUp() override {
        fs::create_directories(dir / "tmp");
        fs::create_directories(dir / "pause");
        fs::create_directories(out);
    }

    std::vector<std::string> Env(const std::string& pauseAt = "") const {
        return {"PATH=/usr/bin:/bin",
                "TMPDIR=" + (dir / "tmp"),
                "HOME=" + (dir / "home"),
                "VELKORA_STORE_DIR=" + (dir / "machine"),
                "VELKORA_USER_STORE_DIR=" + (dir / "user"),
                "VELKORA_PAUSE_AT=" + pauseAt,
                "VELKORA_PAUSE_DIR=" + (dir / "pause")};
    }

    std::string WritePackage(const std::string& name, const std::string& bytes) const {
        const std::string path = dir / name;
        WriteFileBytes(path, bytes);
        ::chmod(path.c_str(), 0755);
        return path;
    }

    std::string Setup(const std::string& body) const { return "#!/bin/sh\n" + body + "\n"; }

    std::string Info(const std::string& link, const std::string& site) const {
        return EncodeAffiliateInfo({kKey, link, site});
    }

    // No file is left in the temporary folder, and no staged value in the key.
    void ExpectNothingLeft() const {
        EXPECT_TRUE(fs::is_empty(dir / "tmp"));
        const fs::path key = fs::path(dir / "machine") / MachineStore::KeyFolder(kProductKey);
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(key, ignored))
            EXPECT_NE(entry.path().filename().string().rfind("t.", 0), 0u) << entry.path();
    }
};

// How a package is damaged, and the status the launcher must end with.
struct DamageCase {
    const char* name;
    std::string (*damage)(const std::string& image, const std::string& whole,
                          const std::string& info, const std::string& setup);
    int status;
};

std::string Whole(const std::string&, const std::string& whole, const std::string&,
                  const std::string&) {
    return whole;
}

const DamageCase kDamageCases[] = {
    {"bare",
     [](const std::string& image, const std::string&, const std::string&, const std::string&) {
         return image;
     },
     kLauncherBare},
    {"truncated",
     [](const std::string&, const std::string& whole, const std::string&, const std::string&) {
         return whole.substr(0, whole.size() - 5);
     },
     kLauncherDamaged},
    {"cut_inside_payload",
     [](const std::string& image, const std::string& whole, const std::string&,
        const std::string&) { return whole.substr(0, image.size() + 20); },
     kLauncherDamaged},
    {"bad_marker",
     [](const std::string&, const std::string& whole, const std::string&, const std::string&) {
         return whole.substr(0, whole.size() - 1) + "?";
     },
     kLauncherDamaged},
    {"count_out_of_range",
     [](const std::string&, const std::string& whole, const std::string&, const std::string&) {
         std::string bytes = whole;
         bytes[bytes.size() - 11] = '\x7f';
         return bytes;
     },
     kLauncherDamaged},
    {"one_entry",
     [](const std::string& image, const std::string&, const std::string& info, const std::string&) {
         return ComposePackage(image, {{"_aff1.ino", info}});
     },
     kLauncherDamaged},
    {"bad_information_file",
     [](const std::string& image, const std::string&, const std::string&,
        const std::string& setup) {
         return ComposePackage(
             image, {{"_aff1.ino", std::string("\xff\xff\x00\x00K", 5)}, {"setup.sh", setup}});
     },
     kLauncherDamaged},
    // A name the file system cannot hold: the package is whole, its
    // unpacking fails, so neither the link nor the setup may come of it.
    {"entry_that_cannot_be_unpacked",
     [](const std::string& image, const std::string&, const std::string& info,
        const std::string& setup) {
         return ComposePackage(image, {{"_aff1.ino", info}, {std::string(300, 's'), setup}});
     },
     kLauncherFailed},
    {"whole", Whole, 0},
};

class LauncherDamageTest : public LauncherProcessTest,
                           public ::testing::WithParamInterface<DamageCase> {};

} // namespace

TEST_P(LauncherDamageTest, StatusTellsAndNothingIsStoredOrStartedUnlessWhole) {
    const std::string image = ReadFileBytes(SETUPSTUB_PROGRAM);
    ASSERT_FALSE(image.empty());
    const std::string info = Info("https://buy/L", "https://site/W");
    const std::string setup = Setup("touch " + out + "/ran");
    const std::string whole = ComposePackage(image, {{"_aff1.ino", info}, {"setup.sh", setup}});
    const std::string package =
        WritePackage("package.bin", GetParam().damage(image, whole, info, setup));

    EXPECT_EQ(WaitChild(StartChild(package, {}, Env())), GetParam().status);
    const bool whole_ran = GetParam().status == 0 && std::string(GetParam().name) == "whole";
    EXPECT_EQ(fs::exists(out + "/ran"), whole_ran);
    EXPECT_EQ(Value(machine, platform::kPurchaseLinkValue), whole_ran ? "https://buy/L" : "<none>");
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(Packages, LauncherDamageTest, ::testing::ValuesIn(kDamageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A request to end (from another process) while the package is unpacked, or
// while the setup runs: the setup gets it too, the launcher waits for it,
// removes its folder and its staged values, and ends with 128 + n.
struct StopCase {
    int signal;
    bool whileSetupRuns;
};

class LauncherStopTest : public LauncherProcessTest,
                         public ::testing::WithParamInterface<StopCase> {};

TEST_P(LauncherStopTest, RequestToEndLeavesNothingBehind) {
    const StopCase stop = GetParam();
    const std::string setup = Setup("trap 'touch " + out + "/told; exit 0' TERM HUP\ntouch " + out +
                                    "/started\nwhile :; do sleep 0.05; done");
    ASSERT_TRUE(MakeLauncherPackage(SETUPSTUB_HOOKED, dir / "package.bin",
                                    {kKey, "https://buy/L", "https://site/W"}, setup));
    const PauseDir pause(dir / "pause");
    const pid_t pid = StartChild(dir / "package.bin", {}, Env(stop.whileSetupRuns ? "" : "unpack"));
    if (stop.whileSetupRuns) {
        for (int i = 0; i < 6000 && !fs::exists(out + "/started"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_TRUE(fs::exists(out + "/started"));
        ::kill(pid, stop.signal);
    } else {
        ASSERT_EQ(pause.WaitHeld(pid, "unpack"), std::nullopt);
        ::kill(pid, stop.signal);
        pause.Release("unpack");
    }
    EXPECT_EQ(WaitChild(pid), 128 + stop.signal);
    EXPECT_EQ(fs::exists(out + "/told"), stop.whileSetupRuns);
    if (!stop.whileSetupRuns) {
        EXPECT_FALSE(fs::exists(out + "/started"));
        EXPECT_EQ(Value(machine, platform::kPurchaseLinkValue), "<none>");
    }
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(Signals, LauncherStopTest,
                         ::testing::Values(StopCase{SIGTERM, false}, StopCase{SIGHUP, false},
                                           StopCase{SIGINT, false}, StopCase{SIGTERM, true},
                                           StopCase{SIGHUP, true}));

// Two setups of one product at once: the second writer meets the first one
// between its two values and must wait, so the link and the web site stored
// always come from one setup.
TEST_F(LauncherProcessTest, TwoLaunchersOfOneProductNeverMixTheirValues) {
    const std::string setup = Setup("exit 0");
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    ASSERT_TRUE(MakeLauncherPackage(SETUPSTUB_HOOKED, dir / "a/setup.bin",
                                    {kKey, "https://buy/ANN", "https://ann.example/"}, setup));
    ASSERT_TRUE(MakeLauncherPackage(SETUPSTUB_HOOKED, dir / "b/setup.bin",
                                    {kKey, "https://buy/BOB", "https://bob.example/"}, setup));
    const PauseDir pause(dir / "pause");
    const pid_t ann = StartChild(dir / "a/setup.bin", {}, Env("store-between-values"));
    ASSERT_EQ(pause.WaitHeld(ann, "store-between-values"), std::nullopt);
    const pid_t bob = StartChild(dir / "b/setup.bin", {}, Env("store-lock-busy"));
    const std::optional<int> bobEnded = pause.WaitHeld(bob, "store-lock-busy");
    pause.Release("store-between-values");
    EXPECT_EQ(WaitChild(ann), 0);
    if (!bobEnded) {
        pause.Release("store-lock-busy");
        EXPECT_EQ(WaitChild(bob), 0);
    }
    EXPECT_EQ(bobEnded, std::nullopt) << "the second writer did not wait";
    EXPECT_EQ(Value(machine, platform::kPurchaseLinkValue), "https://buy/BOB");
    EXPECT_EQ(Value(machine, platform::kResellerUrlValue), "https://bob.example/");
    ExpectNothingLeft();
}
