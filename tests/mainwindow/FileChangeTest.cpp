#include "MainWindowFixture.h"

#include "cli/CliRunner.h"
#include "platform/FileLock.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Adds an affiliate with velkora-cli, as a script beside the window would.
void CliAdd(const std::string& path, const std::string& name) {
    std::ostringstream out, err;
    ASSERT_EQ(RunCli({"add-affiliate", path, "--name", name, "--affiliate-id", name}, out, err), 0)
        << err.str();
}

size_t AffiliatesIn(const std::string& path) {
    CAffProject p;
    EXPECT_TRUE(LoadProjectFile(path, p).Ok());
    return p.m_mapResellers.GetCount();
}

const QString kOverwrite = QStringLiteral(
    "The file '%1' has been changed by another program since it was opened. Overwrite it?");
const QString kReload =
    QStringLiteral("The file '%1' has been changed by another program. Reload it?");

} // namespace

TEST_F(MainWindowTest, SaveAsksBeforeReplacingAChangeMadeByAnotherProgram) {
    const std::string path = WriteProject("chg.vkp", 2);
    Start({QString::fromStdString(path)});
    Doc().Project().m_strTitle = "Window";
    Doc().SetModifiedFlag(true);
    CliAdd(path, "Cli");
    const std::string cliBytes = ReadAll(path);

    m_prompts.Answer({false});
    EXPECT_FALSE(Doc().OnFileSave());
    EXPECT_EQ(m_prompts.Questions(), QStringList{kOverwrite.arg("chg.vkp")});
    EXPECT_EQ(ReadAll(path), cliBytes);
    EXPECT_TRUE(Doc().IsModified());

    m_prompts.Answer({true});
    EXPECT_TRUE(Doc().OnFileSave());
    CAffProject saved;
    ASSERT_TRUE(LoadProjectFile(path, saved).Ok());
    EXPECT_EQ(saved.m_strTitle, "Window");
    EXPECT_EQ(saved.m_mapResellers.GetCount(), 2u);

    // The file is the window's own again: the next Save asks nothing.
    Doc().SetModifiedFlag(true);
    EXPECT_TRUE(Doc().OnFileSave());
    EXPECT_EQ(m_prompts.Questions().size(), 2);
}

TEST_F(MainWindowTest, AChangedFileIsOfferedForReloadingOncePerChange) {
    const std::string path = WriteProject("re.vkp", 2);
    Start({QString::fromStdString(path)});
    Doc().OfferReloadIfChanged(); // unchanged: nothing asked
    CliAdd(path, "Cli1");

    m_prompts.Answer({false});
    Doc().OfferReloadIfChanged();
    EXPECT_EQ(m_prompts.Questions(), QStringList{kReload.arg("re.vkp")});
    EXPECT_EQ(View().model()->rowCount(), 2);
    Doc().OfferReloadIfChanged(); // the same change declined: not asked again
    EXPECT_EQ(m_prompts.Questions().size(), 1);

    CliAdd(path, "Cli2");
    m_prompts.Answer({true});
    Doc().OfferReloadIfChanged();
    ASSERT_EQ(m_prompts.Questions().size(), 2);
    EXPECT_EQ(View().model()->rowCount(), 4);
    EXPECT_GE(RowOfName("Cli2"), 0);
    EXPECT_FALSE(Doc().IsModified());
    // Reloaded: a Save now replaces the CLI's version without a question.
    Doc().SetModifiedFlag(true);
    EXPECT_TRUE(Doc().OnFileSave());
    EXPECT_EQ(m_prompts.Questions().size(), 2);
    EXPECT_EQ(AffiliatesIn(path), 4u);
}

TEST_F(MainWindowTest, ReloadOfferWarnsOfUnsavedChangesAndComesWithActivation) {
    const std::string path = WriteProject("act.vkp", 1);
    Start({QString::fromStdString(path)});
    Doc().SetModifiedFlag(true);
    CliAdd(path, "Cli");
    m_prompts.Answer({false});
    Frame().show();
    QApplication::setActiveWindow(&Frame());
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&Frame(), &activation);
    ASSERT_TRUE(WaitUntil([&] { return !m_prompts.Questions().isEmpty(); }, 5000));
    EXPECT_EQ(m_prompts.Questions().first(),
              kReload.arg("act.vkp") + "\nYour unsaved changes will be lost.");
}

TEST_F(MainWindowTest, TwoWindowsOnOneProjectTheSecondSaveAsks) {
    const std::string path = WriteProject("two.vkp", 1);
    Start({QString::fromStdString(path)});
    FakePrompts secondPrompts;
    CVelkoraApp second(secondPrompts);
    second.InitInstance({QString::fromStdString(path)}, false);

    Doc().Project().m_strTitle = "First";
    Doc().SetModifiedFlag(true);
    EXPECT_TRUE(Doc().OnFileSave());
    second.Doc().Project().m_strTitle = "Second";
    second.Doc().SetModifiedFlag(true);
    secondPrompts.Answer({false});
    EXPECT_FALSE(second.Doc().OnFileSave());
    EXPECT_EQ(secondPrompts.Questions(), QStringList{kOverwrite.arg("two.vkp")});
    CAffProject onDisk;
    ASSERT_TRUE(LoadProjectFile(path, onDisk).Ok());
    EXPECT_EQ(onDisk.m_strTitle, "First");
    EXPECT_TRUE(m_prompts.Questions().isEmpty());
}

TEST_F(MainWindowTest, SaveWaitsForTheLockAndGivesUpWithAMessage) {
    const std::string path = WriteProject("busy.vkp", 1);
    Start({QString::fromStdString(path)});
    const std::string before = ReadAll(path);
    platform::FileLockOutcome outcome{};
    platform::FileStatus status;
    const platform::FileLock held =
        platform::FileLock::Acquire(path, std::chrono::milliseconds(0), outcome, status);
    ASSERT_EQ(outcome, platform::FileLockOutcome::Locked);

    Doc().saveLockWait = std::chrono::milliseconds(50);
    Doc().SetModifiedFlag(true);
    EXPECT_FALSE(Doc().OnFileSave());
    EXPECT_EQ(
        m_prompts.Messages(),
        QStringList{"'busy.vkp' is being changed by another program. Try again in a moment."});
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(ReadAll(path), before);
}
