#include "ui/win32/dialogs/CellEditor.h"

#include "platform/win32/WideText.h"

#include <algorithm>
#include <commctrl.h>
#include <vector>

namespace {

constexpr UINT_PTR kSubclassId = 1;
HWND g_openEditor = nullptr;

// The cell's rectangle in the list's client area. For column 0 the list
// reports the whole row, so its right edge is the column's width.
bool CellRect(HWND list, int row, int column, RECT& rect) {
    rect = {};
    rect.top = column;
    rect.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&rect)))
        return false;
    if (column == 0)
        rect.right = rect.left + ListView_GetColumnWidth(list, 0);
    return true;
}

std::wstring CellText(HWND list, int row, int column) {
    std::vector<wchar_t> text(4096, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text.data();
}

} // namespace

CCellEditor::CCellEditor(HWND list, int row, int column, Ended ended)
    : m_list(list), m_row(row), m_column(column), m_ended(std::move(ended)) {}

bool CCellEditor::IsEditor(HWND window) {
    return window && window == g_openEditor;
}

bool CCellEditor::Open(HWND list, int row, int column, int inset, Ended ended) {
    if (g_openEditor)
        SetFocus(list); // ends the open one, keeping its text
    if (row < 0 || row >= ListView_GetItemCount(list))
        return false;
    ListView_EnsureVisible(list, row, FALSE);
    RECT cell{};
    if (!CellRect(list, row, column, cell))
        return false;
    RECT client{};
    GetClientRect(list, &client);
    // A cell outside the visible width is scrolled into it first.
    if (cell.left < client.left || cell.left >= client.right) {
        ListView_Scroll(list, cell.left - client.left, 0);
        CellRect(list, row, column, cell);
    }
    const int left = cell.left + inset;
    const int right = std::min(cell.right, client.right);
    auto* editor = new CCellEditor(list, row, column, std::move(ended));
    editor->m_hwnd = CreateWindowExW(0, L"EDIT", CellText(list, row, column).c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_CENTER,
                                     left, cell.top + 3, std::max<LONG>(1, right - left),
                                     std::max<LONG>(1, cell.bottom - cell.top - 5), list, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (!editor->m_hwnd) {
        delete editor;
        return false;
    }
    SendMessageW(editor->m_hwnd, WM_SETFONT, SendMessageW(list, WM_GETFONT, 0, 0), TRUE);
    SetWindowSubclass(editor->m_hwnd, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(editor));
    g_openEditor = editor->m_hwnd;
    SendMessageW(editor->m_hwnd, EM_SETSEL, 0, 0);
    SetFocus(editor->m_hwnd);
    return true;
}

LRESULT CALLBACK CCellEditor::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    auto* editor = reinterpret_cast<CCellEditor*>(self);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, Subclass, kSubclassId);
        if (g_openEditor == hwnd)
            g_openEditor = nullptr;
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        delete editor;
        return result;
    }
    return editor->Handle(message, wParam, lParam);
}

LRESULT CCellEditor::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DefSubclassProc(m_hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            End(wParam == VK_ESCAPE);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == L'\x1b' || wParam == L'\n')
            return 0; // no beep for the keys that end the edit
        {
            const LRESULT result = DefSubclassProc(m_hwnd, message, wParam, lParam);
            Widen();
            return result;
        }
    case WM_KILLFOCUS:
        End(false);
        break;
    default:
        break;
    }
    return DefSubclassProc(m_hwnd, message, wParam, lParam);
}

void CCellEditor::Widen() {
    // As wide as the text plus 5 pixels, up to the list's visible right edge.
    const int length = GetWindowTextLengthW(m_hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(m_hwnd, text.data(), length + 1);
    HDC dc = GetDC(m_hwnd);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &size);
    SelectObject(dc, old);
    ReleaseDC(m_hwnd, dc);
    RECT rect{};
    GetWindowRect(m_hwnd, &rect);
    MapWindowPoints(nullptr, m_list, reinterpret_cast<POINT*>(&rect), 2);
    RECT client{};
    GetClientRect(m_list, &client);
    const int wanted = std::min<LONG>(rect.left + size.cx + 5, client.right);
    if (wanted > rect.right)
        SetWindowPos(m_hwnd, nullptr, 0, 0, wanted - rect.left, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCellEditor::End(bool discarded) {
    if (m_bEnded)
        return;
    m_bEnded = true;
    const int length = GetWindowTextLengthW(m_hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(m_hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    Ended ended = std::move(m_ended);
    const int row = m_row;
    const int column = m_column;
    HWND hwnd = m_hwnd;
    g_openEditor = nullptr;
    // Posted away: the list's owner judges the text after the editor is gone.
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    ShowWindow(hwnd, SW_HIDE);
    if (GetFocus() == hwnd)
        SetFocus(m_list);
    if (ended)
        ended(row, column, platform::win32::Narrow(text), discarded);
}
