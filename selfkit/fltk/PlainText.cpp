#include "selfkit/fltk/PlainText.h"

#include <FL/fl_draw.H>

#include <utility>

CPlainText::CPlainText(int x, int y, int w, int h, std::string text)
    : Fl_Box(x, y, w, h), m_strText(std::move(text)) {
    align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
}

void CPlainText::SetText(std::string text) {
    m_strText = std::move(text);
    redraw();
}

void CPlainText::Measure(const std::string& text, int width, int& w, int& h) {
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    w = width;
    h = 0;
    fl_measure(text.c_str(), w, h, 0);
}

void CPlainText::draw() {
    draw_box();
    fl_font(labelfont(), labelsize());
    fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
    fl_draw(m_strText.c_str(), x(), y(), w(), h(), align(), nullptr, 0);
}
