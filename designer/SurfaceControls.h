#pragma once

// Helpers over the controls of a design surface (question controls carry TControl).

#include "toolkit/Exception.h"

#include <QRect>

class QWidget;

class EBadChild : public Exception {
public:
    using Exception::Exception;
};

// Property that marks the designer's own child widgets (rubber band, drag outline).
inline constexpr char DesignerObjectProperty[] = "DesignerObject";

// The Tag of a control; the designer's own objects report -1.
int ControlTag(const QWidget *control);
// Sets a control's bounds through its TControl when it has one.
void SetControlBounds(QWidget *control, const QRect &bounds);
// The control is aligned to the bottom or the right of its parent.
bool IsBottomOrRightAligned(const QWidget *control);
// Brings forward every tab page that contains the control.
void ShowTabPagesOf(QWidget *control);
// The window itself or the design surface: never selectable.
bool IsFormWidget(const QWidget *widget);
// Visible and Enabled as the control's own properties say (the window's state aside).
bool VisibleFlag(const QWidget *widget);
bool EnabledFlag(const QWidget *widget);

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

// Frees a designed control with the controls it owns, children before their parent, so
// that no owner list ever points at a freed control.
void DestroyControl(QWidget *control);
