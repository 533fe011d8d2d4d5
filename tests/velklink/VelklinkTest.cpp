#include "velklink/velklink.h"
#include "platform/MachineStore.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
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

TEST_F(VelklinkTest, NullArgumentsAnswerAsTheHeaderSays) {
    char buffer[8] = "same";
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, nullptr), VELK_LINK_NO_KEY);
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", "L"));
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, nullptr), VELK_LINK_NO_VALUE);
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, nullptr, nullptr), VELK_LINK_NO_VALUE);
    EXPECT_STREQ(buffer, "same");
    uint32_t size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(nullptr, nullptr, &size), VELK_LINK_NO_KEY);
    EXPECT_EQ(size, sizeof buffer);
    static_assert(VELKLINK_VERSION >= VELKLINK_VERSION_AT(1, 0));
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

TEST_F(VelklinkTest, EitherStoreFillsInForTheOther) {
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

    const char other[] = "11111111-2222-4333-8444-555555555555";
    ASSERT_TRUE(user.SetString(KeyPath(other), "PurchaseLink", "user"));
    size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(other, buffer, &size), VELK_LINK_OK);
    EXPECT_STREQ(buffer, "user");
}

// Which store's link comes back when both hold one, by the age of each value.
struct NewestCase {
    int userAgeSeconds;
    int machineAgeSeconds;
    const char* expected;
};

class NewestLinkWins : public VelklinkTest, public ::testing::WithParamInterface<NewestCase> {
protected:
    void Age(const std::string& root, int seconds) {
        auto file = fs::path(root) / MachineStore::KeyFolder(KeyPath(kUuid)) / "v.purchaselink";
        fs::last_write_time(file, fixedNow - std::chrono::seconds(seconds));
    }
    fs::file_time_type fixedNow = fs::file_time_type::clock::now();
};

TEST_P(NewestLinkWins, ValueWrittenLastIsReturned) {
    ASSERT_TRUE(user.SetString(KeyPath(kUuid), "PurchaseLink", "user"));
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", "machine"));
    Age(dir / "user", GetParam().userAgeSeconds);
    Age(dir / "machine", GetParam().machineAgeSeconds);
    char buffer[32];
    uint32_t size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_OK);
    EXPECT_STREQ(buffer, GetParam().expected);
    EXPECT_EQ(size, std::strlen(GetParam().expected) + 1);
    size = 0;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, nullptr, &size), VELK_LINK_OK);
    EXPECT_EQ(size, std::strlen(GetParam().expected) + 1);
}

INSTANTIATE_TEST_SUITE_P(BothStores, NewestLinkWins,
                         ::testing::Values(NewestCase{100, 10, "machine"},
                                           NewestCase{10, 100, "user"},
                                           NewestCase{50, 50, "machine"},
                                           NewestCase{0, 1, "user"}));

// Values the launcher never writes: each gives result 2 and leaves the
// caller's buffer and size alone, with a buffer and with none.
struct BadValueCase {
    const char* name;
    std::string bytes;
};

class MalformedValue : public VelklinkTest, public ::testing::WithParamInterface<BadValueCase> {};

TEST_P(MalformedValue, GivesTwo) {
    ASSERT_TRUE(machine.SetValue(KeyPath(kUuid), "PurchaseLink", GetParam().bytes));
    std::vector<char> buffer(8192, 'q');
    uint32_t size = static_cast<uint32_t>(buffer.size());
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer.data(), &size), VELK_LINK_NO_VALUE);
    EXPECT_EQ(size, buffer.size());
    EXPECT_EQ(buffer[0], 'q');
    size = 0;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, nullptr, &size), VELK_LINK_NO_VALUE);
    EXPECT_EQ(size, 0u);
}

INSTANTIATE_TEST_SUITE_P(Values, MalformedValue,
                         ::testing::Values(BadValueCase{"Unterminated", "https://x.example/buy"},
                                           BadValueCase{"Empty", ""},
                                           BadValueCase{"OneOverTheLauncherLimit",
                                                        std::string(4000, 'a') + '\0'},
                                           BadValueCase{"Huge", std::string(70000, 'a') + '\0'}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VelklinkTest, LongestValueTheLauncherWritesIsReturned) {
    const std::string link(3999, 'a');
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", link));
    std::vector<char> buffer(4000);
    uint32_t size = 4000;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer.data(), &size), VELK_LINK_OK);
    EXPECT_EQ(size, 4000u);
    EXPECT_EQ(std::string(buffer.data()), link);
}

TEST_F(VelklinkTest, SparseHugeValueIsRefusedWithoutItsSize) {
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", "x"));
    auto file =
        fs::path(dir / "machine") / MachineStore::KeyFolder(KeyPath(kUuid)) / "v.purchaselink";
    std::error_code ec;
    fs::resize_file(file, (uint64_t(1) << 32) - 1, ec);
    if (ec)
        GTEST_SKIP() << "no sparse files here";
    uint32_t size = 0;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, nullptr, &size), VELK_LINK_NO_VALUE);
    EXPECT_EQ(size, 0u);
    char buffer[16];
    size = sizeof buffer;
    EXPECT_EQ(velkGetAffiliatePurchaseLink(kUuid, buffer, &size), VELK_LINK_NO_VALUE);
    EXPECT_EQ(size, sizeof buffer);
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

TEST_F(VelklinkTest, ThreadsReadWholeLinksWhileBothStoresAreRewritten) {
    const std::string links[] = {"https://a.example/buy?affiliate=1",
                                 "https://bb.example/buy?affiliate=22",
                                 "https://ccc.example/buy?affiliate=333"};
    ASSERT_TRUE(machine.SetString(KeyPath(kUuid), "PurchaseLink", links[0]));
    ASSERT_TRUE(user.SetString(KeyPath(kUuid), "PurchaseLink", links[1]));

    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 8; ++t)
        readers.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                char buffer[128];
                uint32_t size = sizeof buffer;
                int32_t result = velkGetAffiliatePurchaseLink(kUuid, buffer, &size);
                std::string seen = result == VELK_LINK_OK ? std::string(buffer, size) : "";
                bool whole = false;
                for (const std::string& link : links)
                    whole = whole || seen == link + '\0';
                if (!whole)
                    ++wrong;
            }
        });
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            const MachineStore& store = i % 2 ? user : machine;
            store.SetString(KeyPath(kUuid), "PurchaseLink", links[i % 3]);
        }
    });
    for (auto& t : readers)
        t.join();
    stop = true;
    writer.join();
    EXPECT_EQ(wrong, 0);
}
