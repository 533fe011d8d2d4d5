#include "ui/win32/AffiliateListView.h"

#include "model/AffProject.h"
#include "model/Reseller.h"
#include "platform/win32/WideText.h"
#include "ui/win32/VelkoraResourceIds.h"
#include "ui/win32/dialogs/CellEditor.h"

#include <algorithm>
#include <array>
#include <commctrl.h>
#include <windowsx.h>

namespace {

constexpr std::array<int, kAffiliateColumnCount> kColumnWidths = {100, 90, 200, 180, 280, 120};
constexpr int kPurchaseLinkColumn = 4;
constexpr int kLastEditableColumn = 4;
constexpr UINT_PTR kSubclassId = 1;
constexpr int kRowIconSize = 24;

COLORREF ToColorRef(const RgbColour& c) {
    return RGB(c.red, c.green, c.blue);
}

} // namespace

bool CAffiliateListView::Create(HWND parent, int id) {
    m_hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                 LVS_SHOWSELALWAYS,
                             0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!m_hwnd)
        return false;
    ListView_SetExtendedListViewStyle(m_hwnd, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES |
                                                  LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
    ListView_SetBkColor(m_hwnd, ToColorRef(kAffiliateListEmptyBackground));
    for (int c = 0; c < kAffiliateColumnCount; ++c) {
        const std::wstring header = platform::win32::Widen(AffiliateColumnHeader(c));
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_CENTER;
        column.cx = kColumnWidths[static_cast<size_t>(c)];
        column.pszText = const_cast<wchar_t*>(header.c_str());
        column.iSubItem = c;
        ListView_InsertColumn(m_hwnd, c, &column);
    }
    // The program's icon before each name; it also gives the rows their height.
    HIMAGELIST images = ImageList_Create(kRowIconSize, kRowIconSize, ILC_COLOR32 | ILC_MASK, 1, 0);
    if (auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                   MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                   kRowIconSize, kRowIconSize, 0))) {
        ImageList_AddIcon(images, icon);
        DestroyIcon(icon);
    }
    ListView_SetImageList(m_hwnd, images, LVSIL_SMALL);
    SetWindowSubclass(m_hwnd, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void CAffiliateListView::SetCount() {
    ListView_SetItemCountEx(m_hwnd, static_cast<int>(m_rows.Count()), LVSICF_NOSCROLL);
}

void CAffiliateListView::CreateList() {
    m_rows.Clear();
    ListView_SetItemState(m_hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(m_hwnd, 0, 0);
    m_nSortColumn = -1;
    m_hover.Forget();
    ShowSortMark();
    RefreshAllRows();
}

void CAffiliateListView::RefreshAllRows() {
    // One batch for the whole map: a big project fills the list in one step.
    std::vector<const CReseller*> affiliates;
    affiliates.reserve(m_project->m_mapResellers.GetCount());
    m_project->m_mapResellers.ForEach(
        [&](uint16_t, const CReseller& r) { affiliates.push_back(&r); });
    if (affiliates.empty())
        m_rows.Clear();
    m_rows.Refresh(affiliates);
    m_project->m_mapResellers.ForEach([](uint16_t, CReseller& r) { r.m_bChanged = 0; });
    SetCount();
    InvalidateRect(m_hwnd, nullptr, FALSE);
    RecheckHover();
    if (selectionChanged)
        selectionChanged();
}

void CAffiliateListView::RefreshRow(uint32_t key) {
    CReseller* affiliate = m_project->LookupReseller(static_cast<uint16_t>(key & 0xFFFF));
    if (!affiliate || affiliate->m_nId != key)
        return;
    const AffiliateRowList::RefreshResult changed = m_rows.Refresh({affiliate});
    affiliate->m_bChanged = 0;
    if (changed.appended) {
        SetCount();
        RecheckHover();
    }
    if (changed.lastChanged >= 0)
        ListView_RedrawItems(m_hwnd, changed.firstChanged, changed.lastChanged);
}

std::vector<int> CAffiliateListView::SelectedRows() const {
    std::vector<int> rows;
    rows.reserve(SelectedCount());
    for (int row = ListView_GetNextItem(m_hwnd, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_hwnd, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

std::vector<uint16_t> CAffiliateListView::SelectedKeys() const {
    std::vector<uint16_t> keys;
    for (int row : SelectedRows())
        if (static_cast<size_t>(row) < m_rows.Count())
            keys.push_back(static_cast<uint16_t>(m_rows.Row(static_cast<size_t>(row)).key));
    return keys;
}

size_t CAffiliateListView::SelectedCount() const {
    return static_cast<size_t>(ListView_GetSelectedCount(m_hwnd));
}

CReseller* CAffiliateListView::AffiliateOfRow(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.Count())
        return nullptr;
    const uint32_t key = m_rows.Row(static_cast<size_t>(row)).key;
    CReseller* r = m_project->LookupReseller(static_cast<uint16_t>(key & 0xFFFF));
    return r && r->m_nId == key ? r : nullptr;
}

CReseller* CAffiliateListView::FirstSelectedAffiliate() const {
    return AffiliateOfRow(ListView_GetNextItem(m_hwnd, -1, LVNI_SELECTED));
}

void CAffiliateListView::DeleteSelected() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    for (int row : rows)
        if (CReseller* affiliate = AffiliateOfRow(row))
            m_project->RemoveReseller(affiliate->Key());
    m_rows.RemoveRows(rows);
    ListView_SetItemState(m_hwnd, -1, 0, LVIS_SELECTED);
    SetCount();
    RedrawMovedRows();
}

void CAffiliateListView::SelectAll() {
    ListView_SetItemState(m_hwnd, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void CAffiliateListView::SortByColumn(int column) {
    if (column < 0 || column >= kAffiliateColumnCount)
        return;
    m_bAscending = column == m_nSortColumn ? !m_bAscending : true;
    m_nSortColumn = column;
    // Selection and focus travel with their rows.
    m_rows.SetSelection(SelectedRows(), ListView_GetNextItem(m_hwnd, -1, LVNI_FOCUSED));
    m_rows.Sort(column, m_bAscending);
    // One notice for the whole move, not one per row.
    m_bQuiet = true;
    ListView_SetItemState(m_hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (const auto& [first, last] : m_rows.SelectedRuns())
        for (int row = first; row <= last; ++row)
            ListView_SetItemState(m_hwnd, row, LVIS_SELECTED, LVIS_SELECTED);
    if (const int focused = m_rows.FocusedRow(); focused >= 0)
        ListView_SetItemState(m_hwnd, focused, LVIS_FOCUSED, LVIS_FOCUSED);
    m_bQuiet = false;
    ShowSortMark();
    RedrawMovedRows();
}

void CAffiliateListView::RedrawMovedRows() {
    InvalidateRect(m_hwnd, nullptr, FALSE);
    m_hover.Forget();
    RecheckHover();
    if (selectionChanged)
        selectionChanged();
}

void CAffiliateListView::ShowSortMark() {
    HWND header = ListView_GetHeader(m_hwnd);
    for (int c = 0; c < kAffiliateColumnCount; ++c) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, c, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (c == m_nSortColumn)
            item.fmt |= m_bAscending ? HDF_SORTUP : HDF_SORTDOWN;
        Header_SetItem(header, c, &item);
    }
}

bool CAffiliateListView::EditCell(int row, int column) {
    if (column < 0 || column > kLastEditableColumn || !AffiliateOfRow(row))
        return false;
    const uint32_t key = m_rows.Row(static_cast<size_t>(row)).key;
    // Column 0's editor starts past the row's icon.
    return CCellEditor::Open(m_hwnd, row, column, column == 0 ? kRowIconSize : 0,
                             [this, key](int, int c, const std::string& text, bool discarded) {
                                 if (!discarded && m_cellEdited)
                                     m_cellEdited(key, c, text);
                             });
}

void CAffiliateListView::FitPurchaseLinkColumn() {
    // The Purchase Link column takes the width the others leave, never less
    // than its own.
    RECT client{};
    GetClientRect(m_hwnd, &client);
    int others = 0;
    for (int c = 0; c < kAffiliateColumnCount; ++c)
        if (c != kPurchaseLinkColumn)
            others += ListView_GetColumnWidth(m_hwnd, c);
    const int standard = kColumnWidths[kPurchaseLinkColumn];
    ListView_SetColumnWidth(m_hwnd, kPurchaseLinkColumn,
                            std::max<int>(standard, client.right - others));
}

bool CAffiliateListView::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_hwnd)
        return false;
    result = 0;
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = const_cast<LVITEMW&>(reinterpret_cast<const NMLVDISPINFOW&>(header).item);
        if ((item.mask & LVIF_TEXT) && item.iItem >= 0 &&
            static_cast<size_t>(item.iItem) < m_rows.Count() && item.iSubItem >= 0 &&
            item.iSubItem < kAffiliateColumnCount) {
            m_text = platform::win32::Widen(m_rows.Row(static_cast<size_t>(item.iItem))
                                                .texts[static_cast<size_t>(item.iSubItem)]);
            item.pszText = m_text.data();
        }
        if (item.mask & LVIF_IMAGE)
            item.iImage = item.iSubItem == 0 ? 0 : -1;
        return true;
    }
    case NM_CUSTOMDRAW:
        result = OnCustomDraw(
            const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
        return true;
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return true;
    case NM_DBLCLK: {
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        LVHITTESTINFO hit{};
        hit.pt = activate.ptAction;
        if (ListView_SubItemHitTest(m_hwnd, &hit) >= 0)
            EditCell(hit.iItem, hit.iSubItem);
        return true;
    }
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED:
        if (selectionChanged && !m_bQuiet)
            selectionChanged();
        return true;
    default:
        return false;
    }
}

LRESULT CAffiliateListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        // Selected rows keep the system's selection colours, focused or not.
        if (ListView_GetItemState(m_hwnd, row, LVIS_SELECTED) & LVIS_SELECTED)
            return CDRF_DODEFAULT;
        draw.clrTextBk = ToColorRef(AffiliateRowBackground(row));
        draw.clrText = ToColorRef(AffiliateCellTextColour({row, 0}, m_hover.Cell()));
        return CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        draw.clrTextBk = ToColorRef(AffiliateRowBackground(row));
        draw.clrText = ToColorRef(AffiliateCellTextColour({row, draw.iSubItem}, m_hover.Cell()));
        return CDRF_NEWFONT;
    default:
        return CDRF_DODEFAULT;
    }
}

AffiliateCell CAffiliateListView::CellAt(POINT point) const {
    LVHITTESTINFO hit{};
    hit.pt = point;
    if (ListView_SubItemHitTest(m_hwnd, &hit) < 0 || !(hit.flags & LVHT_ONITEM))
        return {};
    if (static_cast<size_t>(hit.iItem) >= m_rows.Count() || hit.iSubItem < 0 ||
        hit.iSubItem >= kAffiliateColumnCount)
        return {};
    return {hit.iItem, hit.iSubItem};
}

void CAffiliateListView::HoverAt(const AffiliateCell& cell) {
    for (int row : m_hover.MoveTo(cell))
        if (static_cast<size_t>(row) < m_rows.Count())
            ListView_RedrawItems(m_hwnd, row, row);
}

void CAffiliateListView::OnMouseMove(POINT point) {
    // Armed on every move: the list itself may ask for (and so end) the
    // leave notice for its own hot tracking.
    TRACKMOUSEEVENT leave{};
    leave.cbSize = sizeof(leave);
    leave.dwFlags = TME_LEAVE;
    leave.hwndTrack = m_hwnd;
    TrackMouseEvent(&leave);
    HoverAt(CellAt(point));
}

void CAffiliateListView::RecheckHover() {
    POINT point{};
    if (!GetCursorPos(&point) || WindowFromPoint(point) != m_hwnd) {
        HoverAt({});
        return;
    }
    ScreenToClient(m_hwnd, &point);
    HoverAt(CellAt(point));
}

LRESULT CALLBACK CAffiliateListView::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR self) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, Subclass, kSubclassId);
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    auto* view = reinterpret_cast<CAffiliateListView*>(self);
    switch (message) {
    case WM_SIZE:
        view->FitPurchaseLinkColumn();
        break;
    case WM_MOUSEMOVE:
        view->OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_MOUSELEAVE:
        view->HoverAt({});
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
        view->RecheckHover();
        break;
    default:
        break;
    }
    return result;
}
