#include "MainWindowFixture.h"

#include "ui/AffiliateListModel.h"

#include <QHeaderView>
#include <QSignalSpy>

#include <set>

namespace {

// Every row shows the texts of the affiliate under its own key.
void ExpectRowsMatchTheirRecords(const CVelkoraView& view, const CAffProject& project) {
    const AffiliateListModel& model = view.Model();
    for (int r = 0; r < model.rowCount(); ++r) {
        const AffiliateRow& row = model.Row(r);
        const CReseller* record = project.LookupReseller(static_cast<uint16_t>(row.key));
        ASSERT_NE(record, nullptr) << r;
        ASSERT_EQ(row.texts[0], record->m_strName) << r;
        ASSERT_EQ(row.texts[3], record->m_strEmail) << r;
        ASSERT_EQ(model.RowOfKey(row.key), r);
    }
}

std::set<uint32_t> SelectedKeySet(const CVelkoraView& view) {
    std::set<uint32_t> keys;
    for (int r : view.SelectedRows())
        keys.insert(view.Model().Row(r).key);
    return keys;
}

} // namespace

TEST_F(MainWindowTest, ABigListFillsInOneInsertionAndSortsByEveryColumn) {
    const std::string file = WriteProject("big.vkp", 2000);
    Start({});
    QSignalSpy inserted(View().model(), &QAbstractItemModel::rowsInserted);
    ASSERT_TRUE(Doc().OpenDocument(QString::fromStdString(file)));
    ASSERT_EQ(View().model()->rowCount(), 2000);
    EXPECT_EQ(inserted.count(), 1);
    ExpectRowsMatchTheirRecords(View(), Doc().Project());

    // Rows 10..19 and every 7th row from 100 on are selected; they must stay
    // selected by key whatever the order.
    std::vector<int> picked;
    for (int r = 10; r < 20; ++r)
        picked.push_back(r);
    for (int r = 100; r < 2000; r += 7)
        picked.push_back(r);
    SelectRows(picked);
    const std::set<uint32_t> selected = SelectedKeySet(View());
    ASSERT_EQ(selected.size(), picked.size());

    for (int column = 0; column < AffiliateListModel::kColumnCount; ++column) {
        for (bool ascending : {true, false}) {
            View().SortByColumn(column);
            ASSERT_EQ(View().SortAscending(), ascending);
            for (int r = 1; r < 2000; ++r) {
                const std::string& above = View().Model().Row(r - 1).texts[column];
                const std::string& below = View().Model().Row(r).texts[column];
                ASSERT_TRUE(ascending ? above <= below : above >= below)
                    << "column " << column << " row " << r;
            }
            ExpectRowsMatchTheirRecords(View(), Doc().Project());
            EXPECT_EQ(SelectedKeySet(View()), selected) << "column " << column;
        }
    }
}

TEST_F(MainWindowTest, TheNotificationRefreshesExactlyTheRowOfItsKey) {
    Start({QString::fromStdString(WriteProject("one-row.vkp", 500))});
    View().SortByColumn(3); // e-mail: the rows leave the map's order
    const int row = 321;
    const uint32_t key = View().Model().Row(row).key;
    CReseller* r = Doc().Project().LookupReseller(static_cast<uint16_t>(key));
    ASSERT_NE(r, nullptr);
    const std::vector<std::string> neighbour = {View().Model().Row(row - 1).texts[0],
                                                View().Model().Row(row + 1).texts[0]};
    QSignalSpy changed(View().model(), &QAbstractItemModel::dataChanged);
    r->m_strName = "Renamed";
    QCoreApplication::postEvent(&View(), new CAffiliateChangedEvent(r->m_nId, r));
    ASSERT_TRUE(WaitUntil([&] { return CellText(row, 0) == "Renamed"; }));
    EXPECT_EQ(View().model()->rowCount(), 500);
    EXPECT_EQ(View().Model().Row(row - 1).texts[0], neighbour[0]);
    EXPECT_EQ(View().Model().Row(row + 1).texts[0], neighbour[1]);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().at(0).toModelIndex().row(), row);
    EXPECT_EQ(changed.front().at(1).toModelIndex().row(), row);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(MainWindowTest, DeletingManyScatteredRowsKeepsTheOthersInOrder) {
    Start({QString::fromStdString(WriteProject("scattered.vkp", 400))});
    std::vector<int> doomed;
    std::vector<uint32_t> kept;
    for (int r = 0; r < 400; ++r) {
        if (r % 3 == 1)
            doomed.push_back(r); // far more gaps than one step each would take
        else
            kept.push_back(View().Model().Row(r).key);
    }
    SelectRows(doomed);
    m_prompts.Answer({true});
    Cmd(ID_DELETE_AFFILIATE).trigger();
    ASSERT_EQ(View().model()->rowCount(), static_cast<int>(kept.size()));
    for (size_t i = 0; i < kept.size(); ++i)
        ASSERT_EQ(View().Model().Row(static_cast<int>(i)).key, kept[i]) << i;
    EXPECT_EQ(Doc().Project().m_mapResellers.GetCount(), kept.size());
    ExpectRowsMatchTheirRecords(View(), Doc().Project());
}

TEST_F(MainWindowTest, PurchaseLinkColumnTakesTheFreeWidth) {
    Start({QString::fromStdString(WriteProject("wide.vkp", 3))});
    Frame().resize(1400, 600);
    Frame().show();
    QApplication::processEvents();
    int others = 0;
    for (int c : {0, 1, 2, 3, 5})
        others += View().columnWidth(c);
    const int free = View().viewport()->width() - others;
    ASSERT_GT(free, 280);
    EXPECT_EQ(View().columnWidth(4), free);

    // Narrower than the columns: the link keeps its own width and the list
    // scrolls sideways.
    Frame().resize(500, 600);
    QApplication::processEvents();
    EXPECT_EQ(View().columnWidth(4), 280);

    // A column made wider by the user takes its width from the link's share.
    Frame().resize(1400, 600);
    QApplication::processEvents();
    View().setColumnWidth(2, 300);
    EXPECT_EQ(View().columnWidth(4), free - 100);
}
