#include "ui/WizardBitmaps.h"

#include "ui/StringTable.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// A stylised package: a box with a ribbon and a link ring, the emblem of an
// affiliate's custom setup.
void DrawEmblem(QPainter& p, const QRectF& box) {
    const qreal w = box.width();
    QPainterPath body;
    body.addRoundedRect(box, w * 0.08, w * 0.08);
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, QColor(250, 214, 120));
    fill.setColorAt(1, QColor(214, 150, 52));
    p.fillPath(body, fill);
    p.setPen(QPen(QColor(120, 78, 20), qMax<qreal>(1.0, w * 0.03)));
    p.drawPath(body);
    // Ribbon.
    p.fillRect(QRectF(box.center().x() - w * 0.07, box.top(), w * 0.14, box.height()),
               QColor(176, 40, 48));
    p.fillRect(QRectF(box.left(), box.center().y() - w * 0.07, w, w * 0.14), QColor(176, 40, 48));
    // Link ring over the corner.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 90, 170), qMax<qreal>(1.5, w * 0.07)));
    const qreal r = w * 0.22;
    p.drawEllipse(QPointF(box.right() - r * 0.4, box.top() + r * 0.4), r, r * 0.7);
}

} // namespace

QPixmap WizardWatermarkPixmap() {
    // Taller than the page area so that no blank strip shows below it.
    QPixmap pixmap(164, 420);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, pixmap.height());
    sky.setColorAt(0, QColor(28, 58, 120));
    sky.setColorAt(1, QColor(74, 140, 210));
    p.fillRect(pixmap.rect(), sky);
    // Faint diagonal lines: a purchase link travelling down the page.
    p.setPen(QPen(QColor(255, 255, 255, 40), 2));
    for (int y = -160; y < pixmap.height(); y += 22)
        p.drawLine(0, y, pixmap.width(), y + 160);
    DrawEmblem(p, QRectF(37, 190, 90, 90));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(22);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 40, pixmap.width(), 40), Qt::AlignCenter, AppText(apptext::kAppTitle));
    return pixmap;
}

QPixmap WizardHeaderPixmap() {
    QPixmap pixmap(49, 49);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawEmblem(p, QRectF(6, 8, 36, 36));
    return pixmap;
}
