#pragma once

#include <string>
#include <windows.h>

// The "Building" dialog: a progress bar from 0 to 10, the percentage below it
// and a Cancel button. Modeless and owned by the main dialog, so the window
// manager keeps it above the main dialog, which is disabled meanwhile. The
// build runs on the same thread: Breathe() handles the pending window
// messages between its steps.
class CProgressDialog {
public:
    // Creates and shows the dialog at " 0 %".
    CProgressDialog(HINSTANCE instance, HWND owner);
    ~CProgressDialog();
    CProgressDialog(const CProgressDialog&) = delete;
    CProgressDialog& operator=(const CProgressDialog&) = delete;

    // Moves the bar to position (0..10); the percentage ("%d%%") is
    // rewritten only when its text changes.
    void SetPosition(int position);
    // Handles window messages for milliseconds (at least once).
    void Breathe(DWORD milliseconds);
    // True when Cancel was pressed since the last call.
    bool TakeCancel();

    HWND Handle() const { return m_hwnd; }

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    bool m_bCancel = false;
    std::string m_strPercent;
};
