#pragma once

#include "app/RgbColour.h"

#include <vector>

// A cell of the affiliate list: its row as shown (counted from the top) and
// its column (the column's own number, wherever the user dragged it). A cell
// with a negative row or column is no cell.
struct AffiliateCell {
    int row = -1;
    int column = -1;

    bool IsCell() const { return row >= 0 && column >= 0; }
    friend bool operator==(const AffiliateCell&, const AffiliateCell&) = default;
};

// The list's area below the last row.
inline constexpr RgbColour kAffiliateListEmptyBackground{245, 255, 255};

// The background of a row: rows alternate, starting with the darker one at
// the top, so that a wide row is easy to follow. A negative row is drawn as
// the area without rows.
RgbColour AffiliateRowBackground(int row);

// True for the columns whose cells show the hover colour under the pointer:
// web site, e-mail and purchase link, the cells whose texts the shell opens.
bool AffiliateColumnShowsHover(int column);

// The text colour of a cell, given the cell under the pointer (no cell when
// the pointer is elsewhere).
RgbColour AffiliateCellTextColour(const AffiliateCell& cell, const AffiliateCell& hover);

// Follows the cell under the pointer. Each move names the rows whose drawing
// changed, which are the only rows a front end redraws: none while the
// pointer stays in its cell or moves between cells that never show the hover
// colour; the old and the new row when the hover colour moves.
class AffiliateHoverTracker {
public:
    // The pointer is over cell now (no cell: over empty space or outside the
    // list). Returns the rows to redraw, ascending, each once.
    std::vector<int> MoveTo(const AffiliateCell& cell);
    // The rows moved or went (sort, delete, a new project): the cell is
    // forgotten without a redraw, as the whole list is drawn anew.
    void Forget() { m_cell = {}; }
    const AffiliateCell& Cell() const { return m_cell; }

private:
    AffiliateCell m_cell;
};
