#pragma once

#include "selfkit/SelfKitView.h"

#include <FL/Fl_Double_Window.H>

#include <string>

class Fl_Box;
class Fl_Button;
class CPlainText;

// The self creator's message box, captioned "selfkit": the text, an icon
// that says what kind of message it is, and OK, or Yes and No for a question.
// It is modal, so the window manager keeps it above the window it belongs to.
class CMessageBox : public Fl_Double_Window {
public:
    enum class Icon { Information, Warning, Question };

    CMessageBox(Icon icon, const std::string& text);

    // Shows box and waits until it is answered; true for OK or Yes.
    bool Run();

    Icon IconKind() const { return m_icon; }
    const std::string& Text() const;
    Fl_Button* AcceptButton() const { return m_pAccept; }
    // No for a question; null otherwise.
    Fl_Button* RejectButton() const { return m_pReject; }

    static Icon IconOf(MessageKind kind);

private:
    static void OnAnswer(Fl_Widget* button, void* data);

    Icon m_icon;
    CPlainText* m_pText;
    Fl_Box* m_pIcon;
    Fl_Button* m_pAccept = nullptr;
    Fl_Button* m_pReject = nullptr;
    bool m_bAccepted = false;
};
