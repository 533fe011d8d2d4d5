#include "setupstub/LauncherRun.h"
#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"
#include "setupstub/AffiliateLinkStore.h"
#include "setupstub/LauncherStatus.h"
#include "tests/package/SignedSample.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using platform::MachineStore;
using Outcome = SetupStartResult::Outcome;

namespace {

const char kKey[] = "6A1B2C3D-4E5F-4A6B-9C7D-8E9F0A1B2C3D";

// A launcher run on a package of a stand-in image, with the setup's start
// replaced by a recorder that can answer as a noexec folder would.
class LauncherRunTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    MachineStore machine{dir / "machine"};
    MachineStore user{dir / "user"};
    std::vector<std::string> started; // setup paths, in start order
    std::vector<std::string> seenBytes;
    LauncherEnvironment env;

    void SetUp() override {
        fs::create_directories(dir / "temp");
        fs::create_directories(dir / "cache");
        CAffiliateInfo info{kKey, "https://buy.example/?a=1", "https://site.example/"};
        EXPECT_EQ(WriteAffiliateInfoFile(dir / "_aff1.ino", info), SFX_OK);
        WriteFileBytes(dir / "setup.sh", "#!/bin/sh\nexit 0\n");
        CSfxPackage package;
        EXPECT_TRUE(package.AddFile(dir / "_aff1.ino"));
        EXPECT_TRUE(package.AddFile(dir / "setup.sh"));
        const std::string image = "launcher image";
        EXPECT_EQ(package.BuildWithImage(image.data(), image.size(), dir / "package"), SFX_OK);

        env.packagePath = dir / "package";
        env.tempParent = dir / "temp";
        env.fallbackParent = [this] { return dir / "cache"; };
        env.machineWide = &machine;
        env.perUser = &user;
    }

    // A start that runs nothing from below refusedParent and ends with code.
    void StartAnswers(const std::string& refusedParent, int code) {
        env.startSetup = [this, refusedParent, code](platform::PrivateFolder& folder,
                                                     const std::string& name,
                                                     const std::vector<std::string>& args) {
            const std::string path = folder.Path() + name;
            started.push_back(path);
            seenBytes.push_back(ReadFileBytes(path));
            EXPECT_EQ(args, (std::vector<std::string>{"/S", ""}));
            if (!refusedParent.empty() && path.rfind(refusedParent, 0) == 0)
                return SetupStartResult{Outcome::NotExecutable, 0};
            return SetupStartResult{Outcome::Finished, code};
        };
    }
};

} // namespace

// The setup may read the link at once (the vendor's program is often started
// by it): the link is in place before the setup starts.
TEST_F(LauncherRunTest, LinkIsInPlaceWhenTheSetupStarts) {
    std::string linkSeen;
    env.startSetup = [&](platform::PrivateFolder&, const std::string&,
                         const std::vector<std::string>&) {
        platform::StoredValue value;
        if (machine.ReadValue(ProductKeyPath(kKey), "PurchaseLink", 4000, value) ==
            platform::StoreRead::Ok)
            linkSeen = value.bytes;
        return SetupStartResult{Outcome::Finished, 0};
    };
    EXPECT_EQ(RunLauncher(env, {}), 0);
    EXPECT_EQ(linkSeen, std::string("https://buy.example/?a=1\0", 25));
}

TEST_F(LauncherRunTest, SetupRunsFromAFolderOfItsOwnThatIsRemovedAfterwards) {
    StartAnswers("", 23);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 23);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(fs::path(started[0]).parent_path().parent_path(), fs::path(dir / "temp"));
    EXPECT_EQ(seenBytes[0], "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(fs::is_empty(dir / "temp"));
    EXPECT_TRUE(machine.KeyExists(ProductKeyPath(kKey)));
}

// An installer installed from the machine's cache is not started again from
// the run's folder; when the cache declines, the run's folder is used.
TEST_F(LauncherRunTest, SetupInstalledFromTheCacheIsNotStartedAgain) {
    StartAnswers("", 0);
    std::string cachedName;
    env.startFromInstallerCache = [&](platform::PrivateFolder&, const std::string& name,
                                      const std::string& key) {
        cachedName = name;
        EXPECT_EQ(key, kKey);
        return std::optional<SetupStartResult>(SetupStartResult{Outcome::Finished, 1641});
    };
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 1641);
    EXPECT_EQ(cachedName, "setup.sh");
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(fs::is_empty(dir / "temp"));

    env.startFromInstallerCache = [](platform::PrivateFolder&, const std::string&,
                                     const std::string&) {
        return std::optional<SetupStartResult>();
    };
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 0);
    EXPECT_EQ(started.size(), 1u);
}

TEST_F(LauncherRunTest, TwoRunsNeverShareAFolder) {
    StartAnswers("", 0);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 0);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 0);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_NE(fs::path(started[0]).parent_path(), fs::path(started[1]).parent_path());
}

TEST_F(LauncherRunTest, SetupThatCannotRunFromTheTemporaryFolderRunsFromTheCache) {
    StartAnswers(dir / "temp", 9);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 9);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(fs::path(started[1]).parent_path().parent_path(), fs::path(dir / "cache"));
    EXPECT_EQ(seenBytes[1], "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(fs::is_empty(dir / "temp"));
    EXPECT_TRUE(fs::is_empty(dir / "cache"));
}

TEST_F(LauncherRunTest, SetupThatCannotRunAnywhereFails) {
    StartAnswers(dir.Path(), 0);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 1);
    EXPECT_EQ(started.size(), 2u);
    EXPECT_TRUE(fs::is_empty(dir / "temp"));
    EXPECT_TRUE(fs::is_empty(dir / "cache"));
}

TEST_F(LauncherRunTest, UnusableTemporaryFolderFallsBackToTheCache) {
    env.tempParent = dir / "missing";
    StartAnswers("", 4);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 4);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(fs::path(started[0]).parent_path().parent_path(), fs::path(dir / "cache"));
}

TEST_F(LauncherRunTest, BareLauncherStartsNothingAndLeavesNothing) {
    WriteFileBytes(dir / "bare", "launcher image only");
    env.packagePath = dir / "bare";
    StartAnswers("", 0);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 0);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(fs::is_empty(dir / "temp"));
}

// A signed package with bytes after its certificate table: the trailer is no
// longer at the end, and the signature is malformed. Even where the image's
// length is unknown (a bare launcher looks alike), that is a package whose
// information cannot be read: nothing is stored, unpacked or started.
TEST_F(LauncherRunTest, SignedPackageWithBytesAfterItsSignatureIsRefused) {
    CSfxPackage package;
    ASSERT_TRUE(package.AddFile(dir / "_aff1.ino"));
    ASSERT_TRUE(package.AddFile(dir / "setup.sh"));
    const std::string image = signedsample::PeImage();
    ASSERT_EQ(package.BuildWithImage(image.data(), image.size(), dir / "built"), SFX_OK);
    const std::string signedBytes = signedsample::SignSha256(ReadFileBytes(dir / "built"));
    StartAnswers("", 0);
    for (const size_t extra : {8, 13, 4096}) {
        WriteFileBytes(dir / "signed", signedBytes + std::string(extra, '\0'));
        env.packagePath = dir / "signed";
        EXPECT_EQ(RunLauncher(env, {"/S", ""}), kLauncherDamaged) << extra;
    }
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(fs::is_empty(dir / "temp"));
    platform::StoredValue value;
    EXPECT_NE(machine.ReadValue(ProductKeyPath(kKey), "PurchaseLink", 4000, value),
              platform::StoreRead::Ok);

    // The same signed package as it was signed runs.
    WriteFileBytes(dir / "signed", signedBytes);
    EXPECT_EQ(RunLauncher(env, {"/S", ""}), 0);
    EXPECT_EQ(started.size(), 1u);
}
