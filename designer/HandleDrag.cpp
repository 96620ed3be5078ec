#include "designer/HandleDrag.h"

#include <algorithm>
#include <cmath>

THandleDragHit HandleDragAt(const QSize &handle, const QPoint &pos)
{
    THandleDragHit hit;
    const double w = handle.width(), h = handle.height(), x = pos.x(), y = pos.y();
    if (std::abs(x) < 5 && std::abs(y) < 5) {
        hit.Mode = THandleDrag::TopLeft;
        hit.Cursor = Qt::SizeFDiagCursor;
    }
    if (std::abs(x - w) < 5 && std::abs(y - h) < 5) {
        hit.Mode = THandleDrag::BottomRight;
        hit.Cursor = Qt::SizeFDiagCursor;
    }
    if (std::abs(x - w) < 5 && std::abs(y) < 5) {
        hit.Mode = THandleDrag::TopRight;
        hit.Cursor = Qt::SizeBDiagCursor;
    }
    if (std::abs(x) < 5 && std::abs(y - h) < 5) {
        hit.Mode = THandleDrag::BottomLeft;
        hit.Cursor = Qt::SizeBDiagCursor;
    }
    if (std::abs(x - w / 2) < 3 && std::abs(y) < 5) {
        hit.Mode = THandleDrag::Top;
        hit.Cursor = Qt::SizeVerCursor;
    }
    if (std::abs(x - w / 2) < 3 && std::abs(y - h) < 5) {
        hit.Mode = THandleDrag::Bottom;
        hit.Cursor = Qt::SizeVerCursor;
    }
    if (std::abs(y - h / 2) < 3 && std::abs(x) < 5) {
        hit.Mode = THandleDrag::Left;
        hit.Cursor = Qt::SizeHorCursor;
    }
    if (std::abs(y - h / 2) < 3 && std::abs(x - w) < 5) {
        hit.Mode = THandleDrag::Right;
        hit.Cursor = Qt::SizeHorCursor;
    }
    return hit;
}

QRect DraggedBounds(const QRect &bounds, THandleDrag mode, int dx, int dy, const TDragSnap &snap)
{
    const int l = bounds.x(), t = bounds.y(), w = bounds.width(), h = bounds.height();
    // Snapped positions keep the handle's 2-pixel margin; unsnapped ones follow the pointer.
    const auto left = [&](int v) { return snap.On ? ((v + 2) / snap.GridX) * snap.GridX - 2 : v; };
    const auto top = [&](int v) { return snap.On ? ((v + 5) / snap.GridY) * snap.GridY - 2 : v; };
    const auto width = [&](int v) { return snap.On ? ((v + 2) / snap.GridX) * snap.GridX + 5 : v; };
    const auto height = [&](int v) { return snap.On ? ((v + 5) / snap.GridY) * snap.GridY + 5 : v; };
    int nl = l, nt = t, nw = w, nh = h;
    switch (mode) {
    case THandleDrag::Move:
        nl = left(l + dx);
        nt = top(t + dy);
        break;
    case THandleDrag::TopLeft:
        nl = left(l + dx);
        nt = top(t + dy);
        nw = w + l - nl;
        nh = h + t - nt;
        break;
    case THandleDrag::TopRight:
        nt = top(t + dy);
        nw = width(w + dx);
        nh = h + t - nt;
        break;
    case THandleDrag::BottomLeft:
        nl = left(l + dx);
        nw = w + l - nl;
        nh = height(h + dy);
        break;
    case THandleDrag::BottomRight:
        nw = width(w + dx);
        nh = height(h + dy);
        break;
    case THandleDrag::Top:
        nt = top(t + dy);
        nh = h + t - nt;
        break;
    case THandleDrag::Left:
        nl = left(l + dx);
        nw = w + l - nl;
        break;
    case THandleDrag::Bottom:
        nh = height(h + dy);
        break;
    case THandleDrag::Right:
        nw = width(w + dx);
        break;
    }
    return QRect(nl, nt, std::max(nw, 5), std::max(nh, 5));
}
