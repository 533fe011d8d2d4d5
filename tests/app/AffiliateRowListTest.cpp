#include "app/AffiliateRowList.h"

#include "model/Reseller.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace {

using Keys = std::vector<uint32_t>;

// Affiliates named "d", "b", "e", "a", "c" with keys 1 to 5, listed in that
// order; rows 1 and 3 ("b" and "a") selected, row 3 focused.
class AffiliateRowListTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* names[] = {"d", "b", "e", "a", "c"};
        for (uint32_t key = 1; key <= 5; ++key)
            Add(key, names[key - 1]);
        list.Refresh(All());
        list.SetSelection({1, 3}, 3);
    }

    CReseller& Add(uint32_t key, const std::string& name) {
        CReseller& r = records.emplace_back();
        r.m_nId = key;
        r.m_strName = name;
        return r;
    }

    std::vector<const CReseller*> All() const {
        std::vector<const CReseller*> all;
        for (const CReseller& r : records)
            all.push_back(&r);
        return all;
    }

    Keys RowKeys() const {
        Keys keys;
        for (size_t i = 0; i < list.Count(); ++i)
            keys.push_back(list.Row(i).key);
        return keys;
    }

    std::deque<CReseller> records;
    AffiliateRowList list;
};

TEST_F(AffiliateRowListTest, SelectionAndFocusTravelWithTheirRowsThroughSorting) {
    list.Sort(0, true);
    EXPECT_EQ(RowKeys(), (Keys{4, 2, 5, 1, 3}));
    EXPECT_EQ(list.SelectedKeys(), (Keys{4, 2}));
    EXPECT_EQ(list.SelectedRuns(), (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(list.FocusedKey(), 4U);
    list.Sort(0, false);
    EXPECT_EQ(list.SelectedRuns(), (std::vector<std::pair<int, int>>{{3, 4}}));
    EXPECT_EQ(list.RowOfKey(4), 4);
}

TEST_F(AffiliateRowListTest, AnEditRefreshesTheRowInPlaceAndKeepsTheSelection) {
    records[1].m_strName = "z";
    const AffiliateRowList::RefreshResult result = list.Refresh({&records[1]});
    EXPECT_EQ(result.firstChanged, 1);
    EXPECT_EQ(result.lastChanged, 1);
    EXPECT_EQ(result.appended, 0U);
    EXPECT_EQ(list.Row(1).texts[0], "z");
    EXPECT_EQ(list.SelectedKeys(), (Keys{2, 4}));
}

TEST_F(AffiliateRowListTest, DeletingRowsKeepsTheOthersSelectedAndTheKeyIndexRight) {
    list.SetSelection({0, 1, 4}, 4);
    list.RemoveRows({3, 0, 3, -1, 99});
    EXPECT_EQ(RowKeys(), (Keys{2, 3, 5}));
    EXPECT_EQ(list.SelectedKeys(), (Keys{2, 5}));
    EXPECT_EQ(list.FocusedKey(), 5U);
    EXPECT_EQ(list.RowOfKey(5), 2);
    EXPECT_EQ(list.RowOfKey(1), -1);
}

TEST_F(AffiliateRowListTest, AReloadSelectsTheKeysThatStillExist) {
    const Keys keys = list.SelectedKeys();
    const uint32_t focused = list.FocusedKey();
    list.Clear();
    EXPECT_EQ(list.SelectedCount(), 0U);
    records.erase(records.begin() + 3); // key 4 is gone
    Add(6, "f");
    list.Refresh(All());
    list.SelectKeys(keys, focused);
    EXPECT_EQ(list.SelectedKeys(), (Keys{2}));
    EXPECT_EQ(list.FocusedRow(), -1);
}

TEST_F(AffiliateRowListTest, NewAffiliatesAreAppendedAfterTheCallerIsTold) {
    Add(7, "g");
    Add(7, "g2"); // a key met twice in one batch: the later record counts
    size_t told = 0;
    const auto result = list.Refresh(All(), [&](size_t n) {
        told = n;
        EXPECT_EQ(list.Count(), 5U); // not yet appended
    });
    EXPECT_EQ(told, 1U);
    EXPECT_EQ(result.appended, 1U);
    EXPECT_EQ(result.firstChanged, 0);
    EXPECT_EQ(result.lastChanged, 4);
    EXPECT_EQ(list.Row(5).texts[0], "g2");
    EXPECT_EQ(list.SelectedKeys(), (Keys{2, 4}));
}

TEST_F(AffiliateRowListTest, ASelectionOutsideTheRowsIsIgnored) {
    list.SetSelection({-1, 5, 2}, 17);
    EXPECT_EQ(list.SelectedKeys(), (Keys{3}));
    EXPECT_EQ(list.FocusedRow(), -1);
    EXPECT_EQ(list.FocusedKey(), 0U);
}

} // namespace
