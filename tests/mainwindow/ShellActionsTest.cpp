#include "app/ShellActions.h"
#include "model/AffProject.h"
#include "model/Reseller.h"
#include "platform/ShellOpen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(ShellActions, BrowserCommandLineCutsAtThePlaceholder) {
    EXPECT_EQ(BrowserCommandLine(R"(C:\B\browser.exe "%1")", "http://x.example/a"),
              R"(C:\B\browser.exe http://x.example/a)");
    EXPECT_EQ(BrowserCommandLine(R"(C:\B\browser.exe -url %1)", "http://x"),
              R"(C:\B\browser.exe -url http://x)");
    EXPECT_EQ(BrowserCommandLine(R"(C:\B\browser.exe)", "http://x"),
              R"(C:\B\browser.exe http://x)");
    // The quoted placeholder wins over an earlier bare one.
    EXPECT_EQ(BrowserCommandLine(R"(b %1x "%1")", "t"), "b %1x t");
    // A long target is kept whole.
    const std::string longTarget(5000, 'q');
    EXPECT_EQ(BrowserCommandLine("b %1", longTarget), "b " + longTarget);
}

TEST(ShellActions, OpenDocumentLinkFallsBackToTheBrowserCommand) {
    std::vector<std::string> calls;
    ShellOperations ops;
    bool openWorks = true;
    std::optional<std::string> browser = std::string("/usr/bin/web --new \"%1\"");
    ops.open = [&](const std::string& t) {
        calls.push_back("open " + t);
        return openWorks;
    };
    ops.browserCommand = [&] {
        calls.push_back("browser?");
        return browser;
    };
    ops.startCommandLine = [&](const std::string& c) {
        calls.push_back("start " + c);
        return true;
    };

    EXPECT_EQ(OpenDocumentLink("http://a", ops), LinkResult::Opened);
    EXPECT_EQ(calls, std::vector<std::string>{"open http://a"});

    calls.clear();
    openWorks = false;
    EXPECT_EQ(OpenDocumentLink("http://a", ops), LinkResult::OpenedByBrowser);
    EXPECT_EQ(calls, (std::vector<std::string>{"open http://a", "browser?",
                                               "start /usr/bin/web --new http://a"}));

    calls.clear();
    browser.reset();
    EXPECT_EQ(OpenDocumentLink("http://a", ops), LinkResult::NoBrowser);
    EXPECT_EQ(calls, (std::vector<std::string>{"open http://a", "browser?"}));
}

TEST(ShellActions, MailtoAndOutputFolder) {
    EXPECT_EQ(MailtoTarget(""), "mailto:");
    EXPECT_EQ(MailtoTarget("a b@c"), "mailto:a b@c");

    CAffProject project;
    project.SetProjectPath("/P/project.vkp");
    CReseller r;
    r.m_strSetupPath = "out\\a.exe";
    EXPECT_EQ(OutputFolderOf(project, r), "/P/out");
    r.m_strSetupPath = "/abs/dir/x.exe";
    EXPECT_EQ(OutputFolderOf(project, r), "/abs/dir");
}

TEST(ShellOpen, SplitsCommandLinesAndDesktopExecLines) {
    EXPECT_EQ(platform::SplitCommandLine(R"(  "C:\Program Files\b.exe"  -url  x )"),
              (std::vector<std::string>{R"(C:\Program Files\b.exe)", "-url", "x"}));
    EXPECT_EQ(platform::SplitCommandLine(R"(a "" b)"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(platform::ExecLineToCommand("firefox %u"), "firefox %1");
    EXPECT_EQ(platform::ExecLineToCommand("/opt/b --x=100%% %U %i"), "/opt/b --x=100% %1");
    EXPECT_EQ(platform::ExecLineToCommand("browser"), "browser");
}

class DesktopSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                                 "XDG_DATA_DIRS", "BROWSER", "PATH"}) {
            const char* v = std::getenv(name);
            m_saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        }
        const QDir d(m_dir.path());
        setenv("XDG_CONFIG_HOME", d.filePath("config").toLocal8Bit().constData(), 1);
        setenv("XDG_CONFIG_DIRS", d.filePath("etc").toLocal8Bit().constData(), 1);
        setenv("XDG_DATA_HOME", d.filePath("data").toLocal8Bit().constData(), 1);
        setenv("XDG_DATA_DIRS", d.filePath("share").toLocal8Bit().constData(), 1);
        unsetenv("BROWSER");
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    void Write(const QString& relative, const QByteArray& text) {
        const QString path = QDir(m_dir.path()).filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString PathOf(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }

    QTemporaryDir m_dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST_F(DesktopSettings, BrowserCommandComesFromTheDefaultHttpHandler) {
    EXPECT_FALSE(platform::WebBrowserCommand().has_value());
    Write("share/applications/web.desktop",
          "[Desktop Entry]\nName=Web\nExec=/opt/web/bin/web --private %u\n");
    Write("config/mimeapps.list",
          "[Added Associations]\nx-scheme-handler/http=other.desktop\n"
          "[Default Applications]\nx-scheme-handler/http=missing.desktop;web.desktop;\n");
    auto cmd = platform::WebBrowserCommand();
    ASSERT_TRUE(cmd.has_value());
    EXPECT_EQ(*cmd, "/opt/web/bin/web --private %1");
    EXPECT_EQ(BrowserCommandLine(*cmd, "http://a"), "/opt/web/bin/web --private http://a");
}

TEST_F(DesktopSettings, BrowserVariableIsTheLastResort) {
    setenv("BROWSER", "lynx %s:w3m", 1);
    auto cmd = platform::WebBrowserCommand();
    ASSERT_TRUE(cmd.has_value());
    EXPECT_EQ(*cmd, "lynx %1");
}

TEST_F(DesktopSettings, StartCommandLineStartsWithoutWaitingAndReportsMissingPrograms) {
    const QString marker = PathOf("started");
    const std::string line = "/bin/sh -c \"sleep 0.2; echo ok > '" + marker.toStdString() + "'\"";
    EXPECT_TRUE(platform::StartCommandLine(line));
    EXPECT_FALSE(QFile::exists(marker)); // not waited for
    for (int i = 0; i < 500 && !QFile::exists(marker); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_FALSE(platform::StartCommandLine(PathOf("no-such-program").toStdString() + " x"));
    EXPECT_FALSE(platform::StartCommandLine(""));
}

TEST_F(DesktopSettings, ShellOpenFailsWhenTheDesktopHasNoOpener) {
    setenv("PATH", PathOf("empty-bin").toLocal8Bit().constData(), 1);
    EXPECT_FALSE(platform::ShellOpen("http://a"));
    EXPECT_FALSE(platform::ShellExplore("/tmp"));
    // With the opener missing, OpenDocumentLink goes on to the browser command.
    Write("share/applications/web.desktop", "[Desktop Entry]\nExec=/bin/true %u\n");
    Write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=web.desktop\n");
    EXPECT_EQ(OpenDocumentLink("http://a"), LinkResult::OpenedByBrowser);
}
