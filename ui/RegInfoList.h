#pragma once

#include "app/RegInfoRows.h"

#include <QStringList>
#include <QTableWidget>
#include <QTimer>

class CAffProject;

// The registration list of the Product Settings dialog: one row per service
// with its product ID and purchase link. Cells of the last two columns are
// edited in place; a Product ID edit recomposes the row's link. The list only
// changes the project when CommitTo is called.
class CRegInfoList : public QTableWidget {
    Q_OBJECT
public:
    enum Column {
        kColService = kRegColService,
        kColProductId = kRegColProductId,
        kColPurchaseLink = kRegColPurchaseLink
    };

    explicit CRegInfoList(QWidget* parent = nullptr);

    // One row per registration record, in the map's enumeration order.
    void Fill(const CAffProject& project);
    void AppendRow(const QString& service, const QString& productId, const QString& link);
    // Deletes the selected row, if any; the others keep their order.
    void DeleteSelectedRow();
    // The texts of the "Service" column, top to bottom.
    QStringList ServiceTexts() const;
    // The rows as the core's registration list (its rules: Add's offer, the
    // cell edit's link, the commit).
    CRegInfoRows Rows() const;
    QString CellText(int row, int column) const;

    // Rebuilds the project's registration records from the rows; a row whose
    // service text is "..." is skipped; a later row of the same service wins.
    void CommitTo(CAffProject& project) const;

    // Opens the cell editor over (row, column) as a double-click does.
    void EditCell(int row, int column);

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Widens the "Purchase Link" column to its longest text.
    void FitLinkColumn();
    void OnEditEnded(int row, int column, const QString& text, bool discarded);
    void SelectHoveredRow();

    QTimer m_hoverTimer;
    QPoint m_hoverPos;
};
