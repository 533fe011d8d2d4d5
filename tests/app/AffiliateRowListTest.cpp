#include "app/AffiliateRowList.h"

#include "model/Reseller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace {

// Records that outlive the pointers handed to the list.
struct Affiliates {
    std::deque<CReseller> records;
    const CReseller* Add(uint32_t id, const std::string& name) {
        CReseller& r = records.emplace_back();
        r.m_nId = id;
        r.m_strName = name;
        r.m_strAffiliateId = "id-" + name;
        return &r;
    }
};

std::vector<std::string> Names(const AffiliateRowList& list) {
    std::vector<std::string> names;
    for (const AffiliateRow& row : list.Rows())
        names.push_back(row.texts[0]);
    return names;
}

// Every shown key maps back to its row.
void ExpectKeysIndexed(const AffiliateRowList& list) {
    for (size_t i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.RowOfKey(list.Rows()[i].key), static_cast<int>(i)) << "row " << i;
}

} // namespace

TEST(AffiliateRowList, RefreshUpdatesShownRowsInPlaceAndAppendsTheOthers) {
    Affiliates a;
    AffiliateRowList list;
    AffiliateRowList::Refreshed first = list.Refresh({a.Add(1, "Bert"), a.Add(2, "Anna")});
    EXPECT_EQ(first.added, 2u);
    EXPECT_EQ(first.lastChanged, -1);

    // Anna renamed, Carla new: one row changed in place, one appended.
    const AffiliateRowList::Refreshed second = list.Refresh({a.Add(2, "Anne"), a.Add(3, "Carla")});
    EXPECT_EQ(second.firstChanged, 1);
    EXPECT_EQ(second.lastChanged, 1);
    EXPECT_EQ(second.added, 1u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Bert", "Anne", "Carla"}));
    EXPECT_EQ(list.Rows()[2].texts[1], "id-Carla");
    EXPECT_EQ(list.RowOfKey(99), -1);
    ExpectKeysIndexed(list);
}

TEST(AffiliateRowList, AKeyGivenTwiceInOneBatchShowsItsLaterRecordOnce) {
    Affiliates a;
    AffiliateRowList list;
    const AffiliateRowList::Refreshed r =
        list.Refresh({a.Add(7, "old"), a.Add(8, "other"), a.Add(7, "new")});
    EXPECT_EQ(r.added, 2u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"new", "other"}));
    ExpectKeysIndexed(list);
}

struct RemovalCase {
    const char* name;
    std::vector<int> rows;
    std::vector<std::string> left;
};

class AffiliateRowRemoval : public testing::TestWithParam<RemovalCase> {};

TEST_P(AffiliateRowRemoval, RemovesExactlyTheValidRowsAndKeepsTheKeysFound) {
    Affiliates a;
    AffiliateRowList list;
    list.Refresh({a.Add(1, "a"), a.Add(2, "b"), a.Add(3, "c"), a.Add(4, "d"), a.Add(5, "e")});
    list.Remove(GetParam().rows);
    EXPECT_EQ(Names(list), GetParam().left);
    ExpectKeysIndexed(list);
    for (int key = 1; key <= 5; ++key) {
        const bool shown = list.RowOfKey(static_cast<uint32_t>(key)) >= 0;
        const std::string name(1, static_cast<char>('a' + key - 1));
        EXPECT_EQ(shown, std::find(GetParam().left.begin(), GetParam().left.end(), name) !=
                             GetParam().left.end())
            << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AffiliateRowRemoval,
    testing::Values(RemovalCase{"none", {}, {"a", "b", "c", "d", "e"}},
                    RemovalCase{"first", {0}, {"b", "c", "d", "e"}},
                    RemovalCase{"last", {4}, {"a", "b", "c", "d"}},
                    RemovalCase{"scattered_unsorted", {3, 0, 2}, {"b", "e"}},
                    RemovalCase{"repeated", {1, 1, 1}, {"a", "c", "d", "e"}},
                    RemovalCase{"out_of_range", {-1, 5, 1000}, {"a", "b", "c", "d", "e"}},
                    RemovalCase{"all", {0, 1, 2, 3, 4}, {}}),
    [](const testing::TestParamInfo<RemovalCase>& info) { return info.param.name; });

TEST(AffiliateRowList, SortMovesSelectionWithItsRowsAndReindexesTheKeys) {
    Affiliates a;
    AffiliateRowList list;
    list.Refresh({a.Add(1, "Carla"), a.Add(2, "Anna"), a.Add(3, "Bert")});
    list.Rows()[0].selected = true; // Carla
    list.Rows()[2].focused = true;  // Bert
    list.Sort(0, true);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Anna", "Bert", "Carla"}));
    EXPECT_TRUE(list.Rows()[2].selected);
    EXPECT_TRUE(list.Rows()[1].focused);
    EXPECT_FALSE(list.Rows()[0].selected || list.Rows()[0].focused);
    ExpectKeysIndexed(list);
    list.Sort(0, false);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Carla", "Bert", "Anna"}));
    ExpectKeysIndexed(list);
}

TEST(AffiliateRowList, TheLargestProjectFillsInOneBatchAndEmptiesAgain) {
    Affiliates a;
    std::vector<const CReseller*> all;
    for (uint32_t key = 0; key < 65535; ++key)
        all.push_back(a.Add(key, "n" + std::to_string(key)));
    AffiliateRowList list;
    const AffiliateRowList::Refreshed r = list.Refresh(all);
    EXPECT_EQ(r.added, 65535u);
    EXPECT_EQ(list.Count(), 65535u);
    EXPECT_EQ(list.RowOfKey(65534), 65534);
    EXPECT_EQ(list.Rows()[65534].texts[0], "n65534");
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(list.RowOfKey(0), -1);
}
