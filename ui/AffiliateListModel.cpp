#include "ui/AffiliateListModel.h"

#include "model/Reseller.h"
#include "ui/ProjectText.h"
#include "ui/ToolbarImages.h"

#include <QString>

#include <utility>

namespace {

// Above this many runs of adjacent rows, a removal is announced as a reset of
// the list rather than one notice per run.
constexpr size_t kMaxRemovalRuns = 64;

} // namespace

const std::array<int, AffiliateListModel::kColumnCount> AffiliateListModel::kColumnWidths =
    kAffiliateColumnWidths;

AffiliateListModel::AffiliateListModel(QObject* parent)
    : QAbstractTableModel(parent), m_rowIcon(RowIcon()) {}

int AffiliateListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.Count());
}

int AffiliateListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant AffiliateListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const AffiliateRow& row = m_list.Row(static_cast<size_t>(index.row()));
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
        return ToQColor(AffiliateRowBackground(index.row()));
    case Qt::ForegroundRole:
        return ToQColor(AffiliateCellTextColour({index.row(), column}, m_hover.Cell()));
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
        return FromProjectText(AffiliateColumnHeader(section));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

void AffiliateListModel::RefreshRow(const CReseller& affiliate) {
    RefreshRows({&affiliate});
}

void AffiliateListModel::RefreshRows(const std::vector<const CReseller*>& affiliates) {
    const int oldCount = rowCount();
    bool inserting = false;
    const AffiliateRowList::RefreshResult result = m_list.Refresh(affiliates, [&](size_t appended) {
        beginInsertRows({}, oldCount, oldCount + static_cast<int>(appended) - 1);
        inserting = true;
    });
    if (inserting)
        endInsertRows();
    if (result.lastChanged >= 0)
        emit dataChanged(index(result.firstChanged, 0),
                         index(result.lastChanged, kColumnCount - 1));
}

void AffiliateListModel::RemoveAllRows() {
    if (m_list.Count() == 0)
        return;
    beginResetModel();
    m_list.Clear();
    m_hover.Forget();
    endResetModel();
}

void AffiliateListModel::RemoveRows(std::vector<int> rows) {
    const std::vector<std::pair<int, int>> runs = m_list.RunsOf(std::move(rows));
    if (runs.empty())
        return;
    if (runs.size() <= kMaxRemovalRuns) {
        // From the bottom up, so that the remaining row numbers stay valid;
        // the views keep their selection of the other rows.
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
            beginRemoveRows({}, it->first, it->second);
            std::vector<int> run;
            for (int r = it->first; r <= it->second; ++r)
                run.push_back(r);
            m_list.RemoveRows(run);
            endRemoveRows();
        }
    } else {
        beginResetModel();
        std::vector<int> all;
        for (const auto& [first, last] : runs)
            for (int r = first; r <= last; ++r)
                all.push_back(r);
        m_list.RemoveRows(all);
        endResetModel();
    }
    m_hover.Forget();
}

int AffiliateListModel::SortRows(int column, bool ascending) {
    beginResetModel();
    const int exchanges = m_list.Sort(column, ascending);
    m_hover.Forget();
    endResetModel();
    return exchanges;
}

void AffiliateListModel::SetHoverCell(int row, int column) {
    for (int r : m_hover.MoveTo({row, column}))
        if (r < rowCount())
            emit dataChanged(index(r, 0), index(r, kColumnCount - 1), {Qt::ForegroundRole});
}
