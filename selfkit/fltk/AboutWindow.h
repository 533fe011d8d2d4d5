#pragma once

#include <FL/Fl_Double_Window.H>

class Fl_Button;
class ISelfKitView;
class CPlainText;

// The About box, "About selfkit": the icon, "Velkora Self Maker", the version,
// a link to the vendor's web page and OK. A link that cannot be opened is
// reported through view, in a warning that belongs to the box.
class CAboutWindow : public Fl_Double_Window {
public:
    explicit CAboutWindow(ISelfKitView& view);

    // Shows the box modally until OK or the close box.
    void Run();

    Fl_Button* LinkButton() const { return m_pLink; }
    Fl_Button* OkButton() const { return m_pOk; }
    const CPlainText* TextBox() const { return m_pText; }

private:
    ISelfKitView& m_view;
    CPlainText* m_pText;
    Fl_Button* m_pLink;
    Fl_Button* m_pOk;
};
