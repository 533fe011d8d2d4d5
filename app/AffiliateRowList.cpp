#include "app/AffiliateRowList.h"

#include "model/Reseller.h"

#include <algorithm>
#include <unordered_set>

int AffiliateRowList::RowOfKey(uint32_t key) const {
    const auto it = m_rowOfKey.find(key);
    return it == m_rowOfKey.end() ? -1 : it->second;
}

void AffiliateRowList::RebuildKeyIndex() {
    m_rowOfKey.clear();
    m_rowOfKey.reserve(m_rows.size());
    // From the top, so that a key shown twice maps to its first row.
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rowOfKey.emplace(m_rows[i].key, static_cast<int>(i));
}

AffiliateRowList::RefreshResult
AffiliateRowList::Refresh(const std::vector<const CReseller*>& affiliates,
                          const std::function<void(size_t)>& beforeAppend) {
    // Rows already there are updated in place; the others are counted first
    // and then built straight into the list, so that no row is moved twice.
    RefreshResult result;
    const int oldCount = static_cast<int>(m_rows.size());
    std::vector<const CReseller*> added;
    if (affiliates.size() > 1) // a whole batch: room for every key at once
        m_rowOfKey.reserve(m_rows.size() + affiliates.size());
    for (const CReseller* affiliate : affiliates) {
        const int row = RowOfKey(affiliate->m_nId);
        if (row >= oldCount) { // a key met twice in one batch: the later record counts
            added[static_cast<size_t>(row - oldCount)] = affiliate;
        } else if (row >= 0) {
            FillAffiliateRow(m_rows[static_cast<size_t>(row)], *affiliate, m_times);
            result.firstChanged =
                result.firstChanged < 0 ? row : std::min(result.firstChanged, row);
            result.lastChanged = std::max(result.lastChanged, row);
        } else {
            m_rowOfKey.emplace(affiliate->m_nId, oldCount + static_cast<int>(added.size()));
            added.push_back(affiliate);
        }
    }
    result.appended = added.size();
    if (added.empty())
        return result;
    if (beforeAppend)
        beforeAppend(added.size());
    const size_t needed = m_rows.size() + added.size();
    if (m_rows.capacity() < needed)
        m_rows.reserve(std::max(needed, m_rows.capacity() * 2));
    for (const CReseller* affiliate : added) {
        AffiliateRow& row = m_rows.emplace_back();
        row.key = affiliate->m_nId;
        FillAffiliateRow(row, *affiliate, m_times);
    }
    return result;
}

void AffiliateRowList::Clear() {
    std::vector<AffiliateRow>().swap(m_rows); // the memory goes with the rows
    m_rowOfKey = {};
}

std::vector<std::pair<int, int>> AffiliateRowList::RunsOf(std::vector<int> rows) const {
    const int count = static_cast<int>(m_rows.size());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= count; }),
               rows.end());
    std::vector<std::pair<int, int>> runs;
    for (int r : rows) {
        if (!runs.empty() && runs.back().second + 1 == r)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    return runs;
}

void AffiliateRowList::RemoveRows(const std::vector<int>& rows) {
    const std::vector<std::pair<int, int>> runs = RunsOf(rows);
    if (runs.empty())
        return;
    // One pass over the list however scattered the rows are.
    std::vector<bool> removed(m_rows.size(), false);
    for (const auto& [first, last] : runs)
        for (int r = first; r <= last; ++r)
            removed[static_cast<size_t>(r)] = true;
    size_t kept = 0;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!removed[i] && kept++ != i)
            m_rows[kept - 1] = std::move(m_rows[i]);
    m_rows.resize(kept);
    RebuildKeyIndex();
}

int AffiliateRowList::Sort(int column, bool ascending) {
    const int exchanges = SortAffiliateRows(m_rows, column, ascending);
    RebuildKeyIndex();
    return exchanges;
}

void AffiliateRowList::SetSelection(const std::vector<int>& rows, int focusedRow) {
    for (AffiliateRow& row : m_rows)
        row.selected = row.focused = false;
    for (int r : rows)
        if (r >= 0 && static_cast<size_t>(r) < m_rows.size())
            m_rows[static_cast<size_t>(r)].selected = true;
    if (focusedRow >= 0 && static_cast<size_t>(focusedRow) < m_rows.size())
        m_rows[static_cast<size_t>(focusedRow)].focused = true;
}

void AffiliateRowList::SelectKeys(const std::vector<uint32_t>& keys, uint32_t focusedKey) {
    const std::unordered_set<uint32_t> wanted(keys.begin(), keys.end());
    for (AffiliateRow& row : m_rows) {
        row.selected = wanted.count(row.key) != 0;
        row.focused = false;
    }
    if (const int focused = RowOfKey(focusedKey); focused >= 0)
        m_rows[static_cast<size_t>(focused)].focused = true;
}

std::vector<uint32_t> AffiliateRowList::SelectedKeys() const {
    std::vector<uint32_t> keys;
    for (const AffiliateRow& row : m_rows)
        if (row.selected)
            keys.push_back(row.key);
    return keys;
}

size_t AffiliateRowList::SelectedCount() const {
    return static_cast<size_t>(std::count_if(m_rows.begin(), m_rows.end(),
                                             [](const AffiliateRow& r) { return r.selected; }));
}

std::vector<std::pair<int, int>> AffiliateRowList::SelectedRuns() const {
    std::vector<std::pair<int, int>> runs;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (!m_rows[i].selected)
            continue;
        const int r = static_cast<int>(i);
        if (!runs.empty() && runs.back().second + 1 == r)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    return runs;
}

int AffiliateRowList::FocusedRow() const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].focused)
            return static_cast<int>(i);
    return -1;
}

uint32_t AffiliateRowList::FocusedKey() const {
    const int row = FocusedRow();
    return row < 0 ? 0 : m_rows[static_cast<size_t>(row)].key;
}
