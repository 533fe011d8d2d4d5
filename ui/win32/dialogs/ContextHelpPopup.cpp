#include "ui/win32/dialogs/ContextHelpPopup.h"

#include "app/ContextHelp.h"
#include "platform/win32/WideText.h"
#include "ui/win32/dialogs/DialogControls.h"

#include <memory>

namespace dialogs {

namespace {

constexpr wchar_t kClassName[] = L"VelkoraContextHelp";
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
// Breaks lines only where the text does, as the label of the other front end.
constexpr UINT kTextFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_EXPANDTABS;

HWND g_open = nullptr;

// The font and the margins of one pop-up, in its device's pixels; the
// pop-up owns it from its creation on.
struct PopupLook {
    PopupLook() = default;
    PopupLook(const PopupLook&) = delete;
    PopupLook& operator=(const PopupLook&) = delete;
    ~PopupLook() {
        if (font)
            DeleteObject(font);
    }

    HFONT font = nullptr;
    RECT margins{};
};

PopupLook* LookOf(HWND popup) {
    return reinterpret_cast<PopupLook*>(GetWindowLongPtrW(popup, GWLP_USERDATA));
}

std::unique_ptr<PopupLook> MakeLook() {
    auto look = std::make_unique<PopupLook>();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        look->font = CreateFontIndirectW(&metrics.lfMessageFont);
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    const contexthelp::Margins m = contexthelp::kPopupMargins;
    look->margins = {MulDiv(m.left, dpi, 96), MulDiv(m.top, dpi, 96), MulDiv(m.right, dpi, 96),
                     MulDiv(m.bottom, dpi, 96)};
    return look;
}

std::wstring TextOf(HWND popup) {
    const int length = GetWindowTextLengthW(popup);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = GetWindowTextW(popup, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

// The text's own extent in the pop-up's font.
SIZE MeasureText(const std::wstring& text, HFONT font) {
    RECT box{0, 0, 0, 0};
    const HDC dc = GetDC(nullptr);
    if (dc) {
        const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kTextFormat | DT_CALCRECT);
        if (old)
            SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
    }
    return {box.right - box.left, box.bottom - box.top};
}

void Paint(HWND popup) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(popup, &paint);
    RECT area;
    GetClientRect(popup, &area);
    const RgbColour back = contexthelp::kPopupBackground;
    const HBRUSH brush = CreateSolidBrush(RGB(back.red, back.green, back.blue));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    const PopupLook* look = LookOf(popup);
    const HGDIOBJ old = look && look->font ? SelectObject(dc, look->font) : nullptr;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    if (look) {
        area.left += look->margins.left;
        area.top += look->margins.top;
        area.right -= look->margins.right;
        area.bottom -= look->margins.bottom;
    }
    const std::wstring text = TextOf(popup);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, kTextFormat);
    if (old)
        SelectObject(dc, old);
    EndPaint(popup, &paint);
}

LRESULT CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(popup);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        DestroyWindow(popup);
        return 0;
    case WM_ACTIVATE:
        // Closed once the activation has moved on, not in the middle of it.
        if (LOWORD(wParam) == WA_INACTIVE)
            PostMessageW(popup, WM_CLOSE, 0, 0);
        return 0;
    case WM_NCDESTROY:
        if (g_open == popup)
            g_open = nullptr;
        delete LookOf(popup);
        SetWindowLongPtrW(popup, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(popup, message, wParam, lParam);
}

bool RegisterPopupClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = PopupProc;
        wc.hInstance = ResourceModule();
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

// The dialog's child window that holds item (item itself, or a part of it
// such as a list's header); nullptr when item lies outside the dialog.
HWND ControlOf(HWND dialog, HWND item) {
    for (HWND w = item; w && w != dialog; w = GetAncestor(w, GA_PARENT)) {
        if (GetAncestor(w, GA_PARENT) == dialog)
            return w;
        if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD))
            return nullptr;
    }
    return nullptr;
}

POINT CentreOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

ScreenRect WorkAreaAt(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
        return {point.x, point.y, point.x + (1 << 16), point.y + (1 << 16)};
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

} // namespace

HWND AnswerContextHelp(HWND dialog, const HELPINFO& request) {
    if (request.iContextType != HELPINFO_WINDOW)
        return nullptr;
    const HWND control = ControlOf(dialog, static_cast<HWND>(request.hItemHandle));
    const int id = control ? GetDlgCtrlID(control) : 0;
    // A request from the keyboard has no point of its own: the control's centre.
    const POINT at = control && GetKeyState(VK_F1) < 0 ? CentreOf(control) : request.MousePos;
    return ShowContextHelp(dialog, std::string(contexthelp::HelpText(id)), at);
}

HWND ShowContextHelp(HWND owner, const std::string& text, POINT screenPoint) {
    if (g_open)
        DestroyWindow(g_open);
    if (text.empty() || !RegisterPopupClass())
        return nullptr;
    const std::wstring wide = platform::win32::Widen(text);
    std::unique_ptr<PopupLook> look = MakeLook();
    const SIZE extent = MeasureText(wide, look->font);
    RECT frame{0, 0, extent.cx + look->margins.left + look->margins.right,
               extent.cy + look->margins.top + look->margins.bottom};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const ScreenSize size{frame.right - frame.left, frame.bottom - frame.top};
    const ScreenPoint at =
        contexthelp::PlacePopup({screenPoint.x, screenPoint.y}, size, WorkAreaAt(screenPoint));
    const HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    const HWND popup =
        CreateWindowExW(kExStyle, kClassName, wide.c_str(), kStyle, at.x, at.y, size.width,
                        size.height, top, nullptr, ResourceModule(), nullptr);
    if (!popup)
        return nullptr;
    // Painted only once shown: the look can follow the creation.
    SetWindowLongPtrW(popup, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(look.release()));
    g_open = popup;
    ShowWindow(popup, SW_SHOW);
    SetForegroundWindow(popup);
    SetFocus(popup);
    return popup;
}

} // namespace dialogs
