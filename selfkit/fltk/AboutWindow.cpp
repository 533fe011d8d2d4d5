#include "selfkit/fltk/AboutWindow.h"

#include "VelkoraVersion.h"
#include "selfkit/BuildRoad.h"
#include "selfkit/SelfKitTexts.h"
#include "selfkit/fltk/PlainText.h"
#include "selfkit/fltk/ProgramIcon.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/fl_draw.H>

namespace {

// A web address drawn as a link: blue, underlined, the hand cursor over it.
class CLinkButton : public Fl_Button {
public:
    CLinkButton(int x, int y, int w, int h, const char* address) : Fl_Button(x, y, w, h) {
        copy_label(address);
        box(FL_NO_BOX);
        down_box(FL_NO_BOX);
        labelcolor(FL_BLUE);
        align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        clear_flag(SHORTCUT_LABEL);
    }

protected:
    void draw() override {
        Fl_Button::draw();
        fl_font(labelfont(), labelsize());
        const int lineY = y() + (h() + fl_height()) / 2 - fl_descent() + 1;
        fl_color(labelcolor());
        fl_line(x() + 2, lineY, x() + 2 + static_cast<int>(fl_width(label())), lineY);
    }
    int handle(int event) override {
        if (event == FL_ENTER || event == FL_LEAVE)
            window()->cursor(event == FL_ENTER ? FL_CURSOR_HAND : FL_CURSOR_DEFAULT);
        return Fl_Button::handle(event);
    }
};

} // namespace

CAboutWindow::CAboutWindow(ISelfKitView& view)
    : Fl_Double_Window(380, 170, selfkit_text::kAboutCaption), m_view(view) {
    auto* picture = new Fl_Box(14, 14, 32, 32);
    picture->image(const_cast<Fl_RGB_Image*>(ProgramIcon(32)));
    m_pText = new CPlainText(60, 14, 306, 36, selfkit_text::kAboutText);
    m_pLink = new CLinkButton(58, 54, 306, 22, selfkit_text::kVendorAddress);
    m_pLink->callback([](Fl_Widget* w, void*) {
        auto* box = static_cast<CAboutWindow*>(w->window());
        FollowAboutLink(selfkit_text::kVendorAddress, box->m_view);
    });
    new CPlainText(60, 84, 306, 36, VELKORA_COPYRIGHT "\nReleased under the MIT licence.");
    m_pOk = new Fl_Return_Button(286, 132, 80, 26, "OK");
    m_pOk->callback([](Fl_Widget* w, void*) { w->window()->hide(); });
    end();
    set_modal();
}

void CAboutWindow::Run() {
    if (Fl_Window* owner = Fl::first_window())
        position(owner->x() + (owner->w() - w()) / 2, owner->y() + (owner->h() - h()) / 2);
    show();
    m_pOk->take_focus();
    while (shown())
        Fl::wait();
}
