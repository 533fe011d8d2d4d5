#include "ui/AffiliateListModel.h"

#include "model/Reseller.h"
#include "ui/ToolbarImages.h"

#include <QColor>
#include <QString>

#include <algorithm>
#include <ctime>
#include <utility>

namespace {

const char* const kHeaders[AffiliateListModel::kColumnCount] = {
    "Affiliate Name", "Affiliate ID", "Website", "Contact Email", "Purchase Link", "Modified"};

bool Before(const std::string& a, const std::string& b, bool ascending) {
    return ascending ? a < b : b < a;
}

// Sorts rows low..high. Recurses into the smaller part and loops over the
// larger one, so that a long list cannot exhaust the stack.
void QuickSort(std::vector<AffiliateRow>& rows, int column, bool ascending, int low, int high,
               int& exchanges) {
    while (low < high) {
        const std::string pivot = rows[static_cast<size_t>((low + high) / 2)].texts[column];
        int i = low, j = high;
        auto text = [&](int r) -> const std::string& { return rows[r].texts[column]; };
        while (i <= j) {
            while (i < high && Before(text(i), pivot, ascending))
                ++i;
            while (j > low && Before(pivot, text(j), ascending))
                --j;
            if (i <= j) {
                if (text(i) != text(j)) {
                    std::swap(rows[i], rows[j]);
                    ++exchanges;
                }
                ++i;
                --j;
            }
        }
        if (j - low < high - i) {
            if (low < j)
                QuickSort(rows, column, ascending, low, j, exchanges);
            low = i;
        } else {
            if (i < high)
                QuickSort(rows, column, ascending, i, high, exchanges);
            high = j;
        }
    }
}

QString ToQ(const std::string& s) {
    return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

const std::array<int, AffiliateListModel::kColumnCount> AffiliateListModel::kColumnWidths = {
    100, 90, 200, 180, 280, 120};

int SortAffiliateRows(std::vector<AffiliateRow>& rows, int column, bool ascending) {
    int exchanges = 0;
    if (column < 0 || column >= AffiliateListModel::kColumnCount || rows.size() < 2)
        return 0;
    QuickSort(rows, column, ascending, 0, static_cast<int>(rows.size()) - 1, exchanges);
    return exchanges;
}

std::string FormatModified(int32_t seconds) {
    const std::time_t t = seconds;
    std::tm local{};
    if (!localtime_r(&t, &local))
        return {};
    char buf[64];
    const size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &local);
    return std::string(buf, n);
}

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
        return ToQ(row.texts[column]);
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
        return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

void AffiliateListModel::RefreshRow(const CReseller& affiliate) {
    auto it = std::find_if(m_rows.begin(), m_rows.end(),
                           [&](const AffiliateRow& r) { return r.key == affiliate.m_nId; });
    int row;
    if (it == m_rows.end()) {
        row = rowCount();
        beginInsertRows({}, row, row);
        m_rows.push_back(AffiliateRow{});
        m_rows.back().key = affiliate.m_nId;
        endInsertRows();
    } else {
        row = static_cast<int>(it - m_rows.begin());
    }
    AffiliateRow& r = m_rows[static_cast<size_t>(row)];
    r.texts = {affiliate.m_strName,         affiliate.m_strAffiliateId,
               affiliate.m_strWebSite,      affiliate.m_strEmail,
               affiliate.m_strPurchaseLink, FormatModified(affiliate.m_tModified)};
    r.image = affiliate.m_nImage;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
}

void AffiliateListModel::RemoveAllRows() {
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_hoverRow = m_hoverColumn = -1;
    endResetModel();
}

void AffiliateListModel::RemoveRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the bottom up so that the remaining row numbers stay valid.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it < 0 || *it >= rowCount())
            continue;
        beginRemoveRows({}, *it, *it);
        m_rows.erase(m_rows.begin() + *it);
        endRemoveRows();
    }
    m_hoverRow = m_hoverColumn = -1;
}

int AffiliateListModel::SortRows(int column, bool ascending) {
    beginResetModel();
    const int exchanges = SortAffiliateRows(m_rows, column, ascending);
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
