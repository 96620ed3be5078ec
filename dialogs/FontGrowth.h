#pragma once

// Windows laid out by hand in pixels, as they are at the normal font (9 points at 96 dots
// an inch), grow with a larger font (a larger desktop font or more dots an inch), so
// that no caption or field is cut. At the normal font or a smaller one nothing changes.

#include <QSize>

class QWidget;

// How much taller than the normal font the widget's font is drawn; 1 at the normal size.
double FontGrowth(const QWidget *widget);

// A length or size of the normal font's layout, grown with the widget's font.
int Grown(const QWidget *widget, int length);
QSize Grown(const QWidget *widget, QSize size);

// Grows a window built at the normal font's pixels: the positions and sizes of its named
// children that no layout places (a size that is already its size hint stays), the fixed
// heights and widths of those that a layout places, and the window's own size.
void GrowWithFont(QWidget *window);
