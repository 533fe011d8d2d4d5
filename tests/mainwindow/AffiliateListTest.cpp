#include "MainWindowFixture.h"

#include "model/ModifiedTimeText.h"
#include "ui/AffiliateDialog.h"
#include "ui/AffiliateListModel.h"
#include "ui/CellEdit.h"

#include <QHeaderView>

#include <algorithm>
#include <random>

TEST_F(MainWindowTest, ListShowsSixCentredColumnsWithTheirWidths) {
    Start({QString::fromStdString(WriteProject("cols.vkp", 1))});
    QStringList headers;
    for (int c = 0; c < 6; ++c)
        headers << View().model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, (QStringList{"Affiliate Name", "Affiliate ID", "Website", "Contact Email",
                                    "Purchase Link", "Modified"}));
    const int widths[] = {100, 90, 200, 180, 280, 120};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(View().columnWidth(c), widths[c]);
    EXPECT_EQ(View().model()->index(0, 3).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignCenter));
    std::string modified;
    ModifiedTimeText().Append(modified, 1600000000);
    EXPECT_EQ(CellText(0, 5).toStdString(), modified);
    EXPECT_TRUE(View().horizontalHeader()->sectionsMovable());
}

TEST_F(MainWindowTest, ClickingAHeaderTwiceSortsAscendingThenDescending) {
    Start({QString::fromStdString(WriteProject("sort.vkp", 4))});
    QHeaderView* header = View().horizontalHeader();
    Frame().show();
    auto clickHeader = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    };
    const int name1 = RowOfName("Name1");
    View().setCurrentIndex(View().model()->index(name1, 0));
    SelectRows({name1});

    clickHeader(0);
    EXPECT_EQ(View().SortColumn(), 0);
    EXPECT_TRUE(View().SortAscending());
    QStringList names;
    for (int r = 0; r < 4; ++r)
        names << CellText(r, 0);
    EXPECT_EQ(names, (QStringList{"Name0", "Name1", "Name2", "Name3"}));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    // Apex up: the indicator order that Qt's styles draw pointing up.
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(0);
    EXPECT_FALSE(View().SortAscending());
    names.clear();
    for (int r = 0; r < 4; ++r)
        names << CellText(r, 0);
    EXPECT_EQ(names, (QStringList{"Name3", "Name2", "Name1", "Name0"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder); // apex down
    // The selection and the focus moved with Name1.
    EXPECT_EQ(View().SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(View().currentIndex().row(), 2);

    clickHeader(2);
    EXPECT_EQ(View().SortColumn(), 2);
    EXPECT_TRUE(View().SortAscending());
    EXPECT_EQ(CellText(0, 2), "https://site0.example");
}

TEST_F(MainWindowTest, EditingTheAffiliateIdRecomposesTheRegNowLink) {
    Start({QString::fromStdString(WriteProject("edit.vkp", 2))});
    Frame().show();
    ASSERT_TRUE(View().EditCell(0, 1));
    CCellEdit* editor = CCellEdit::Current();
    ASSERT_NE(editor, nullptr);
    editor->setText("newid");
    QTest::keyClick(editor, Qt::Key_Return);
    // The row shows the text only after the queued notification.
    const uint16_t key = static_cast<uint16_t>(View().Model().Row(0).key);
    const CReseller* r = Doc().Project().LookupReseller(key);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_strAffiliateId, "newid");
    EXPECT_NE(r->m_strPurchaseLink.find("affiliate=newid"), std::string::npos)
        << r->m_strPurchaseLink;
    EXPECT_NE(r->m_strPurchaseLink.find("item=P1"), std::string::npos);
    EXPECT_EQ(r->m_tModified, 1700000000);
    EXPECT_FALSE(Doc().IsModified());
    ASSERT_TRUE(WaitUntil([&] { return Doc().IsModified(); }));
    EXPECT_EQ(CellText(0, 1), "newid");
    EXPECT_EQ(CellText(0, 4), QString::fromStdString(r->m_strPurchaseLink));
}

TEST_F(MainWindowTest, EditingTheIdOfAnOtherAffiliateLeavesItsLink) {
    Start({QString::fromStdString(WriteProject("other.vkp", 1, 3))});
    Frame().show();
    ASSERT_TRUE(View().EditCell(0, 1));
    CCellEdit::Current()->setText("x9");
    QTest::keyClick(CCellEdit::Current(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([&] { return Doc().IsModified(); }));
    const CReseller* r = View().AffiliateOfRow(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_strAffiliateId, "x9");
    EXPECT_EQ(r->m_strPurchaseLink, "http://");
    EXPECT_EQ(CellText(0, 1), "x9");
}

TEST_F(MainWindowTest, EscapeAndUnchangedEnterLeaveTheRecordAlone) {
    Start({QString::fromStdString(WriteProject("esc.vkp", 1))});
    Frame().show();
    ASSERT_TRUE(View().EditCell(0, 0));
    CCellEdit::Current()->setText("Changed");
    QTest::keyClick(CCellEdit::Current(), Qt::Key_Escape);
    ASSERT_TRUE(View().EditCell(0, 2));
    QTest::keyClick(CCellEdit::Current(), Qt::Key_Return); // text unchanged
    WaitUntil([] { return false; }, 100);
    const CReseller* r = View().AffiliateOfRow(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_strName, "Name0"); // the only affiliate
    EXPECT_EQ(r->m_tModified, 1600000000);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(CellText(0, 0), "Name0");
}

TEST_F(MainWindowTest, DeleteKeyInsideTheCellEditorNeverDeletesAffiliates) {
    Start({QString::fromStdString(WriteProject("del.vkp", 2))});
    Frame().show();
    QApplication::setActiveWindow(&Frame());
    SelectRows({0});
    const QString before = CellText(0, 0);
    ASSERT_TRUE(View().EditCell(0, 0));
    CCellEdit* editor = CCellEdit::Current();
    editor->setFocus();
    editor->setCursorPosition(0);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(editor->text(), before.mid(1));
    EXPECT_TRUE(m_prompts.Questions().isEmpty());
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 2u);
    QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(MainWindowTest, DeletingThreeSelectedRowsRemovesExactlyThoseAffiliates) {
    Start({QString::fromStdString(WriteProject("three.vkp", 5))});
    SelectRows({0, 2, 3});
    const std::vector<uint32_t> kept = {View().Model().Row(1).key, View().Model().Row(4).key};
    const QStringList keptNames = {CellText(1, 0), CellText(4, 0)};
    m_prompts.answers.enqueue(true);
    Cmd(ID_DELETE_AFFILIATE).trigger();
    EXPECT_EQ(m_prompts.Questions(),
              QStringList{"Do you want to delete all the selected affiliates?"});
    ASSERT_EQ(View().model()->rowCount(), 2);
    EXPECT_EQ(View().Model().Row(0).key, kept[0]);
    EXPECT_EQ(View().Model().Row(1).key, kept[1]);
    EXPECT_EQ(CellText(0, 0), keptNames[0]);
    EXPECT_EQ(CellText(1, 0), keptNames[1]);
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 2u);
    for (uint32_t k : kept)
        EXPECT_NE(Doc().Project().LookupReseller(static_cast<uint16_t>(k)), nullptr);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(MainWindowTest, DeletingTheAffiliateOfTheOpenDialogHidesIt) {
    Start({QString::fromStdString(WriteProject("dlg.vkp", 2))});
    SelectRows({1});
    Cmd(ID_AFFILIATE_PROPERTY).trigger();
    ASSERT_NE(View().AffiliateDialog(), nullptr);
    EXPECT_TRUE(View().AffiliateDialog()->isVisible());
    EXPECT_EQ(View().AffiliateDialog()->Affiliate(), View().AffiliateOfRow(1));
    m_prompts.answers.enqueue(true);
    Cmd(ID_DELETE_AFFILIATE).trigger();
    EXPECT_TRUE(View().AffiliateDialog() == nullptr || !View().AffiliateDialog()->isVisible());
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), 1u);
}

TEST_F(MainWindowTest, ClickWithTwoRowsSelectedHidesTheAffiliateDialog) {
    Start({QString::fromStdString(WriteProject("click.vkp", 3))});
    Frame().show();
    SelectRows({0});
    Cmd(ID_AFFILIATE_PROPERTY).trigger();
    ASSERT_TRUE(View().AffiliateDialog()->isVisible());
    const QRect second = View().visualRect(View().model()->index(2, 1));
    QTest::mouseClick(View().viewport(), Qt::LeftButton, Qt::ControlModifier, second.center());
    EXPECT_EQ(View().SelectedCount(), 2);
    EXPECT_FALSE(View().AffiliateDialog()->isVisible());
}

TEST_F(MainWindowTest, AffiliateChangedNotificationRefreshesTheRowLater) {
    Start({QString::fromStdString(WriteProject("note.vkp", 1))});
    CReseller* r = View().AffiliateOfRow(0);
    ASSERT_NE(r, nullptr);
    r->m_strEmail = "new@example.com";
    QCoreApplication::postEvent(&View(), new CAffiliateChangedEvent(r->m_nId, r));
    EXPECT_EQ(CellText(0, 3), "a0@example.com"); // not inside the caller
    ASSERT_TRUE(WaitUntil([&] { return CellText(0, 3) == "new@example.com"; }));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(r->m_bChanged, 0);
}

TEST_F(MainWindowTest, OpeningAnotherProjectDropsTheAffiliateDialog) {
    Start({QString::fromStdString(WriteProject("one.vkp", 2))});
    SelectRows({0});
    Cmd(ID_AFFILIATE_PROPERTY).trigger();
    ASSERT_TRUE(View().AffiliateDialog()->isVisible());
    ASSERT_TRUE(Doc().OpenDocument(QString::fromStdString(WriteProject("two.vkp", 1))));
    EXPECT_TRUE(View().AffiliateDialog() == nullptr || !View().AffiliateDialog()->isVisible());
    EXPECT_EQ(View().model()->rowCount(), 1);
}
