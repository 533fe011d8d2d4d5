#include "ui/RegInfoList.h"

#include "ui/CellEdit.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>

namespace {

QTableWidgetItem* CenteredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

constexpr int kHoverSelectMs = 400;
constexpr int kLinkColumnWidth = 150;
constexpr int kCellMargins = 16;

} // namespace

CRegInfoList::CRegInfoList(QWidget* parent) : QTableWidget(0, 3, parent) {
    setObjectName(QStringLiteral("1037"));
    setHorizontalHeaderLabels({AppText(apptext::kRegInfoColumns[0]),
                               AppText(apptext::kRegInfoColumns[1]),
                               AppText(apptext::kRegInfoColumns[2])});
    for (int c = 0; c < 3; ++c)
        horizontalHeaderItem(c)->setTextAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setColumnWidth(kColService, 60);
    setColumnWidth(kColProductId, 80);
    setColumnWidth(kColPurchaseLink, kLinkColumnWidth);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(kHoverSelectMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CRegInfoList::SelectHoveredRow);
}

void CRegInfoList::Fill(const CAffProject& project) {
    setRowCount(0);
    const CRegInfoRows rows = CRegInfoRows::Of(project);
    for (const RegInfoRow& row : rows.Rows())
        AppendRow(FromProjectText(row.service), FromProjectText(row.productId),
                  FromProjectText(row.purchaseLink));
}

void CRegInfoList::AppendRow(const QString& service, const QString& productId,
                             const QString& link) {
    const int row = rowCount();
    insertRow(row);
    setItem(row, kColService, CenteredItem(service));
    setItem(row, kColProductId, CenteredItem(productId));
    setItem(row, kColPurchaseLink, CenteredItem(link));
    FitLinkColumn();
}

void CRegInfoList::FitLinkColumn() {
    // Links grow their column (the list scrolls sideways) instead of ending
    // in "..."; short links still fill the list's width.
    int width = qMax(kLinkColumnWidth,
                     viewport()->width() - columnWidth(kColService) - columnWidth(kColProductId));
    for (int r = 0; r < rowCount(); ++r)
        width = qMax(width,
                     fontMetrics().horizontalAdvance(CellText(r, kColPurchaseLink)) + kCellMargins);
    setColumnWidth(kColPurchaseLink, width);
}

void CRegInfoList::resizeEvent(QResizeEvent* e) {
    QTableWidget::resizeEvent(e);
    FitLinkColumn();
}

void CRegInfoList::DeleteSelectedRow() {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty())
        return;
    removeRow(ranges.constFirst().topRow());
}

QStringList CRegInfoList::ServiceTexts() const {
    QStringList texts;
    for (int r = 0; r < rowCount(); ++r)
        texts << CellText(r, kColService);
    return texts;
}

QString CRegInfoList::CellText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

CRegInfoRows CRegInfoList::Rows() const {
    CRegInfoRows rows;
    for (int r = 0; r < rowCount(); ++r)
        rows.Append({ToProjectText(CellText(r, kColService)),
                     ToProjectText(CellText(r, kColProductId)),
                     ToProjectText(CellText(r, kColPurchaseLink))});
    return rows;
}

void CRegInfoList::CommitTo(CAffProject& project) const {
    Rows().CommitTo(project);
}

void CRegInfoList::EditCell(int row, int column) {
    setFocus(Qt::MouseFocusReason);
    if (column == kColService || row < 0 || row >= rowCount())
        return;
    CCellEdit* editor = CCellEdit::Open(this, row, column, 0);
    if (editor)
        connect(editor, &CCellEdit::editEnded, this, &CRegInfoList::OnEditEnded);
}

void CRegInfoList::OnEditEnded(int row, int column, const QString& text, bool discarded) {
    if (discarded || row >= rowCount())
        return;
    CRegInfoRows rows = Rows();
    if (!rows.EditCell(row, static_cast<RegInfoColumn>(column), ToProjectText(text)))
        return;
    const RegInfoRow& edited = rows.Rows()[static_cast<size_t>(row)];
    item(row, kColProductId)->setText(FromProjectText(edited.productId));
    item(row, kColPurchaseLink)->setText(FromProjectText(edited.purchaseLink));
    FitLinkColumn();
}

void CRegInfoList::mouseDoubleClickEvent(QMouseEvent* e) {
    const QModelIndex index = indexAt(e->position().toPoint());
    setFocus(Qt::MouseFocusReason);
    if (index.isValid())
        EditCell(index.row(), index.column());
}

void CRegInfoList::mouseMoveEvent(QMouseEvent* e) {
    m_hoverPos = e->position().toPoint();
    m_hoverTimer.start();
    QTableWidget::mouseMoveEvent(e);
}

void CRegInfoList::leaveEvent(QEvent* e) {
    m_hoverTimer.stop();
    QTableWidget::leaveEvent(e);
}

void CRegInfoList::SelectHoveredRow() {
    if (CCellEdit::Current())
        return;
    const QModelIndex index = indexAt(m_hoverPos);
    if (index.isValid())
        selectRow(index.row());
}

void CRegInfoList::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) {
        // The row that carries the selection mark: the one last clicked or selected.
        const int row = currentRow();
        if (row >= 0)
            removeRow(row);
        e->accept();
        return;
    }
    QTableWidget::keyPressEvent(e);
}
