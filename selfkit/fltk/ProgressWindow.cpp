#include "selfkit/fltk/ProgressWindow.h"

#include "selfkit/SelfKitTexts.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Progress.H>

#include <cstdio>

CProgressWindow::CProgressWindow()
    : Fl_Double_Window(320, 96, selfkit_text::kProgressCaption),
      m_strPercent(selfkit_text::kProgressInitial) {
    m_pBar = new Fl_Progress(14, 16, 230, 22);
    m_pBar->minimum(0);
    m_pBar->maximum(10);
    m_pBar->value(0);
    m_pBar->selection_color(FL_DARK_BLUE);
    m_pPercent = new Fl_Box(250, 16, 56, 22);
    m_pPercent->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    m_pPercent->label(m_strPercent.c_str());
    m_pCancel = new Fl_Button(120, 56, 80, 26, selfkit_text::kCancel);
    auto cancel = [](Fl_Widget* w, void*) {
        static_cast<CProgressWindow*>(w->as_window() ? w : w->window())->m_bCancel = true;
    };
    m_pCancel->callback(cancel);
    end();
    // The close box cancels too; it never closes the window by itself.
    callback(cancel);
    set_modal();
}

void CProgressWindow::SetPosition(int position) {
    m_pBar->value(static_cast<float>(position));
    char text[16];
    std::snprintf(text, sizeof text, "%d%c", position * 100 / 10, '%');
    if (m_strPercent != text) {
        m_strPercent = text;
        m_pPercent->label(m_strPercent.c_str());
        m_pPercent->redraw();
    }
}

int CProgressWindow::Position() const {
    return static_cast<int>(m_pBar->value());
}

std::string CProgressWindow::PercentText() const {
    return m_strPercent;
}

bool CProgressWindow::TakeCancel() {
    const bool cancel = m_bCancel;
    m_bCancel = false;
    return cancel;
}
