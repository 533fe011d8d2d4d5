#include "ui/LinkFieldWidth.h"

#include "model/RegistrationServices.h"

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace {

QString Sample(const RegistrationService& s) {
    const QString value = QStringLiteral("0123456789");
    auto text = [](std::string_view v) { return QString::fromUtf8(v.data(), qsizetype(v.size())); };
    return text(s.endpoint) + QLatin1Char('?') + text(s.affiliateKey) + QLatin1Char('=') + value +
           QLatin1Char('&') + text(s.productKey) + QLatin1Char('=') + value;
}

} // namespace

int LinkFieldWidth(const QWidget& widget) {
    constexpr int kMargins = 16; // frame and text margins of a line edit or cell
    const QFontMetrics metrics(widget.font());
    int widest = 0;
    for (const RegistrationService& s : ServiceTable())
        widest = qMax(widest, metrics.horizontalAdvance(Sample(s)));
    return widest + kMargins;
}
