#include "velklink/velklink.h"
#include "platform/MachineStore.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

using platform::MachineStore;

namespace {

const char kUuid[] = "0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B";

std::string KeyPath(const std::string& uuid) {
    return "Software\\Velkora\\" + uuid;
}

// Both stores in a scratch folder of the test's own.
class VelklinkTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    ScopedEnv machineEnv{"VELKORA_STORE_DIR", dir / "machine"};
    ScopedEnv userEnv{"VELKORA_USER_STORE_DIR", dir / "user"};
    MachineStore machine{dir / "machine"};
    MachineStore user{dir / "user"};
};

} // namespace

TEST_F(VelklinkTest, NothingStoredLeavesBufferAndSizeUntouched) {
    char buffer[16] = "unchanged";
    uint32_t size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_NO_KEY);
    EXPECT_EQ(size, sizeof buffer);
    EXPECT_STREQ(buffer, "unchanged");
    EXPECT_EQ(velkGetAffiliatePurchaseLink(nullptr, buffer, &size), VELK_LINK_NO_KEY);
}

TEST_F(VelklinkTest, SizeRulesForAFortyCharacterLink) {
    std::string link = "https://www.regnow.com/softsell/?x=12345";
    ASSERT_EQ(link.size(), 40u);
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", link));

    char buffer[64];
    std::memset(buffer, 'z', sizeof buffer);
    uint32_t size = 41;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_OK);
    EXPECT_EQ(size, 41u);
    EXPECT_STREQ(buffer, link.c_str());

    size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_OK);
    EXPECT_EQ(size, 41u);

    size = 10;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_MORE_DATA);
    EXPECT_EQ(size, 41u);

    size = 0;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, nullptr, &size), VELK_LINK_OK);
    EXPECT_EQ(size, 41u);
}

TEST_F(VelklinkTest, KeyTextInOtherLetterCaseFindsTheLink) {
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", "L"));
    char buffer[8];
    uint32_t size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink("0f8e1a2b-3c4d-4e5f-8a9b-0c1d2e3f4a5b", buffer, &size),
              VELK_LINK_OK);
    EXPECT_STREQ(buffer, "L");
}

TEST_F(VelklinkTest, KeyWithoutPurchaseLinkGivesTwo) {
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "ResellerUrl", "http://site"));
    char buffer[8] = "same";
    uint32_t size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_NO_VALUE);
    EXPECT_EQ(size, sizeof buffer);
    EXPECT_STREQ(buffer, "same");
}

TEST_F(VelklinkTest, PerUserLinkComesFirstAndMachineWideFillsIn) {
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", "machine"));
    char buffer[32];
    uint32_t size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_OK);
    EXPECT_STREQ(buffer, "machine");

    // A user key that lacks the value does not hide the machine-wide one.
    ASSERT_TRUE(user.SetString(KeyPath(kUuid), "ResellerUrl", "x"));
    size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_OK);
    EXPECT_STREQ(buffer, "machine");

    ASSERT_TRUE(user.SetString(KeyPath(kUuid), "PurchaseLink", "user"));
    size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_OK);
    EXPECT_STREQ(buffer, "user");
}

TEST_F(VelklinkTest, KeyPathMustFitTheThousandByteBuffer) {
    // "Software\Velkora\" (17) + key + "\" + terminator: 981 bytes fit, 982 do not.
    std::string fits(981, 'k');
    std::string tooLong(982, 'k');
    ASSERT_TRUE(machine.SetString(KeyPath(fits), "PurchaseLink", "fits"));
    // The writer's path has no trailing backslash, so this key can be stored
    // but not asked for.
    ASSERT_TRUE(machine.SetString(KeyPath(tooLong), "PurchaseLink", "too long"));
    char buffer[16];
    uint32_t size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(fits.c_str(), buffer, &size), VELK_LINK_OK);
    EXPECT_STREQ(buffer, "fits");
    size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(tooLong.c_str(), buffer, &size), VELK_LINK_NO_KEY);
    EXPECT_EQ(velkGetAffiliatePurchaseLink(std::string(2000, 'k').c_str(), buffer, &size),
              VELK_LINK_NO_KEY);
    EXPECT_EQ(size, sizeof buffer);
}

TEST_F(VelklinkTest, TraversalKeysFindNothingOutsideTheStore) {
    // A value file planted beside the stores is never reached through a key.
    WriteFileBytes(dir / "v.purchaselink", "outside");
    for (const char* key : {"..", "../..", "..\\..", "/", "\\", "../machine", ""}) {
        char buffer[16] = "x";
        uint32_t size = sizeof buffer;
        EXPECT_EQ(velkGetAffiliatePurchaseLink(key, buffer, &size), VELK_LINK_NO_KEY) << key;
    }
}

TEST_F(VelklinkTest, ManyThreadsReadWhileTheLinkIsRewritten) {
    const std::string first = "https://first.example/buy?affiliate=1";
    const std::string second = "https://second.example/buy?affiliate=22";
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", first));

    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::atomic<int> calls{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 8; ++t)
        readers.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                char buffer[128];
                uint32_t size = sizeof buffer;
                int32_t result = velkGetAffiliatePurchaseLink(kUuid, buffer, &size);
                ++calls;
                std::string seen = result == VELK_LINK_OK ? std::string(buffer, size) : "";
                if (seen != first + '\0' && seen != second + '\0')
                    ++wrong;
            }
        });
    std::thread writer([&] {
        for (int i = 0; !stop; ++i)
            machine.SetString(KeyPath(kUuid), "PurchaseLink", i % 2 ? first : second);
    });
    for (auto& t : readers)
        t.join();
    stop = true;
    writer.join();
    EXPECT_EQ(calls, 8 * 300);
    EXPECT_EQ(wrong, 0);
}
