#include "app/AffiliateRows.h"

#include "model/ModifiedTimeText.h"
#include "model/Reseller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

std::vector<AffiliateRow> RowsWithTexts(const std::vector<std::string>& texts) {
    std::vector<AffiliateRow> rows;
    for (size_t i = 0; i < texts.size(); ++i) {
        AffiliateRow r;
        r.texts[0] = texts[i];
        r.key = static_cast<uint32_t>(i);
        rows.push_back(r);
    }
    return rows;
}

std::vector<uint32_t> Keys(const std::vector<AffiliateRow>& rows) {
    std::vector<uint32_t> keys;
    for (const auto& r : rows)
        keys.push_back(r.key);
    return keys;
}

} // namespace

TEST(AffiliateSort, EqualTextsAreNeverExchanged) {
    auto rows = RowsWithTexts({"same", "same", "same", "same", "same"});
    EXPECT_EQ(SortAffiliateRows(rows, 0, true), 0);
    EXPECT_EQ(Keys(rows), (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(SortAffiliateRows(rows, 0, false), 0);
    EXPECT_EQ(Keys(rows), (std::vector<uint32_t>{0, 1, 2, 3, 4}));

    // Two equal texts around the pivot stay in their order.
    rows = RowsWithTexts({"b", "a", "b"});
    SortAffiliateRows(rows, 0, true);
    EXPECT_EQ(Keys(rows), (std::vector<uint32_t>{1, 0, 2}));
}

TEST(AffiliateSort, SortsByteWiseInBothDirectionsAndCarriesTheRowState) {
    std::mt19937 rng(7);
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i)
        texts.push_back(std::string(1, "aBcAbC"[rng() % 6]) + std::to_string(rng() % 50));
    auto rows = RowsWithTexts(texts);
    for (auto& r : rows)
        r.selected = r.key % 3 == 0;
    SortAffiliateRows(rows, 0, true);
    for (size_t i = 1; i < rows.size(); ++i)
        ASSERT_LE(rows[i - 1].texts[0], rows[i].texts[0]);
    for (const auto& r : rows)
        EXPECT_EQ(r.selected, r.key % 3 == 0);
    SortAffiliateRows(rows, 0, false);
    for (size_t i = 1; i < rows.size(); ++i)
        ASSERT_GE(rows[i - 1].texts[0], rows[i].texts[0]);
    // Upper case sorts before lower case.
    EXPECT_EQ(rows.back().texts[0][0], 'A');
}

TEST(AffiliateSort, AlreadySortedLongListDoesNotExhaustTheStack) {
    std::vector<std::string> texts;
    for (int i = 0; i < 60000; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08d", i);
        texts.push_back(buf);
    }
    auto rows = RowsWithTexts(texts);
    SortAffiliateRows(rows, 0, false);
    EXPECT_EQ(rows.front().texts[0], "00059999");
    EXPECT_EQ(rows.back().texts[0], "00000000");
}

TEST(AffiliateRows, CellsShowTheRecordsTextsAndItsLocalChangeTime) {
    CReseller bob;
    bob.m_strName = "Bob";
    bob.m_strAffiliateId = "42";
    bob.m_strWebSite = "https://bob.example";
    bob.m_strEmail = "bob@bob.example";
    bob.m_strPurchaseLink = "https://shop.example/?a=42";
    bob.m_tModified = 1600000000;
    bob.m_nImage = 3;
    ModifiedTimeText times;
    AffiliateRow row;
    row.texts[5] = "stale";
    FillAffiliateRow(row, bob, times);
    std::string when;
    ModifiedTimeText().Append(when, 1600000000);
    EXPECT_EQ(row.texts, (std::array<std::string, kAffiliateColumnCount>{
                             "Bob", "42", "https://bob.example", "bob@bob.example",
                             "https://shop.example/?a=42", when}));
    EXPECT_EQ(when.size(), 16U) << "YYYY-MM-DD HH:MM";
    EXPECT_EQ(row.image, 3);
    EXPECT_EQ(AffiliateColumnHeader(5), "Modified");
    EXPECT_EQ(AffiliateColumnHeader(6), "");
}
