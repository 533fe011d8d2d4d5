#include "selfkit/win32/AboutDialog.h"

#include "selfkit/win32/SelfKitResourceIds.h"

namespace {

// What the box's procedure needs while it is open.
struct AboutState {
    const std::function<void(HWND)>* followLink = nullptr;
    HFONT linkFont = nullptr; // the dialog's font, underlined
};

HFONT UnderlinedFont(HWND control) {
    LOGFONTA font{};
    const auto current = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (!current || GetObjectA(current, sizeof font, &font) == 0)
        return nullptr;
    font.lfUnderline = TRUE;
    return CreateFontIndirectA(&font);
}

bool IsOverLink(HWND box, WPARAM hovered) {
    return reinterpret_cast<HWND>(hovered) == GetDlgItem(box, IDC_ABOUT_LINK);
}

INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrA(box, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        state = reinterpret_cast<AboutState*>(lParam);
        HWND link = GetDlgItem(box, IDC_ABOUT_LINK);
        state->linkFont = UnderlinedFont(link);
        if (state->linkFont)
            SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(state->linkFont), FALSE);
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
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // IDC_HAND
        SetWindowLongPtrA(box, DWLP_MSGRESULT, TRUE);
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
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc,
                    reinterpret_cast<LPARAM>(&state));
}
