#pragma once

// What a widget has actually drawn, read back from its picture: tests of what the user
// sees rather than of the properties behind it.

#include <QImage>
#include <QRect>
#include <QWidget>

// The columns and rows of rect (in the widget's coordinates) that hold dark, text-like
// pixels in the widget's picture; an empty rectangle when there are none.
inline QRect InkBounds(QWidget *widget, const QRect &rect)
{
    const QImage image = widget->grab().toImage().scaled(widget->size());
    const QRect area = rect.intersected(image.rect());
    int left = area.right() + 1, right = area.left() - 1, top = area.bottom() + 1, bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 110) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

inline QRect InkBounds(QWidget *widget)
{
    return InkBounds(widget, widget->rect());
}

// The number of pixels of rect whose colour is close to the given one.
inline int PixelsNear(QWidget *widget, const QRect &rect, const QColor &colour)
{
    const QImage image = widget->grab().toImage().scaled(widget->size());
    const QRect area = rect.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = QColor::fromRgb(image.pixel(x, y));
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                    std::abs(pixel.blue() - colour.blue()) <
                40)
                ++count;
        }
    return count;
}

// The widget's rectangle in the coordinates of one of its ancestors.
inline QRect RectIn(const QWidget *widget, const QWidget *ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}
