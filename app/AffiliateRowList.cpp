#include "app/AffiliateRowList.h"

#include "model/Reseller.h"

#include <algorithm>

int AffiliateRowList::RowOfKey(uint32_t key) const {
    const auto it = m_rowOfKey.find(key);
    return it == m_rowOfKey.end() ? -1 : it->second;
}

AffiliateRowList::Refreshed AffiliateRowList::Refresh(
    const std::vector<const CReseller*>& affiliates) {
    // Rows already there are updated in place; the others are collected first
    // and then built straight into the list, so that no row is moved twice.
    Refreshed result;
    const int oldCount = static_cast<int>(m_rows.size());
    std::vector<const CReseller*> added;
    if (affiliates.size() > 1)
        m_rowOfKey.reserve(m_rows.size() + affiliates.size());
    for (const CReseller* affiliate : affiliates) {
        const int row = RowOfKey(affiliate->m_nId);
        if (row >= oldCount) { // a key met twice in one batch: the later record counts
            added[static_cast<size_t>(row - oldCount)] = affiliate;
        } else if (row >= 0) {
            FillAffiliateRow(m_rows[static_cast<size_t>(row)], *affiliate, m_times);
            result.firstChanged = result.lastChanged < 0 ? row : std::min(result.firstChanged, row);
            result.lastChanged = std::max(result.lastChanged, row);
        } else {
            m_rowOfKey.emplace(affiliate->m_nId, oldCount + static_cast<int>(added.size()));
            added.push_back(affiliate);
        }
    }
    const size_t needed = m_rows.size() + added.size();
    if (m_rows.capacity() < needed)
        m_rows.reserve(std::max(needed, m_rows.capacity() * 2));
    for (const CReseller* affiliate : added) {
        AffiliateRow& row = m_rows.emplace_back();
        row.key = affiliate->m_nId;
        FillAffiliateRow(row, *affiliate, m_times);
    }
    result.added = added.size();
    return result;
}

void AffiliateRowList::Clear() {
    std::vector<AffiliateRow>().swap(m_rows); // the memory goes with the rows
    m_rowOfKey = {};
}

void AffiliateRowList::Remove(std::vector<int> rows) {
    std::vector<bool> removed(m_rows.size(), false);
    bool any = false;
    for (int r : rows) {
        if (r >= 0 && static_cast<size_t>(r) < m_rows.size()) {
            removed[static_cast<size_t>(r)] = true;
            any = true;
        }
    }
    if (!any)
        return;
    // One pass over the list however scattered the rows are.
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

void AffiliateRowList::RebuildKeyIndex() {
    m_rowOfKey.clear();
    m_rowOfKey.reserve(m_rows.size());
    // From the top, so that a key shown twice maps to its first row.
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rowOfKey.emplace(m_rows[i].key, static_cast<int>(i));
}
