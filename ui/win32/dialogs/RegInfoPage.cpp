#include "ui/win32/dialogs/RegInfoPage.h"

#include "app/AppTexts.h"
#include "platform/win32/WideText.h"
#include "ui/win32/dialogs/CellEditor.h"
#include "ui/win32/dialogs/DocumentDialogIds.h"
#include "ui/win32/dialogs/ProductIdDialog.h"

#include <commctrl.h>

using platform::win32::Widen;

namespace dialogs {

namespace {

// The columns' widths in pixels; their headers are apptext::kRegInfoColumns.
constexpr int kColumnWidths[] = {60, 80, 150};

void SetCell(HWND list, int row, int column, const std::string& text) {
    const std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(wide.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace

HWND CRegInfoPage::List() const {
    return GetDlgItem(m_hwnd, IDC_PS_REG_LIST);
}

INT_PTR CRegInfoPage::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PS_REG_ADD)
            OnAdd();
        else if (LOWORD(wParam) == IDC_PS_REG_DELETE)
            DeleteRow(static_cast<int>(
                SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
    }
    return FALSE;
}

void CRegInfoPage::OnInit() {
    const HWND list = List();
    // Rows are chosen by resting the pointer on them; headers are labels only.
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_FLATSB | LVS_EX_TRACKSELECT);
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) & ~HDS_BUTTONS);
    for (int index = 0; index < 3; ++index) {
        const std::wstring text = Widen(apptext::kRegInfoColumns[index]);
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
        column.fmt = LVCFMT_CENTER;
        column.cx = kColumnWidths[index];
        column.pszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&column));
    }
    Refill();
}

void CRegInfoPage::Refill() {
    const HWND list = List();
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int at = 0;
    for (const RegInfoRow& row : m_rows.Rows()) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = at;
        const std::wstring service = Widen(row.service);
        item.pszText = const_cast<wchar_t*>(service.c_str());
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        SetCell(list, at, kRegColProductId, row.productId);
        SetCell(list, at, kRegColPurchaseLink, row.purchaseLink);
        ++at;
    }
}

void CRegInfoPage::OnAdd() {
    CProductIdForm form(m_rows.UnlistedServices(), 0);
    CProductIdDialog dialog(form);
    if (!dialog.Run(m_hwnd))
        return;
    const ProductIdAnswer answer = form.Answer();
    m_rows.Append({answer.serviceName, answer.productId, answer.purchaseLink});
    Refill();
}

void CRegInfoPage::DeleteRow(int row) {
    if (row < 0)
        return;
    m_rows.Delete(row);
    Refill();
}

void CRegInfoPage::OnDoubleClick(POINT at) {
    SetFocus(List());
    LVHITTESTINFO hit{};
    hit.pt = at;
    if (SendMessageW(List(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0 ||
        hit.iSubItem == kRegColService)
        return;
    CCellEditor::Open(List(), hit.iItem, hit.iSubItem, 0,
                      [this](int row, int column, const std::string& text, bool discarded) {
                          if (discarded ||
                              !m_rows.EditCell(row, static_cast<RegInfoColumn>(column), text))
                              return;
                          const RegInfoRow& edited = m_rows.Rows()[static_cast<size_t>(row)];
                          SetCell(List(), row, kRegColProductId, edited.productId);
                          SetCell(List(), row, kRegColPurchaseLink, edited.purchaseLink);
                      });
}

bool CRegInfoPage::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_PS_REG_LIST)
        return false;
    if (header.code == NM_DBLCLK) {
        OnDoubleClick(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction);
        return true;
    }
    if (header.code == LVN_KEYDOWN &&
        reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
        // The row that carries the selection mark: the one last clicked or selected.
        DeleteRow(static_cast<int>(SendMessageW(List(), LVM_GETSELECTIONMARK, 0, 0)));
        return true;
    }
    return false;
}

} // namespace dialogs
