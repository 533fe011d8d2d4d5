#include "ui/ToolbarImages.h"

#include "app/AppTexts.h"
#include "app/CommandIds.h"
#include "app/ToolBarStrip.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = kToolBarImageSize;

void DrawPage(QPainter& p, const QColor& fill) {
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(14, 2);
    page.lineTo(19, 7);
    page.lineTo(19, 22);
    page.lineTo(5, 22);
    page.closeSubpath();
    p.setBrush(fill);
    p.drawPath(page);
    p.drawLine(14, 2, 14, 7);
    p.drawLine(14, 7, 19, 7);
}

void DrawFolder(QPainter& p) {
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(2, 7, 19, 13);
    p.drawRect(2, 4, 8, 3);
}

void DrawBox(QPainter& p, int x, int y, int w, const QColor& c) {
    p.setBrush(c);
    p.drawRect(x, y, w, w);
    p.drawLine(x, y + w / 3, x + w, y + w / 3);
}

void DrawPerson(QPainter& p, const QColor& c) {
    p.setBrush(c);
    p.drawEllipse(QRectF(6, 2, 8, 8));
    p.drawRoundedRect(QRectF(3, 11, 14, 10), 4, 4);
}

void DrawBadge(QPainter& p, const QColor& c, bool plus) {
    p.setBrush(c);
    p.drawEllipse(QRectF(13, 13, 10, 10));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(15, 18, 21, 18);
    if (plus)
        p.drawLine(18, 15, 18, 21);
}

void DrawImage(QPainter& p, int id) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    switch (id) {
    case ID_FILE_NEW:
        DrawPage(p, Qt::white);
        break;
    case ID_FILE_OPEN:
        DrawFolder(p);
        break;
    case ID_FILE_SAVE:
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(3, 3, 18, 18);
        p.setBrush(Qt::white);
        p.drawRect(7, 3, 10, 7);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(7, 14, 10, 7);
        break;
    case ID_DELETE_AFFILIATE:
        DrawPerson(p, QColor(150, 170, 200));
        DrawBadge(p, QColor(200, 40, 40), false);
        break;
    case ID_ADD_AFFILIATE:
        DrawPerson(p, QColor(150, 170, 200));
        DrawBadge(p, QColor(30, 150, 60), true);
        break;
    case ID_AFFILIATE_PROPERTY:
        DrawPage(p, QColor(255, 255, 230));
        for (int y = 10; y <= 18; y += 4)
            p.drawLine(8, y, 16, y);
        break;
    case ID_PRODUCT_SETTINGS:
        p.setBrush(QColor(130, 130, 150));
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(8, 8, 8, 8));
        break;
    case ID_BUILD_SELECTED:
        DrawBox(p, 4, 6, 15, QColor(200, 150, 90));
        break;
    case ID_BUILD_ALL:
        DrawBox(p, 2, 2, 11, QColor(200, 150, 90));
        DrawBox(p, 11, 11, 11, QColor(200, 150, 90));
        break;
    case ID_BUILD_SELF_CREATOR:
        DrawBox(p, 2, 8, 13, QColor(200, 150, 90));
        p.setBrush(QColor(250, 210, 40));
        p.drawPolygon(
            QPolygonF({{18, 1}, {20, 6}, {23, 7}, {20, 9}, {19, 14}, {16, 10}, {13, 9}, {16, 6}}));
        break;
    case ID_RUN_SETUP:
        p.setBrush(QColor(30, 160, 60));
        p.drawPolygon(QPolygonF({{6, 3}, {20, 12}, {6, 21}}));
        break;
    case ID_APP_ABOUT:
        p.setBrush(QColor(40, 90, 200));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        p.setPen(QPen(Qt::white, 3));
        p.drawPoint(12, 7);
        p.drawLine(12, 11, 12, 18);
        break;
    default:
        break;
    }
}

QPixmap Draw(int id, bool disabled) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    DrawImage(p, id);
    p.end();
    if (!disabled)
        return pm;
    // The disabled strip: the same drawing in pale grey.
    QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            const int grey = 160 + qGray(c.rgb()) / 4;
            img.setPixelColor(x, y, QColor(grey, grey, grey, c.alpha() / 2));
        }
    }
    return QPixmap::fromImage(img);
}

} // namespace

QIcon ToolbarIcon(int commandId) {
    QIcon icon;
    icon.addPixmap(Draw(commandId, false), QIcon::Normal);
    icon.addPixmap(Draw(commandId, true), QIcon::Disabled);
    return icon;
}

QImage ToolbarStrip(bool disabled) {
    QImage strip(kSize * ToolBarImageCount(), kSize, QImage::Format_RGB32);
    strip.fill(QColor(kToolBarKeyColour.red, kToolBarKeyColour.green, kToolBarKeyColour.blue));
    QPainter p(&strip);
    for (const int command : apptext::kToolBarButtons) {
        if (command != 0)
            p.drawPixmap(kSize * ToolBarImageIndex(command), 0, Draw(command, disabled));
    }
    return strip;
}

QIcon RowIcon() {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    DrawPerson(p, QColor(90, 140, 200));
    return QIcon(pm);
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        p.setPen(QPen(QColor(40, 40, 40), 1));
        DrawBox(p, 2, 6, 15, QColor(200, 150, 90));
        DrawBadge(p, QColor(30, 150, 60), true);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}
