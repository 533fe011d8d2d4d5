#include "ui/win32/dialogs/CellEditor.h"

#include "platform/win32/WideText.h"

#include <commctrl.h>

namespace dialogs {

namespace {

constexpr UINT_PTR kSubclassId = 1;

std::wstring CellText(HWND list, int row, int column) {
    std::wstring text(4096, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                        reinterpret_cast<LPARAM>(&item));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

} // namespace

bool CCellEditor::Open(HWND list, int row, int column, Done done) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&cell)))
        return false;
    const HWND edit = CreateWindowExW(
        0, L"EDIT", CellText(list, row, column).c_str(),
        WS_CHILD | WS_VISIBLE | WS_BORDER | ES_CENTER | ES_AUTOHSCROLL, cell.left, cell.top,
        cell.right - cell.left, cell.bottom - cell.top, list, nullptr, nullptr, nullptr);
    if (!edit)
        return false;
    SendMessageW(edit, WM_SETFONT, SendMessageW(list, WM_GETFONT, 0, 0), TRUE);
    auto* self = new CCellEditor(row, column, std::move(done));
    SetWindowSubclass(edit, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(self));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetFocus(edit);
    return true;
}

void CCellEditor::End(HWND edit, bool kept) {
    if (m_bEnded)
        return;
    m_bEnded = true;
    const int length = GetWindowTextLengthW(edit);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    m_done(m_nRow, m_nColumn, kept, platform::win32::Narrow(text));
    // The edit goes after this message; the object with it (WM_NCDESTROY).
    PostMessageW(edit, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK CCellEditor::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
    auto* self = reinterpret_cast<CCellEditor*>(data);
    switch (message) {
    case WM_GETDLGCODE:
        // Enter, Escape and Tab stay in the editor instead of reaching the dialog.
        return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            self->End(hwnd, wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == 27)
            return 0; // handled on key down; no beep
        break;
    case WM_KILLFOCUS:
        self->End(hwnd, true);
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, Proc, kSubclassId);
        delete self;
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace dialogs
