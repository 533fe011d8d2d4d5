#include "ui/win32/ToolBarDock.h"

#include "app/AppTexts.h"
#include "app/ToolBarStrip.h"
#include "platform/win32/WideText.h"
#include "ui/win32/VelkoraResourceIds.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

constexpr wchar_t kStripClass[] = L"VelkoraToolBarStrip";
constexpr wchar_t kFloatClass[] = L"VelkoraToolBarFloat";
constexpr int kGripper = 8;   // the gripper's band at the start of the strip
constexpr int kBorder = 3;    // around the buttons
constexpr int kDragStart = 4; // pixels the pointer moves before a press is a drag

// A strip of the resources with its key colour turned into the button face,
// as an image list of 24 x 24 images; nothing when the strip is missing.
HIMAGELIST LoadStrip(HINSTANCE instance, int id) {
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap)
        return nullptr;
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits &&
        dib.dsBm.bmBitsPixel == 24 && dib.dsBm.bmWidthBytes > 0 && dib.dsBm.bmHeight > 0) {
        GdiFlush();
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const auto stride = static_cast<size_t>(dib.dsBm.bmWidthBytes);
        const auto height = static_cast<size_t>(dib.dsBm.bmHeight);
        ReplaceKeyColour({std::span(static_cast<uint8_t*>(dib.dsBm.bmBits), stride * height),
                          dib.dsBm.bmWidth, dib.dsBm.bmHeight, stride, dib.dsBmih.biHeight < 0},
                         {GetRValue(face), GetGValue(face), GetBValue(face)});
    }
    HIMAGELIST list =
        ImageList_Create(kToolBarImageSize, kToolBarImageSize, ILC_COLOR24, ToolBarImageCount(), 0);
    if (list)
        ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return list;
}

POINT CursorAt(LPARAM lParam, HWND hwnd) {
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(hwnd, &at);
    return at;
}

} // namespace

CToolBarDock::CToolBarDock(HINSTANCE instance, HWND frame) : m_instance(instance), m_frame(frame) {}

CToolBarDock::~CToolBarDock() {
    if (m_float)
        DestroyWindow(m_float);
    if (m_images)
        ImageList_Destroy(m_images);
    if (m_disabledImages)
        ImageList_Destroy(m_disabledImages);
}

bool CToolBarDock::RegisterClasses() {
    WNDCLASSEXW strip{};
    strip.cbSize = sizeof strip;
    strip.style = CS_DBLCLKS;
    strip.lpfnWndProc = Forward<&CToolBarDock::OnStrip>;
    strip.hInstance = m_instance;
    strip.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32646)); // IDC_SIZEALL
    strip.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    strip.lpszClassName = kStripClass;
    WNDCLASSEXW floating = strip;
    floating.lpfnWndProc = Forward<&CToolBarDock::OnFloat>;
    floating.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    floating.lpszClassName = kFloatClass;
    const auto registered = [](const WNDCLASSEXW& c) {
        return RegisterClassExW(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    };
    return registered(strip) && registered(floating);
}

bool CToolBarDock::Create() {
    if (!RegisterClasses())
        return false;
    m_strip = CreateWindowExW(0, kStripClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                              0, 0, 0, m_frame, nullptr, m_instance, this);
    const std::wstring caption = platform::win32::Widen(apptext::kToolBarName);
    m_float = CreateWindowExW(WS_EX_TOOLWINDOW, kFloatClass, caption.c_str(),
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 0, 0,
                              m_frame, nullptr, m_instance, this);
    if (!m_strip || !m_float)
        return false;
    m_toolBar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                    CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                                0, 0, 0, 0, m_strip, nullptr, m_instance, nullptr);
    if (!m_toolBar)
        return false;
    // The frame answers the buttons wherever the bar sits.
    SendMessageW(m_toolBar, TB_SETPARENT, reinterpret_cast<WPARAM>(m_frame), 0);
    CreateButtons();
    DockOn(DockSide::Top);
    return true;
}

void CToolBarDock::CreateButtons() {
    SendMessageW(m_toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(m_toolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kToolBarImageSize, kToolBarImageSize));
    m_images = LoadStrip(m_instance, IDB_TOOLBAR);
    m_disabledImages = LoadStrip(m_instance, IDB_TOOLBAR_DISABLED);
    // The hot images are the normal ones.
    SendMessageW(m_toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));
    SendMessageW(m_toolBar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));
    SendMessageW(m_toolBar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(m_disabledImages));
    std::vector<TBBUTTON> buttons;
    for (const int command : apptext::kToolBarButtons) {
        TBBUTTON button{};
        button.iBitmap = command ? ToolBarImageIndex(command) : 0;
        button.idCommand = command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = command ? BTNS_BUTTON : BTNS_SEP;
        buttons.push_back(button);
    }
    SendMessageW(m_toolBar, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
}

void CToolBarDock::SetVertical(bool vertical) {
    // An upright bar is one button a row: every button ends its row.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_toolBar, GWL_STYLE));
    SetWindowLongPtrW(m_toolBar, GWL_STYLE,
                      static_cast<LONG_PTR>(vertical ? style | CCS_VERT : style & ~CCS_VERT));
    const auto count = static_cast<int>(SendMessageW(m_toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageW(m_toolBar, TB_GETBUTTON, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&button));
        BYTE state = button.fsState;
        state = vertical ? state | TBSTATE_WRAP : state & ~TBSTATE_WRAP;
        if (button.fsStyle & BTNS_SEP) {
            // A separator has no command to name it by: it is put back with its state.
            SendMessageW(m_toolBar, TB_DELETEBUTTON, static_cast<WPARAM>(i), 0);
            button.fsState = state;
            SendMessageW(m_toolBar, TB_INSERTBUTTONW, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&button));
        } else {
            SendMessageW(m_toolBar, TB_SETSTATE, static_cast<WPARAM>(button.idCommand),
                         MAKELPARAM(state, 0));
        }
    }
}

SIZE CToolBarDock::ButtonsExtent() const {
    const auto count = static_cast<int>(SendMessageW(m_toolBar, TB_BUTTONCOUNT, 0, 0));
    SIZE extent{0, 0};
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (SendMessageW(m_toolBar, TB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item))) {
            extent.cx = std::max(extent.cx, item.right);
            extent.cy = std::max(extent.cy, item.bottom);
        }
    }
    return extent;
}

int CToolBarDock::Thickness() const {
    if (!m_bShown || m_side == DockSide::Floating)
        return 0;
    const SIZE extent = ButtonsExtent();
    return (IsVerticalDock(m_side) ? extent.cx : extent.cy) + 2 * kBorder;
}

void CToolBarDock::Place(const ScreenRect& bar) {
    if (m_side == DockSide::Floating)
        return;
    MoveWindow(m_strip, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, TRUE);
    const SIZE extent = ButtonsExtent();
    if (IsVerticalDock(m_side))
        MoveWindow(m_toolBar, kBorder, kGripper, extent.cx, extent.cy, TRUE);
    else
        MoveWindow(m_toolBar, kGripper, kBorder, extent.cx, extent.cy, TRUE);
    InvalidateRect(m_strip, nullptr, TRUE);
}

void CToolBarDock::DockOn(DockSide side) {
    if (side == DockSide::Floating)
        return;
    m_side = side;
    m_lastDocked = side;
    SetParent(m_toolBar, m_strip);
    SetVertical(IsVerticalDock(side));
    ShowHosts();
    if (moved)
        moved();
}

void CToolBarDock::Float(POINT at) {
    m_side = DockSide::Floating;
    SetParent(m_toolBar, m_float);
    SetVertical(false);
    const SIZE extent = ButtonsExtent();
    RECT frame{0, 0, kGripper + extent.cx + kBorder, extent.cy + 2 * kBorder};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(m_float, GWL_STYLE)), FALSE,
                       WS_EX_TOOLWINDOW);
    MoveWindow(m_toolBar, kGripper, kBorder, extent.cx, extent.cy, TRUE);
    SetWindowPos(m_float, nullptr, at.x, at.y, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowHosts();
    if (moved)
        moved();
}

void CToolBarDock::Show(bool shown) {
    m_bShown = shown;
    ShowHosts();
    if (moved)
        moved();
}

void CToolBarDock::ShowHosts() {
    const bool floating = m_side == DockSide::Floating;
    ShowWindow(m_strip, m_bShown && !floating ? SW_SHOWNA : SW_HIDE);
    ShowWindow(m_float, m_bShown && floating ? SW_SHOWNA : SW_HIDE);
}

RECT CToolBarDock::GripperRect(HWND host) const {
    RECT client{};
    GetClientRect(host, &client);
    if (IsVerticalDock(m_side))
        client.bottom = std::min<LONG>(client.bottom, kGripper);
    else
        client.right = std::min<LONG>(client.right, kGripper);
    return client;
}

void CToolBarDock::PaintGripper(HWND host) const {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(host, &paint);
    // A raised ridge along the band, a little inside the strip's ends.
    RECT ridge = GripperRect(host);
    if (IsVerticalDock(m_side)) {
        InflateRect(&ridge, -kBorder - 1, 0);
        ridge.top += 2;
        ridge.bottom = ridge.top + 3;
    } else {
        InflateRect(&ridge, 0, -kBorder - 1);
        ridge.left += 2;
        ridge.right = ridge.left + 3;
    }
    DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
    EndPaint(host, &paint);
}

DockSide CToolBarDock::SideForScreenPoint(POINT at) const {
    RECT client{};
    GetClientRect(m_frame, &client);
    POINT topLeft{client.left, client.top};
    POINT bottomRight{client.right, client.bottom};
    ClientToScreen(m_frame, &topLeft);
    ClientToScreen(m_frame, &bottomRight);
    return DockSideForDrop({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}, {at.x, at.y});
}

void CToolBarDock::OnGripperDrop(POINT at) {
    const DockSide side = SideForScreenPoint(at);
    if (side == DockSide::Floating)
        Float(at);
    else if (side != m_side)
        DockOn(side);
}

bool CToolBarDock::OnGripperMouse(HWND host, UINT message, LPARAM lParam) {
    // Pressed on the band (the buttons take their own presses), moved a few
    // pixels and let go: the bar goes where it was let go.
    switch (message) {
    case WM_LBUTTONDOWN:
        m_bDragging = true;
        m_bMoved = false;
        m_dragStart = CursorAt(lParam, host);
        SetCapture(host);
        return true;
    case WM_MOUSEMOVE:
        if (m_bDragging) {
            const POINT at = CursorAt(lParam, host);
            m_bMoved = m_bMoved || std::abs(at.x - m_dragStart.x) >= kDragStart ||
                       std::abs(at.y - m_dragStart.y) >= kDragStart;
        }
        return true;
    case WM_LBUTTONUP:
        if (m_bDragging) {
            m_bDragging = false;
            ReleaseCapture();
            if (m_bMoved)
                OnGripperDrop(CursorAt(lParam, host));
        }
        return true;
    case WM_CAPTURECHANGED:
        m_bDragging = false;
        return true;
    default:
        return false;
    }
}

template <LRESULT (CToolBarDock::*Handler)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK CToolBarDock::Forward(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<CToolBarDock*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? (self->*Handler)(hwnd, message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CToolBarDock::OnStrip(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnGripperMouse(hwnd, message, lParam))
        return 0;
    switch (message) {
    case WM_PAINT:
        PaintGripper(hwnd);
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(m_frame, message, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// The floating window's own messages; the gripper, painting and the
// buttons' messages are answered as in the strip.
LRESULT CToolBarDock::OnFloat(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCAPTION) {
            DockOn(m_lastDocked);
            return 0;
        }
        break;
    case WM_EXITSIZEMOVE: {
        // Let go near an edge of the frame: it docks there.
        POINT at{};
        GetCursorPos(&at);
        const DockSide side = SideForScreenPoint(at);
        if (side != DockSide::Floating)
            DockOn(side);
        else
            SetActiveWindow(m_frame); // the frame's keys work again after a move
        return 0;
    }
    case WM_MOUSEACTIVATE:
        // A button click leaves the frame active, so its keys and the list's
        // focus stay where they were; the caption still activates for a move.
        if (LOWORD(lParam) == HTCLIENT)
            return MA_NOACTIVATE;
        break;
    case WM_CLOSE:
        Show(false);
        return 0;
    case WM_NCDESTROY:
        // Gone with the frame that owns it.
        m_float = nullptr;
        break;
    default:
        break;
    }
    return OnStrip(hwnd, message, wParam, lParam);
}
