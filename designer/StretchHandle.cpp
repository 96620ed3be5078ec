// The handle itself: its settings, its grab squares and the window events it turns into its own steps.

#include "designer/StretchHandle.h"

#include "designer/ObjectInspector.h"
#include "toolkit/Component.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TStretchHandle::TStretchHandle(QObject *owner, QWidget *parent) : QWidget(parent)
{
    if (owner)
        InsertComponent(owner, this);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(24, 24);
    hide();
    setEnabled(false);
}

TStretchHandle::~TStretchHandle()
{
    delete FOutline.data();
}

void TStretchHandle::SetGridX(int value)
{
    FGridX = std::clamp(value, 1, 32);
}

void TStretchHandle::SetGridY(int value)
{
    FGridY = std::clamp(value, 1, 32);
}

void TStretchHandle::SetLocked(bool value)
{
    FLocked = value;
    if (FLocked && FDragging) {
        FDragging = false;
        ErasePreview();
    }
}

void TStretchHandle::SetHandleBounds(const QRect &bounds)
{
    if (FLocked)
        return;
    const QRect old = geometry();
    const int dl = bounds.x() - old.x(), dt = bounds.y() - old.y();
    const int dw = bounds.width() - old.width(), dh = bounds.height() - old.height();
    for (QWidget *control : std::as_const(FSelected)) {
        const QRect g = control->geometry();
        SetControlBounds(control, QRect(g.x() + dl, g.y() + dt, g.width() + dw, g.height() + dh));
    }
    setGeometry(bounds);
    update();
}

void TStretchHandle::paintEvent(QPaintEvent *)
{
    if (FSelected.isEmpty())
        return;
    QPainter painter(this);
    const QColor brush = ColorToQColor(FSelected.size() == 1 ? Color : SecondaryColor);
    for (const QWidget *control : std::as_const(FSelected)) {
        const QPoint topLeft = mapFromGlobal(control->mapToGlobal(QPoint(0, 0)));
        // Half-open edges as the squares are measured: right/bottom are one past.
        const int left = topLeft.x() - 2, top = topLeft.y() - 2;
        const int right = topLeft.x() + control->width() + 2, bottom = topLeft.y() + control->height() + 2;
        painter.fillRect(QRect(left, top, 5, 5), brush);
        painter.fillRect(QRect(right - 5, top, 5, 5), brush);
        painter.fillRect(QRect(right - 5, bottom - 5, 5, 5), brush);
        painter.fillRect(QRect(left, bottom - 5, 5, 5), brush);
        if (FSelected.size() == 1) {
            const int h = RoundHalfEven((right - left) / 2.0), v = RoundHalfEven((bottom - top) / 2.0);
            painter.fillRect(QRect(left + h - 2, top, 5, 5), brush);
            painter.fillRect(QRect(left + h - 2, bottom - 5, 5, 5), brush);
            painter.fillRect(QRect(left, top + v - 2, 5, 5), brush);
            painter.fillRect(QRect(right - 5, top + v - 2, 5, 5), brush);
        }
    }
}

void TStretchHandle::mousePressEvent(QMouseEvent *event)
{
    if (Designer && Designer->RubberBandActive()) {
        Designer->ForwardToSurface(this, event);
        return;
    }
    HandleMouseDown(event->button(), event->buttons(), event->modifiers(), event->position().toPoint());
}

void TStretchHandle::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TStretchHandle::mouseMoveEvent(QMouseEvent *event)
{
    if (Designer && Designer->RubberBandActive()) {
        Designer->ForwardToSurface(this, event);
        return;
    }
    HandleMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void TStretchHandle::mouseReleaseEvent(QMouseEvent *event)
{
    if (Designer && Designer->RubberBandActive()) {
        Designer->ForwardToSurface(this, event);
        return;
    }
    HandleMouseUp(event->button(), event->buttons(), event->modifiers(), event->position().toPoint());
}

void TStretchHandle::keyPressEvent(QKeyEvent *event)
{
    // Keys the handle has no use for (Ctrl+Tab, F11, menu keys) go on to the window.
    event->setAccepted(HandleKeyDown(event->key(), event->modifiers()));
}

void TStretchHandle::contextMenuEvent(QContextMenuEvent *event)
{
    if (PopupMenu && !FSelected.isEmpty())
        PopupMenu->popup(event->globalPos());
    event->accept();
}
