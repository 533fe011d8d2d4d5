// Builds real affiliate packages around the real launcher binary, runs them as
// processes and looks at what they leave behind: the setup's arguments, the
// stored values and what the purchase-link library answers.
#include "package/AffiliateInfoFile.h"
#include "package/SfxPackage.h"
#include "platform/MachineStore.h"
#include "tests/velklink/ScratchFolder.h"
#include "velklink/velklink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::MachineStore;

namespace {

const char kUuid[] = "C0FFEE00-1234-4ABC-8DEF-0123456789AB";
const char kLink[] = "https://www.regnow.com/softsell/nph-softsell.cgi?item=1234-5&affiliate=77";
const char kSite[] = "https://affiliate.example/";

// The vendor's stand-in setup: writes each argument in brackets, one a line,
// and ends with a status of its own that the launcher must hand on.
const char kSetupScript[] =
    "#!/bin/sh\n"
    "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > \"$E2E_ARGS_OUT\"\n"
    "exit 5\n";

struct RunResult {
    int status = -1;
    std::string output; // stdout and stderr together
};

RunResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env, const std::string& outputFile) {
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    std::vector<std::string> pairs;
    for (const auto& [name, value] : env)
        pairs.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& p : pairs)
        envp.push_back(p.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    RunResult result;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return result;
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    result.output = ReadFileBytes(outputFile);
    return result;
}

std::string StoredValue(const MachineStore& store, const std::string& key,
                        const std::string& name) {
    char buffer[512];
    uint32_t size = sizeof buffer;
    if (store.QueryValue("Software\\Velkora\\" + key, name, buffer, &size) !=
        platform::StoreRead::Ok)
        return "<none>";
    return std::string(buffer, size);
}

std::string LibraryLink(const std::string& key) {
    char buffer[512];
    uint32_t size = sizeof buffer;
    int32_t result = velkGetAffiliatePurchaseLink(key.c_str(), buffer, &size);
    return result == VELK_LINK_OK ? std::string(buffer) : "<result " + std::to_string(result) + ">";
}

class LauncherEndToEnd : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string tmp = dir / "tmp";
    std::string machineRoot = dir / "machine";
    std::string userRoot = dir / "user";
    std::map<std::string, std::string> env;

    void SetUp() override {
        fs::create_directories(tmp);
        fs::create_directories(dir / "src");
        fs::create_directories(dir / "home");
        env = {{"PATH", "/usr/bin:/bin"},
               {"HOME", dir / "home"},
               {"TMPDIR", tmp},
               {"VELKORA_STORE_DIR", machineRoot},
               {"VELKORA_USER_STORE_DIR", userRoot},
               {"E2E_ARGS_OUT", dir / "args"}};
    }

    // An affiliate package: the launcher binary, the information file and the
    // given setup file, made executable as a downloaded setup would be.
    std::string BuildPackage(const std::string& setupName, const std::string& setupBytes,
                             const std::string& link = kLink, const std::string& output = "") {
        CAffiliateInfo info{kUuid, link, kSite};
        EXPECT_EQ(WriteAffiliateInfoFile(dir / "src/_aff4711.ino", info), SFX_OK);
        WriteFileBytes(dir / "src/" + setupName, setupBytes);
        CSfxPackage package;
        EXPECT_TRUE(package.AddFile(dir / "src/_aff4711.ino"));
        EXPECT_TRUE(package.AddFile(dir / "src/" + setupName));
        std::string image = ReadFileBytes(SETUPSTUB_FILE);
        EXPECT_GT(image.size(), 0u);
        std::string path = output.empty() ? dir / "Affiliate Setup" : output;
        EXPECT_EQ(package.BuildWithImage(image.data(), image.size(), path), SFX_OK);
        fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
        return path;
    }

    RunResult RunPackage(const std::string& package, const std::vector<std::string>& args) {
        return RunProcess(package, args, env, dir / "output");
    }
};

const std::vector<std::string> kArgs = {"/S",   "with blank", "\"quoted\"",  "",
                                        "it's", "$HOME",      "back\\slash", "*"};
const char kArgsSeen[] =
    "[/S]\n[with blank]\n[\"quoted\"]\n[]\n[it's]\n[$HOME]\n[back\\slash]\n[*]\n";

} // namespace

TEST_F(LauncherEndToEnd, SetupRunsWithTheArgumentsAndTheLinkIsStored) {
    std::string package = BuildPackage("vendor-setup.sh", kSetupScript);
    RunResult run = RunPackage(package, kArgs);
    EXPECT_EQ(run.status, 5) << "the setup's own exit status";
    EXPECT_EQ(run.output, "") << "the launcher is silent";
    EXPECT_EQ(ReadFileBytes(dir / "args"), kArgsSeen);

    MachineStore machine(machineRoot);
    EXPECT_EQ(StoredValue(machine, kUuid, "PurchaseLink"), std::string(kLink) + '\0');
    EXPECT_EQ(StoredValue(machine, kUuid, "ResellerUrl"), std::string(kSite) + '\0');
    EXPECT_FALSE(fs::exists(userRoot));
    // The run's own folder went with the run.
    EXPECT_TRUE(fs::is_empty(tmp));

    {
        ScopedEnv m("VELKORA_STORE_DIR", machineRoot);
        ScopedEnv u("VELKORA_USER_STORE_DIR", userRoot);
        EXPECT_EQ(LibraryLink(kUuid), kLink);
        EXPECT_EQ(LibraryLink("c0ffee00-1234-4abc-8def-0123456789ab"), kLink);
        EXPECT_EQ(LibraryLink("C0FFEE00-1234-4ABC-8DEF-0123456789AC"), "<result 1>");
    }
    RunResult demo = RunProcess(VELKLINK_DEMO_FILE, {"c0ffee00-1234-4ABC-8def-0123456789ab"}, env,
                                dir / "demo-output");
    EXPECT_EQ(demo.status, 0);
    EXPECT_EQ(demo.output, std::string(kLink) + "\n");

    // A second run overwrites the files and values with the same content.
    fs::remove(dir / "args");
    run = RunPackage(package, {"again"});
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(ReadFileBytes(dir / "args"), "[again]\n");
    EXPECT_EQ(StoredValue(machine, kUuid, "PurchaseLink"), std::string(kLink) + '\0');
    EXPECT_EQ(StoredValue(machine, kUuid, "ResellerUrl"), std::string(kSite) + '\0');

    // Without arguments the setup gets none.
    run = RunPackage(package, {});
    EXPECT_EQ(ReadFileBytes(dir / "args"), "");
}

TEST_F(LauncherEndToEnd, UnwritableMachineStoreLeavesTheLinkInTheUsersStore) {
    // Below a regular file nothing can be created, not even by root.
    WriteFileBytes(dir / "blocker", "x");
    env["VELKORA_STORE_DIR"] = dir / "blocker/store";
    env.erase("VELKORA_USER_STORE_DIR");
    std::string package = BuildPackage("vendor-setup.sh", kSetupScript);
    RunResult run = RunPackage(package, kArgs);
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(ReadFileBytes(dir / "args"), kArgsSeen);

    // The default per-user place, below the (test's own) home folder.
    std::string userStore = dir / "home/.local/share/velkora";
    EXPECT_EQ(StoredValue(MachineStore(userStore), kUuid, "PurchaseLink"),
              std::string(kLink) + '\0');
    EXPECT_EQ(StoredValue(MachineStore(userStore), kUuid, "ResellerUrl"),
              std::string(kSite) + '\0');

    RunResult demo = RunProcess(VELKLINK_DEMO_FILE, {kUuid}, env, dir / "demo-output");
    EXPECT_EQ(demo.status, 0);
    EXPECT_EQ(demo.output, std::string(kLink) + "\n");
    ScopedEnv m("VELKORA_STORE_DIR", dir / "blocker/store");
    ScopedEnv u("VELKORA_USER_STORE_DIR", userStore);
    EXPECT_EQ(LibraryLink("C0FFEE00-1234-4abc-8DEF-0123456789ab"), kLink);
}

TEST_F(LauncherEndToEnd, LauncherWithoutAPackageEndsAtOnce) {
    RunResult run = RunProcess(SETUPSTUB_FILE, {"x"}, env, dir / "output");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_FALSE(fs::exists(machineRoot));
    EXPECT_FALSE(fs::exists(dir / "args"));

    RunResult demo = RunProcess(VELKLINK_DEMO_FILE, {kUuid}, env, dir / "demo-output");
    EXPECT_EQ(demo.status, VELK_LINK_NO_KEY);
}

TEST_F(LauncherEndToEnd, FoldersPlantedInTheTemporaryFolderDoNotStopTheLauncher) {
    // What another user could prepare: the old fixed folder name as a link to
    // their own folder, and a folder of that kind that nobody may enter.
    fs::create_directories(dir / "attacker");
    fs::create_directory_symlink(dir / "attacker", tmp + "/velkora-" + std::to_string(::geteuid()));
    fs::create_directories(tmp + "/velkora-shut");
    fs::permissions(tmp + "/velkora-shut", fs::perms::none);
    std::string package = BuildPackage("vendor-setup.sh", kSetupScript);
    RunResult run = RunPackage(package, kArgs);
    fs::permissions(tmp + "/velkora-shut", fs::perms::owner_all);
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(ReadFileBytes(dir / "args"), kArgsSeen);
    EXPECT_TRUE(fs::is_empty(dir / "attacker"));
    EXPECT_EQ(StoredValue(MachineStore(machineRoot), kUuid, "PurchaseLink"),
              std::string(kLink) + '\0');
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp), fs::directory_iterator()), 2)
        << "only the planted entries remain";
}

TEST_F(LauncherEndToEnd, ConcurrentRunsOfTwoProductsEachStartTheirOwnSetup) {
    // Both vendors call their setup "setup.sh"; each says which product it is
    // into the file named by its argument and ends with a status of its own.
    std::string packageA =
        BuildPackage("setup.sh", "#!/bin/sh\nprintf A > \"$1\"\nexit 11\n", kLink, dir / "A");
    std::string packageB =
        BuildPackage("setup.sh", "#!/bin/sh\nprintf B > \"$1\"\nexit 12\n", kLink, dir / "B");
    constexpr int kRuns = 30;
    fs::create_directories(dir / "seen");
    std::vector<RunResult> results(kRuns);
    std::vector<std::thread> runs;
    for (int i = 0; i < kRuns; ++i)
        runs.emplace_back([&, i] {
            const std::string note = dir / ("seen/" + std::to_string(i));
            results[i] = RunProcess(i % 2 ? packageB : packageA, {note}, env,
                                    dir / ("seen/out" + std::to_string(i)));
        });
    for (auto& t : runs)
        t.join();
    for (int i = 0; i < kRuns; ++i) {
        EXPECT_EQ(results[i].status, i % 2 ? 12 : 11) << "run " << i;
        EXPECT_EQ(ReadFileBytes(dir / ("seen/" + std::to_string(i))), i % 2 ? "B" : "A")
            << "run " << i;
    }
    EXPECT_TRUE(fs::is_empty(tmp)) << "every run removed its folder";
}

TEST_F(LauncherEndToEnd, NoexecTemporaryFolderFallsBackToTheUsersCache) {
    const std::string noexec = dir / "noexec";
    fs::create_directories(noexec);
    const std::string mount =
        "mount -t tmpfs -o noexec,size=16m tmpfs '" + noexec + "' 2>/dev/null";
    if (std::system(mount.c_str()) != 0)
        GTEST_SKIP() << "cannot mount a noexec folder here";
    env["TMPDIR"] = noexec;
    env["XDG_CACHE_HOME"] = dir / "cache";
    std::string package = BuildPackage("vendor-setup.sh", kSetupScript);
    RunResult run = RunPackage(package, kArgs);
    const bool noexecLeftEmpty = fs::is_empty(noexec);
    std::system(("umount '" + noexec + "'").c_str());
    EXPECT_EQ(run.status, 5);
    EXPECT_EQ(ReadFileBytes(dir / "args"), kArgsSeen);
    EXPECT_TRUE(noexecLeftEmpty);
    EXPECT_TRUE(fs::is_empty(dir / "cache")) << "the fallback folder is removed too";
    EXPECT_EQ(fs::status(dir / "cache").permissions(), fs::perms::owner_all);
}

TEST_F(LauncherEndToEnd, SetupThatIsNoProgramGoesToTheDesktopOpener) {
    fs::create_directories(dir / "bin");
    WriteFileBytes(dir / "bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$E2E_OPENED\"\n");
    fs::permissions(dir / "bin/xdg-open", fs::perms::owner_all);
    env["PATH"] = dir / "bin" + ":/usr/bin:/bin";
    env["E2E_OPENED"] = dir / "opened";
    std::string package = BuildPackage("Setup Guide.pdf", "%PDF-1.4\n");
    RunResult run = RunPackage(package, {"ignored"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    // The opener runs detached; give it a moment to write its note.
    std::string opened;
    for (int i = 0; i < 1000 && opened.empty(); ++i) {
        opened = ReadFileBytes(dir / "opened");
        if (opened.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The opener reads the file after the launcher has ended: its folder stays.
    ASSERT_EQ(std::distance(fs::directory_iterator(tmp), fs::directory_iterator()), 1);
    const std::string folder = fs::directory_iterator(tmp)->path().string();
    EXPECT_EQ(opened, folder + "/Setup Guide.pdf\n");
    // Read-only before the opener is started, so that nobody can swap the file.
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(StoredValue(MachineStore(machineRoot), kUuid, "PurchaseLink"),
              std::string(kLink) + '\0');
}

TEST_F(LauncherEndToEnd, TwoLaunchersAtOnceLeaveOneWholeLink) {
    const std::string linkA = std::string(kLink) + "&campaign=" + std::string(300, 'a');
    const std::string linkB = std::string(kLink) + "&campaign=" + std::string(200, 'b');
    std::string packageA = BuildPackage("vendor-setup.sh", kSetupScript, linkA, dir / "A");
    std::string packageB = BuildPackage("vendor-setup.sh", kSetupScript, linkB, dir / "B");
    MachineStore machine(machineRoot);
    for (int round = 0; round < 10; ++round) {
        std::thread other([&] { RunProcess(packageB, {}, env, dir / "output-b"); });
        RunProcess(packageA, {}, env, dir / "output-a");
        other.join();
        std::string stored = StoredValue(machine, kUuid, "PurchaseLink");
        EXPECT_TRUE(stored == linkA + '\0' || stored == linkB + '\0') << stored;
    }
    // Only the two values and the writers' lock file remain in the key's
    // folder: no temporary files.
    auto key =
        fs::path(machineRoot) / MachineStore::KeyFolder(std::string("Software\\Velkora\\") + kUuid);
    EXPECT_EQ(std::distance(fs::directory_iterator(key), fs::directory_iterator()), 3);
    EXPECT_TRUE(fs::exists(key / "w.lock"));
}

// The vendor's program, started by the setup itself, finds the link at once:
// the launcher puts it in place before the setup starts, also when the setup
// is large enough that the link is written while it is extracted.
TEST_F(LauncherEndToEnd, VendorsProgramStartedByTheSetupFindsTheLink) {
    env["E2E_DEMO"] = VELKLINK_DEMO_FILE;
    env["E2E_UUID"] = kUuid;
    env["E2E_LINK_OUT"] = dir / "link-seen";
    const std::string script = "#!/bin/sh\n"
                               "\"$E2E_DEMO\" \"$E2E_UUID\" > \"$E2E_LINK_OUT\" 2>&1\n"
                               "exit 0\n";
    // The shell stops reading at "exit": the padding is never run.
    std::string package = BuildPackage("vendor-setup.sh", script + std::string(8 << 20, '#'));
    RunResult run = RunPackage(package, {});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadFileBytes(dir / "link-seen"), std::string(kLink) + "\n");
}
