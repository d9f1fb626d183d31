#include "app/qt/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace zav::qt {
namespace {

// The same picture as the Windows icon, in a square of 100 units.
QPixmap PaintIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 100.0, size / 100.0);
    painter.setPen(Qt::NoPen);
    const bool detailed = size >= 32;

    QLinearGradient tile(0, 0, 0, 100);
    tile.setColorAt(0, QColor(46, 110, 190));
    tile.setColorAt(1, QColor(22, 66, 140));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(3, 3, 94, 94), 16, 16);

    painter.setBrush(QColor(250, 250, 246));
    painter.drawRoundedRect(QRectF(20, 12, 50, 68), 4, 4);
    if (detailed) {
        painter.setBrush(QColor(150, 175, 210));
        for (int row = 0; row < 5; ++row) {
            painter.drawRect(QRectF(27, 24 + row * 10, 36, 3.5));
        }
    }

    // The badge with a percent sign for the reduced rate.
    const QPointF centre(68, 68);
    const double radius = detailed ? 27 : 31;
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, radius + 3, radius + 3);
    painter.setBrush(QColor(238, 124, 24));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(Qt::white, detailed ? 7 : 10, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(12, -14), centre + QPointF(-12, 14));
    for (const QPointF offset : {QPointF(-9, -9), QPointF(9, 9)}) {
        if (detailed) {
            painter.setPen(QPen(Qt::white, 4));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(centre + offset, 4.5, 4.5);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawEllipse(centre + offset, 5.5, 5.5);
        }
    }
    return pixmap;
}

}  // namespace

QIcon CreateAppIcon() {
    QIcon icon;
    for (int size : {256, 48, 32, 24, 16}) {
        icon.addPixmap(PaintIcon(size));
    }
    return icon;
}

}  // namespace zav::qt
