#include "ui/RegInfoList.h"

#include "model/AffProject.h"
#include "model/NewProduct.h"
#include "model/PurchaseLink.h"
#include "model/RegistrationServices.h"
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
    project.m_mapRegInfo.ForEach([this](uint16_t, const CProductRegInfo& info) {
        AppendRow(QString::fromStdString(info.m_strServiceName),
                  QString::fromStdString(info.m_strProductId),
                  QString::fromStdString(info.m_strPurchaseLink));
    });
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

void CRegInfoList::CommitTo(CAffProject& project) const {
    project.m_mapRegInfo.RemoveAll();
    for (int r = 0; r < rowCount(); ++r) {
        const QString service = CellText(r, kColService);
        if (service == QLatin1String("..."))
            continue;
        const std::string name = ToProjectText(service);
        StoreRegistration(project, ServiceIndexFromName(name), name,
                          ToProjectText(CellText(r, kColProductId)),
                          ToProjectText(CellText(r, kColPurchaseLink)));
    }
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
    item(row, column)->setText(text);
    FitLinkColumn();
    if (column != kColProductId)
        return;
    const int service = ServiceIndexFromName(CellText(row, kColService).toStdString());
    std::string link = CellText(row, kColPurchaseLink).toStdString();
    if (ComposeProductLink(service, link, text.toStdString(), ComposeMode::Keep)) {
        item(row, kColPurchaseLink)->setText(QString::fromStdString(link));
        FitLinkColumn();
    }
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
