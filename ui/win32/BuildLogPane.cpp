#include "ui/win32/BuildLogPane.h"

#include "app/CommandIds.h"
#include "platform/win32/WideText.h"
#include "ui/win32/VelkoraResourceIds.h"

#include <commctrl.h>

namespace {

// A line from another thread: lParam points to its text.
constexpr UINT kAppendLine = WM_APP + 1;
constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kFrameTimer = 1;

} // namespace

bool CBuildLogPane::Create(HWND parent, int id) {
    m_thread = GetCurrentThreadId();
    m_hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                 LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
                             0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!m_hwnd)
        return false;
    ListView_SetExtendedListViewStyle(m_hwnd, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ListView_InsertColumn(m_hwnd, 0, &column);
    SetWindowSubclass(m_hwnd, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

void CBuildLogPane::Append(const std::string& line) {
    if (GetCurrentThreadId() == m_thread) {
        AppendHere(line);
        return;
    }
    // The worker waits here until the window's thread has added the line.
    SendMessageW(m_hwnd, kAppendLine, 0, reinterpret_cast<LPARAM>(&line));
}

void CBuildLogPane::AppendHere(const std::string& line) {
    HoldRepaint();
    m_lines.push_back(platform::win32::Widen(line));
    ListView_SetItemCountEx(m_hwnd, static_cast<int>(m_lines.size()),
                            LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void CBuildLogPane::HoldRepaint() {
    if (m_bHeld)
        return;
    m_bHeld = true;
    SendMessageW(m_hwnd, WM_SETREDRAW, FALSE, 0);
    SetTimer(m_hwnd, kFrameTimer, kFrameMilliseconds, nullptr);
}

void CBuildLogPane::ReleaseRepaint() {
    KillTimer(m_hwnd, kFrameTimer);
    if (!m_bHeld)
        return;
    m_bHeld = false;
    // One repaint with every line added meanwhile, the newest in view.
    SendMessageW(m_hwnd, WM_SETREDRAW, TRUE, 0);
    if (!m_lines.empty())
        ListView_EnsureVisible(m_hwnd, static_cast<int>(m_lines.size() - 1), FALSE);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void CBuildLogPane::Clear() {
    ReleaseRepaint();
    m_lines.clear();
    ListView_SetItemCountEx(m_hwnd, 0, 0);
}

bool CBuildLogPane::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != m_hwnd || header.code != LVN_GETDISPINFOW)
        return false;
    const LVITEMW& item = reinterpret_cast<const NMLVDISPINFOW&>(header).item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iItem >= 0 &&
        static_cast<size_t>(item.iItem) < m_lines.size()) {
        // Longer lines are cut at the buffer the list gives.
        lstrcpynW(item.pszText, m_lines[static_cast<size_t>(item.iItem)].c_str(), item.cchTextMax);
    }
    result = 0;
    return true;
}

LRESULT CALLBACK CBuildLogPane::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, Subclass, kSubclassId);
    return reinterpret_cast<CBuildLogPane*>(self)->Handle(message, wParam, lParam);
}

LRESULT CBuildLogPane::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kAppendLine:
        AppendHere(*reinterpret_cast<const std::string*>(lParam));
        return 0;
    case WM_TIMER:
        if (wParam != kFrameTimer)
            break;
        ReleaseRepaint();
        return 0;
    case WM_SIZE: {
        // The one column is always as wide as the pane.
        const LRESULT result = DefSubclassProc(m_hwnd, message, wParam, lParam);
        RECT client{};
        GetClientRect(m_hwnd, &client);
        ListView_SetColumnWidth(m_hwnd, 0, client.right - client.left);
        return result;
    }
    case WM_CONTEXTMENU:
        ShowContextMenu(lParam);
        return 0;
    default:
        break;
    }
    return DefSubclassProc(m_hwnd, message, wParam, lParam);
}

void CBuildLogPane::ShowContextMenu(LPARAM at) {
    POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at == -1) { // from the keyboard
        point = {5, 5};
        ClientToScreen(m_hwnd, &point);
    }
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LOG_POPUP));
    if (!menu)
        return;
    const int command = TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                       point.x, point.y, 0, m_hwnd, nullptr);
    DestroyMenu(menu);
    if (command == ID_LOG_CLEAR)
        Clear();
}
