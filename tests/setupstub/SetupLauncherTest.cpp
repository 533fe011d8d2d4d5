#include "setupstub/SetupLauncher.h"
#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"
#include "platform/FileFaults.h"
#include "setupstub/AffiliateLinkStore.h"
#include "setupstub/SetupStart.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using platform::MachineStore;
using platform::StoreRead;

namespace {

const char kKey[] = "6A1B2C3D-4E5F-4A6B-9C7D-8E9F0A1B2C3D";

std::string Value(const MachineStore& store, const std::string& key, const std::string& name) {
    char buffer[256];
    uint32_t size = sizeof buffer;
    if (store.QueryValue(ProductKeyPath(key), name, buffer, &size) != StoreRead::Ok)
        return "<none>";
    return std::string(buffer, size);
}

class SetupLauncherTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    MachineStore machine{dir / "machine"};
    MachineStore user{dir / "user"};
    platform::PrivateFolder folder;
    std::string temp; // the folder's path, with a trailing '/'

    void SetUp() override {
        fs::create_directory(dir / "temp");
        folder =
            platform::PrivateFolder::Create(dir / "temp", platform::FolderTrust::SharedTemporary);
        ASSERT_TRUE(folder.IsOpen());
        temp = folder.Path();
    }

    // A package on a small stand-in image with the given entries.
    std::string MakePackage(const std::vector<std::string>& sources) {
        CSfxPackage package;
        for (const std::string& source : sources)
            EXPECT_TRUE(package.AddFile(source)) << source;
        const std::string image = "launcher image";
        std::string path = dir / "package.bin";
        EXPECT_EQ(package.BuildWithImage(image.data(), image.size(), path), SFX_OK);
        return path;
    }

    std::string InfoFile(const std::string& key, const std::string& link, const std::string& site) {
        CAffiliateInfo info{key, link, site};
        std::string path = dir / "_aff1.ino";
        EXPECT_EQ(WriteAffiliateInfoFile(path, info), SFX_OK);
        return path;
    }

    std::string SetupFile() {
        WriteFileBytes(dir / "setup.sh", "#!/bin/sh\nexit 0\n");
        return dir / "setup.sh";
    }
};

} // namespace

TEST_F(SetupLauncherTest, PreparedPackageIsExtractedAndItsLinkStored) {
    std::string package =
        MakePackage({InfoFile(kKey, "http://buy/L", "http://site/W"), SetupFile()});
    PreparedSetup prepared = PrepareSetup(package, folder, machine, user);
    EXPECT_EQ(prepared.result, SFX_OK);
    EXPECT_EQ(prepared.stored, LinkStoreOutcome::MachineWide);
    EXPECT_EQ(prepared.setupName, "setup.sh");
    EXPECT_EQ(ReadFileBytes(temp + "setup.sh"), "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(fs::exists(temp + "_aff1.ino"));
    EXPECT_EQ(Value(machine, kKey, "PurchaseLink"), std::string("http://buy/L\0", 13));
    EXPECT_EQ(Value(machine, kKey, "ResellerUrl"), std::string("http://site/W\0", 14));
    EXPECT_FALSE(fs::exists(dir / "user"));

    // A second run overwrites with the same content.
    prepared = PrepareSetup(package, folder, machine, user);
    EXPECT_EQ(prepared.result, SFX_OK);
    EXPECT_EQ(Value(machine, kKey, "PurchaseLink"), std::string("http://buy/L\0", 13));
}

TEST_F(SetupLauncherTest, EmptyWebsiteIsAnEmptyString) {
    std::string package = MakePackage({InfoFile(kKey, "L", ""), SetupFile()});
    EXPECT_EQ(PrepareSetup(package, folder, machine, user).result, SFX_OK);
    EXPECT_EQ(Value(machine, kKey, "ResellerUrl"), std::string(1, '\0'));
}

TEST_F(SetupLauncherTest, UnwritableMachineStoreFallsBackToTheUsersStore) {
    WriteFileBytes(dir / "file", "x");
    MachineStore blocked(dir / "file/below");
    std::string package = MakePackage({InfoFile(kKey, "L", "W"), SetupFile()});
    PreparedSetup prepared = PrepareSetup(package, folder, blocked, user);
    EXPECT_EQ(prepared.result, SFX_OK);
    EXPECT_EQ(prepared.stored, LinkStoreOutcome::PerUser);
    EXPECT_EQ(Value(user, kKey, "PurchaseLink"), std::string("L\0", 2));
    EXPECT_EQ(Value(user, kKey, "ResellerUrl"), std::string("W\0", 2));

    // With no store at all the setup is still prepared.
    prepared = PrepareSetup(package, folder, blocked, MachineStore(dir / "file/user"));
    EXPECT_EQ(prepared.result, SFX_OK);
    EXPECT_EQ(prepared.stored, LinkStoreOutcome::NotStored);
    EXPECT_EQ(prepared.setupName, "setup.sh");
}

TEST_F(SetupLauncherTest, TextsEndAtANulByte) {
    CAffiliateInfo info{std::string(kKey) + std::string("\0tail", 5), std::string("L\0x", 3), ""};
    EXPECT_EQ(StoreAffiliateLink(info, machine, user), LinkStoreOutcome::MachineWide);
    EXPECT_EQ(Value(machine, kKey, "PurchaseLink"), std::string("L\0", 2));
}

TEST_F(SetupLauncherTest, PackageWithOneEntryExtractsAndStoresNothing) {
    std::string package = MakePackage({InfoFile(kKey, "L", "W")});
    PreparedSetup prepared = PrepareSetup(package, folder, machine, user);
    EXPECT_EQ(prepared.result, SFX_ERR_EMPTY);
    EXPECT_TRUE(prepared.setupName.empty());
    EXPECT_TRUE(fs::is_empty(temp));
    EXPECT_FALSE(fs::exists(dir / "machine"));
}

TEST_F(SetupLauncherTest, NoPackageOrABrokenInformationFileStoresNothing) {
    WriteFileBytes(dir / "bare", "just a launcher image");
    EXPECT_EQ(PrepareSetup(dir / "bare", folder, machine, user).result, SFX_ERR_MARKER);

    // A length that runs past the end of the information file.
    WriteFileBytes(dir / "afflreg.dat", std::string("\x24\x00\x00\x00"
                                                    "ABC",
                                                    7));
    std::string package = MakePackage({dir / "afflreg.dat", SetupFile()});
    PreparedSetup prepared = PrepareSetup(package, folder, machine, user);
    EXPECT_NE(prepared.result, SFX_OK);
    EXPECT_TRUE(prepared.setupName.empty());
    EXPECT_FALSE(fs::exists(dir / "machine"));

    // A field longer than 3999 bytes.
    std::string big(4, '\0');
    big[0] = static_cast<char>(4000 & 0xFF);
    big[1] = static_cast<char>(4000 >> 8);
    big += std::string(4000, 'k') + std::string(8, '\0');
    WriteFileBytes(dir / "afflreg.dat", big);
    package = MakePackage({dir / "afflreg.dat", SetupFile()});
    EXPECT_NE(PrepareSetup(package, folder, machine, user).result, SFX_OK);
    EXPECT_FALSE(fs::exists(dir / "machine"));
}

// The link is written while the package is extracted; a setup that never
// reached the disk must not leave its link behind.
TEST_F(SetupLauncherTest, FailedExtractionStoresNothing) {
    std::string package = MakePackage({InfoFile(kKey, "L", "W"), SetupFile()});
    platform::FileFaults::FailNth(platform::FileOperation::Write, 1);
    PreparedSetup prepared = PrepareSetup(package, folder, machine, user);
    platform::FileFaults::Reset();
    EXPECT_EQ(prepared.result, SFX_ERR_CREATE);
    EXPECT_EQ(prepared.stored, LinkStoreOutcome::NotStored);
    EXPECT_EQ(Value(machine, kKey, "PurchaseLink"), "<none>");
    EXPECT_EQ(Value(machine, kKey, "ResellerUrl"), "<none>");
    EXPECT_FALSE(fs::exists(dir / "user"));
    // The key may have been made; no value file, whole or temporary, is in it.
    for (const auto& entry : fs::recursive_directory_iterator(dir / "machine"))
        EXPECT_TRUE(entry.is_directory() || entry.path().filename() == "w.lock") << entry.path();
}

// The values are put in place only after the extraction; when that last step
// fails in the machine-wide store, the user's store gets the link, and when
// it fails there too the link is reported as not stored.
TEST_F(SetupLauncherTest, LinkThatCannotBePutInPlaceIsNeverReportedAsStored) {
    const fs::path machineKey =
        fs::path(dir / "machine") / MachineStore::KeyFolder(ProductKeyPath(kKey));
    fs::create_directories(machineKey / "v.resellerurl");
    std::string package = MakePackage({InfoFile(kKey, "L", "W"), SetupFile()});
    PreparedSetup prepared = PrepareSetup(package, folder, machine, user);
    EXPECT_EQ(prepared.result, SFX_OK);
    EXPECT_EQ(prepared.stored, LinkStoreOutcome::PerUser);
    EXPECT_EQ(Value(user, kKey, "PurchaseLink"), std::string("L\0", 2));
    EXPECT_EQ(Value(user, kKey, "ResellerUrl"), std::string("W\0", 2));

    const fs::path userKey = fs::path(dir / "user") / MachineStore::KeyFolder(ProductKeyPath(kKey));
    fs::remove_all(userKey);
    fs::create_directories(userKey / "v.purchaselink");
    prepared = PrepareSetup(package, folder, machine, user);
    EXPECT_EQ(prepared.result, SFX_OK) << "the setup still runs";
    EXPECT_EQ(prepared.stored, LinkStoreOutcome::NotStored);
    EXPECT_EQ(prepared.setupName, "setup.sh");
    EXPECT_EQ(Value(user, kKey, "ResellerUrl"), "<none>");
}

TEST_F(SetupLauncherTest, ExtractionDoesNotFollowAPlantedLink) {
    WriteFileBytes(dir / "victim", "precious");
    fs::create_symlink(dir / "victim", temp + "setup.sh");
    std::string package = MakePackage({InfoFile(kKey, "L", "W"), SetupFile()});
    EXPECT_EQ(PrepareSetup(package, folder, machine, user).result, SFX_OK);
    EXPECT_EQ(ReadFileBytes(dir / "victim"), "precious");
    EXPECT_FALSE(fs::is_symlink(temp + "setup.sh"));
}

TEST(SetupStart, FilesAreClassifiedByTheirFirstBytes) {
    ScratchFolder scratch;
    platform::PrivateFolder folder =
        platform::PrivateFolder::Create(scratch.Path(), platform::FolderTrust::SharedTemporary);
    ASSERT_TRUE(folder.IsOpen());
    const std::string dir = folder.Path();
    WriteFileBytes(dir + "elf", std::string("\x7f"
                                            "ELF\x02\x01",
                                            6));
    WriteFileBytes(dir + "script", "#!/bin/sh\n");
    WriteFileBytes(dir + "msi", "\xD0\xCF\x11\xE0");
    WriteFileBytes(dir + "pe", std::string("MZ\x90\x00", 4));
    WriteFileBytes(dir + "database", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    WriteFileBytes(dir + "short", "#");
    WriteFileBytes(dir + "empty", "");
    fs::create_directory(dir + "folder");
    EXPECT_EQ(ClassifySetupFile(folder, "elf"), SetupKind::Program);
    EXPECT_EQ(ClassifySetupFile(folder, "script"), SetupKind::Program);
    EXPECT_EQ(ClassifySetupFile(folder, "msi"), SetupKind::Document) << "half a signature";
    EXPECT_EQ(ClassifySetupFile(folder, "pe"), SetupKind::Program);
    EXPECT_EQ(ClassifySetupFile(folder, "database"), SetupKind::Program);
    EXPECT_EQ(ClassifySetupFile(folder, "short"), SetupKind::Document);
    EXPECT_EQ(ClassifySetupFile(folder, "empty"), SetupKind::Document);
    EXPECT_EQ(ClassifySetupFile(folder, "folder"), SetupKind::Missing);
    EXPECT_EQ(ClassifySetupFile(folder, "absent"), SetupKind::Missing);
    EXPECT_EQ(StartSetup(folder, "absent", {}).outcome, SetupStartResult::Outcome::Failed);
}
