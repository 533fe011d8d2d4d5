#include "tests/support/SelfCreatorFixtures.h"

#include "selfkit/HyperlinkOpener.h"
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

} // namespace
