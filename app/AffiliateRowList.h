#pragma once

#include "app/AffiliateRows.h"
#include "model/ModifiedTimeText.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

class CReseller;

// The rows of the affiliate list in display order, each found by its
// affiliate's key (m_nId), with the selection and the focused row kept by
// key: they travel with their rows through sorting, stay through a refresh
// of a row's texts and through deleting other rows, and can be carried over
// a reload of the project. A front end mirrors the rows and tells the list
// its selection before an operation that moves rows; afterwards it shows
// SelectedRuns() and FocusedRow() again.
class AffiliateRowList {
public:
    // Rows changed in place by a refresh, and rows appended at the bottom.
    struct RefreshResult {
        int firstChanged = -1; // -1: none
        int lastChanged = -1;
        size_t appended = 0;
    };

    size_t Count() const { return m_rows.size(); }
    const AffiliateRow& Row(size_t row) const { return m_rows.at(row); }
    // The first row that shows the affiliate with this key, or -1.
    int RowOfKey(uint32_t key) const;

    // Updates the row of each affiliate in place, or appends a row; a key met
    // twice counts once, with the later record. beforeAppend is called with
    // the number of rows about to be appended, before they are.
    RefreshResult Refresh(const std::vector<const CReseller*>& affiliates,
                          const std::function<void(size_t)>& beforeAppend = {});
    void Clear();
    // The given rows (any order; out-of-range rows are ignored) as runs of
    // adjacent rows, top to bottom.
    std::vector<std::pair<int, int>> RunsOf(std::vector<int> rows) const;
    // Removes the given rows (as RunsOf reads them) in one pass.
    void RemoveRows(const std::vector<int>& rows);
    // Sorts by the column's text (SortAffiliateRows); the selection and the
    // focus move with their rows. Returns the number of exchanges.
    int Sort(int column, bool ascending);

    // The selection as the front end shows it: selected rows and the focused
    // row (-1 for none).
    void SetSelection(const std::vector<int>& rows, int focusedRow);
    // Selects the rows of these keys (others lose the selection) and focuses
    // the row of focusedKey; keys without a row are skipped.
    void SelectKeys(const std::vector<uint32_t>& keys, uint32_t focusedKey);
    // The selected rows' keys in display order.
    std::vector<uint32_t> SelectedKeys() const;
    size_t SelectedCount() const;
    // The selected rows as runs of adjacent rows, top to bottom.
    std::vector<std::pair<int, int>> SelectedRuns() const;
    // The focused row, or -1; its key, or 0.
    int FocusedRow() const;
    uint32_t FocusedKey() const;

private:
    void RebuildKeyIndex();

    std::vector<AffiliateRow> m_rows;
    // m_nId to its first row; kept in step with every change of m_rows.
    std::unordered_map<uint32_t, int> m_rowOfKey;
    ModifiedTimeText m_times;
};
