#include "MainWindowFixture.h"

#include "ui/AppSettings.h"
#include "ui/ProgramUuidDialog.h"
#include "ui/RecentFileList.h"
#include "ui/WelcomeDialog.h"

#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QWizard>

TEST_F(MainWindowTest, FileOnCommandLineOpensWithoutWelcome) {
    const std::string file = WriteProject("Shop.vkp", 2);
    QStringList seen;
    bool welcomeShown = false;
    OnNextModal(
        [&](QWidget* w) {
            welcomeShown = true;
            static_cast<QDialog*>(w)->reject();
        },
        &seen);
    Start({QString::fromStdString(file)});
    QApplication::processEvents();
    EXPECT_FALSE(welcomeShown) << seen.join(",").toStdString();
    EXPECT_EQ(Doc().Title(), "Shop.vkp");
    EXPECT_EQ(Frame().windowTitle(), "Shop.vkp - Velkora");
    EXPECT_EQ(View().model()->rowCount(), 2);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_EQ(OpenAppSettings()->value("Recent File List/File1").toString(),
              QString::fromStdString(file));
}

TEST_F(MainWindowTest, CancellingWelcomeLeavesAnEmptyProjectWithoutWizard) {
    Start({});
    ASSERT_EQ(m_modals, QStringList{"CWelcomeDialog"});
    // Nothing else opens afterwards.
    QStringList later;
    bool another = false;
    OnNextModal(
        [&](QWidget* w) {
            another = true;
            static_cast<QDialog*>(w)->reject();
        },
        &later);
    WaitUntil([] { return false; }, 200);
    EXPECT_FALSE(another) << later.join(",").toStdString();
    EXPECT_EQ(Doc().Title(), "Untitled");
    EXPECT_EQ(Frame().windowTitle(), "Untitled - Velkora");
    EXPECT_TRUE(Doc().Project().m_mapResellers.IsEmpty());
    EXPECT_TRUE(Doc().Project().m_strUuid.empty());
    EXPECT_EQ(View().model()->rowCount(), 0);
}

TEST_F(MainWindowTest, CancellingTheWizardLeavesAnEmptyUnmodifiedProject) {
    // Welcome: the create button is preselected; OK runs New, whose wizard is cancelled.
    OnNextModal([](QWidget* w) {
        auto* welcome = qobject_cast<CWelcomeDialog*>(w);
        ASSERT_NE(welcome, nullptr);
        EXPECT_TRUE(welcome->CreateButton()->isChecked());
        EXPECT_TRUE(welcome->OkEnabled());
        OnNextModal([](QWidget* wizard) { static_cast<QDialog*>(wizard)->reject(); });
        welcome->accept();
    });
    m_app->InitInstance({});
    EXPECT_TRUE(Doc().Project().m_strUuid.empty());
    EXPECT_TRUE(Doc().Project().m_mapRegInfo.IsEmpty());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_EQ(Doc().Title(), "Untitled");
}

TEST_F(MainWindowTest, WelcomeOkFollowsTheRadioButtonsAndTheSelection) {
    CWelcomeDialog welcome({"/p/a.vkp", "/p/b.vkp"});
    EXPECT_EQ(welcome.FileList()->count(), 3);
    EXPECT_EQ(welcome.FileList()->item(0)->text(), "More files ...");
    welcome.OpenButton()->click();
    EXPECT_FALSE(welcome.OkEnabled()); // open without a row
    welcome.accept();                  // does nothing
    EXPECT_EQ(welcome.Result(), CWelcomeDialog::Choice::Nothing);
    welcome.FileList()->setCurrentRow(2);
    EXPECT_TRUE(welcome.OkEnabled());
    welcome.FileList()->clearSelection();
    EXPECT_FALSE(welcome.OkEnabled());
    welcome.FileList()->setCurrentRow(2);
    welcome.accept();
    EXPECT_EQ(welcome.Result(), CWelcomeDialog::Choice::OpenRecent);
    EXPECT_EQ(welcome.ChosenFile(), "/p/b.vkp");
}

TEST_F(MainWindowTest, UuidApplyWithUnchangedTextKeepsTheProjectUnmodified) {
    Start({QString::fromStdString(WriteProject("u.vkp", 1))});
    const std::string before = Doc().Project().m_strUuid;
    OnNextModal([](QWidget* w) {
        auto* dialog = qobject_cast<CProgramUuidDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        QStringList texts;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(
            texts.contains("Use the following program UUID (Universal Unique Identifier) in "
                           "your application to call API functions."))
            << texts.join('|').toStdString();
        dialog->ApplyButton()->click();
    });
    Cmd(ID_PROGRAM_UUID).trigger();
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().Project().m_strUuid, before);

    // A changed text (of any form) replaces the UUID and marks the project.
    OnNextModal([](QWidget* w) {
        auto* dialog = qobject_cast<CProgramUuidDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->Edit()->setText("not-a-uuid");
        dialog->ApplyButton()->click();
    });
    Cmd(ID_PROGRAM_UUID).trigger();
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().Project().m_strUuid, "not-a-uuid");
}

TEST_F(MainWindowTest, UuidCopyPutsTheTextOnTheClipboard) {
    Start({QString::fromStdString(WriteProject("c.vkp", 0))});
    OnNextModal([](QWidget* w) {
        auto* dialog = qobject_cast<CProgramUuidDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->CopyButton()->click();
        dialog->CancelButton()->click();
    });
    Cmd(ID_PROGRAM_UUID).trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "11111111-2222-3333-4444-555555555555");
    EXPECT_EQ(m_prompts.Messages(), QStringList{"Copied to clipboard successfully!"});
}

TEST_F(MainWindowTest, UnreadableFileKeepsTheCurrentProject) {
    Start({QString::fromStdString(WriteProject("keep.vkp", 2))});
    EXPECT_FALSE(Doc().OpenDocument(QString::fromStdString(Path("missing.vkp"))));
    EXPECT_EQ(m_prompts.Messages().size(), 1);
    EXPECT_EQ(Doc().Title(), "keep.vkp");
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 2u);
}

TEST_F(MainWindowTest, MalformedFileLeadsToANewWizardStartedProject) {
    Start({QString::fromStdString(WriteProject("ok.vkp", 1))});
    const std::string bad = Path("bad.vkp");
    QFile f(QString::fromStdString(bad));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a project");
    f.close();
    QStringList seen;
    OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); }, &seen);
    EXPECT_FALSE(Doc().OpenDocument(QString::fromStdString(bad)));
    EXPECT_EQ(seen, QStringList{"CWizardProductProperty"});
    EXPECT_EQ(m_prompts.Messages().size(), 1);
    EXPECT_EQ(Doc().Title(), "Untitled");
    EXPECT_TRUE(Doc().Project().m_mapResellers.IsEmpty());
    EXPECT_EQ(View().model()->rowCount(), 0);
}

TEST_F(MainWindowTest, SavePromptCancelKeepsTheModifiedProjectOnNew) {
    Start({QString::fromStdString(WriteProject("m.vkp", 1))});
    Doc().SetModifiedFlag(true);
    m_saveAnswer = CVelkoraDoc::SaveAnswer::Cancel;
    Cmd(ID_FILE_NEW).trigger();
    EXPECT_EQ(m_savePrompts, QStringList{"Save changes to m.vkp?"});
    EXPECT_EQ(Doc().Title(), "m.vkp");
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(MainWindowTest, RecentFilesKeepFourMostRecentFirst) {
    CRecentFileList list;
    list.Load();
    for (const char* name : {"a.vkp", "b.vkp", "c.vkp", "d.vkp", "e.vkp"})
        list.Add(QString::fromStdString(Path(name)));
    list.Add(QString::fromStdString(Path("c.vkp"))); // moves up, no duplicate
    QStringList expected;
    for (const char* name : {"c.vkp", "e.vkp", "d.vkp", "b.vkp"})
        expected << QString::fromStdString(Path(name));
    EXPECT_EQ(list.Files(), expected);

    CRecentFileList reread;
    reread.Load();
    EXPECT_EQ(reread.Files(), expected);
    const auto settings = OpenAppSettings();
    EXPECT_EQ(settings->value("Recent File List/File4").toString(), expected[3]);
    EXPECT_FALSE(settings->contains("Recent File List/File5"));
    EXPECT_TRUE(settings->fileName().endsWith("/velkora/velkora.conf"))
        << settings->fileName().toStdString();
}

TEST_F(MainWindowTest, RecentEntryThatCannotBeOpenedIsRemoved) {
    const std::string good = WriteProject("good.vkp", 1);
    Start({QString::fromStdString(good)});
    const QString gone = QString::fromStdString(Path("gone.vkp"));
    m_app->RecentFiles().Add(gone);
    ASSERT_TRUE(m_app->RecentFiles().Files().contains(gone));
    m_app->OnOpenRecentFile(gone);
    EXPECT_FALSE(m_app->RecentFiles().Files().contains(gone));
    EXPECT_TRUE(m_app->RecentFiles().Files().contains(QString::fromStdString(good)));
    EXPECT_EQ(Doc().Title(), "good.vkp");
}

TEST_F(MainWindowTest, SaveAsWritesTheFileAndClearsTheModifiedFlag) {
    Start({QString::fromStdString(WriteProject("s.vkp", 1))});
    Doc().SetModifiedFlag(true);
    EXPECT_TRUE(Enabled(ID_FILE_SAVE));
    const QString target = QString::fromStdString(Path("copy.vkp"));
    m_prompts.paths.enqueue(target);
    Cmd(ID_FILE_SAVE_AS).trigger();
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().Title(), "copy.vkp");
    CAffProject reread;
    ASSERT_TRUE(LoadProjectFile(target.toStdString(), reread).Ok());
    EXPECT_EQ(reread.m_mapResellers.GetCount(), 1u);
    EXPECT_EQ(m_app->RecentFiles().Files().front(), target);
}

TEST_F(MainWindowTest, ViewCommandsTickFollowTheBars) {
    Start({QString::fromStdString(WriteProject("v.vkp", 0))});
    Frame().show();
    EXPECT_TRUE(Cmd(ID_VIEW_TOOLBAR).isChecked());
    Cmd(ID_VIEW_TOOLBAR).trigger();
    Frame().UpdateCommandUI();
    EXPECT_TRUE(Frame().ToolBar()->isHidden());
    EXPECT_FALSE(Cmd(ID_VIEW_TOOLBAR).isChecked());
    Cmd(ID_VIEW_TOOLBAR).trigger();
    Frame().UpdateCommandUI();
    EXPECT_FALSE(Frame().ToolBar()->isHidden());
    EXPECT_TRUE(Cmd(ID_VIEW_TOOLBAR).isChecked());
}

TEST_F(MainWindowTest, ToolbarHoldsTheButtonsInOrder) {
    Start({QString::fromStdString(WriteProject("t.vkp", 0))});
    std::vector<int> ids;
    for (QAction* a : Frame().ToolBar()->actions())
        ids.push_back(a->isSeparator() ? 0 : a->data().toInt());
    const std::vector<int> expected = {
        ID_FILE_NEW,      ID_FILE_OPEN,          ID_FILE_SAVE,        0, ID_DELETE_AFFILIATE,
        ID_ADD_AFFILIATE, ID_AFFILIATE_PROPERTY, ID_PRODUCT_SETTINGS, 0, ID_BUILD_SELECTED,
        ID_BUILD_ALL,     ID_BUILD_SELF_CREATOR, ID_RUN_SETUP,        0, ID_APP_ABOUT};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(Frame().ToolBar()->iconSize(), QSize(24, 24));
    // It can be undocked and docked on every side; upright on the left.
    EXPECT_TRUE(Frame().ToolBar()->isMovable());
    EXPECT_TRUE(Frame().ToolBar()->isFloatable());
    EXPECT_EQ(Frame().ToolBar()->allowedAreas(), Qt::AllToolBarAreas);
    Frame().addToolBar(Qt::LeftToolBarArea, Frame().ToolBar());
    EXPECT_EQ(Frame().toolBarArea(Frame().ToolBar()), Qt::LeftToolBarArea);
    EXPECT_EQ(Frame().ToolBar()->orientation(), Qt::Vertical);
    EXPECT_EQ(Cmd(ID_BUILD_ALL).toolTip(), "Build All");
    EXPECT_EQ(Cmd(ID_BUILD_ALL).statusTip(), "Build custom setup files for all affiliates");
}

TEST_F(MainWindowTest, HelpOpensTheGuideBesideTheProgram) {
    // The build puts the guide beside the test program as it does beside velkora.
    Start({QString::fromStdString(WriteProject("h.vkp", 0))});
    const QString help = CVelkoraApp::HelpFilePath();
    ASSERT_TRUE(QFile::exists(help));
    Cmd(ID_HELP_INDEX).trigger();
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(QString::fromStdString(m_opened[0]), help);
    QFile guide(help);
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    EXPECT_TRUE(guide.readAll().contains("id=\"contents\""));
}

TEST_F(MainWindowTest, UnreadableFileAfterDiscardingChangesStartsANewProject) {
    Start({QString::fromStdString(WriteProject("dirty.vkp", 2))});
    Doc().SetModifiedFlag(true);
    m_saveAnswer = CVelkoraDoc::SaveAnswer::No;
    QStringList seen;
    OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); }, &seen);
    EXPECT_FALSE(Doc().OpenDocument(QString::fromStdString(Path("missing.vkp"))));
    EXPECT_EQ(m_savePrompts, QStringList{"Save changes to dirty.vkp?"});
    EXPECT_EQ(seen, QStringList{"CWizardProductProperty"});
    EXPECT_EQ(Doc().Title(), "Untitled");
    EXPECT_TRUE(Doc().Project().m_mapResellers.IsEmpty());
    EXPECT_FALSE(Doc().IsModified());
}

// The main road of every vendor: Welcome, the wizard filled in and ended with
// Finish, then the "Hints" question. Finish once read a record it had already
// handed over.
TEST_F(MainWindowTest, WizardFinishFillsTheProjectAndAsksForAnAffiliate) {
    OnNextModal([](QWidget* w) {
        OnNextModal([](QWidget* wizardWidget) {
            auto* wizard = qobject_cast<QWizard*>(wizardWidget);
            ASSERT_NE(wizard, nullptr);
            auto set = [wizard](const char* id, const QString& text) {
                auto* edit = wizard->findChild<QLineEdit*>(QString::fromLatin1(id));
                ASSERT_NE(edit, nullptr) << id;
                QTest::keyClicks(edit, text); // typed, so that links are composed
            };
            wizard->next();
            set("1005", "Demo");
            set("1007", "2.1");
            set("1002", "https://demo.example");
            wizard->next();
            set("1008", "setup.exe");
            set("1009", "out");
            set("1010", "maker.exe");
            wizard->next();
            set("1000", "4711");
            wizard->next();
            ASSERT_TRUE(wizard->button(QWizard::FinishButton)->isEnabled());
            wizard->button(QWizard::FinishButton)->click();
        });
        static_cast<QDialog*>(w)->accept();
    });
    m_prompts.Answer({false}); // no affiliate now
    m_app->InitInstance({});
    const CAffProject& p = Doc().Project();
    EXPECT_EQ(p.m_strTitle, "Demo");
    EXPECT_EQ(p.m_strVersion, "2.1");
    EXPECT_EQ(p.m_strWebSite, "https://demo.example");
    EXPECT_EQ(p.m_strSetupFile, "setup.exe");
    EXPECT_EQ(p.m_strOutputDir, "out");
    EXPECT_EQ(p.m_strSelfCreatorPath, "maker.exe");
    EXPECT_EQ(p.m_strUuid.size(), 36u);
    EXPECT_EQ(p.m_wDefaultService, 0);
    const CProductRegInfo* info = Doc().Project().LookupRegInfo(0);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_wService, 0);
    EXPECT_EQ(info->m_strServiceName, "RegNow");
    EXPECT_EQ(info->m_strProductId, "4711");
    EXPECT_EQ(info->m_strPurchaseLink,
              "https://www.regnow.com/softsell/nph-softsell.cgi?item=4711");
    EXPECT_EQ(m_prompts.Questions(),
              QStringList{"Do you want to add an affiliate to your product right now?"});
    EXPECT_EQ(m_prompts.QuestionCaptions(), QStringList{"Hints"});
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(p.m_mapResellers.IsEmpty());
}

// The Welcome dialog stays centred while the main window takes its place.
TEST_F(MainWindowTest, WelcomeStaysCentredOnTheMainWindow) {
    QWidget owner;
    owner.setGeometry(40, 30, 500, 400);
    owner.show();
    CWelcomeDialog welcome({}, &owner);
    welcome.show();
    auto centred = [&] {
        return (welcome.frameGeometry().center() - owner.frameGeometry().center())
                   .manhattanLength() <= 2;
    };
    EXPECT_TRUE(WaitUntil(centred));
    owner.setGeometry(0, 0, 1200, 900); // maximised after the dialog opened
    EXPECT_TRUE(WaitUntil(centred))
        << welcome.frameGeometry().center().x() << "," << welcome.frameGeometry().center().y();
}

TEST_F(MainWindowTest, RecentFilesAreCarriedOverOnceFromTheOldPlace) {
    const QString a = QString::fromStdString(Path("a.vkp"));
    const QString b = QString::fromStdString(Path("b.vkp"));
    {
        const auto old = OpenOldAppSettings();
        old->setValue("Recent File List/File1", a);
        old->setValue("Recent File List/File2", b);
    }
    CRecentFileList list;
    list.Load();
    EXPECT_EQ(list.Files(), (QStringList{a, b}));
    const auto settings = OpenAppSettings();
    EXPECT_TRUE(QFile::exists(settings->fileName()));
    EXPECT_EQ(settings->value("Recent File List/File2").toString(), b);

    // Once the new place exists, the old one is no longer read.
    OpenOldAppSettings()->setValue("Recent File List/File1", b);
    list.Add(QString::fromStdString(Path("c.vkp")));
    CRecentFileList reread;
    reread.Load();
    EXPECT_EQ(reread.Files(), (QStringList{QString::fromStdString(Path("c.vkp")), a, b}));
}
