#include "MainWindowFixture.h"

#include "package/BuildRunningFlag.h"

#include <QFile>

namespace {

void WriteFile(const std::string& path, const QByteArray& bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST_F(MainWindowTest, BuildAllIsDisabledWithoutAffiliates) {
    Start({QString::fromStdString(WriteProject("none.vkp", 0))});
    EXPECT_FALSE(Enabled(ID_BUILD_ALL));
    EXPECT_TRUE(Enabled(ID_ADD_AFFILIATE));
    EXPECT_TRUE(Enabled(ID_BUILD_SELF_CREATOR));
    // The key does nothing either.
    Cmd(ID_BUILD_ALL).trigger();
    EXPECT_EQ(Frame().Log()->count(), 0);
}

TEST_F(MainWindowTest, BuildAllAnsweredCancelAtTheSavePromptStillBuilds) {
    const std::string file = WriteProject("b.vkp", 1);
    WriteFile(Path("setup.bin"), "#!SETUP-PROGRAM");
    Start({QString::fromStdString(file)});
    Doc().SetModifiedFlag(true);
    m_saveAnswer = CVelkoraDoc::SaveAnswer::Cancel;
    int finished = -1;
    QObject::connect(&Doc(), &CVelkoraDoc::buildFinished, [&](int errors) { finished = errors; });
    ASSERT_TRUE(Enabled(ID_BUILD_ALL));
    Cmd(ID_BUILD_ALL).trigger();
    EXPECT_EQ(m_savePrompts, QStringList{"Save changes to b.vkp?"});
    ASSERT_TRUE(WaitUntil([&] { return finished >= 0; }));
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(Doc().IsModified()); // not saved
    const QStringList lines = Frame().Log()->Lines();
    ASSERT_EQ(lines.size(), 9) << lines.join("|").toStdString();
    EXPECT_TRUE(lines[0].startsWith("***Start building [")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("] "));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Writing program info...");
    EXPECT_EQ(lines[6], "File 'out/setup_0.bin' created successfully.");
    EXPECT_EQ(lines[8], "*** Finished! - 0 error(s)");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("out/setup_0.bin"))));
    EXPECT_FALSE(IsBuildRunning());
    EXPECT_TRUE(Enabled(ID_BUILD_ALL));
}

TEST_F(MainWindowTest, BuildAllClearsTheLogButBuildSelectedDoesNot) {
    const std::string file = WriteProject("two.vkp", 2);
    Start({QString::fromStdString(file)});
    Frame().Log()->Append("old line");
    int builds = 0;
    QObject::connect(&Doc(), &CVelkoraDoc::buildFinished, [&](int) { ++builds; });
    SelectRows({1});
    Cmd(ID_BUILD_SELECTED).trigger();
    ASSERT_TRUE(WaitUntil([&] { return builds == 1; }));
    QStringList lines = Frame().Log()->Lines();
    EXPECT_EQ(lines.first(), "old line");
    // No setup program in the folder: one error, the build ends.
    EXPECT_TRUE(lines.contains("Error! Can't open program setup file[setup.bin]."));
    EXPECT_EQ(lines.last(), "*** Finished! - 1 error(s)");
    Cmd(ID_BUILD_ALL).trigger();
    ASSERT_TRUE(WaitUntil([&] { return builds == 2; }));
    lines = Frame().Log()->Lines();
    EXPECT_TRUE(lines.first().startsWith("***Start building ["));
    EXPECT_FALSE(lines.contains("old line"));
}

TEST_F(MainWindowTest, DuringABuildOnlyTheBuildCommandsAndExploreAreDisabled) {
    Start({QString::fromStdString(WriteProject("run.vkp", 3))});
    SelectRows({0});
    ASSERT_TRUE(Enabled(ID_BUILD_SELECTED));
    ASSERT_TRUE(Enabled(ID_EXPLORE_OUTPUT));
    {
        BuildRunningScope building; // as a worker holds it
        EXPECT_FALSE(Enabled(ID_BUILD_ALL));
        EXPECT_FALSE(Enabled(ID_BUILD_SELECTED));
        EXPECT_FALSE(Enabled(ID_EXPLORE_OUTPUT));
        for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE_AS, ID_ADD_AFFILIATE,
                       ID_DELETE_AFFILIATE, ID_AFFILIATE_PROPERTY, ID_RUN_SETUP, ID_BROWSE_WEBSITE,
                       ID_BROWSE_PURCHASE, ID_EMAIL, ID_PRODUCT_SETTINGS, ID_PROGRAM_UUID,
                       ID_BUILD_SELF_CREATOR, ID_HELP_INDEX, ID_APP_ABOUT})
            EXPECT_TRUE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Enabled(ID_BUILD_ALL));
    EXPECT_TRUE(Enabled(ID_BUILD_SELECTED));
    EXPECT_TRUE(Enabled(ID_EXPLORE_OUTPUT));
}

TEST_F(MainWindowTest, TwoSelectedRowsDisableTheSingleAffiliateCommands) {
    Start({QString::fromStdString(WriteProject("sel.vkp", 3))});
    SelectRows({0, 2});
    for (int id :
         {ID_AFFILIATE_PROPERTY, ID_RUN_SETUP, ID_BROWSE_WEBSITE, ID_BROWSE_PURCHASE, ID_EMAIL})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {ID_DELETE_AFFILIATE, ID_BUILD_SELECTED, ID_EXPLORE_OUTPUT})
        EXPECT_TRUE(Enabled(id)) << id;
    // Explore is enabled but acts only on exactly one row.
    Cmd(ID_EXPLORE_OUTPUT).trigger();
    EXPECT_TRUE(m_explored.empty());
    SelectRows({});
    for (int id : {ID_DELETE_AFFILIATE, ID_BUILD_SELECTED, ID_EXPLORE_OUTPUT, ID_EMAIL})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(ID_HELP_WEBPAGE));
}

TEST_F(MainWindowTest, ShellCommandsUseTheFirstSelectedAffiliate) {
    Start({QString::fromStdString(WriteProject("shell.vkp", 2))});
    SelectRows({RowOfName("Name1")});
    Cmd(ID_BROWSE_WEBSITE).trigger();
    Cmd(ID_EMAIL).trigger();
    Cmd(ID_EXPLORE_OUTPUT).trigger();
    ASSERT_EQ(m_opened.size(), 2u);
    EXPECT_EQ(m_opened[0], "https://site1.example");
    EXPECT_EQ(m_opened[1], "mailto:a1@example.com");
    ASSERT_EQ(m_explored.size(), 1u);
    EXPECT_EQ(m_explored[0], Path("out"));
}

TEST_F(MainWindowTest, KeysReachTheCommandsAndF6SwitchesPanes) {
    Start({QString::fromStdString(WriteProject("keys.vkp", 3))});
    Frame().show();
    QApplication::setActiveWindow(&Frame());
    View().setFocus();
    QTest::keyClick(&View(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(View().SelectedCount(), 3);
    QTest::keyClick(&View(), Qt::Key_F6);
    EXPECT_TRUE(Frame().Log()->hasFocus());
    QTest::keyClick(Frame().Log(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(View().hasFocus());
    m_prompts.answers.enqueue(false);
    QTest::keyClick(&View(), Qt::Key_Delete);
    EXPECT_EQ(m_prompts.Questions(),
              QStringList{"Do you want to delete all the selected affiliates?"});
    EXPECT_EQ(m_prompts.QuestionCaptions(), QStringList{"Warning!"});
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 3u); // answered No
    EXPECT_FALSE(Doc().IsModified());
}

// The menu shows "&Delete Affiliate" without a key; Delete, Shift+Delete and
// Ctrl+X still reach it.
TEST_F(MainWindowTest, DeleteAffiliateShowsNoKeyButItsKeysWork) {
    Start({QString::fromStdString(WriteProject("delkeys.vkp", 3))});
    EXPECT_EQ(Cmd(ID_DELETE_AFFILIATE).text(), "&Delete Affiliate");
    EXPECT_TRUE(Cmd(ID_DELETE_AFFILIATE).shortcuts().isEmpty());
    Frame().show();
    QApplication::setActiveWindow(&Frame());
    View().setFocus();
    SelectRows({0});
    m_prompts.Answer({false, false, true});
    QTest::keyClick(&View(), Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(&View(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_Delete);
    EXPECT_EQ(m_prompts.Questions().size(), 3);
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 2u);
}
