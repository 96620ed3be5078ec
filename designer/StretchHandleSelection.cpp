// What the handle has selected: attaching, detaching, deleting, stepping to a neighbour.

#include "designer/StretchHandle.h"
#include "designer/SurfaceControls.h"

#include "toolkit/Component.h"

#include <QApplication>

#include <algorithm>
#include <climits>

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
    FDragMode = THandleDrag::Move;
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
    for (int i = FSelected.size() - 1; i >= 0; --i) {
        if (i >= FSelected.size())
            continue;
        QWidget *control = FSelected.at(i);
        Detach(control);
        DestroyControl(control);
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
