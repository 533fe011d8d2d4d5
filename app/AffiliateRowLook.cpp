#include "app/AffiliateRowLook.h"

#include <algorithm>

namespace {

constexpr RgbColour kEvenRowBackground{220, 224, 224};
constexpr RgbColour kOddRowBackground{240, 250, 250};
constexpr RgbColour kPlainText{0, 0, 0};
constexpr RgbColour kLinkText{15, 15, 15};
constexpr RgbColour kHoverText{80, 80, 255};

constexpr int kFirstHoverColumn = 2;
constexpr int kLastHoverColumn = 4;

// The row whose drawing shows the hover colour for the pointer over cell, or -1.
int HoverRow(const AffiliateCell& cell) {
    return cell.IsCell() && AffiliateColumnShowsHover(cell.column) ? cell.row : -1;
}

} // namespace

RgbColour AffiliateRowBackground(int row) {
    if (row < 0)
        return kAffiliateListEmptyBackground;
    return row % 2 == 0 ? kEvenRowBackground : kOddRowBackground;
}

bool AffiliateColumnShowsHover(int column) {
    return column >= kFirstHoverColumn && column <= kLastHoverColumn;
}

RgbColour AffiliateCellTextColour(const AffiliateCell& cell, const AffiliateCell& hover) {
    if (!AffiliateColumnShowsHover(cell.column))
        return kPlainText;
    return cell.IsCell() && cell == hover ? kHoverText : kLinkText;
}

std::vector<int> AffiliateHoverTracker::MoveTo(const AffiliateCell& cell) {
    const AffiliateCell next = cell.IsCell() ? cell : AffiliateCell{};
    if (next == m_cell)
        return {};
    const int oldRow = HoverRow(m_cell);
    const int newRow = HoverRow(next);
    m_cell = next;
    std::vector<int> rows;
    for (int row : {std::min(oldRow, newRow), std::max(oldRow, newRow)})
        if (row >= 0 && (rows.empty() || rows.back() != row))
            rows.push_back(row);
    return rows;
}
