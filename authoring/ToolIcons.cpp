#include "authoring/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace Corvella {

namespace {

const QColor Ink(0x3E, 0x48, 0x55);
const QColor Paper(0xFD, 0xFD, 0xFB);
const QColor Blue(0x2F, 0x6D, 0xB5);
const QColor Green(0x2E, 0x9D, 0x4A);
const QColor Red(0xC8, 0x3A, 0x3A);
const QColor Gold(0xE8, 0xB8, 0x4A);
const QColor Line(0x9A, 0xA5, 0xB3);

void Outline(QPainter &p, qreal width = 1.2)
{
    p.setPen(QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// A sheet of paper with a folded corner inside rect.
void Sheet(QPainter &p, const QRectF &r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    Outline(p);
    p.setBrush(Paper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

void TextLines(QPainter &p, qreal left, qreal top, qreal width, int count, qreal step = 3.5)
{
    p.setPen(QPen(Line, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * step), QPointF(left + (i % 2 ? width * 0.7 : width), top + i * step));
}

void Field(QPainter &p, const QRectF &r)
{
    Outline(p);
    p.setBrush(Paper);
    p.drawRoundedRect(r, 1.5, 1.5);
}

void Paint(QPainter &p, TToolIcon which)
{
    switch (which) {
    case TToolIcon::Clear: {
        Sheet(p, QRectF(4.5, 2.5, 14, 18));
        p.setPen(QPen(Red, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 13), QPointF(20.5, 20.5));
        p.drawLine(QPointF(20.5, 13), QPointF(13, 20.5));
        break;
    }
    case TToolIcon::Open: {
        Outline(p);
        p.setBrush(Gold.darker(115));
        QPainterPath back;
        back.moveTo(2.5, 6);
        back.lineTo(9, 6);
        back.lineTo(11, 8);
        back.lineTo(19.5, 8);
        back.lineTo(19.5, 19.5);
        back.lineTo(2.5, 19.5);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(Gold);
        QPainterPath front;
        front.moveTo(5, 11);
        front.lineTo(22, 11);
        front.lineTo(19.5, 19.5);
        front.lineTo(2.5, 19.5);
        front.closeSubpath();
        p.drawPath(front);
        break;
    }
    case TToolIcon::Save: {
        Outline(p);
        p.setBrush(Blue);
        QPainterPath disk;
        disk.moveTo(3.5, 3.5);
        disk.lineTo(17.5, 3.5);
        disk.lineTo(20.5, 6.5);
        disk.lineTo(20.5, 20.5);
        disk.lineTo(3.5, 20.5);
        disk.closeSubpath();
        p.drawPath(disk);
        p.setBrush(Paper);
        p.drawRect(QRectF(7, 3.5, 9, 6));
        p.drawRect(QRectF(6.5, 13, 11, 7.5));
        p.setBrush(Ink);
        p.drawRect(QRectF(12.5, 4.5, 2, 4));
        break;
    }
    case TToolIcon::MaskEdit: {
        Field(p, QRectF(2.5, 7.5, 19, 9));
        p.setPen(QPen(Ink, 1.3));
        QFont font = p.font();
        font.setPixelSize(8);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(4, 7.5, 12, 9), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ab"));
        p.setPen(QPen(Blue, 1.4));
        p.drawLine(QPointF(16, 9.5), QPointF(16, 14.5));
        break;
    }
    case TToolIcon::Combo: {
        Field(p, QRectF(2.5, 7.5, 19, 9));
        p.setPen(QPen(Line, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 12), QPointF(12, 12));
        Outline(p);
        p.setBrush(QColor(0xDD, 0xE3, 0xEA));
        p.drawRect(QRectF(15, 7.5, 6.5, 9));
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        QPainterPath arrow;
        arrow.moveTo(16.3, 10.8);
        arrow.lineTo(20.2, 10.8);
        arrow.lineTo(18.25, 13.3);
        arrow.closeSubpath();
        p.drawPath(arrow);
        break;
    }
    case TToolIcon::RadioGroup: {
        for (int i = 0; i < 3; ++i) {
            const qreal y = 5 + i * 7;
            Outline(p);
            p.setBrush(Paper);
            p.drawEllipse(QPointF(6, y), 3, 3);
            if (i == 1) {
                p.setPen(Qt::NoPen);
                p.setBrush(Blue);
                p.drawEllipse(QPointF(6, y), 1.6, 1.6);
            }
            p.setPen(QPen(Line, 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(11.5, y), QPointF(i == 2 ? 17 : 20.5, y));
        }
        break;
    }
    case TToolIcon::List: {
        Field(p, QRectF(2.5, 2.5, 19, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawRect(QRectF(3.5, 9.5, 17, 4.5));
        p.setPen(QPen(Line, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.5, 6.5), QPointF(16, 6.5));
        p.drawLine(QPointF(5.5, 17.5), QPointF(14, 17.5));
        p.setPen(QPen(Paper, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.5, 11.75), QPointF(17, 11.75));
        break;
    }
    case TToolIcon::Memo: {
        Field(p, QRectF(2.5, 2.5, 19, 19));
        TextLines(p, 5, 6.5, 10, 4, 3.6);
        Outline(p, 1);
        p.setBrush(QColor(0xDD, 0xE3, 0xEA));
        p.drawRect(QRectF(17.5, 2.5, 4, 19));
        p.setBrush(Ink);
        p.drawRect(QRectF(18.5, 5, 2, 5));
        break;
    }
    case TToolIcon::DateTime: {
        Outline(p);
        p.setBrush(Paper);
        p.drawRoundedRect(QRectF(3.5, 4.5, 17, 16), 1.5, 1.5);
        p.setBrush(Red);
        p.drawRect(QRectF(3.5, 4.5, 17, 4.5));
        p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 2.5), QPointF(8, 6));
        p.drawLine(QPointF(16, 2.5), QPointF(16, 6));
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col) {
                p.setBrush(row == 1 && col == 2 ? Blue : Line);
                p.drawRect(QRectF(5.5 + col * 3.6, 10.8 + row * 3.2, 2.2, 2));
            }
        break;
    }
    case TToolIcon::Wizard: {
        p.setPen(QPen(Ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 20), QPointF(14, 10));
        p.setPen(QPen(Paper, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12.2, 11.8), QPointF(13.4, 10.6));
        QPainterPath star;
        const QPointF centre(17, 7);
        for (int i = 0; i < 10; ++i) {
            const qreal radius = i % 2 ? 2.3 : 5.5;
            const qreal angle = -M_PI / 2 + i * M_PI / 5;
            const QPointF point(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
            if (i == 0)
                star.moveTo(point);
            else
                star.lineTo(point);
        }
        star.closeSubpath();
        p.setPen(QPen(Gold.darker(140), 1));
        p.setBrush(Gold);
        p.drawPath(star);
        break;
    }
    case TToolIcon::Tests: {
        Sheet(p, QRectF(3.5, 2.5, 14, 19));
        TextLines(p, 6, 8, 7, 4);
        p.setPen(QPen(Green, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 13), QPointF(18, 21));
        p.drawLine(QPointF(14, 17), QPointF(22, 17));
        break;
    }
    case TToolIcon::Join: {
        Sheet(p, QRectF(8.5, 2.5, 13, 19));
        TextLines(p, 11, 8, 7, 4);
        p.setPen(QPen(Blue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(2, 14), QPointF(11, 14));
        p.drawLine(QPointF(8, 11), QPointF(11, 14));
        p.drawLine(QPointF(8, 17), QPointF(11, 14));
        break;
    }
    case TToolIcon::PrintPreview: {
        Sheet(p, QRectF(3.5, 2.5, 14, 18));
        TextLines(p, 6, 8, 7, 3);
        Outline(p, 1.6);
        p.setBrush(QColor(0xD6, 0xE6, 0xF5, 220));
        p.drawEllipse(QPointF(14, 14), 4.2, 4.2);
        p.setPen(QPen(Ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17.2, 17.2), QPointF(21, 21));
        break;
    }
    case TToolIcon::Print: {
        Outline(p);
        p.setBrush(Paper);
        p.drawRect(QRectF(6.5, 2.5, 11, 7));
        p.setBrush(QColor(0xB8, 0xC2, 0xCE));
        p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 1.5, 1.5);
        p.setBrush(Paper);
        p.drawRect(QRectF(6.5, 14.5, 11, 7));
        TextLines(p, 8.5, 17, 7, 2, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Green);
        p.drawEllipse(QPointF(18.5, 11), 1, 1);
        break;
    }
    case TToolIcon::BeginTesting: {
        Sheet(p, QRectF(3.5, 2.5, 13, 18));
        TextLines(p, 6, 8, 6, 3);
        Outline(p);
        p.setBrush(Green);
        p.drawEllipse(QPointF(16.5, 16.5), 5.5, 5.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Paper);
        QPainterPath play;
        play.moveTo(15, 13.7);
        play.lineTo(19.4, 16.5);
        play.lineTo(15, 19.3);
        play.closeSubpath();
        p.drawPath(play);
        break;
    }
    }
}

// The pictures are drawn on a 24-pixel grid and scaled to the size asked for.
QPixmap Render(TToolIcon which, int size, qreal ratio)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / 24.0, size / 24.0);
    Paint(painter, which);
    return pixmap;
}

} // namespace

QIcon ToolIcon(TToolIcon which)
{
    QIcon icon;
    for (int size : {ToolIconSize, 24})
        for (qreal ratio : {1.0, 2.0})
            icon.addPixmap(Render(which, size, ratio));
    return icon;
}

} // namespace Corvella
