#include "selfkit/win32/AboutDialog.h"

#include "selfkit/win32/SelfKitResourceIds.h"

namespace {

// What the box's procedure needs while it is open.
struct AboutState {
    const std::function<void(HWND)>* followLink = nullptr;
    HFONT linkFont = nullptr; // the dialog's font, underlined
};

HFONT UnderlinedFont(HWND control) {
    LOGFONTW font{};
    const auto current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!current || GetObjectW(current, sizeof font, &font) == 0)
        return nullptr;
    font.lfUnderline = TRUE;
    return CreateFontIndirectW(&font);
}

bool IsOverLink(HWND box, WPARAM hovered) {
    return reinterpret_cast<HWND>(hovered) == GetDlgItem(box, IDC_ABOUT_LINK);
}

INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrW(box, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(box, DWLP_USER, lParam);
        state = reinterpret_cast<AboutState*>(lParam);
        HWND link = GetDlgItem(box, IDC_ABOUT_LINK);
        state->linkFont = UnderlinedFont(link);
        if (state->linkFont)
            SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(state->linkFont), FALSE);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(box, IDC_ABOUT_LINK))
            return FALSE;
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 204)); // a link's blue
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
        if (!IsOverLink(box, wParam))
            return FALSE;
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // IDC_HAND
        SetWindowLongPtrW(box, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ABOUT_LINK && HIWORD(wParam) == STN_CLICKED) {
            if (state && state->followLink)
                (*state->followLink)(box);
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(box, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (state && state->linkFont) {
            DeleteObject(state->linkFont);
            state->linkFont = nullptr;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowAboutDialog(HINSTANCE instance, HWND owner,
                     const std::function<void(HWND box)>& followLink) {
    AboutState state;
    state.followLink = &followLink;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc,
                    reinterpret_cast<LPARAM>(&state));
}
