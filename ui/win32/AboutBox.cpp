#include "ui/win32/AboutBox.h"

#include "VelkoraVersion.h"
#include "platform/win32/WideText.h"
#include "ui/win32/VelkoraResourceIds.h"
#include "ui/win32/WindowTexts.h"

namespace {

INT_PTR CALLBACK AboutProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextW(hwnd, IDC_ABOUT_TEXT,
                        platform::win32::Widen(windowtexts::AboutText(VELKORA_VERSION)).c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, AboutProc, 0);
}
