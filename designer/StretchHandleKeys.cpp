// Nudging and sizing the selection by one pixel, stepping to neighbours, clipboard keys.

#include "designer/StretchHandle.h"

#include "designer/ObjectInspector.h"
#include "toolkit/Component.h"

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
