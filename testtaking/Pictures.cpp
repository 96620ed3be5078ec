#include "testtaking/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap DrawFace(int size, qreal ratio, bool happy)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor face = happy ? QColor(0xFF, 0xD2, 0x3F) : QColor(0x8C, 0xB4, 0xE6);
    const QColor ink = happy ? QColor(0x6B, 0x45, 0x00) : QColor(0x1F, 0x3A, 0x5F);

    painter.setPen(QPen(ink, s / 16));
    painter.setBrush(face);
    painter.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));

    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QRectF(s * 0.30, s * 0.30, s * 0.11, s * 0.15));
    painter.drawEllipse(QRectF(s * 0.59, s * 0.30, s * 0.11, s * 0.15));

    QPainterPath mouth;
    if (happy) {
        mouth.moveTo(s * 0.28, s * 0.58);
        mouth.quadTo(s * 0.50, s * 0.84, s * 0.72, s * 0.58);
    } else {
        mouth.moveTo(s * 0.30, s * 0.74);
        mouth.quadTo(s * 0.50, s * 0.54, s * 0.70, s * 0.74);
    }
    painter.setPen(QPen(ink, s / 14, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mouth);
    return pixmap;
}

} // namespace

QPixmap HappyPicture(int size, qreal devicePixelRatio)
{
    return DrawFace(size, devicePixelRatio, true);
}

QPixmap SadPicture(int size, qreal devicePixelRatio)
{
    return DrawFace(size, devicePixelRatio, false);
}
