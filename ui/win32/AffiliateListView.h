#pragma once

#include "app/AffiliateRowList.h"
#include "app/AffiliateRowLook.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>

class CAffProject;
class CReseller;

// The affiliate list: a virtual report list (it asks for the texts of the
// rows it paints, so 65,535 affiliates open at once) over the core's rows,
// sorted by a click on a column header, edited in place by a double click.
// Rows are drawn in the core's colours, with the cell under the pointer
// followed on every mouse move; selected rows keep the system's look.
// The window that owns it hands on the list's notifications.
class CAffiliateListView {
public:
    // The in-place editor ended with a kept text on column of row's affiliate.
    using CellEdited = std::function<void(uint32_t key, int column, const std::string& text)>;

    explicit CAffiliateListView(CAffProject& project) : m_project(&project) {}

    bool Create(HWND parent, int id);
    HWND Handle() const { return m_hwnd; }
    void SetProject(CAffProject& project) { m_project = &project; }
    void OnCellEdited(CellEdited edited) { m_cellEdited = std::move(edited); }

    // A project became current: every row is made anew.
    void CreateList();
    // Every affiliate's row is refreshed or appended.
    void RefreshAllRows();
    void RefreshRow(uint32_t key);

    std::vector<int> SelectedRows() const;
    std::vector<uint16_t> SelectedKeys() const;
    size_t SelectedCount() const;
    // The affiliate of row (nullptr when it is gone) and of the first selected row.
    CReseller* AffiliateOfRow(int row) const;
    CReseller* FirstSelectedAffiliate() const;
    // Removes the selected rows' affiliates from the project.
    void DeleteSelected();
    void SelectAll();

    // A click on a column header: sort by it (the direction flips on the same column).
    void SortByColumn(int column);
    int SortColumn() const { return m_nSortColumn; }
    // Opens the in-place editor over a cell of columns 0 to 4.
    bool EditCell(int row, int column);

    // The parent hands on the list's notifications; true when handled.
    bool OnNotify(const NMHDR& header, LRESULT& result);
    // The selection or focus changed (the owner applies the command rules).
    std::function<void()> selectionChanged;

private:
    void SetCount();
    void ShowSortMark();
    void FitPurchaseLinkColumn();
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    // The cell at a point of the client area; no cell over empty space.
    AffiliateCell CellAt(POINT point) const;
    // The pointer is over cell: the rows whose look changed are redrawn.
    void HoverAt(const AffiliateCell& cell);
    void OnMouseMove(POINT point);
    // Rows moved or scrolled under a still pointer: the cell under it again.
    void RecheckHover();
    // After a sort or a delete: the whole list drawn anew, the cell under the
    // pointer found afresh, and the window told of the selection.
    void RedrawMovedRows();
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);

    CAffProject* m_project;
    HWND m_hwnd = nullptr;
    AffiliateRowList m_rows;
    std::wstring m_text; // the text last handed to the list
    int m_nSortColumn = -1;
    bool m_bAscending = true;
    bool m_bQuiet = false; // rows' states are being set in a batch
    AffiliateHoverTracker m_hover;
    CellEdited m_cellEdited;
};
