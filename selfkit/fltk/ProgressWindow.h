#pragma once

#include <FL/Fl_Double_Window.H>

#include <string>

class Fl_Box;
class Fl_Button;
class Fl_Progress;

// The "Building" window: a bar from 0 to 10, the percentage beside it and
// Cancel, which only raises a flag that the build takes after each step.
// It is modal, so the window manager keeps it above the main dialog, which
// receives nothing while it is open.
class CProgressWindow : public Fl_Double_Window {
public:
    CProgressWindow();

    void SetPosition(int position);
    int Position() const;
    std::string PercentText() const;
    Fl_Button* CancelButton() const { return m_pCancel; }

    // True once after Cancel (or the close box) was pressed.
    bool TakeCancel();

private:
    Fl_Progress* m_pBar;
    Fl_Box* m_pPercent;
    Fl_Button* m_pCancel;
    std::string m_strPercent;
    bool m_bCancel = false;
};
