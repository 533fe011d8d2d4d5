#include "ui/ProductSettingsDialog.h"

#include "model/AffProject.h"
#include "ui/CellEdit.h"
#include "ui/ProductIdDialog.h"
#include "ui/RegInfoList.h"

#include "UiTestHelpers.h"
#include "tests/support/FakePrompts.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTabWidget>

namespace {

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    CAffProject project;
    FakePrompts prompts;
    std::unique_ptr<CProductSettingsDialog> dialog;
    std::unique_ptr<QSignalSpy> modified;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        project.SetProjectPath((dir.path() + QStringLiteral("/proj.vkp")).toStdString());
        project.m_strTitle = "Title";
        project.m_strVersion = "1.0";
        project.m_strWebSite = "http://site";
        project.m_strSetupFile = "setup.exe";
        project.m_strOutputDir = "out";
        project.m_wDefaultService = kServiceShareIt;
        AddInfo(kServiceRegNow, "R1", "https://r/x?item=R1");
        AddInfo(kServiceOther, "O1", "http://other/buy");
        Open();
    }

    void Open() {
        dialog = std::make_unique<CProductSettingsDialog>(project, nullptr, &prompts);
        modified =
            std::make_unique<QSignalSpy>(dialog.get(), &CProductSettingsDialog::projectModified);
        dialog->show();
    }

    void AddInfo(int service, const std::string& id, const std::string& link) {
        auto info = std::make_unique<CProductRegInfo>();
        info->m_wService = uint16_t(service);
        info->m_strServiceName = std::string(ServiceNameFromIndex(service));
        info->m_strProductId = id;
        info->m_strPurchaseLink = link;
        project.m_mapRegInfo.SetAt(uint16_t(service), std::move(info));
    }

    CRegInfoList* ShowRegistrationPage() {
        auto* sheet = dialog->Sheet();
        sheet->setCurrentIndex(2);
        return dialog->findChild<CRegInfoList*>(QStringLiteral("1037"));
    }

    int RowOf(CRegInfoList* list, const QString& service) {
        for (int r = 0; r < list->rowCount(); ++r)
            if (list->CellText(r, 0) == service)
                return r;
        return -1;
    }

    void ClickCell(CRegInfoList* list, int row, int column, bool twice) {
        const QPoint at = list->visualRect(list->model()->index(row, column)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    // Double-clicks a cell, replaces its text in the editor and presses Enter.
    void EditCell(CRegInfoList* list, int row, int column, const QString& text) {
        ClickCell(list, row, column, true);
        CCellEdit* editor = CCellEdit::Current();
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
};

} // namespace

TEST_F(SettingsFixture, OkWithoutChangesMarksModifiedAndKeepsEverything) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Product Settings"));
    EXPECT_EQ(dialog->Sheet()->tabText(0), QStringLiteral("General Info"));
    EXPECT_EQ(dialog->Sheet()->tabText(1), QStringLiteral("Setup Files"));
    EXPECT_EQ(dialog->Sheet()->tabText(2), QStringLiteral("Registration Info"));
    EXPECT_EQ(Text(dialog.get(), "1023"), QStringLiteral("Title"));
    Click(dialog.get(), "1");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(modified->count(), 1);
    EXPECT_EQ(project.m_strTitle, "Title");
    EXPECT_EQ(project.m_strOutputDir, "out");
    EXPECT_EQ(project.m_wDefaultService, kServiceShareIt);
    EXPECT_EQ(project.m_mapRegInfo.GetCount(), 2u);
}

TEST_F(SettingsFixture, TypedFieldsAreStoredOnOkOnlyAndUnvalidated) {
    Retype(dialog.get(), "1023", QString());
    Type(dialog.get(), "1026", QStringLiteral("b"));
    dialog->Sheet()->setCurrentIndex(1);
    Retype(dialog.get(), "1030", QStringLiteral("???"));
    EXPECT_EQ(project.m_strVersion, "1.0"); // copies until OK
    Click(dialog.get(), "1");
    EXPECT_EQ(project.m_strTitle, "");
    EXPECT_EQ(project.m_strVersion, "1.0b");
    EXPECT_EQ(project.m_strOutputDir, "???");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SettingsFixture, CancelChangesNothing) {
    Retype(dialog.get(), "1023", QStringLiteral("Other title"));
    CRegInfoList* list = ShowRegistrationPage();
    ClickCell(list, 0, 0, false);
    Click(dialog.get(), "1039");
    EXPECT_EQ(list->rowCount(), 1);
    Click(dialog.get(), "2");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(modified->count(), 0);
    EXPECT_EQ(project.m_strTitle, "Title");
    EXPECT_EQ(project.m_mapRegInfo.GetCount(), 2u);
}

TEST_F(SettingsFixture, DeletedRowIsRemovedOnOk) {
    CRegInfoList* list = ShowRegistrationPage();
    ASSERT_EQ(list->rowCount(), 2);
    const int row = RowOf(list, QStringLiteral("RegNow"));
    ClickCell(list, row, 1, false);
    Click(dialog.get(), "1039");
    EXPECT_EQ(RowOf(list, QStringLiteral("RegNow")), -1);
    Click(dialog.get(), "1");
    EXPECT_EQ(project.LookupRegInfo(kServiceRegNow), nullptr);
    ASSERT_NE(project.LookupRegInfo(kServiceOther), nullptr);
    EXPECT_EQ(project.LookupRegInfo(kServiceOther)->m_strProductId, "O1");
}

TEST_F(SettingsFixture, DeleteKeyInTheListRemovesTheMarkedRow) {
    CRegInfoList* list = ShowRegistrationPage();
    ClickCell(list, RowOf(list, QStringLiteral("Other")), 2, false);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->CellText(0, 0), QStringLiteral("RegNow"));
}

TEST_F(SettingsFixture, AddOffersOnlyUnlistedServicesAndAppendsTheRow) {
    ShowRegistrationPage();
    QStringList offered;
    WhenModal<CProductIdDialog>([&](CProductIdDialog* d) {
        auto* combo = d->findChild<QComboBox*>(QStringLiteral("1032"));
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        EXPECT_EQ(combo->currentIndex(), 0);
        Type(d, "1041", QStringLiteral("S9"));
        Click(d, "1");
    });
    Click(dialog.get(), "1038");
    EXPECT_EQ(offered, (QStringList{QStringLiteral("ShareIt"), QStringLiteral("RegSoft")}));
    CRegInfoList* list = ShowRegistrationPage();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->CellText(2, 0), QStringLiteral("ShareIt"));
    EXPECT_EQ(list->CellText(2, 1), QStringLiteral("S9"));
    EXPECT_EQ(list->CellText(2, 2), Endpoint(kServiceShareIt) + QStringLiteral("?productid=S9"));

    offered.clear();
    WhenModal<CProductIdDialog>([&](CProductIdDialog* d) {
        auto* combo = d->findChild<QComboBox*>(QStringLiteral("1032"));
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        Type(d, "1041", QStringLiteral("G"));
        Click(d, "1");
    });
    Click(dialog.get(), "1038");
    EXPECT_EQ(offered, QStringList{QStringLiteral("RegSoft")});

    // With RegNow, ShareIt and RegSoft listed nothing is offered.
    offered = QStringList{QStringLiteral("sentinel")};
    WhenModal<CProductIdDialog>([&](CProductIdDialog* d) {
        offered = QStringList();
        auto* combo = d->findChild<QComboBox*>(QStringLiteral("1032"));
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        Click(d, "2");
    });
    Click(dialog.get(), "1038");
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_EQ(list->rowCount(), 4);

    Click(dialog.get(), "1");
    EXPECT_EQ(project.m_mapRegInfo.GetCount(), 4u);
    ASSERT_NE(project.LookupRegInfo(kServiceShareIt), nullptr);
    EXPECT_EQ(project.LookupRegInfo(kServiceShareIt)->m_strProductId, "S9");
    EXPECT_EQ(project.LookupRegInfo(kServiceRegSoft)->m_strServiceName, "RegSoft");
}

TEST_F(SettingsFixture, InPlaceEditsRecomposeOnlyForKnownServices) {
    CRegInfoList* list = ShowRegistrationPage();
    const int regNow = RowOf(list, QStringLiteral("RegNow"));
    const int other = RowOf(list, QStringLiteral("Other"));

    EditCell(list, regNow, 1, QStringLiteral("R2"));
    EXPECT_EQ(list->CellText(regNow, 1), QStringLiteral("R2"));
    EXPECT_EQ(list->CellText(regNow, 2), QStringLiteral("https://r/x?item=R2"));

    EditCell(list, other, 1, QStringLiteral("O2"));
    EXPECT_EQ(list->CellText(other, 1), QStringLiteral("O2"));
    EXPECT_EQ(list->CellText(other, 2), QStringLiteral("http://other/buy"));

    EditCell(list, regNow, 2, QStringLiteral("http://hand/made"));
    EXPECT_EQ(list->CellText(regNow, 1), QStringLiteral("R2"));

    // The service column is not editable; Escape discards.
    ClickCell(list, regNow, 0, true);
    EXPECT_EQ(CCellEdit::Current(), nullptr);
    ClickCell(list, other, 2, true);
    ASSERT_NE(CCellEdit::Current(), nullptr);
    QTest::keyClicks(CCellEdit::Current(), QStringLiteral("zzz"));
    QTest::keyClick(CCellEdit::Current(), Qt::Key_Escape);
    EXPECT_EQ(list->CellText(other, 2), QStringLiteral("http://other/buy"));
    EXPECT_TRUE(dialog->isVisible());

    EXPECT_EQ(project.LookupRegInfo(kServiceRegNow)->m_strProductId, "R1"); // until OK
    Click(dialog.get(), "1");
    EXPECT_EQ(project.LookupRegInfo(kServiceRegNow)->m_strProductId, "R2");
    EXPECT_EQ(project.LookupRegInfo(kServiceRegNow)->m_strPurchaseLink, "http://hand/made");
    EXPECT_EQ(project.LookupRegInfo(kServiceOther)->m_strProductId, "O2");
}

TEST_F(SettingsFixture, RegistrationRecordsUntouchedWhenThePageWasNeverShown) {
    CProductRegInfo* before = project.LookupRegInfo(kServiceRegNow);
    Click(dialog.get(), "1");
    EXPECT_EQ(project.LookupRegInfo(kServiceRegNow), before);
}

TEST_F(SettingsFixture, ChosenPathsAreStoredRelativeInsideTheProjectFolder) {
    dialog->Sheet()->setCurrentIndex(1);
    prompts.paths.enqueue(dir.path() + QStringLiteral("/bin/setup.exe"));
    Click(dialog.get(), "1033");
    EXPECT_EQ(prompts.shown.last().text, QStringLiteral("setup.exe")); // the field's text
    EXPECT_EQ(prompts.shown.last().file.filters.size(), 5);
    EXPECT_EQ(Text(dialog.get(), "1024"), QStringLiteral("bin/setup.exe"));

    prompts.paths.enqueue(QStringLiteral("/opt/elsewhere/setup.exe"));
    Click(dialog.get(), "1033");
    EXPECT_EQ(Text(dialog.get(), "1024"), QStringLiteral("/opt/elsewhere/setup.exe"));

    prompts.paths.enqueue(QString()); // cancelled: unchanged
    Click(dialog.get(), "1033");
    EXPECT_EQ(Text(dialog.get(), "1024"), QStringLiteral("/opt/elsewhere/setup.exe"));

    prompts.paths.enqueue(dir.path() + QStringLiteral("/dist"));
    Click(dialog.get(), "1034");
    const FolderRequest& folder = prompts.shown.last().folder;
    EXPECT_EQ(folder.caption, QStringLiteral("Browse"));
    EXPECT_EQ(folder.instruction, QStringLiteral("Select output directory."));
    EXPECT_EQ(folder.initialFolder, dir.path() + QStringLiteral("/out"));
    EXPECT_EQ(Text(dialog.get(), "1030"), QStringLiteral("dist"));

    prompts.paths.enqueue(dir.path() + QStringLiteral("/Maker.exe"));
    Click(dialog.get(), "1035");
    EXPECT_EQ(prompts.shown.last().kind, QStringLiteral("save"));
    EXPECT_TRUE(prompts.shown.last().text.endsWith(QStringLiteral("/VelkSelfMaker.exe")));
    EXPECT_EQ(prompts.shown.last().file.defaultSuffix, QStringLiteral("exe"));
    EXPECT_TRUE(prompts.shown.last().file.confirmOverwrite); // unlike the wizard's step
    EXPECT_EQ(Text(dialog.get(), "1031"), QStringLiteral("Maker.exe"));

    Click(dialog.get(), "1");
    EXPECT_EQ(project.m_strSetupFile, "/opt/elsewhere/setup.exe");
    EXPECT_EQ(project.m_strOutputDir, "dist");
    EXPECT_EQ(project.m_strSelfCreatorPath, "Maker.exe");
}

TEST(RegInfoList, CommitSkipsPlaceholderRowsAndLaterRowsWin) {
    CAffProject project;
    CRegInfoList list;
    list.AppendRow(QStringLiteral("RegNow"), QStringLiteral("a"), QStringLiteral("l1"));
    list.AppendRow(QStringLiteral("..."), QStringLiteral("b"), QStringLiteral("l2"));
    list.AppendRow(QStringLiteral("regnow"), QStringLiteral("c"), QStringLiteral("l3"));
    list.AppendRow(QStringLiteral("Mystery"), QStringLiteral("d"), QStringLiteral("l4"));
    list.CommitTo(project);
    EXPECT_EQ(project.m_mapRegInfo.GetCount(), 2u);
    ASSERT_NE(project.LookupRegInfo(kServiceRegNow), nullptr);
    EXPECT_EQ(project.LookupRegInfo(kServiceRegNow)->m_strProductId, "c");
    EXPECT_EQ(project.LookupRegInfo(kServiceRegNow)->m_strServiceName, "regnow");
    ASSERT_NE(project.LookupRegInfo(kServiceOther), nullptr);
    EXPECT_EQ(project.LookupRegInfo(kServiceOther)->m_strServiceName, "Mystery");
}

// A long purchase link widens its column (the list scrolls sideways) rather
// than being cut; the column never gets narrower than its 150 pixels.
TEST_F(SettingsFixture, RegistrationListShowsLongLinksWhole) {
    const std::string longLink = "https://www.regnow.com/softsell/nph-softsell.cgi?"
                                 "item=12345-1234567890&src=newsletter-december";
    AddInfo(kServiceShareIt, "S1", longLink);
    Open();
    CRegInfoList* list = ShowRegistrationPage();
    ASSERT_NE(list, nullptr);
    const int row = RowOf(list, QStringLiteral("ShareIt"));
    ASSERT_GE(row, 0);
    EXPECT_GE(list->columnWidth(2),
              list->fontMetrics().horizontalAdvance(QString::fromStdString(longLink)));
    EditCell(list, row, 2, QStringLiteral("http://s"));
    EXPECT_GE(list->columnWidth(2), 150);
    EXPECT_GE(list->columnWidth(0) + list->columnWidth(1) + list->columnWidth(2),
              list->viewport()->width()); // short links still fill the list
}
