#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// Where the focus goes when the user presses Tab (or Shift+Tab) from the focus of a
// window, stop by stop, until it comes back to where it started.
struct TTabWalk {
    QList<QWidget *> Stops; // from the first focus on, each widget once
    QString Fault; // a key that left the focus where it was, or a walk that never came back
    // The stops by name; an inner part of a control (a spin box's edit field) by its control's.
    QStringList Names() const;
};

TTabWalk WalkByTab(QWidget *window, bool backwards = false, int limit = 80);

// "" when the widget tells a screen reader a name and a role; otherwise what is missing.
QString AccessibleFault(QWidget *widget);
// The name and the role a screen reader hears for the widget.
QString AccessibleName(QWidget *widget);
int AccessibleRole(QWidget *widget);
