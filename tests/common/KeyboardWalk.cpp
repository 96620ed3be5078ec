#include "common/KeyboardWalk.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>
#include <QtTest>

namespace {

QWidget *Named(QWidget *widget)
{
    while (widget && widget->parentWidget() &&
           (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))))
        widget = widget->parentWidget();
    return widget;
}

} // namespace

QStringList TTabWalk::Names() const
{
    QStringList names;
    for (QWidget *stop : Stops)
        names << Named(stop)->objectName();
    return names;
}

TTabWalk WalkByTab(QWidget *window, bool backwards, int limit)
{
    TTabWalk walk;
    QWidget *first = QApplication::focusWidget();
    if (!first || first->window() != window->window()) {
        walk.Fault = QStringLiteral("the window has no focus to start from");
        return walk;
    }
    QWidget *current = first;
    for (int i = 0; i < limit; ++i) {
        walk.Stops << current;
        QTest::keyClick(current, backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        QWidget *next = QApplication::focusWidget();
        if (next == current) {
            walk.Fault = Named(current)->objectName() + QStringLiteral(" keeps the focus");
            return walk;
        }
        if (!next) {
            walk.Fault = QStringLiteral("the focus left the window after ") + Named(current)->objectName();
            return walk;
        }
        if (next == first)
            return walk;
        if (walk.Stops.contains(next)) {
            walk.Fault = QStringLiteral("the walk circles without coming back to the first focus");
            return walk;
        }
        current = next;
    }
    walk.Fault = QStringLiteral("no way back to the first focus in %1 stops").arg(limit);
    return walk;
}

QString AccessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

int AccessibleRole(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? int(face->role()) : int(QAccessible::NoRole);
}

QString AccessibleFault(QWidget *widget)
{
    // The edit field inside a spin box is read as the spin box.
    if (widget->focusProxy() && widget->focusProxy()->isAncestorOf(widget))
        widget = widget->focusProxy();
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    const QString who = Named(widget)->objectName();
    if (!face)
        return who + QStringLiteral(" is not seen by a screen reader");
    if (face->text(QAccessible::Name).trimmed().isEmpty())
        return who + QStringLiteral(" has no name");
    const QAccessible::Role role = face->role();
    if (role == QAccessible::NoRole || role == QAccessible::Client)
        return who + QStringLiteral(" has no role saying what it is");
    return QString();
}
