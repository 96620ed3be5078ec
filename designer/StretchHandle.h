#pragma once

// The selection handle of the design surface: a transparent child window laid over
// the selected controls. It keeps the selection, draws the grab squares, moves and
// sizes the selection with the mouse (snapping to the grid) or the keyboard, steps to
// neighbouring controls and aligns several controls.

#include "designer/HandleDrag.h"
#include "designer/SurfaceControls.h"
#include "toolkit/Graphics.h"

#include <QEvent>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>

class QMenu;
class TObjectInspector;

class TStretchHandle : public QWidget {
    Q_OBJECT
public:
    // Hidden, disabled and 24 x 24 until something is selected.
    explicit TStretchHandle(QObject *owner, QWidget *parent = nullptr);
    ~TStretchHandle() override;

    void Attach(QWidget *control);
    void Detach(QWidget *control);
    void ClearSelection();
    // Re-fits the handle after the selected controls' bounds changed from outside.
    void UpdateHandles();
    int SelectedCount() const { return FSelected.size(); }
    QWidget *SelectedControls(int index) const;
    int IndexOfControl(QWidget *control) const { return FSelected.indexOf(control); }
    // The selection itself, shared with the property list.
    const QList<QWidget *> &Selection() const { return FSelected; }
    // Index in the selection of the control the last mouse-down hit; -1 when none.
    int CurrentIndex() const { return FCurrentIndex; }

    // Frees every selected control with what it contains (when deletes are allowed).
    void DeleteSelected();
    void SelectNearestAbove();
    void SelectNearestBelow();
    void SelectNearestLeft();
    void SelectNearestRight();
    void AlignLeftSides();
    void AlignTops();
    void SpaceEquallyHorizontally();
    void SpaceEquallyVertically();
    void CenterHorizontally();
    void CenterVertically();
    // With nothing selected: selects the most recently created selectable control.
    void SelectLastControl();

    // Moves/sizes every selected control by the differences to the handle's bounds,
    // then takes the bounds. Does nothing while Locked.
    void SetHandleBounds(const QRect &bounds);

    TColor Color = clBlack;
    TColor SecondaryColor = clGray;
    int GridX() const { return FGridX; }
    void SetGridX(int value);
    int GridY() const { return FGridY; }
    void SetGridY(int value);
    bool SnapToGrid = false;
    bool Locked() const { return FLocked; }
    void SetLocked(bool value);
    Qt::CursorShape DragCursor = Qt::DragMoveCursor;
    bool AllowDeletes = true;
    bool CutAndPaste = false;
    bool ClearCutBufferOnPaste = false;
    // True from a creation by click until the next mouse-up; suppresses dragging.
    bool Creating = false;
    QString CreateText;
    TObjectInspector *Designer = nullptr;
    QPointer<QMenu> PopupMenu;

    bool Dragging() const { return FDragging; }
    THandleDrag DragMode() const { return FDragMode; }
    // The handle bounds the preview outline was last drawn for; empty when none.
    QRect PreviewBounds() const { return FPreview; }
    // New handle bounds of a drag by (dx, dy) in the current drag mode.
    QRect DragBounds(int dx, int dy) const;

    // The handle's mouse capture: while set, the designer hands it the moves and
    // releases that reach the surface or its controls.
    bool Captured() const { return FCaptured; }
    void SetCaptured(bool value) { FCaptured = value; }
    bool PassingThrough() const { return FPassingThrough; }

    // The handle's mouse steps, in handle coordinates.
    void HandleMouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                         const QPoint &pos);
    void HandleMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, const QPoint &pos);
    void HandleMouseUp(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                       const QPoint &pos);
    // False when the key is not one of the handle's: it then belongs to the window.
    bool HandleKeyDown(int key, Qt::KeyboardModifiers shift);

    // The ordinary events, raised after the handle's own steps.
    std::function<void(QWidget *sender, Qt::MouseButton, Qt::KeyboardModifiers, const QPoint &)> OnMouseDown;
    std::function<void(QWidget *sender, Qt::MouseButton, Qt::KeyboardModifiers, const QPoint &)> OnMouseUp;
    std::function<void(QWidget *sender, Qt::KeyboardModifiers, const QPoint &)> OnMouseMove;
    std::function<void(int key, Qt::KeyboardModifiers)> OnKeyDown;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QRect InvariantBounds() const;
    void TakeFocus();
    void SelectNearest(int direction);
    void Reattach(const QList<QWidget *> &controls);
    void SpaceEqually(bool vertical);
    void Center(bool vertical);
    void PassThrough(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                     const QPoint &pos);
    void ClampToParent(QPoint &pos) const;
    void DrawPreview(const QRect &bounds);
    void ErasePreview();
    void ControlDestroyed(QObject *control);

    QList<QWidget *> FSelected;
    int FCurrentIndex = -1;
    int FGridX = 1, FGridY = 1;
    bool FLocked = false;
    bool FDragging = false;
    THandleDrag FDragMode = THandleDrag::Move;
    QPoint FDragOrigin;
    QRect FPreview;
    bool FCaptured = false;
    bool FPassingThrough = false;
    QPointer<QWidget> FOutline;
    QPointer<QWidget> FHitControl;
};
