#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CReseller;
class ModifiedTimeText;

// The affiliate list's columns: name, affiliate ID, web site, e-mail,
// purchase link and the time of the last change.
inline constexpr int kAffiliateColumnCount = 6;

// The columns' widths in pixels, and the left inset of the in-place editor
// in column 0 (past the row icon).
inline constexpr std::array<int, kAffiliateColumnCount> kAffiliateColumnWidths = {100, 90,  200,
                                                                                  180, 280, 120};
inline constexpr int kNameCellEditInset = 24;

// The header text of column; empty for a column that does not exist.
std::string_view AffiliateColumnHeader(int column);

// One row of the affiliate list: the texts it shows, its icon and the
// affiliate's key. Selection and focus are kept here only while rows move.
struct AffiliateRow {
    std::array<std::string, kAffiliateColumnCount> texts;
    uint32_t key = 0;
    int image = 0;
    bool selected = false;
    bool focused = false;
};

// Fills the row's texts and image from the affiliate: its five texts and
// m_tModified as local time "%Y-%m-%d %H:%M" (times converts it).
void FillAffiliateRow(AffiliateRow& row, const CReseller& affiliate, ModifiedTimeText& times);

// Sorts rows by the text of column with the list's quicksort: rows whose texts
// are equal are never exchanged, and selection and focus move with their rows.
// The quicksort exchanges row numbers, not rows: each row is moved once, to its
// place, at the end. Returns the number of exchanges made.
int SortAffiliateRows(std::vector<AffiliateRow>& rows, int column, bool ascending);
