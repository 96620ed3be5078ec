#include "designer/StretchHandle.h"

#include "designer/ObjectInspector.h"
#include "toolkit/Component.h"
#include "toolkit/StdCtrls.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace {

// Property that marks the designer's own child widgets (rubber band, drag outline).
const char *const DesignerObjectProperty = "DesignerObject";

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

bool IsFormWidget(const QWidget *widget)
{
    return widget && (widget->isWindow() || widget->inherits("TForm_DesignForm"));
}

bool VisibleFlag(const QWidget *widget)
{
    if (const auto *control = dynamic_cast<const TControl *>(widget))
        return control->Visible();
    return !widget->isHidden();
}

bool EnabledFlag(const QWidget *widget)
{
    if (const auto *control = dynamic_cast<const TControl *>(widget))
        return control->Enabled();
    return widget->isEnabled();
}

} // namespace

int ControlTag(const QWidget *control)
{
    if (!control || control->property(DesignerObjectProperty).toBool() || qobject_cast<const TStretchHandle *>(control))
        return -1;
    if (const auto *c = dynamic_cast<const TControl *>(control))
        return c->Tag;
    return 0;
}

void SetControlBounds(QWidget *control, const QRect &bounds)
{
    if (auto *c = dynamic_cast<TControl *>(control))
        c->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    else
        control->setGeometry(bounds.x(), bounds.y(), std::max(0, bounds.width()), std::max(0, bounds.height()));
}

bool IsBottomOrRightAligned(const QWidget *control)
{
    const auto *c = dynamic_cast<const TControl *>(control);
    return c && (c->Align == alBottom || c->Align == alRight);
}

void ShowTabPagesOf(QWidget *control)
{
    for (QWidget *w = control; w && w->parentWidget(); w = w->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
        if (stack && qobject_cast<QTabWidget *>(stack->parentWidget()))
            qobject_cast<QTabWidget *>(stack->parentWidget())->setCurrentWidget(w);
    }
}

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

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

QWidget *TStretchHandle::SelectedControls(int index) const
{
    if (index < 0 || index >= FSelected.size())
        return nullptr;
    return FSelected.at(index);
}

QRect TStretchHandle::InvariantBounds() const
{
    if (FSelected.isEmpty())
        return geometry();
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const QWidget *control : FSelected) {
        const QRect g = control->geometry();
        left = std::min(left, g.x());
        top = std::min(top, g.y());
        right = std::max(right, g.x() + g.width());
        bottom = std::max(bottom, g.y() + g.height());
    }
    return QRect(left - 2, top - 2, right - left + 5, bottom - top + 5);
}

void TStretchHandle::TakeFocus()
{
    if (!isVisible() || !isEnabled() || !window()->isActiveWindow())
        return;
    // Never take the keys away from another part of the window (the inspector's editor).
    const QWidget *focus = QApplication::focusWidget();
    const QWidget *surface = qobject_cast<const QWidget *>(ComponentOwner(this));
    if (focus && focus != this && surface && focus != surface && !surface->isAncestorOf(focus))
        return;
    setFocus(Qt::OtherFocusReason);
}

void TStretchHandle::Attach(QWidget *control)
{
    if (!control || qobject_cast<TStretchHandle *>(control))
        return;
    if (IsFormWidget(control))
        throw EBadChild(QStringLiteral("Handles can not be attached to a Form!"));
    // An inner part of a composite control selects the control it belongs to.
    const QObject *surface = ComponentOwner(this);
    while (ComponentOwner(control) != surface) {
        QWidget *parent = control->parentWidget();
        if (!parent || IsFormWidget(parent))
            return;
        control = parent;
    }

    const int existing = FSelected.indexOf(control);
    if (existing >= 0) {
        update();
        FCurrentIndex = existing;
        return;
    }
    if (!FSelected.isEmpty() && control->parentWidget() != parentWidget())
        ClearSelection();
    if (!FSelected.isEmpty()) {
        bool aligned = IsBottomOrRightAligned(control);
        for (QWidget *selected : std::as_const(FSelected))
            aligned = aligned || IsBottomOrRightAligned(selected);
        if (aligned)
            ClearSelection();
    }

    const bool first = FSelected.isEmpty();
    FSelected.append(control);
    connect(control, &QObject::destroyed, this, &TStretchHandle::ControlDestroyed, Qt::UniqueConnection);
    if (first) {
        const bool aligned = IsBottomOrRightAligned(control);
        setParent(aligned ? control : control->parentWidget());
        FPreview = QRect();
        setEnabled(true);
        if (!aligned)
            setGeometry(InvariantBounds());
        else
            setGeometry(control->rect());
        show();
    } else {
        setGeometry(InvariantBounds());
    }
    FDragMode = 0;
    raise();
    FCaptured = true;
    TakeFocus();
    update();
    FCurrentIndex = FSelected.indexOf(control);
}

void TStretchHandle::Detach(QWidget *control)
{
    if (!FSelected.removeOne(control))
        return;
    disconnect(control, &QObject::destroyed, this, &TStretchHandle::ControlDestroyed);
    if (FCurrentIndex >= FSelected.size())
        FCurrentIndex = FSelected.size() - 1;
    if (!FSelected.isEmpty()) {
        setGeometry(InvariantBounds());
        update();
        return;
    }
    ClearSelection();
}

void TStretchHandle::ControlDestroyed(QObject *control)
{
    FSelected.removeIf([control](QWidget *w) { return static_cast<QObject *>(w) == control; });
    if (FSelected.isEmpty())
        ClearSelection();
    else
        setGeometry(InvariantBounds());
}

void TStretchHandle::ClearSelection()
{
    for (QWidget *control : std::as_const(FSelected))
        disconnect(control, &QObject::destroyed, this, &TStretchHandle::ControlDestroyed);
    FSelected.clear();
    FCurrentIndex = -1;
    FLocked = false;
    FDragging = false;
    ErasePreview();
    hide();
    setEnabled(false);
    // Parked on the surface while idle, so it goes with it.
    QWidget *surface = qobject_cast<QWidget *>(ComponentOwner(this));
    if (surface && parentWidget() != surface && surface != this)
        setParent(surface);
    resize(24, 24);
    update();
}

void TStretchHandle::UpdateHandles()
{
    const QList<QWidget *> controls = FSelected;
    Reattach(controls);
}

void TStretchHandle::Reattach(const QList<QWidget *> &controls)
{
    ClearSelection();
    for (QWidget *control : controls)
        Attach(control);
}

void TStretchHandle::DeleteSelected()
{
    if (!AllowDeletes)
        return;
    // Children go before their parent, so no owner list ever points at a freed control.
    const std::function<void(QWidget *)> destroy = [&destroy](QWidget *widget) {
        const QList<QWidget *> children = widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *child : children)
            if (ComponentOwner(child))
                destroy(child);
        delete widget;
    };
    for (int i = FSelected.size() - 1; i >= 0; --i) {
        if (i >= FSelected.size())
            continue;
        QWidget *control = FSelected.at(i);
        Detach(control);
        destroy(control);
    }
}

// 0 above, 1 below, 2 left, 3 right.
void TStretchHandle::SelectNearest(int direction)
{
    if (FSelected.isEmpty())
        return;
    QWidget *reference = FSelected.first();
    const bool vertical = direction < 2;
    const int origin = vertical ? reference->y() : reference->x();
    QWidget *winner = nullptr;
    int best = 0;
    if (QWidget *parent = reference->parentWidget()) {
        for (QObject *child : parent->children()) {
            auto *candidate = qobject_cast<QWidget *>(child);
            if (!candidate || candidate == this || ControlTag(candidate) < 0 || candidate->isWindow())
                continue;
            const int value = vertical ? candidate->y() : candidate->x();
            const bool before = direction == 0 || direction == 2;
            if (before ? value >= origin : value <= origin)
                continue;
            if (!winner || (before ? value > best : value < best)) {
                winner = candidate;
                best = value;
            }
        }
    }
    ClearSelection();
    Attach(winner ? winner : reference);
}

void TStretchHandle::SelectNearestAbove()
{
    SelectNearest(0);
}

void TStretchHandle::SelectNearestBelow()
{
    SelectNearest(1);
}

void TStretchHandle::SelectNearestLeft()
{
    SelectNearest(2);
}

void TStretchHandle::SelectNearestRight()
{
    SelectNearest(3);
}

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

void TStretchHandle::SelectLastControl()
{
    if (!FSelected.isEmpty())
        return;
    const QObject *surface = ComponentOwner(this);
    if (!surface)
        return;
    const QList<QObject *> components = OwnedComponents(surface);
    for (qsizetype i = components.size() - 1; i >= 0; --i) {
        auto *control = qobject_cast<QWidget *>(components.at(i));
        if (!control || control == this || control->objectName().isEmpty() || ControlTag(control) == -1)
            continue;
        QWidget *parent = control->parentWidget();
        if (!parent || !VisibleFlag(control) || !EnabledFlag(control) || !VisibleFlag(parent) || !EnabledFlag(parent))
            continue;
        Attach(control);
        return;
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

QRect TStretchHandle::DragBounds(int dx, int dy) const
{
    const QRect g = geometry();
    const int l = g.x(), t = g.y(), w = g.width(), h = g.height();
    // Snapped positions keep the handle's 2-pixel margin; unsnapped ones follow the pointer.
    const auto left = [&](int v) { return SnapToGrid ? ((v + 2) / FGridX) * FGridX - 2 : v; };
    const auto top = [&](int v) { return SnapToGrid ? ((v + 5) / FGridY) * FGridY - 2 : v; };
    const auto width = [&](int v) { return SnapToGrid ? ((v + 2) / FGridX) * FGridX + 5 : v; };
    const auto height = [&](int v) { return SnapToGrid ? ((v + 5) / FGridY) * FGridY + 5 : v; };
    int nl = l, nt = t, nw = w, nh = h;
    switch (FDragMode) {
    case 0:
        nl = left(l + dx);
        nt = top(t + dy);
        break;
    case 1:
        nl = left(l + dx);
        nt = top(t + dy);
        nw = w + l - nl;
        nh = h + t - nt;
        break;
    case 2:
        nt = top(t + dy);
        nw = width(w + dx);
        nh = h + t - nt;
        break;
    case 3:
        nl = left(l + dx);
        nw = w + l - nl;
        nh = height(h + dy);
        break;
    case 4:
        nw = width(w + dx);
        nh = height(h + dy);
        break;
    case 5:
        nt = top(t + dy);
        nh = h + t - nt;
        break;
    case 6:
        nl = left(l + dx);
        nw = w + l - nl;
        break;
    case 7:
        nh = height(h + dy);
        break;
    case 8:
        nw = width(w + dx);
        break;
    default:
        break;
    }
    return QRect(nl, nt, std::max(nw, 5), std::max(nh, 5));
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
        int mode = 0;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        if (FSelected.size() == 1 && !FDragging) {
            const double w = width(), h = height(), x = pos.x(), y = pos.y();
            if (std::abs(x) < 5 && std::abs(y) < 5) {
                mode = 1;
                cursor = Qt::SizeFDiagCursor;
            }
            if (std::abs(x - w) < 5 && std::abs(y - h) < 5) {
                mode = 4;
                cursor = Qt::SizeFDiagCursor;
            }
            if (std::abs(x - w) < 5 && std::abs(y) < 5) {
                mode = 2;
                cursor = Qt::SizeBDiagCursor;
            }
            if (std::abs(x) < 5 && std::abs(y - h) < 5) {
                mode = 3;
                cursor = Qt::SizeBDiagCursor;
            }
            if (std::abs(x - w / 2) < 3 && std::abs(y) < 5) {
                mode = 5;
                cursor = Qt::SizeVerCursor;
            }
            if (std::abs(x - w / 2) < 3 && std::abs(y - h) < 5) {
                mode = 7;
                cursor = Qt::SizeVerCursor;
            }
            if (std::abs(y - h / 2) < 3 && std::abs(x) < 5) {
                mode = 6;
                cursor = Qt::SizeHorCursor;
            }
            if (std::abs(y - h / 2) < 3 && std::abs(x - w) < 5) {
                mode = 8;
                cursor = Qt::SizeHorCursor;
            }
        }
        if (!FDragging)
            setCursor(cursor);
        if (FLocked)
            setCursor(Qt::ForbiddenCursor);
        if (FDragging) {
            ClampToParent(pos);
            if (FDragMode == 0)
                setCursor(DragCursor);
            DrawPreview(DragBounds(pos.x() - FDragOrigin.x(), pos.y() - FDragOrigin.y()));
        } else {
            FDragMode = mode;
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

bool TStretchHandle::HandleKeyDown(int key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers mods = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = mods == Qt::ControlModifier, shiftOnly = mods == Qt::ShiftModifier;
    const QRect g = geometry();
    // Keyboard sizing stops where mouse sizing does: the handle keeps at least 5 x 5.
    constexpr int minimum = 5;
    bool handled = true;
    switch (key) {
    case Qt::Key_Left:
        if (ctrl)
            SetHandleBounds(g.translated(-1, 0));
        else if (shiftOnly && g.width() > minimum)
            SetHandleBounds(g.adjusted(0, 0, -1, 0));
        else if (shiftOnly)
            break;
        else
            SelectNearestLeft();
        break;
    case Qt::Key_Right:
        if (ctrl)
            SetHandleBounds(g.translated(1, 0));
        else if (shiftOnly)
            SetHandleBounds(g.adjusted(0, 0, 1, 0));
        else
            SelectNearestRight();
        break;
    case Qt::Key_Up:
        if (ctrl)
            SetHandleBounds(g.translated(0, -1));
        else if (shiftOnly && g.height() > minimum)
            SetHandleBounds(g.adjusted(0, 0, 0, -1));
        else if (shiftOnly)
            break;
        else
            SelectNearestAbove();
        break;
    case Qt::Key_Down:
        if (ctrl)
            SetHandleBounds(g.translated(0, 1));
        else if (shiftOnly)
            SetHandleBounds(g.adjusted(0, 0, 0, 1));
        else
            SelectNearestBelow();
        break;
    case Qt::Key_C:
        if (ctrl && Designer)
            Designer->ClipboardCopy();
        break;
    case Qt::Key_X:
        if (ctrl && Designer)
            Designer->ClipboardCut(true);
        break;
    case Qt::Key_V:
        if (ctrl && Designer)
            Designer->ClipboardPaste();
        break;
    case Qt::Key_Delete:
        if (Designer)
            Designer->DeleteSelection(true);
        break;
    case Qt::Key_Escape:
        // Leaves the selection as it is and hands the keys back to the surface.
        if (auto *surface = qobject_cast<QWidget *>(ComponentOwner(this)); surface && mods == Qt::NoModifier)
            surface->setFocus(Qt::OtherFocusReason);
        else
            handled = false;
        break;
    default:
        handled = false;
        break;
    }
    if ((key == Qt::Key_C || key == Qt::Key_X || key == Qt::Key_V) && !ctrl)
        handled = false;
    // The rows follow what the key did: new bounds or another selected control.
    if ((key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) && Designer)
        Designer->RefreshInspector();
    if (OnKeyDown)
        OnKeyDown(key, shift);
    return handled;
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
