// The Windows store: the registry, through the 32-bit view. Each test uses a
// key of its own below "Software\VelkoraTests" of both hives.
#include "platform/Environment.h"
#include "platform/MachineStore.h"

#include <gtest/gtest.h>

#include <string>

using platform::MachineStore;
using platform::StoredValue;
using platform::StoreRead;

namespace {

const MachineStore kMachine("HKEY_LOCAL_MACHINE\\Software\\VelkoraTests");
const MachineStore kUser("HKCU\\Software\\VelkoraTests");

std::string KeyFor(const char* test) {
    return std::string("Velkora\\") + test;
}

StoredValue Read(const MachineStore& store, const std::string& key) {
    StoredValue value;
    EXPECT_EQ(store.ReadValue(key, "PurchaseLink", 4000, value), StoreRead::Ok);
    return value;
}

} // namespace

TEST(RegistryStore, StringsKeepTheirTerminatorAndKeysIgnoreLetterCase) {
    const std::string key = KeyFor("Strings");
    ASSERT_TRUE(kMachine.SetString(key, "PurchaseLink", "http://x/y"));
    StoredValue value;
    ASSERT_EQ(kMachine.ReadValue("VELKORA\\STRINGS\\", "purchaselink", 4000, value), StoreRead::Ok);
    EXPECT_EQ(value.bytes, std::string("http://x/y\0", 11));
    char buffer[11];
    uint32_t size = 5;
    EXPECT_EQ(kMachine.QueryValue(key, "PurchaseLink", buffer, &size), StoreRead::MoreData);
    EXPECT_EQ(size, 11u);
    EXPECT_EQ(kMachine.ReadValue(key, "PurchaseLink", 10, value), StoreRead::MoreData);
    EXPECT_EQ(kMachine.ReadValue(key, "ResellerUrl", 4000, value), StoreRead::NoValue);
    EXPECT_EQ(kMachine.ReadValue(KeyFor("Missing"), "PurchaseLink", 4000, value), StoreRead::NoKey);
}

// A later setup of the same affiliate writes the very bytes the machine-wide
// key holds already; it is still the store written last, also when a setup
// without administrator rights wrote the user's key in between.
TEST(RegistryStore, RewritingTheSameBytesMakesTheValueTheNewest) {
    const std::string key = KeyFor("Rewrite");
    ASSERT_TRUE(kMachine.SetString(key, "PurchaseLink", "http://machine"));
    ASSERT_TRUE(kUser.SetString(key, "PurchaseLink", "http://user"));
    EXPECT_GE(Read(kUser, key).writeTime, Read(kMachine, key).writeTime);
    ASSERT_TRUE(kMachine.SetString(key, "PurchaseLink", "http://machine"));
    EXPECT_GE(Read(kMachine, key).writeTime, Read(kUser, key).writeTime);
    EXPECT_EQ(Read(kMachine, key).bytes, std::string("http://machine\0", 15));
}

// The test switch refuses machine-wide writes, as a user without
// administrator rights meets them; the user's store still takes them.
TEST(RegistryStore, RefusedMachineWritesLeaveTheUsersStoreWorking) {
    const std::string key = KeyFor("Refused");
    platform::SetEnvironmentValue("VELKORA_REFUSE_MACHINE_STORE", "1");
    EXPECT_FALSE(kMachine.SetString(key, "PurchaseLink", "http://m"));
    EXPECT_TRUE(kUser.SetString(key, "PurchaseLink", "http://u"));
    platform::SetEnvironmentValue("VELKORA_REFUSE_MACHINE_STORE", nullptr);
    EXPECT_FALSE(kMachine.KeyExists(key));
    EXPECT_EQ(Read(kUser, key).bytes, std::string("http://u\0", 9));
}

// The launcher writes the link ahead while it extracts its package and puts
// it in place only once the setup is there.
TEST(RegistryStore, StagedStringsChangeNothingUntilCommitted) {
    const std::string key = KeyFor("Staged");
    ASSERT_TRUE(kUser.SetString(key, "PurchaseLink", "old"));
    {
        platform::StagedValues dropped = kUser.StageStrings(key, {{"PurchaseLink", "dropped"}});
        ASSERT_TRUE(dropped.Ready());
    }
    EXPECT_EQ(Read(kUser, key).bytes, std::string("old\0", 4));
    platform::StagedValues staged =
        kUser.StageStrings(key, {{"PurchaseLink", "new"}, {"ResellerUrl", ""}});
    EXPECT_EQ(Read(kUser, key).bytes, std::string("old\0", 4));
    ASSERT_TRUE(staged.Commit());
    EXPECT_FALSE(staged.Commit()) << "committed once only";
    EXPECT_EQ(Read(kUser, key).bytes, std::string("new\0", 4));
    StoredValue site;
    ASSERT_EQ(kUser.ReadValue(key, "ResellerUrl", 4000, site), StoreRead::Ok);
    EXPECT_EQ(site.bytes, std::string(1, '\0'));
    // A hive that is no store, or one that refuses writes, takes nothing.
    EXPECT_FALSE(MachineStore("HKEY_NOWHERE").StageStrings(key, {{"A", "b"}}).Ready());
    platform::SetEnvironmentValue("VELKORA_REFUSE_MACHINE_STORE", "1");
    EXPECT_FALSE(kMachine.StageStrings(key, {{"PurchaseLink", "m"}}).Ready());
    platform::SetEnvironmentValue("VELKORA_REFUSE_MACHINE_STORE", nullptr);
}
