#include "designer/SurfaceControls.h"

#include "designer/StretchHandle.h"
#include "toolkit/Component.h"
#include "toolkit/StdCtrls.h"

#include <QStackedWidget>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

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

void DestroyControl(QWidget *control)
{
    const QList<QWidget *> children = control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        if (ComponentOwner(child))
            DestroyControl(child);
    delete control;
}
