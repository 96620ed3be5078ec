#pragma once

#include <QMargins>

class QPushButton;
class QVBoxLayout;
class QWidget;

// The frame of the windows that pick one item of a list: a top panel, the list, and a
// bottom panel with OK and Cancel.

// The bottom panel: OK (the default button, disabled until an item is chosen) and Cancel
// at the right; height 0 leaves the panel's height to its layout.
QWidget *OkCancelPanel(QWidget *parent, QPushButton **ok, QPushButton **cancel, const QMargins &margins,
                       int height = 0);

// The window's panels from top to bottom, the list taking the height left over.
QVBoxLayout *StackListPanels(QWidget *form, QWidget *top, QWidget *list, QWidget *bottom, const QMargins &listMargins);
