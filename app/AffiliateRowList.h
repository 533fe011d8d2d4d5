#pragma once

#include "app/AffiliateRows.h"
#include "model/ModifiedTimeText.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CReseller;

// The affiliate list's rows in the order shown, each found again by its
// affiliate's key. A front end shows Rows() and tells the list what changed;
// the list tells it which rows to repaint. 65,535 rows are filled in one pass.
class AffiliateRowList {
public:
    // What Refresh changed: rows updated in place (first to last, none when
    // last is -1) and rows appended at the end.
    struct Refreshed {
        int firstChanged = -1;
        int lastChanged = -1;
        size_t added = 0;
    };

    const std::vector<AffiliateRow>& Rows() const { return m_rows; }
    std::vector<AffiliateRow>& Rows() { return m_rows; }
    size_t Count() const { return m_rows.size(); }
    // The row of the affiliate with key (its m_nId); -1 when none shows it.
    int RowOfKey(uint32_t key) const;

    // Updates the rows of affiliates already shown and appends the others, in
    // the order given. A key given twice shows its later record once.
    Refreshed Refresh(const std::vector<const CReseller*>& affiliates);
    void Clear();
    // Removes the rows (numbers out of range and repeats are ignored).
    void Remove(std::vector<int> rows);
    // Sorts by column (SortAffiliateRows); selection and focus flags move
    // with their rows. Returns the number of exchanges.
    int Sort(int column, bool ascending);

private:
    void RebuildKeyIndex();

    std::vector<AffiliateRow> m_rows;
    std::unordered_map<uint32_t, int> m_rowOfKey;
    ModifiedTimeText m_times;
};
