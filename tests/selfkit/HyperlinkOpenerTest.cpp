#include "tests/support/SelfCreatorFixtures.h"

#include "selfkit/BuildRoad.h"
#include "selfkit/HyperlinkOpener.h"
#include "selfkit/SelfKitTexts.h"
#include "tests/support/NoteChannel.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

// Sets environment variables for one test and restores them afterwards.
class CEnvironment {
public:
    void Set(const char* name, const std::string& value) {
        Remember(name);
        ::setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name) {
        Remember(name);
        ::unsetenv(name);
    }
    ~CEnvironment() {
        for (const auto& [name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

private:
    void Remember(const char* name) {
        if (m_saved.count(name))
            return;
        const char* value = std::getenv(name);
        m_saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> m_saved;
};

// A desktop without an opener and without a registered web-page handler.
void BareDesktop(CEnvironment& env, const ScratchFolder& dir) {
    env.Set("PATH", dir / "empty-bin");
    env.Set("HOME", dir.Path());
    env.Set("XDG_CONFIG_HOME", dir / "config");
    env.Set("XDG_CONFIG_DIRS", dir / "config-dirs");
    env.Set("XDG_DATA_HOME", dir / "data");
    env.Set("XDG_DATA_DIRS", dir / "data-dirs");
}

TEST(HyperlinkOpener, FallsBackToTheBrowserCommandWithTheAddressInPlace) {
    ScratchFolder dir;
    CEnvironment env;
    BareDesktop(env, dir);
    const std::string browser = dir / "browser.sh";
    WriteBytes(browser, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.out\"\n");
    std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
    env.Set("BROWSER", browser + " %s");

    NoteChannel out(browser + ".out");
    ASSERT_TRUE(out.IsOpen());
    EXPECT_EQ(OpenHyperlink("https://vendor.example/?a=1&b=2"), "");
    EXPECT_EQ(out.Read(), "https://vendor.example/?a=1&b=2");
}

TEST(HyperlinkOpener, NothingToOpenWithGivesAReason) {
    ScratchFolder dir;
    CEnvironment env;
    BareDesktop(env, dir);
    env.Unset("BROWSER");
    EXPECT_FALSE(OpenHyperlink("https://vendor.example/").empty());

    env.Set("BROWSER", dir / "no-such-browser");
    EXPECT_FALSE(OpenHyperlink("https://vendor.example/").empty());
}

// An opener on PATH: a script named xdg-open that notes its argument and
// ends with status.
void FakeOpener(CEnvironment& env, const ScratchFolder& dir, int status) {
    const std::string bin = dir / "opener-bin";
    std::filesystem::create_directories(bin);
    WriteBytes(bin + "/xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + (dir / "opened") +
                                      "\"\nexit " + std::to_string(status) + "\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    env.Set("PATH", bin + ":/usr/bin:/bin");
}

// Only what the About link needs: the warning it shows.
class WarningView : public ISelfKitView {
public:
    void ShowMessage(MessageKind kind, const std::string& text) override {
        kinds.push_back(kind);
        texts.push_back(text);
    }
    bool AskYesNo(const std::string&) override { return false; }
    void BeginProgress() override {}
    bool StepProgress(int) override { return true; }
    void EndProgress() override {}
    bool StartPackage(const std::string&) override { return false; }

    std::vector<MessageKind> kinds;
    std::vector<std::string> texts;
};

TEST(HyperlinkOpener, AnOpenerThatSucceedsIsEnough) {
    ScratchFolder dir;
    CEnvironment env;
    BareDesktop(env, dir);
    FakeOpener(env, dir, 0);
    env.Set("BROWSER", dir / "no-such-browser");
    EXPECT_EQ(OpenHyperlink("https://vendor.example/a"), "");
    EXPECT_EQ(ReadBytes(dir / "opened"), "https://vendor.example/a");
}

// The opener starts but finds nothing to open with: that is a failure, so
// the browser command is tried, and without one the reason is shown.
TEST(HyperlinkOpener, AnOpenerThatFailsIsAFailure) {
    ScratchFolder dir;
    CEnvironment env;
    BareDesktop(env, dir);
    FakeOpener(env, dir, 3);
    env.Unset("BROWSER");

    WarningView view;
    EXPECT_FALSE(FollowAboutLink("https://vendor.example/", view));
    EXPECT_EQ(ReadBytes(dir / "opened"), "https://vendor.example/");
    ASSERT_EQ(view.texts.size(), 1u);
    EXPECT_EQ(view.kinds[0], MessageKind::Warning);
    const std::string lead = selfkit_text::kHyperlinkFailed;
    EXPECT_EQ(view.texts[0].substr(0, lead.size()), lead);
    EXPECT_GT(view.texts[0].size(), lead.size()); // a reason follows

    const std::string browser = dir / "browser.sh";
    WriteBytes(browser, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.out\"\n");
    std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
    env.Set("BROWSER", browser);
    NoteChannel out(browser + ".out");
    ASSERT_TRUE(out.IsOpen());
    EXPECT_TRUE(FollowAboutLink("https://vendor.example/b", view));
    EXPECT_EQ(out.Read(), "https://vendor.example/b");
    EXPECT_EQ(view.texts.size(), 1u);
}

// An opener that stays, as one waiting for the browser it started does, has
// taken the address: it is not waited for to the end.
TEST(HyperlinkOpener, AnOpenerStillRunningHasTakenTheAddress) {
    ScratchFolder dir;
    CEnvironment env;
    BareDesktop(env, dir);
    const std::string bin = dir / "opener-bin";
    std::filesystem::create_directories(bin);
    const std::string release = dir / "release";
    ASSERT_EQ(::mkfifo(release.c_str(), 0600), 0);
    // Blocks on the pipe until the test writes to it, then notes that it ended.
    WriteBytes(bin + "/xdg-open", "#!/bin/sh\nread line < \"" + release + "\"\nexit 3\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    env.Set("PATH", bin + ":/usr/bin:/bin");
    env.Set("BROWSER", dir / "no-such-browser");

    EXPECT_EQ(OpenHyperlink("https://vendor.example/"), "");
    std::ofstream(release) << "go\n"; // lets the opener end
}

} // namespace
