#include "platform/MachineStore.h"
#include "tests/velklink/ScratchFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using platform::MachineStore;
using platform::StoreRead;

namespace {

std::string Read(const MachineStore& store, const std::string& key, const std::string& name,
                 StoreRead* outcome = nullptr) {
    std::vector<char> buffer(128 * 1024);
    auto size = static_cast<uint32_t>(buffer.size());
    StoreRead read = store.QueryValue(key, name, buffer.data(), &size);
    if (outcome)
        *outcome = read;
    return read == StoreRead::Ok ? std::string(buffer.data(), size) : std::string("<none>");
}

// Every path below folder, symbolic links not followed.
std::set<std::string> Tree(const std::string& folder) {
    std::set<std::string> paths;
    for (auto it = fs::recursive_directory_iterator(folder);
         it != fs::recursive_directory_iterator(); ++it)
        paths.insert(it->path().string());
    return paths;
}

} // namespace

TEST(MachineStore, StringsKeepTheirTerminatorAndKeysIgnoreLetterCase) {
    ScratchFolder dir;
    MachineStore store(dir / "root");
    ASSERT_TRUE(store.SetString("Software\\Velkora\\ABC-def", "PurchaseLink", "http://x/y"));
    EXPECT_EQ(Read(store, "software\\velkora\\abc-DEF", "purchaselink"),
              std::string("http://x/y\0", 11));
    // A trailing or doubled backslash names the same key.
    EXPECT_EQ(Read(store, "Software\\Velkora\\ABC-DEF\\", "PurchaseLink").size(), 11u);
    EXPECT_EQ(Read(store, "Software\\\\Velkora\\ABC-DEF", "PurchaseLink").size(), 11u);
    ASSERT_TRUE(store.SetString("Software\\Velkora\\ABC-DEF", "ResellerUrl", ""));
    EXPECT_EQ(Read(store, "Software\\Velkora\\abc-def", "ResellerUrl"), std::string(1, '\0'));
    EXPECT_TRUE(store.KeyExists("SOFTWARE\\VELKORA\\ABC-DEF"));
    EXPECT_FALSE(store.KeyExists("Software\\Velkora\\ABC-DEG"));
    // The root is created with its missing parents.
    EXPECT_TRUE(fs::is_directory(dir / "root"));
}

TEST(MachineStore, SizeRulesFollowTheRegistry) {
    ScratchFolder dir;
    MachineStore store(dir.Path());
    std::string link(40, 'L');
    ASSERT_TRUE(store.SetString("K", "PurchaseLink", link));

    char buffer[64];
    uint32_t size = 0;
    EXPECT_EQ(store.QueryValue("K", "PurchaseLink", nullptr, &size), StoreRead::Ok);
    EXPECT_EQ(size, 41u);

    std::fill(std::begin(buffer), std::end(buffer), 'z');
    size = 10;
    EXPECT_EQ(store.QueryValue("K", "PurchaseLink", buffer, &size), StoreRead::MoreData);
    EXPECT_EQ(size, 41u);

    size = 41;
    EXPECT_EQ(store.QueryValue("K", "PurchaseLink", buffer, &size), StoreRead::Ok);
    EXPECT_EQ(size, 41u);
    EXPECT_EQ(std::string(buffer, 41), link + '\0');
    EXPECT_EQ(buffer[41], 'z');

    // Missing key and missing value leave buffer and size alone.
    size = 64;
    buffer[0] = 'q';
    EXPECT_EQ(store.QueryValue("Other", "PurchaseLink", buffer, &size), StoreRead::NoKey);
    EXPECT_EQ(store.QueryValue("K", "Missing", buffer, &size), StoreRead::NoValue);
    EXPECT_EQ(size, 64u);
    EXPECT_EQ(buffer[0], 'q');
    EXPECT_EQ(store.QueryValue("K", "PurchaseLink", buffer, nullptr), StoreRead::NoValue);
}

TEST(MachineStore, HostileKeyTextsStayInsideTheRootAndStayApart) {
    ScratchFolder dir;
    fs::create_directories(dir / "root");
    MachineStore store(dir / "root");
    const std::vector<std::string> keys = {
        "..",
        "../..",
        "../../escape",
        "/etc/passwd",
        "a/b",
        "a%2Fb",
        "a\\..\\..\\b",
        ".",
        "...",
        "%",
        "%25",
        std::string("n\0ul", 4),
        "k.x",
        "v.purchaselink",
        std::string(999, '.'),
        std::string(999, '/'),
        std::string(200, 'a') + "/" + std::string(199, 'b'),
    };
    for (size_t i = 0; i < keys.size(); ++i)
        ASSERT_TRUE(store.SetString(keys[i], "PurchaseLink", std::to_string(i))) << i;
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(Read(store, keys[i], "PurchaseLink"), std::to_string(i) + '\0') << i;

    // Nothing but the root appeared in the scratch folder, and every name
    // below the root is one of the store's own forms.
    EXPECT_EQ(Tree(dir.Path()).size(), Tree(dir / "root").size() + 1);
    for (const std::string& path : Tree(dir / "root")) {
        std::string name = fs::path(path).filename().string();
        ASSERT_GE(name.size(), 2u);
        EXPECT_TRUE(name.rfind("k.", 0) == 0 || name.rfind("v.", 0) == 0 || name == "w.lock")
            << name;
        EXPECT_LE(name.size(), 255u);
        EXPECT_FALSE(fs::is_symlink(path));
    }
}

TEST(MachineStore, LongKeysThatShareAPrefixAreDistinct) {
    ScratchFolder dir;
    MachineStore store(dir.Path());
    std::string shortKey(200, 'x');
    std::string longKey = shortKey + "y";
    std::string longerKey(999, 'x');
    ASSERT_TRUE(store.SetString(shortKey, "V", "short"));
    ASSERT_TRUE(store.SetString(longKey, "V", "long"));
    ASSERT_TRUE(store.SetString(longerKey, "V", "longer"));
    EXPECT_EQ(Read(store, shortKey, "V"), std::string("short\0", 6));
    EXPECT_EQ(Read(store, longKey, "V"), std::string("long\0", 5));
    EXPECT_EQ(Read(store, longerKey, "V"), std::string("longer\0", 7));
    EXPECT_EQ(MachineStore::KeyFolder(std::string(MachineStore::kMaxKeyPath + 1, 'x')), "");
    EXPECT_FALSE(store.SetString(std::string(MachineStore::kMaxKeyPath + 1, 'x'), "V", "no"));
    EXPECT_FALSE(store.SetString(std::string(2000, 'x'), "V", "no"));
    EXPECT_FALSE(store.KeyExists(std::string(2000, 'x')));
    EXPECT_FALSE(store.SetString("\\\\", "V", "a key without components is refused"));
}

TEST(MachineStore, SymbolicLinksBelowTheRootAreNotFollowed) {
    ScratchFolder dir;
    fs::create_directories(dir / "root");
    fs::create_directories(dir / "elsewhere");
    MachineStore store(dir / "root");
    std::string folder = MachineStore::KeyFolder("Planted");
    fs::create_directory_symlink(dir / "elsewhere", dir / "root/" + folder);
    EXPECT_FALSE(store.SetString("Planted", "PurchaseLink", "x"));
    EXPECT_FALSE(store.KeyExists("Planted"));
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));

    // A value file replaced by a link to a readable file is not read.
    ASSERT_TRUE(store.SetString("Real", "PurchaseLink", "x"));
    WriteFileBytes(dir / "secret", "secret");
    std::string value = dir / "root/" + MachineStore::KeyFolder("Real") + "/v.purchaselink";
    fs::remove(value);
    fs::create_symlink(dir / "secret", value);
    StoreRead outcome;
    Read(store, "Real", "PurchaseLink", &outcome);
    EXPECT_EQ(outcome, StoreRead::NoValue);
}

TEST(MachineStore, ValueThatIsAPipeIsRefusedWithoutWaitingForAWriter) {
    ScratchFolder dir;
    MachineStore store(dir.Path());
    ASSERT_TRUE(store.SetString("Piped", "PurchaseLink", "x"));
    std::string value = dir / MachineStore::KeyFolder("Piped") + "/v.purchaselink";
    fs::remove(value);
    ASSERT_EQ(::mkfifo(value.c_str(), 0600), 0);

    auto query = std::async(std::launch::async, [&] {
        char buffer[16];
        uint32_t size = sizeof buffer;
        return store.QueryValue("Piped", "PurchaseLink", buffer, &size);
    });
    if (query.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        // Let the stuck reader go so that the test ends and reports the fault.
        int writer = ::open(value.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
        ADD_FAILURE() << "reading a value that is a pipe waited for a writer";
    }
    EXPECT_EQ(query.get(), StoreRead::NoValue);
}

TEST(MachineStore, RootThatCannotBeCreatedFailsCleanly) {
    ScratchFolder dir;
    WriteFileBytes(dir / "file", "x");
    MachineStore below(dir / "file/store");
    EXPECT_FALSE(below.SetString("K", "PurchaseLink", "x"));
    EXPECT_FALSE(below.KeyExists("K"));
    MachineStore none{std::string()};
    EXPECT_FALSE(none.SetString("K", "PurchaseLink", "x"));
    uint32_t size = 5;
    EXPECT_EQ(none.QueryValue("K", "PurchaseLink", nullptr, &size), StoreRead::NoKey);
}

TEST(MachineStore, RootsComeFromTheEnvironment) {
    {
        ScopedEnv store("VELKORA_STORE_DIR", "/some/where");
        EXPECT_EQ(MachineStore::MachineWide().Root(), "/some/where");
    }
    {
        ScopedEnv store("VELKORA_STORE_DIR", nullptr);
        EXPECT_EQ(MachineStore::MachineWide().Root(), "/var/lib/velkora");
    }
    ScopedEnv home("HOME", "/home/u");
    {
        ScopedEnv user("VELKORA_USER_STORE_DIR", "/t/user");
        ScopedEnv data("XDG_DATA_HOME", "/d");
        EXPECT_EQ(MachineStore::PerUser().Root(), "/t/user");
    }
    ScopedEnv user("VELKORA_USER_STORE_DIR", nullptr);
    {
        ScopedEnv data("XDG_DATA_HOME", "/d");
        EXPECT_EQ(MachineStore::PerUser().Root(), "/d/velkora");
    }
    {
        // A relative XDG_DATA_HOME is invalid and ignored.
        ScopedEnv data("XDG_DATA_HOME", "rel");
        EXPECT_EQ(MachineStore::PerUser().Root(), "/home/u/.local/share/velkora");
    }
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(MachineStore::PerUser().Root(), "/home/u/.local/share/velkora");
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(MachineStore::PerUser().Root(), "");
}

TEST(MachineStore, ConcurrentWritersLeaveOneWholeValueAndReadersNeverSeeHalfOfOne) {
    ScratchFolder dir;
    MachineStore store(dir.Path());
    const int writers = 4;
    std::vector<std::string> values;
    for (int w = 0; w < writers; ++w)
        values.push_back(std::string(64 * 1024 + w, static_cast<char>('a' + w)));
    ASSERT_TRUE(store.SetString("Race", "PurchaseLink", values[0]));

    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        std::vector<char> buffer(70 * 1024);
        while (!stop) {
            uint32_t size = static_cast<uint32_t>(buffer.size());
            if (store.QueryValue("Race", "PurchaseLink", buffer.data(), &size) != StoreRead::Ok) {
                ++torn;
                continue;
            }
            ++reads;
            std::string seen(buffer.data(), size);
            bool whole = false;
            for (const std::string& v : values)
                whole = whole || seen == v + '\0';
            if (!whole)
                ++torn;
        }
    });
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int w = 0; w < writers; ++w)
        threads.emplace_back([&, w] {
            for (int i = 0; i < 25; ++i)
                if (!store.SetString("Race", "PurchaseLink", values[w]))
                    ++failures;
        });
    for (auto& t : threads)
        t.join();
    stop = true;
    reader.join();

    EXPECT_EQ(failures, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_GT(reads, 0);
    std::string last = Read(store, "Race", "PurchaseLink");
    bool whole = false;
    for (const std::string& v : values)
        whole = whole || last == v + '\0';
    EXPECT_TRUE(whole);
    // No temporary file is left behind: the value and the writers' lock remain.
    auto keyFolder = fs::path(dir.Path()) / MachineStore::KeyFolder("Race");
    EXPECT_EQ(std::distance(fs::directory_iterator(keyFolder), fs::directory_iterator()), 2);
}

TEST(MachineStore, FilesAreReadableByEveryUserWhateverTheUmask) {
    ScratchFolder dir;
    MachineStore store(dir / "root");
    mode_t old = ::umask(077);
    bool ok = store.SetString("K", "PurchaseLink", "x");
    ::umask(old);
    ASSERT_TRUE(ok);
    auto folder = fs::path(dir / "root") / MachineStore::KeyFolder("K");
    auto perms = fs::status(folder / "v.purchaselink").permissions();
    EXPECT_NE(perms & fs::perms::others_read, fs::perms::none);
    EXPECT_NE(fs::status(folder).permissions() & fs::perms::others_exec, fs::perms::none);
    EXPECT_NE(fs::status(dir / "root").permissions() & fs::perms::others_exec, fs::perms::none);
}

TEST(MachineStore, PerUserStoreIsPrivateWhateverTheUmask) {
    ScratchFolder dir;
    fs::create_directories(dir / "home");
    ScopedEnv home("HOME", dir / "home");
    ScopedEnv user("VELKORA_USER_STORE_DIR", nullptr);
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    mode_t old = ::umask(022);
    bool ok = MachineStore::PerUser().SetString("Software\\Velkora\\K", "PurchaseLink", "x");
    ::umask(old);
    ASSERT_TRUE(ok);
    const fs::path root = dir / "home/.local/share/velkora";
    const fs::path key = root / MachineStore::KeyFolder("Software\\Velkora\\K");
    for (const fs::path& folder :
         {fs::path(dir / "home/.local"), fs::path(dir / "home/.local/share"), root, key})
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << folder;
    EXPECT_EQ(fs::status(key / "v.purchaselink").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(MachineStore, ReadValueGivesTheBytesAndTheirWriteTime) {
    ScratchFolder dir;
    MachineStore store(dir / "root");
    ASSERT_TRUE(store.SetString("K", "PurchaseLink", "abc"));
    auto file = fs::path(dir / "root") / MachineStore::KeyFolder("K") / "v.purchaselink";
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(5));
    platform::StoredValue older;
    ASSERT_EQ(store.ReadValue("k", "purchaselink", 4000, older), StoreRead::Ok);
    EXPECT_EQ(older.bytes, std::string("abc", 4));
    ASSERT_TRUE(store.SetString("K", "PurchaseLink", "abcd"));
    platform::StoredValue newer;
    ASSERT_EQ(store.ReadValue("K", "PurchaseLink", 4000, newer), StoreRead::Ok);
    EXPECT_LT(older.writeTime, newer.writeTime);

    platform::StoredValue none;
    EXPECT_EQ(store.ReadValue("K", "ResellerUrl", 4000, none), StoreRead::NoValue);
    EXPECT_EQ(store.ReadValue("Other", "PurchaseLink", 4000, none), StoreRead::NoKey);
    // A value larger than the caller takes is refused before anything is read.
    EXPECT_EQ(store.ReadValue("K", "PurchaseLink", 4, none), StoreRead::MoreData);
    EXPECT_TRUE(none.bytes.empty());
}

// The launcher writes the link ahead while it extracts its package and puts
// it in place only once the setup is there.
TEST(MachineStore, StagedStringsChangeNothingUntilCommitted) {
    ScratchFolder dir;
    MachineStore store(dir / "root");
    ASSERT_TRUE(store.SetString("K", "PurchaseLink", "old"));
    const std::set<std::string> before = Tree(dir / "root");
    {
        platform::StagedValues dropped =
            store.StageStrings("K", {{"PurchaseLink", "dropped"}, {"ResellerUrl", "site"}});
        ASSERT_TRUE(dropped.Ready());
        EXPECT_EQ(Read(store, "K", "PurchaseLink"), std::string("old\0", 4));
        EXPECT_EQ(Read(store, "K", "ResellerUrl"), "<none>");
    }
    EXPECT_EQ(Tree(dir / "root"), before) << "a dropped stage leaves no file behind";

    platform::StagedValues staged =
        store.StageStrings("k", {{"PurchaseLink", "new"}, {"ResellerUrl", ""}});
    EXPECT_EQ(Read(store, "K", "PurchaseLink"), std::string("old\0", 4));
    ASSERT_TRUE(staged.Commit());
    EXPECT_FALSE(staged.Ready());
    EXPECT_FALSE(staged.Commit()) << "committed once only";
    EXPECT_EQ(Read(store, "K", "PurchaseLink"), std::string("new\0", 4));
    EXPECT_EQ(Read(store, "K", "ResellerUrl"), std::string(1, '\0'));
    EXPECT_EQ(Tree(dir / "root").size(), before.size() + 1);
}

TEST(MachineStore, StageOrCommitThatFailsIsReportedAndLeavesNoTemporaryFile) {
    ScratchFolder dir;
    MachineStore store(dir / "root");
    ASSERT_TRUE(store.SetString("K", "PurchaseLink", "old"));
    const fs::path key = fs::path(dir / "root") / MachineStore::KeyFolder("K");
    // A folder where the second value belongs: its file cannot replace it.
    fs::create_directory(key / "v.resellerurl");
    platform::StagedValues staged =
        store.StageStrings("K", {{"PurchaseLink", "new"}, {"ResellerUrl", "site"}});
    ASSERT_TRUE(staged.Ready());
    EXPECT_FALSE(staged.Commit());
    // Values are put in place one by one, as two writes would be.
    EXPECT_EQ(Read(store, "K", "PurchaseLink"), std::string("new\0", 4));
    EXPECT_EQ(Tree(dir / "root"),
              (std::set<std::string>{key.string(), (key / "v.purchaselink").string(),
                                     (key / "v.resellerurl").string(), (key / "w.lock").string()}));

    // A value name too long to store: nothing is staged at all.
    staged = store.StageStrings("K", {{"PurchaseLink", "x"}, {std::string(300, 'n'), "y"}});
    EXPECT_FALSE(staged.Ready());
    EXPECT_FALSE(staged.Commit());
    EXPECT_EQ(Read(store, "K", "PurchaseLink"), std::string("new\0", 4));
    // Nothing can be created below a file, not even by root.
    WriteFileBytes(dir / "file", "x");
    EXPECT_FALSE(MachineStore(dir / "file/root").StageStrings("K", {{"A", "b"}}).Ready());
    EXPECT_EQ(Tree(dir / "root").size(), 4u);
}
