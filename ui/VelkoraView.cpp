#include "ui/VelkoraView.h"

#include "app/ShellActions.h"
#include "model/AffProject.h"
#include "model/Reseller.h"
#include "platform/Clock.h"
#include "ui/AffiliateDialog.h"
#include "ui/AffiliateListModel.h"
#include "ui/CellEdit.h"
#include "ui/ProjectText.h"
#include "ui/StringTable.h"
#include "ui/UserPrompts.h"
#include "ui/VelkoraDoc.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>

#include <algorithm>

namespace {

constexpr int kPurchaseLinkColumn = 4;

} // namespace

CVelkoraView::CVelkoraView(CVelkoraDoc& doc, IUserPrompts& prompts, QWidget* parent)
    : QTableView(parent), m_doc(doc), m_prompts(prompts), m_model(new AffiliateListModel(this)) {
    setObjectName("affiliateList");
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setMouseTracking(true);
    setIconSize(QSize(24, 24));
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(28);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    for (int c = 0; c < AffiliateListModel::kColumnCount; ++c)
        setColumnWidth(c, AffiliateListModel::kColumnWidths[static_cast<size_t>(c)]);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, ToQColor(kAffiliateListEmptyBackground));
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(true);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CVelkoraView::SortByColumn);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical) {
        if (logical != kPurchaseLinkColumn)
            FitPurchaseLinkColumn();
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CVelkoraView::selectionStateChanged);
}

void CVelkoraView::CreateList() {
    // The records of the previous project are gone: the affiliate dialog must
    // not keep one of them.
    DropDialog();
    m_bColumnsPending = false;
    // The same file read again (another program changed it): its affiliates
    // stay selected. Another project starts without a selection.
    const QString path = m_doc.PathName();
    const bool reload = !path.isEmpty() && path == m_listPath;
    m_listPath = path;
    StoreSelection();
    const std::vector<uint32_t> keys = m_model->List().SelectedKeys();
    const uint32_t focused = m_model->List().FocusedKey();
    m_model->RemoveAllRows();
    RefreshAllRows();
    if (reload) {
        m_model->List().SelectKeys(keys, focused);
        RestoreSelection();
    }
}

void CVelkoraView::StoreSelection() {
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        if (range.left() == 0 && range.right() == AffiliateListModel::kColumnCount - 1)
            for (int r = range.top(); r <= range.bottom(); ++r)
                rows.push_back(r);
    m_model->List().SetSelection(rows, current);
}

void CVelkoraView::RestoreSelection(int currentColumn) {
    const AffiliateRowList& list = m_model->List();
    const int last = AffiliateListModel::kColumnCount - 1;
    if (const int focused = list.FocusedRow(); focused >= 0)
        selectionModel()->setCurrentIndex(m_model->index(focused, currentColumn),
                                          QItemSelectionModel::NoUpdate);
    QItemSelection selection;
    for (const auto& [first, end] : list.SelectedRuns())
        selection.select(m_model->index(first, 0), m_model->index(end, last));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    emit selectionStateChanged();
}

void CVelkoraView::RefreshAllRows() {
    const CAffProject& project = m_doc.Project();
    if (project.m_mapResellers.IsEmpty())
        m_model->RemoveAllRows();
    if (m_bColumnsPending)
        return;
    // One batch for the whole map: a big project fills the list in one step.
    std::vector<const CReseller*> affiliates;
    affiliates.reserve(project.m_mapResellers.GetCount());
    project.m_mapResellers.ForEach([&](uint16_t, const CReseller& r) { affiliates.push_back(&r); });
    m_model->RefreshRows(affiliates);
    project.m_mapResellers.ForEach([](uint16_t, CReseller& r) { r.m_bChanged = 0; });
}

void CVelkoraView::RefreshRow(CReseller& affiliate) {
    if (m_bColumnsPending)
        return;
    m_model->RefreshRow(affiliate);
    affiliate.m_bChanged = 0;
}

std::vector<int> CVelkoraView::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<uint16_t> CVelkoraView::SelectedKeys() const {
    std::vector<uint16_t> keys;
    for (int row : SelectedRows())
        keys.push_back(static_cast<uint16_t>(m_model->Row(row).key & 0xFFFF));
    return keys;
}

int CVelkoraView::SelectedCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

CReseller* CVelkoraView::AffiliateOfRow(int row) const {
    if (row < 0 || row >= m_model->rowCount())
        return nullptr;
    const uint32_t key = m_model->Row(row).key;
    CReseller* r = m_doc.Project().LookupReseller(static_cast<uint16_t>(key & 0xFFFF));
    return r && r->m_nId == key ? r : nullptr;
}

CReseller* CVelkoraView::FirstSelectedAffiliate() const {
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? nullptr : AffiliateOfRow(rows.front());
}

void CVelkoraView::OnDeleteAffiliate() {
    if (!m_prompts.Question(this, AppText(apptext::kDeleteAffiliates), PromptIcon::Information,
                            AppText(apptext::kDeleteAffiliatesCaption)))
        return;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    CAffProject& project = m_doc.Project();
    for (int row : rows) {
        CReseller* affiliate = AffiliateOfRow(row);
        if (affiliate && m_dialog && m_dialog->Affiliate() == affiliate)
            DropDialog();
        if (affiliate)
            project.RemoveReseller(affiliate->Key());
    }
    m_model->RemoveRows(rows);
    m_doc.SetModifiedFlag(true);
    emit selectionStateChanged();
}

void CVelkoraView::DropDialog() {
    // Hidden first, then deleted: it is made again on next use, so it never
    // holds a reference to a deleted record.
    if (!m_dialog)
        return;
    m_dialog->hide();
    m_dialog->deleteLater();
    m_dialog = nullptr;
}

CAffiliateDialog& CVelkoraView::EnsureDialog() {
    if (!m_dialog) {
        m_dialog = new CAffiliateDialog(this, &m_prompts);
        m_dialog->SetClock([this] { return m_doc.Now(); });
        m_dialog->setModal(false);
        m_dialog->hide();
        m_dialog->SetProject(&m_doc.Project());
    }
    return *m_dialog;
}

void CVelkoraView::OnAffiliateProperty() {
    CAffiliateDialog& dialog = EnsureDialog();
    dialog.SetProject(&m_doc.Project());
    CReseller* affiliate = SelectedCount() == 1 ? FirstSelectedAffiliate() : nullptr;
    if (affiliate)
        dialog.ShowForEdit(affiliate);
    else
        dialog.hide();
}

void CVelkoraView::SyncDialogWithSelection() {
    CAffiliateDialog& dialog = EnsureDialog();
    CReseller* affiliate = SelectedCount() == 1 ? FirstSelectedAffiliate() : nullptr;
    if (affiliate)
        dialog.Reload(affiliate);
    else
        dialog.hide();
}

void CVelkoraView::OnSelectAll() {
    selectAll();
}

void CVelkoraView::OnExploreOutputFolder() {
    if (SelectedCount() != 1)
        return;
    if (const CReseller* affiliate = FirstSelectedAffiliate())
        m_doc.Shell().explore(OutputFolderOf(m_doc.Project(), *affiliate));
}

void CVelkoraView::OnBrowseWebsite() {
    if (const CReseller* affiliate = FirstSelectedAffiliate())
        OpenDocumentLink(affiliate->m_strWebSite, m_doc.Shell());
}

void CVelkoraView::OnBrowsePurchaseLink() {
    if (const CReseller* affiliate = FirstSelectedAffiliate())
        OpenDocumentLink(affiliate->m_strPurchaseLink, m_doc.Shell());
}

void CVelkoraView::OnEmail() {
    if (const CReseller* affiliate = FirstSelectedAffiliate())
        OpenDocumentLink(MailtoTarget(affiliate->m_strEmail), m_doc.Shell());
}

void CVelkoraView::SortByColumn(int column) {
    if (column < 0 || column >= AffiliateListModel::kColumnCount)
        return;
    if (column == m_nSortColumn) {
        m_bAscending = !m_bAscending;
    } else {
        m_nSortColumn = column;
        m_bAscending = true;
    }
    // Selection and focus travel with their rows.
    const int currentColumn = currentIndex().isValid() ? currentIndex().column() : 0;
    StoreSelection();
    m_model->SortRows(column, m_bAscending);
    RestoreSelection(currentColumn);
    horizontalHeader()->setSortIndicatorShown(true);
    // Qt's styles draw the apex down for AscendingOrder; the list shows the
    // apex up for ascending, so the indicator order is the opposite one.
    horizontalHeader()->setSortIndicator(column,
                                         m_bAscending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

bool CVelkoraView::EditCell(int row, int column) {
    if (row < 0 || row >= m_model->rowCount() || column < 0 || column > 4)
        return false;
    if (!hasFocus())
        setFocus();
    CCellEdit* editor = CCellEdit::Open(this, row, column, column == 0 ? kNameCellEditInset : 0);
    if (!editor)
        return false;
    connect(editor, &CCellEdit::editEnded, this,
            [this](int r, int c, const QString& text, bool discarded) {
                if (!discarded)
                    ApplyCellText(r, c, text);
            });
    return true;
}

void CVelkoraView::ApplyCellText(int row, int column, const QString& text) {
    CReseller* affiliate = AffiliateOfRow(row);
    if (!affiliate)
        return;
    if (!m_doc.Core().EditAffiliateCell(*affiliate, column, ToProjectText(text)))
        return;
    QCoreApplication::postEvent(this, new CAffiliateChangedEvent(affiliate->m_nId, affiliate));
}

bool CVelkoraView::event(QEvent* e) {
    if (e->type() == CAffiliateChangedEvent::kType) {
        // The record is found again by its key: it may have been deleted since
        // the notification was posted.
        const auto* changed = static_cast<CAffiliateChangedEvent*>(e);
        CReseller* affiliate =
            m_doc.Project().LookupReseller(static_cast<uint16_t>(changed->Id() & 0xFFFF));
        if (affiliate && affiliate->m_nId == changed->Id())
            RefreshRow(*affiliate);
        m_doc.SetModifiedFlag(true);
        return true;
    }
    return QTableView::event(e);
}

bool CVelkoraView::viewportEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseMove:
        UpdateHover(static_cast<QMouseEvent*>(e)->position().toPoint());
        break;
    case QEvent::HoverMove:
        UpdateHover(static_cast<QHoverEvent*>(e)->position().toPoint());
        break;
    case QEvent::Leave:
    case QEvent::HoverLeave:
        m_model->SetHoverCell(-1, -1);
        break;
    default:
        break;
    }
    return QTableView::viewportEvent(e);
}

void CVelkoraView::UpdateHover(const QPoint& viewportPos) {
    const QModelIndex index = indexAt(viewportPos);
    if (index.isValid())
        m_model->SetHoverCell(index.row(), index.column());
    else
        m_model->SetHoverCell(-1, -1);
}

void CVelkoraView::mouseDoubleClickEvent(QMouseEvent* e) {
    const QModelIndex index = indexAt(e->position().toPoint());
    if (index.isValid() && index.column() <= 4)
        EditCell(index.row(), index.column());
}

void CVelkoraView::mouseReleaseEvent(QMouseEvent* e) {
    QTableView::mouseReleaseEvent(e);
    SyncDialogWithSelection();
}

void CVelkoraView::resizeEvent(QResizeEvent* e) {
    QTableView::resizeEvent(e);
    FitPurchaseLinkColumn();
}

void CVelkoraView::FitPurchaseLinkColumn() {
    int others = 0;
    for (int c = 0; c < AffiliateListModel::kColumnCount; ++c)
        if (c != kPurchaseLinkColumn)
            others += columnWidth(c);
    const int standard = AffiliateListModel::kColumnWidths[kPurchaseLinkColumn];
    setColumnWidth(kPurchaseLinkColumn, std::max(standard, viewport()->width() - others));
}

void CVelkoraView::contextMenuEvent(QContextMenuEvent* e) {
    const QPoint at =
        e->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5)) : e->globalPos();
    emit contextMenuWanted(at);
}
