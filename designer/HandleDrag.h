#pragma once

// The geometry of dragging the selection handle: which grab square the pointer is on,
// and the bounds a drag by (dx, dy) gives.

#include <QPoint>
#include <QRect>
#include <QSize>

// What a drag does: move the whole selection, or pull one corner or edge.
enum class THandleDrag { Move, TopLeft, TopRight, BottomLeft, BottomRight, Top, Left, Bottom, Right };

struct THandleDragHit {
    THandleDrag Mode = THandleDrag::Move;
    Qt::CursorShape Cursor = Qt::ArrowCursor;
};

// The grab square of a handle of the given size under pos (handle coordinates), and the
// cursor it shows; anywhere else moves.
THandleDragHit HandleDragAt(const QSize &handle, const QPoint &pos);

// The grid the handle snaps to while dragging.
struct TDragSnap {
    bool On = false;
    int GridX = 1;
    int GridY = 1;
};

// New handle bounds of a drag by (dx, dy); never smaller than 5 x 5.
QRect DraggedBounds(const QRect &bounds, THandleDrag mode, int dx, int dy, const TDragSnap &snap);
