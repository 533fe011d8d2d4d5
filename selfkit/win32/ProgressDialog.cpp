#include "selfkit/win32/ProgressDialog.h"

#include "platform/win32/WideText.h"

#include "selfkit/SelfKitTexts.h"
#include "selfkit/win32/SelfKitResourceIds.h"

#include <commctrl.h>

namespace {

constexpr int kSteps = 10;

} // namespace

CProgressDialog::CProgressDialog(HINSTANCE instance, HWND owner) {
    m_hwnd = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PROGRESS), owner, Proc,
                                reinterpret_cast<LPARAM>(this));
    if (!m_hwnd)
        return; // the build still runs; only its progress is not shown
    SendDlgItemMessageW(m_hwnd, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, kSteps));
    SendDlgItemMessageW(m_hwnd, IDC_PROGRESS_BAR, PBM_SETSTEP, 1, 0);
    SendDlgItemMessageW(m_hwnd, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
    m_strPercent = selfkit_text::kProgressInitial;
    SetDlgItemTextW(m_hwnd, IDC_PROGRESS_PERCENT, platform::win32::Widen(m_strPercent).c_str());
    ShowWindow(m_hwnd, SW_SHOW);
    UpdateWindow(m_hwnd);
}

CProgressDialog::~CProgressDialog() {
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

void CProgressDialog::SetPosition(int position) {
    if (!m_hwnd)
        return;
    SendDlgItemMessageW(m_hwnd, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    const std::string percent = std::to_string(position * 100 / kSteps) + '%';
    if (percent != m_strPercent) {
        m_strPercent = percent;
        SetDlgItemTextW(m_hwnd, IDC_PROGRESS_PERCENT, platform::win32::Widen(m_strPercent).c_str());
    }
}

void CProgressDialog::Breathe(DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Kept for the message loop that owns it.
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (!m_hwnd || !IsDialogMessageW(m_hwnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
    }
}

bool CProgressDialog::TakeCancel() {
    const bool cancel = m_bCancel;
    m_bCancel = false;
    return cancel;
}

INT_PTR CALLBACK CProgressDialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<CProgressDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    // Cancel, Escape and the close box only raise the flag; the build reads it
    // after its current step.
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        self->m_bCancel = true;
        return TRUE;
    }
    return FALSE;
}
