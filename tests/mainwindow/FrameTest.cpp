#include "MainWindowFixture.h"

#include "model/ModifiedTimeText.h"
#include "ui/AffiliateListModel.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>

TEST_F(MainWindowTest, StatusBarShowsReadyAndTheLockIndicators) {
    Start({QString::fromStdString(WriteProject("st.vkp", 0))});
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Ready");
    QStringList indicators;
    for (QLabel* l : Frame().statusBar()->findChildren<QLabel*>())
        indicators << l->text();
    for (const char* text : {"CAP", "NUM", "SCRL"})
        EXPECT_TRUE(indicators.contains(text)) << text;
    // A highlighted command shows its prompt, and "Ready" returns afterwards.
    Frame().statusBar()->showMessage(Cmd(ID_FILE_NEW).statusTip());
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Create a new document");
    Frame().statusBar()->clearMessage();
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Ready");
}

TEST_F(MainWindowTest, DroppedProjectFileIsOpened) {
    Start({QString::fromStdString(WriteProject("first.vkp", 0))});
    const std::string second = WriteProject("second.vkp", 3);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(second))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &drop);
    ASSERT_TRUE(WaitUntil([&] { return Doc().Title() == "second.vkp"; }));
    EXPECT_EQ(View().model()->rowCount(), 3);
}

TEST_F(MainWindowTest, ContextMenuItemsFollowTheCommands) {
    Start({QString::fromStdString(WriteProject("ctx.vkp", 2))});
    SelectRows({0, 1});
    std::unique_ptr<QMenu> menu(Frame().CreateAffiliateContextMenu(&Frame()));
    QStringList texts;
    std::map<QString, bool> enabled;
    for (QAction* a : menu->actions()) {
        texts << (a->isSeparator() ? "-" : a->text());
        enabled[a->text()] = a->isEnabled();
    }
    EXPECT_EQ(texts, (QStringList{"&New Affiliate", "Affiliate &Property", "&Delete", "-", "&Build",
                                  "&Run", "-", "E&xplore Output Folder", "Browse Affiliate Website",
                                  "Browse Purchase Link", "&Email"}));
    EXPECT_TRUE(enabled["&Delete"]);
    EXPECT_TRUE(enabled["&Build"]);
    EXPECT_FALSE(enabled["&Run"]);
    EXPECT_FALSE(enabled["Affiliate &Property"]);
    EXPECT_FALSE(enabled["&Email"]);

    // An item acts like the main command of the same identifier.
    SelectRows({0});
    menu.reset(Frame().CreateAffiliateContextMenu(&Frame()));
    for (QAction* a : menu->actions())
        if (a->text() == "Browse Purchase Link")
            a->trigger();
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], "http://");
}

TEST_F(MainWindowTest, OnlyTheCellUnderThePointerInTheLinkColumnsIsHighlighted) {
    Start({QString::fromStdString(WriteProject("hover.vkp", 2))});
    Frame().show();
    const QModelIndex site = View().model()->index(1, 2);
    QTest::mouseMove(View().viewport(), View().visualRect(site).center());
    EXPECT_EQ(View().model()->index(1, 2).data(Qt::ForegroundRole).value<QColor>(),
              QColor(80, 80, 255));
    EXPECT_EQ(View().model()->index(1, 3).data(Qt::ForegroundRole).value<QColor>(),
              QColor(15, 15, 15));
    EXPECT_EQ(View().model()->index(0, 2).data(Qt::ForegroundRole).value<QColor>(),
              QColor(15, 15, 15));
    EXPECT_EQ(View().model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(220, 224, 224));
    EXPECT_EQ(View().model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(),
              QColor(240, 250, 250));
    // Over a name cell nothing is highlighted in the link columns.
    QTest::mouseMove(View().viewport(), View().visualRect(View().model()->index(0, 0)).center());
    for (int c = 2; c <= 4; ++c)
        EXPECT_EQ(View().model()->index(1, c).data(Qt::ForegroundRole).value<QColor>(),
                  QColor(15, 15, 15));
}

TEST_F(MainWindowTest, SaveOfAnUntitledProjectProposesTheTitleAsFileName) {
    Start({});
    Doc().SetModifiedFlag(true);
    m_prompts.paths.enqueue(QString());
    Cmd(ID_FILE_SAVE).trigger(); // answered with Cancel: nothing is written
    EXPECT_EQ(m_prompts.ProposedFiles(), QStringList{"Untitled.vkp"});
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().Title(), "Untitled");
}

TEST_F(MainWindowTest, AddAffiliateAppendsARowWithTheCurrentTime) {
    Start({QString::fromStdString(WriteProject("add.vkp", 2))});
    OnNextModal([](QWidget* w) {
        for (auto [id, text] : {std::pair{"1011", "Zed"}, {"1013", "z1"}}) {
            auto* edit = w->findChild<QLineEdit*>(id);
            ASSERT_NE(edit, nullptr);
            edit->setText(text);
        }
        auto* ok = w->findChild<QPushButton*>("1");
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    Cmd(ID_ADD_AFFILIATE).trigger();
    ASSERT_EQ(View().model()->rowCount(), 3);
    EXPECT_EQ(CellText(2, 0), "Zed");
    std::string modified;
    ModifiedTimeText().Append(modified, 1700000000);
    EXPECT_EQ(CellText(2, 5).toStdString(), modified);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 3u);
}
