// Lining up several selected controls.

#include "designer/StretchHandle.h"

#include <algorithm>

void TStretchHandle::AlignLeftSides()
{
    if (FSelected.size() < 2)
        return;
    const QList<QWidget *> controls = FSelected;
    const int left = controls.first()->x();
    for (QWidget *control : controls)
        SetControlBounds(control, QRect(QPoint(left, control->y()), control->size()));
    Reattach(controls);
}

void TStretchHandle::AlignTops()
{
    if (FSelected.size() < 2)
        return;
    const QList<QWidget *> controls = FSelected;
    const int top = controls.first()->y();
    for (QWidget *control : controls)
        SetControlBounds(control, QRect(QPoint(control->x(), top), control->size()));
    Reattach(controls);
}

void TStretchHandle::SpaceEqually(bool vertical)
{
    if (FSelected.size() < 2)
        return;
    const QList<QWidget *> controls = FSelected;
    const auto coord = [vertical](const QWidget *w) { return vertical ? w->y() : w->x(); };
    QList<QWidget *> ordered;
    for (QWidget *control : controls) {
        qsizetype at = 0;
        while (at < ordered.size() && coord(ordered.at(at)) < coord(control))
            ++at;
        ordered.insert(at, control);
    }
    int lo = 1000, hi = -1000;
    for (const QWidget *control : controls) {
        lo = std::min(lo, coord(control));
        hi = std::max(hi, coord(control));
    }
    const int step = RoundHalfEven(static_cast<double>(hi - lo) / (ordered.size() - 1));
    int value = lo;
    for (QWidget *control : std::as_const(ordered)) {
        const QPoint to = vertical ? QPoint(control->x(), value) : QPoint(value, control->y());
        SetControlBounds(control, QRect(to, control->size()));
        value += step;
    }
    Reattach(controls);
}

void TStretchHandle::SpaceEquallyHorizontally()
{
    SpaceEqually(false);
}

void TStretchHandle::SpaceEquallyVertically()
{
    SpaceEqually(true);
}

void TStretchHandle::Center(bool vertical)
{
    if (FSelected.isEmpty())
        return;
    const QList<QWidget *> controls = FSelected;
    QWidget *parent = controls.first()->parentWidget();
    if (!parent)
        return;
    int lo = 1000, hi = -1000;
    for (const QWidget *control : controls) {
        const QRect g = control->geometry();
        lo = std::min(lo, vertical ? g.y() : g.x());
        hi = std::max(hi, vertical ? g.y() + g.height() : g.x() + g.width());
    }
    const int client = vertical ? parent->height() : parent->width();
    const int centre = RoundHalfEven((client + lo - hi) / 2.0);
    const int shift = centre - lo;
    for (QWidget *control : controls) {
        const QRect g = control->geometry();
        SetControlBounds(control, vertical ? g.translated(0, shift) : g.translated(shift, 0));
    }
    Reattach(controls);
}

void TStretchHandle::CenterHorizontally()
{
    Center(false);
}

void TStretchHandle::CenterVertically()
{
    Center(true);
}
