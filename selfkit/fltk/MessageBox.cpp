#include "selfkit/fltk/MessageBox.h"

#include "selfkit/fltk/PlainText.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>

#include <algorithm>

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 48;
constexpr int kButtonW = 80;
constexpr int kButtonH = 26;
constexpr int kTextMaxW = 420;

void StyleIcon(Fl_Box* box, CMessageBox::Icon icon) {
    box->box(FL_ROUND_UP_BOX);
    box->labelfont(FL_TIMES_BOLD);
    box->labelsize(34);
    switch (icon) {
    case CMessageBox::Icon::Information:
        box->label("i");
        box->color(FL_WHITE);
        box->labelcolor(FL_BLUE);
        break;
    case CMessageBox::Icon::Warning:
        box->label("!");
        box->color(FL_YELLOW);
        box->labelcolor(FL_BLACK);
        break;
    case CMessageBox::Icon::Question:
        box->label("?");
        box->color(FL_WHITE);
        box->labelcolor(FL_DARK_BLUE);
        break;
    }
}

} // namespace

CMessageBox::Icon CMessageBox::IconOf(MessageKind kind) {
    return kind == MessageKind::Information ? Icon::Information : Icon::Warning;
}

CMessageBox::CMessageBox(Icon icon, const std::string& text)
    : Fl_Double_Window(100, 100, "selfkit"), m_icon(icon) {
    int textW = 0;
    int textH = 0;
    CPlainText::Measure(text, kTextMaxW, textW, textH);
    textW = std::max(textW, 160);
    textH = std::max(textH, kIconSize);
    const int width = kMargin * 3 + kIconSize + textW;
    const int buttonsY = kMargin * 2 + textH;
    const int height = buttonsY + kButtonH + kMargin;
    size(width, height);

    m_pIcon = new Fl_Box(kMargin, kMargin, kIconSize, kIconSize);
    StyleIcon(m_pIcon, icon);
    m_pText = new CPlainText(kMargin * 2 + kIconSize, kMargin, textW, textH, text);

    const bool question = icon == Icon::Question;
    int x = width - kMargin - kButtonW;
    if (question) {
        m_pReject = new Fl_Button(x, buttonsY, kButtonW, kButtonH, "&No");
        m_pReject->callback(OnAnswer, nullptr);
        x -= kMargin / 2 + kButtonW;
    }
    m_pAccept = new Fl_Return_Button(x, buttonsY, kButtonW, kButtonH, question ? "&Yes" : "OK");
    m_pAccept->callback(OnAnswer, this);
    end();
    // Closing the box counts as OK, or as No for a question.
    callback([](Fl_Widget* w, void*) { w->hide(); });
    set_modal();
}

const std::string& CMessageBox::Text() const {
    return m_pText->Text();
}

void CMessageBox::OnAnswer(Fl_Widget* button, void* data) {
    auto* box = static_cast<CMessageBox*>(button->window());
    box->m_bAccepted = data != nullptr;
    box->hide();
}

bool CMessageBox::Run() {
    m_bAccepted = m_icon != Icon::Question;
    // Centred over the window the box belongs to, or on the screen.
    if (Fl_Window* owner = Fl::modal() ? Fl::modal() : Fl::first_window())
        position(owner->x() + (owner->w() - w()) / 2, owner->y() + (owner->h() - h()) / 2);
    show();
    m_pAccept->take_focus();
    while (shown())
        Fl::wait();
    return m_bAccepted;
}
