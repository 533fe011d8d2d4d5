#include "app/AffiliateRowLook.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

constexpr RgbColour kDark{220, 224, 224};
constexpr RgbColour kLight{240, 250, 250};
constexpr RgbColour kBlack{0, 0, 0};
constexpr RgbColour kLink{15, 15, 15};
constexpr RgbColour kHover{80, 80, 255};
constexpr AffiliateCell kNowhere{};

} // namespace

// Failures name colours as RGB(r, g, b); found by the test framework through the type.
static void PrintTo(const RgbColour& c, std::ostream* out) {
    *out << "RGB(" << int(c.red) << ", " << int(c.green) << ", " << int(c.blue) << ")";
}

TEST(AffiliateRowLook, BackgroundsAlternateFromTheTop) {
    const struct {
        int row;
        RgbColour expected;
    } cases[] = {{0, kDark},     {1, kLight},     {2, kDark},           {3, kLight},
                 {65534, kDark}, {65535, kLight}, {-1, {245, 255, 255}}};
    for (const auto& c : cases)
        EXPECT_EQ(AffiliateRowBackground(c.row), c.expected) << "row " << c.row;
    EXPECT_EQ(kAffiliateListEmptyBackground, (RgbColour{245, 255, 255}));
}

TEST(AffiliateRowLook, TextColoursPerColumnAndHover) {
    const struct {
        AffiliateCell cell;
        AffiliateCell hover;
        RgbColour expected;
    } cases[] = {
        // Without a hover cell: names, IDs and times black, the openable texts near black.
        {{0, 0}, kNowhere, kBlack},
        {{0, 1}, kNowhere, kBlack},
        {{0, 2}, kNowhere, kLink},
        {{0, 3}, kNowhere, kLink},
        {{0, 4}, kNowhere, kLink},
        {{0, 5}, kNowhere, kBlack},
        // The one cell under the pointer, in the three columns that show it.
        {{3, 2}, {3, 2}, kHover},
        {{3, 3}, {3, 3}, kHover},
        {{3, 4}, {3, 4}, kHover},
        // Its neighbours in the row and the column keep their colours.
        {{3, 3}, {3, 2}, kLink},
        {{2, 2}, {3, 2}, kLink},
        {{4, 4}, {3, 4}, kLink},
        // Columns without the hover colour stay black under the pointer.
        {{3, 0}, {3, 0}, kBlack},
        {{3, 1}, {3, 1}, kBlack},
        {{3, 5}, {3, 5}, kBlack},
        // No column, or a column past the last.
        {{3, 6}, {3, 6}, kBlack},
        {{3, -1}, kNowhere, kBlack},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AffiliateCellTextColour(c.cell, c.hover), c.expected)
            << "cell " << c.cell.row << "," << c.cell.column << " hover " << c.hover.row << ","
            << c.hover.column;
}

TEST(AffiliateRowLook, HoverMovesRedrawTheRowsConcerned) {
    // Each step starts from the cell the step before left.
    const struct {
        const char* what;
        AffiliateCell to;
        std::vector<int> redraw;
    } steps[] = {
        {"onto a name: nothing shows it", {1, 0}, {}},
        {"to the affiliate ID in the same row", {1, 1}, {}},
        {"onto the web site", {1, 2}, {1}},
        {"within the same cell", {1, 2}, {}},
        {"to the e-mail in the same row", {1, 3}, {1}},
        {"to the purchase link of a row below", {4, 4}, {1, 4}},
        {"to a web site of a row above", {2, 2}, {2, 4}},
        {"onto the time of the same row", {2, 5}, {2}},
        {"onto the purchase link of that row", {2, 4}, {2}},
        {"over empty space below the rows", kNowhere, {2}},
        {"still over empty space", kNowhere, {}},
        {"a row without a column counts as empty space", {3, -1}, {}},
        {"back onto an e-mail", {0, 3}, {0}},
        {"out of the list", {-1, 3}, {0}},
    };
    AffiliateHoverTracker tracker;
    EXPECT_FALSE(tracker.Cell().IsCell());
    for (const auto& s : steps) {
        EXPECT_EQ(tracker.MoveTo(s.to), s.redraw) << s.what;
        EXPECT_EQ(tracker.Cell(), s.to.IsCell() ? s.to : kNowhere) << s.what;
    }
}

TEST(AffiliateRowLook, ForgottenCellIsNotRedrawn) {
    // After a sort or a delete the whole list is drawn anew: the old row is not
    // named again, and the same cell under the pointer counts as a new one.
    AffiliateHoverTracker tracker;
    EXPECT_EQ(tracker.MoveTo({5, 4}), std::vector<int>{5});
    tracker.Forget();
    EXPECT_FALSE(tracker.Cell().IsCell());
    EXPECT_EQ(tracker.MoveTo({5, 4}), std::vector<int>{5});
    tracker.Forget();
    EXPECT_EQ(tracker.MoveTo(kNowhere), std::vector<int>{});
}
