#include "ui/AffiliateListModel.h"

#include "model/Reseller.h"
#include "ui/ProjectText.h"
#include "ui/ToolbarImages.h"

#include <QColor>
#include <QString>

#include <algorithm>
#include <ctime>
#include <utility>

namespace {

// Above this many runs of adjacent rows, a removal rebuilds the list in one
// pass rather than closing each gap on its own.
constexpr size_t kMaxRemovalRuns = 64;

} // namespace

const std::array<int, AffiliateListModel::kColumnCount> AffiliateListModel::kColumnWidths = {
    100, 90, 200, 180, 280, 120};

AffiliateListModel::AffiliateListModel(QObject* parent)
    : QAbstractTableModel(parent), m_rowIcon(RowIcon()) {}

int AffiliateListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int AffiliateListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant AffiliateListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const AffiliateRow& row = m_rows[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return FromProjectText(row.texts[column]);
    case Qt::DecorationRole:
        return column == 0 ? QVariant(m_rowIcon) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        return index.row() % 2 == 0 ? QColor(220, 224, 224) : QColor(240, 250, 250);
    case Qt::ForegroundRole:
        if (column >= 2 && column <= 4) {
            const bool hover = index.row() == m_hoverRow && column == m_hoverColumn;
            return hover ? QColor(80, 80, 255) : QColor(15, 15, 15);
        }
        return QColor(Qt::black);
    case Qt::UserRole:
        return row.key;
    default:
        return {};
    }
}

QVariant AffiliateListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(AffiliateColumnHeader(section));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

void AffiliateListModel::FillRow(AffiliateRow& row, const CReseller& affiliate) {
    FillAffiliateRow(row, affiliate, m_times);
}

int AffiliateListModel::RowOfKey(uint32_t key) const {
    const auto it = m_rowOfKey.find(key);
    return it == m_rowOfKey.end() ? -1 : it->second;
}

void AffiliateListModel::RebuildKeyIndex() {
    m_rowOfKey.clear();
    m_rowOfKey.reserve(m_rows.size());
    // From the top, so that a key shown twice maps to its first row.
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rowOfKey.emplace(m_rows[i].key, static_cast<int>(i));
}

void AffiliateListModel::RefreshRow(const CReseller& affiliate) {
    RefreshRows({&affiliate});
}

void AffiliateListModel::RefreshRows(const std::vector<const CReseller*>& affiliates) {
    // Rows already there are updated in place; the others are counted first
    // and then built straight into the list, so that no row is moved twice.
    const int oldCount = rowCount();
    int firstChanged = oldCount, lastChanged = -1;
    std::vector<const CReseller*> added;
    if (affiliates.size() > 1) // a whole batch: room for every key at once
        m_rowOfKey.reserve(m_rows.size() + affiliates.size());
    for (const CReseller* affiliate : affiliates) {
        const int row = RowOfKey(affiliate->m_nId);
        if (row >= oldCount) { // a key met twice in one batch: the later record counts
            added[static_cast<size_t>(row - oldCount)] = affiliate;
        } else if (row >= 0) {
            FillRow(m_rows[static_cast<size_t>(row)], *affiliate);
            firstChanged = std::min(firstChanged, row);
            lastChanged = std::max(lastChanged, row);
        } else {
            m_rowOfKey.emplace(affiliate->m_nId, oldCount + static_cast<int>(added.size()));
            added.push_back(affiliate);
        }
    }
    if (lastChanged >= 0)
        emit dataChanged(index(firstChanged, 0), index(lastChanged, kColumnCount - 1));
    if (added.empty())
        return;
    beginInsertRows({}, oldCount, oldCount + static_cast<int>(added.size()) - 1);
    const size_t needed = m_rows.size() + added.size();
    if (m_rows.capacity() < needed)
        m_rows.reserve(std::max(needed, m_rows.capacity() * 2));
    for (const CReseller* affiliate : added) {
        AffiliateRow& row = m_rows.emplace_back();
        row.key = affiliate->m_nId;
        FillRow(row, *affiliate);
    }
    endInsertRows();
}

void AffiliateListModel::RemoveAllRows() {
    if (m_rows.empty())
        return;
    beginResetModel();
    std::vector<AffiliateRow>().swap(m_rows); // the memory goes with the rows
    m_rowOfKey = {};
    m_hoverRow = m_hoverColumn = -1;
    endResetModel();
}

void AffiliateListModel::RemoveRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= rowCount(); }),
        rows.end());
    if (rows.empty())
        return;
    // Runs of adjacent rows go in one step each, from the bottom up so that
    // the remaining row numbers stay valid.
    std::vector<std::pair<int, int>> runs;
    for (int r : rows) {
        if (!runs.empty() && runs.back().second + 1 == r)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    if (runs.size() <= kMaxRemovalRuns) {
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
            beginRemoveRows({}, it->first, it->second);
            m_rows.erase(m_rows.begin() + it->first, m_rows.begin() + it->second + 1);
            endRemoveRows();
        }
    } else {
        // Many scattered rows: one pass over the list instead of one per run.
        beginResetModel();
        std::vector<bool> removed(m_rows.size(), false);
        for (int r : rows)
            removed[static_cast<size_t>(r)] = true;
        size_t kept = 0;
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (!removed[i] && kept++ != i)
                m_rows[kept - 1] = std::move(m_rows[i]);
        m_rows.resize(kept);
        endResetModel();
    }
    RebuildKeyIndex();
    m_hoverRow = m_hoverColumn = -1;
}

int AffiliateListModel::SortRows(int column, bool ascending) {
    beginResetModel();
    const int exchanges = SortAffiliateRows(m_rows, column, ascending);
    RebuildKeyIndex();
    m_hoverRow = m_hoverColumn = -1;
    endResetModel();
    return exchanges;
}

void AffiliateListModel::SetHoverCell(int row, int column) {
    if (row == m_hoverRow && column == m_hoverColumn)
        return;
    const int oldRow = m_hoverRow;
    m_hoverRow = row;
    m_hoverColumn = column;
    for (int r : {oldRow, row})
        if (r >= 0 && r < rowCount())
            emit dataChanged(index(r, 0), index(r, kColumnCount - 1), {Qt::ForegroundRole});
}
