#include "ui/ContextHelp.h"

#include "app/ContextHelp.h"
#include "ui/StringTable.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

const char* const kHelpWindowProperty = "velkoraContextHelp";

QPointer<CContextHelpPopup>& CurrentPopup() {
    static QPointer<CContextHelpPopup> popup;
    return popup;
}

bool HasContextHelp(const QWidget* w) {
    const QWidget* window = w ? w->window() : nullptr;
    return window && window->property(kHelpWindowProperty).toBool();
}

// One filter on the application serves every window with context help, so
// that controls created after installation are covered too.
class CContextHelpFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Every event of the application passes here: the cheap test first.
        const QEvent::Type type = event->type();
        if (type != QEvent::QueryWhatsThis && type != QEvent::WhatsThis && type != QEvent::KeyPress)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || !HasContextHelp(w))
            return false;
        switch (event->type()) {
        case QEvent::QueryWhatsThis:
            // Lets What's This mode show its cursor over every control.
            event->accept();
            return true;
        case QEvent::WhatsThis: {
            auto* help = static_cast<QHelpEvent*>(event);
            ShowContextHelp(ControlIdOf(w), help->globalPos(), w);
            event->accept();
            // One request per click, as the caption's "?" promises. Left later:
            // the mode's own filter is still on the stack here.
            if (QWhatsThis::inWhatsThisMode())
                QMetaObject::invokeMethod(
                    qApp, [] { QWhatsThis::leaveWhatsThisMode(); }, Qt::QueuedConnection);
            return true;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::ShiftModifier)
                return false;
            ShowContextHelp(ControlIdOf(w), w->mapToGlobal(w->rect().center()), w);
            return true;
        }
        default:
            return false;
        }
    }
};

} // namespace

QString ContextHelpText(int controlId) {
    return AppText(contexthelp::HelpText(controlId));
}

int ControlIdOf(const QWidget* w) {
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        bool ok = false;
        const int id = w->objectName().toInt(&ok);
        if (ok && id > 0)
            return id;
    }
    return 0;
}

CContextHelpPopup::CContextHelpPopup(const QString& text, QWidget* parent)
    : QFrame(parent, Qt::Popup) {
    setObjectName(QStringLiteral("contextHelpPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    QPalette pal = QApplication::palette();
    const RgbColour back = contexthelp::kPopupBackground;
    pal.setColor(QPalette::Window, QColor(back.red, back.green, back.blue));
    setPalette(pal);
    setAutoFillBackground(true);
    m_pLabel = new QLabel(text, this);
    m_pLabel->setTextFormat(Qt::PlainText);
    m_pLabel->setFont(QApplication::font());
    // The margins live in a layout: a frame keeps its own contents margins
    // for its border and resets them whenever the style changes.
    auto* layout = new QVBoxLayout(this);
    const contexthelp::Margins m = contexthelp::kPopupMargins;
    layout->setContentsMargins(m.left, m.top, m.right, m.bottom);
    layout->addWidget(m_pLabel);
}

QString CContextHelpPopup::text() const {
    return m_pLabel->text();
}

CContextHelpPopup* ShowContextHelp(int controlId, const QPoint& globalPos, QWidget* parent) {
    if (CurrentPopup())
        CurrentPopup()->close();
    const QString text = ContextHelpText(controlId);
    if (text.isEmpty())
        return nullptr;
    auto* popup = new CContextHelpPopup(text, parent);
    popup->adjustSize();
    QPoint at = globalPos;
    if (const QScreen* screen = QApplication::screenAt(globalPos)) {
        // Keep the whole pop-up on the screen of the request.
        const QRect area = screen->availableGeometry();
        const ScreenPoint placed = contexthelp::PlacePopup(
            {at.x(), at.y()}, {popup->width(), popup->height()},
            {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
        at = QPoint(placed.x, placed.y);
    }
    popup->move(at);
    popup->show();
    CurrentPopup() = popup;
    return popup;
}

CContextHelpPopup* CurrentContextHelpPopup() {
    return CurrentPopup().data();
}

void InstallContextHelp(QWidget* window) {
    static CContextHelpFilter* filter = [] {
        auto* f = new CContextHelpFilter(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    Q_UNUSED(filter);
    window->setProperty(kHelpWindowProperty, true);
    window->setWindowFlag(Qt::WindowContextHelpButtonHint, true);
}
