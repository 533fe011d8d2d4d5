#pragma once

#include <QLabel>
#include <QPoint>
#include <QString>

// Context help of dialog controls (the rule and the look: app/ContextHelp.h).
// A control's identifier is its object name (a number, e.g. "1023"). A
// request on a control (Shift+F1 on the focused control, or a click in What's
// This mode, entered through the caption's "?") shows the control's help text
// in the pop-up at the point of the request; a control without a text shows
// nothing.

// The help text of a control identifier; empty when it has none.
QString ContextHelpText(int controlId);

// The identifier of w or of its nearest ancestor inside its window that has
// one (the window itself excluded); 0 when there is none.
int ControlIdOf(const QWidget* w);

// The pop-up that shows one help text in the core's colours and margins, with
// the default text colour and font. It closes on the next click or key press.
class CContextHelpPopup : public QFrame {
    Q_OBJECT
public:
    explicit CContextHelpPopup(const QString& text, QWidget* parent = nullptr);
    QString text() const;

private:
    QLabel* m_pLabel;
};

// Shows the help of controlId at globalPos. Returns the pop-up, or nullptr
// when the identifier has no text. At most one pop-up is open at a time.
CContextHelpPopup* ShowContextHelp(int controlId, const QPoint& globalPos,
                                   QWidget* parent = nullptr);

// The pop-up currently open, or nullptr.
CContextHelpPopup* CurrentContextHelpPopup();

// Gives window the caption's "?" button and answers context-help requests on
// all its controls, also those created later.
void InstallContextHelp(QWidget* window);
