// Moving and sizing the selection with the mouse, and passing on the clicks it does not take.

#include "designer/StretchHandle.h"

#include "toolkit/Component.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The dotted outline of the bounds a drag would give, drawn over the parent.
class TDragOutline : public QWidget {
public:
    explicit TDragOutline(QWidget *parent) : QWidget(parent)
    {
        setProperty(DesignerObjectProperty, true);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }
    void SetOutline(const QRect &rect)
    {
        FRect = rect;
        setGeometry(parentWidget()->rect());
        raise();
        show();
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QPen pen(Qt::black, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(FRect.adjusted(0, 0, -1, -1));
        pen.setColor(Qt::white);
        pen.setDashOffset(1);
        painter.setPen(pen);
        painter.drawRect(FRect.adjusted(0, 0, -1, -1));
    }

private:
    QRect FRect;
};

} // namespace

QRect TStretchHandle::DragBounds(int dx, int dy) const
{
    return DraggedBounds(geometry(), FDragMode, dx, dy, TDragSnap{SnapToGrid, FGridX, FGridY});
}

void TStretchHandle::DrawPreview(const QRect &bounds)
{
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    if (!FOutline)
        FOutline = new TDragOutline(parent);
    else if (FOutline->parentWidget() != parent)
        FOutline->setParent(parent);
    FPreview = bounds;
    const QRect outline(QPoint(bounds.left() + 2, bounds.top() + 2),
                        QPoint(bounds.left() + bounds.width() - 3, bounds.top() + bounds.height() - 3));
    static_cast<TDragOutline *>(FOutline.data())->SetOutline(outline);
}

void TStretchHandle::ErasePreview()
{
    FPreview = QRect();
    if (FOutline)
        FOutline->hide();
}

void TStretchHandle::ClampToParent(QPoint &pos) const
{
    const QWidget *parent = parentWidget();
    if (!parent)
        return;
    pos.setX(std::clamp(x() + pos.x(), 0, parent->width()) - x());
    pos.setY(std::clamp(y() + pos.y(), 0, parent->height()) - y());
}

void TStretchHandle::HandleMouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                                     const QPoint &pos)
{
    FCurrentIndex = -1;
    FHitControl = nullptr;
    const QPoint point = this->pos() + pos;
    for (qsizetype i = 0; i < FSelected.size(); ++i) {
        if (FSelected.at(i)->geometry().adjusted(-2, -2, 2, 2).contains(point)) {
            FCurrentIndex = static_cast<int>(i);
            FHitControl = FSelected.at(i);
            break;
        }
    }
    if (FCurrentIndex < 0) {
        // A gap of a multi-selection frame: the press belongs to what lies beneath.
        setCursor(Qt::ArrowCursor);
        PassThrough(QEvent::MouseButtonPress, button, buttons, shift, pos);
        return;
    }
    // The deepest control of the surface under the pointer, level by level.
    const QObject *surface = ComponentOwner(this);
    QWidget *deepest = FHitControl;
    for (;;) {
        QWidget *next = nullptr;
        const QPoint local = deepest->mapFrom(parentWidget(), point);
        const QObjectList &children = deepest->children();
        for (qsizetype i = children.size() - 1; i >= 0 && !next; --i) {
            auto *child = qobject_cast<QWidget *>(children.at(i));
            if (child && child != this && ComponentOwner(child) == surface && !child->isHidden() &&
                child->geometry().contains(local))
                next = child;
        }
        if (!next)
            break;
        deepest = next;
    }
    if (deepest != FHitControl) {
        ClearSelection();
        Attach(deepest);
    } else if (button == Qt::LeftButton && !FLocked) {
        FDragOrigin = pos;
        FDragging = true;
    }
    if (OnMouseDown)
        OnMouseDown(this, button, shift, pos);
}

void TStretchHandle::HandleMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, const QPoint &at)
{
    QPoint pos = at;
    if ((FSelected.size() == 1 && IsBottomOrRightAligned(FSelected.first())) || Creating) {
        if (OnMouseMove)
            OnMouseMove(this, shift, pos);
        FDragging = false;
        setCursor(Qt::ArrowCursor);
        return;
    }
    if (shift & Qt::ShiftModifier) {
        if (OnMouseMove)
            OnMouseMove(this, shift, pos);
        setCursor(Qt::ArrowCursor);
        return;
    }
    const bool leftUp = !(buttons & Qt::LeftButton);
    if (leftUp || FDragging || FLocked) {
        if (leftUp)
            FCaptured = false;
        THandleDragHit hit;
        if (FSelected.size() == 1 && !FDragging)
            hit = HandleDragAt(size(), pos);
        if (!FDragging)
            setCursor(hit.Cursor);
        if (FLocked)
            setCursor(Qt::ForbiddenCursor);
        if (FDragging) {
            ClampToParent(pos);
            if (FDragMode == THandleDrag::Move)
                setCursor(DragCursor);
            DrawPreview(DragBounds(pos.x() - FDragOrigin.x(), pos.y() - FDragOrigin.y()));
        } else {
            FDragMode = hit.Mode;
        }
    } else {
        // A drag that began with the click that selected the control continues here.
        FDragOrigin = pos;
        FDragging = true;
    }
    if (OnMouseMove)
        OnMouseMove(this, shift, pos);
}

void TStretchHandle::HandleMouseUp(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                                   const QPoint &at)
{
    QPoint pos = at;
    if (shift & Qt::ShiftModifier) {
        FDragging = false;
        ErasePreview();
        if (OnMouseUp)
            OnMouseUp(this, button, shift, pos);
        return;
    }
    if (!FDragging || button != Qt::LeftButton) {
        PassThrough(QEvent::MouseButtonRelease, button, buttons, shift, pos);
        return;
    }
    ClampToParent(pos);
    if (pos != FDragOrigin) {
        update();
        SetHandleBounds(DragBounds(pos.x() - FDragOrigin.x(), pos.y() - FDragOrigin.y()));
    }
    ErasePreview();
    if (parentWidget())
        parentWidget()->update();
    update();
    TakeFocus();
    FDragging = false;
    setCursor(Qt::ArrowCursor);
    FCaptured = false;
    if (OnMouseUp)
        OnMouseUp(this, button, shift, pos);
}

void TStretchHandle::PassThrough(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                                 Qt::KeyboardModifiers shift, const QPoint &pos)
{
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    const QPoint point = this->pos() + pos;
    QWidget *target = parent;
    QPoint local = point;
    const QObjectList children = parent->children();
    for (QObject *child : children) {
        auto *control = qobject_cast<QWidget *>(child);
        if (!control || qobject_cast<TStretchHandle *>(control) || control->property(DesignerObjectProperty).toBool() ||
            control->isWindow() || control->isHidden())
            continue;
        if (control->geometry().contains(point)) {
            target = control;
            local = point - control->pos();
            break;
        }
    }
    const QPointF global = target->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, button, buttons, shift & Qt::ShiftModifier);
    FPassingThrough = true;
    QCoreApplication::sendEvent(target, &event);
    FPassingThrough = false;
}
