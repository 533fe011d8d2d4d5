#pragma once

#include "ui/AffiliateDialog.h"

#include <QPointer>
#include <QTableView>

#include <cstdint>
#include <vector>

class AffiliateListModel;
class CAffProject;
class CReseller;
class CVelkoraDoc;
class IUserPrompts;

// The affiliate list: one row per affiliate of the project, sortable by any
// column, editable in place, the receiver of the affiliate-changed
// notification, and the owner of the modeless affiliate dialog.
class CVelkoraView : public QTableView {
    Q_OBJECT
public:
    CVelkoraView(CVelkoraDoc& doc, IUserPrompts& prompts, QWidget* parent = nullptr);

    AffiliateListModel& Model() const { return *m_model; }

    // A project became the current one (start-up, New, Open).
    void CreateList();
    // The document changed: every affiliate's row is refreshed or appended.
    void RefreshAllRows();
    void RefreshRow(CReseller& affiliate);

    // Selected rows in ascending order, and the keys of their affiliates.
    std::vector<int> SelectedRows() const;
    std::vector<uint16_t> SelectedKeys() const;
    int SelectedCount() const;
    // The affiliate of the first selected row, or nullptr.
    CReseller* FirstSelectedAffiliate() const;
    CReseller* AffiliateOfRow(int row) const;

    // Commands of the list.
    void OnDeleteAffiliate();
    void OnAffiliateProperty();
    void OnSelectAll();
    void OnExploreOutputFolder();
    void OnBrowseWebsite();
    void OnBrowsePurchaseLink();
    void OnEmail();

    // A click on a column header: sort by it (direction flips on the same column).
    void SortByColumn(int column);
    int SortColumn() const { return m_nSortColumn; }
    bool SortAscending() const { return m_bAscending; }

    // Opens the in-place editor over a cell (columns 0 to 4); false otherwise.
    bool EditCell(int row, int column);
    // Applies a kept text of the editor to the row's affiliate.
    void ApplyCellText(int row, int column, const QString& text);

    // The modeless affiliate dialog, once created.
    CAffiliateDialog* AffiliateDialog() const { return m_dialog; }

signals:
    // The frame shows the list's context menu at globalPos.
    void contextMenuWanted(const QPoint& globalPos);
    // Selection or focus changed: the frame re-evaluates its commands.
    void selectionStateChanged();

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // The selection and the focused row, told to the model's row list before
    // rows move, and shown again from it afterwards.
    void StoreSelection();
    void RestoreSelection(int currentColumn = 0);
    CAffiliateDialog& EnsureDialog();
    void DropDialog();
    void SyncDialogWithSelection();
    void UpdateHover(const QPoint& viewportPos);
    // The Purchase Link column takes the width left free by the others, never
    // less than its own default width.
    void FitPurchaseLinkColumn();

    CVelkoraDoc& m_doc;
    IUserPrompts& m_prompts;
    AffiliateListModel* m_model;
    bool m_bColumnsPending = true;
    int m_nSortColumn = -1;
    bool m_bAscending = true;
    QPointer<CAffiliateDialog> m_dialog;
    // The file whose affiliates the list shows, to tell a reload from another
    // project.
    QString m_listPath;
};
