#pragma once

#include "app/AffiliateRowList.h"
#include "app/AffiliateRowLook.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>

#include <array>
#include <cstdint>
#include <vector>

class CReseller;

// The core's colour as the toolkit draws it.
inline QColor ToQColor(const RgbColour& c) {
    return {c.red, c.green, c.blue};
}

// The rows of the affiliate list. Rows change only through the operations
// below; the records stay in the project.
class AffiliateListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = kAffiliateColumnCount;
    static const std::array<int, kColumnCount> kColumnWidths;

    explicit AffiliateListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Updates the first row with the affiliate's key, or appends one.
    void RefreshRow(const CReseller& affiliate);
    // RefreshRow for each affiliate in turn, with one insertion and one change
    // notice for the whole batch, so that a big project fills the list at once.
    void RefreshRows(const std::vector<const CReseller*>& affiliates);
    // The first row that shows the affiliate with this m_nId, or -1.
    int RowOfKey(uint32_t key) const { return m_list.RowOfKey(key); }
    void RemoveAllRows();
    // Removes the given rows (any order).
    void RemoveRows(std::vector<int> rows);

    const AffiliateRow& Row(int row) const { return m_list.Row(static_cast<size_t>(row)); }
    // The rows with their selection by key (the view tells it its selection
    // before rows move and shows the list's afterwards).
    AffiliateRowList& List() { return m_list; }
    // Sorts the rows (AffiliateRowList::Sort); views lose their selection,
    // which the caller restores from the list.
    int SortRows(int column, bool ascending);

    // The cell under the pointer, drawn in the hover colour; -1 for none.
    void SetHoverCell(int row, int column);

private:
    AffiliateRowList m_list;
    QIcon m_rowIcon;
    AffiliateHoverTracker m_hover;
};
