#include "designer/PrInplaceEdit.h"

#include "designer/PrGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

TPrInplaceEdit::TPrInplaceEdit(TCustomPrGrid *grid) : TMaskEdit(grid->viewport()), FGrid(grid)
{
    setFrame(false);
    setObjectName(QStringLiteral("InplaceEdit"));
    hide();
    connect(this, &TMaskEdit::Change, this, &TPrInplaceEdit::TextChanged);
}

void TPrInplaceEdit::TextChanged()
{
    if (FUpdating || FEditCol < 0 || FEditRow < 0)
        return;
    FGrid->SetEditText(FEditCol, FEditRow, Text());
}

void TPrInplaceEdit::UpdateContents()
{
    FUpdating = true;
    FEditCol = FGrid->Col();
    FEditRow = FGrid->Row();
    const QString mask = FGrid->GetEditMask(FEditCol, FEditRow);
    if (EditMask() != mask)
        SetEditMask(mask);
    const QString text = FGrid->GetEditText(FEditCol, FEditRow);
    // Only a different text is set, so a refresh while typing keeps the caret.
    if (Text() != text)
        SetText(text);
    SetReadOnly(!FGrid->CanEditModify());
    FUpdating = false;
    UpdateTextMargins();
}

void TPrInplaceEdit::UpdateTextMargins()
{
    setTextMargins(2, 0, 0, 0);
}

void TPrInplaceEdit::Move(const QRect &cellRect)
{
    setGeometry(cellRect);
    if (isHidden())
        show();
}

void TPrInplaceEdit::Deselect()
{
    deselect();
    end(false);
}

// The caret at the start, or the whole text selected.
bool TPrInplaceEdit::AtLeftSide() const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    return start == 0 && (end == 0 || end == text().length());
}

// The caret at the end, or the whole text selected.
bool TPrInplaceEdit::AtRightSide() const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    return (start == 0 || start == end) && end == text().length();
}

bool TPrInplaceEdit::EditorKeyDown(QKeyEvent *)
{
    return false;
}

void TPrInplaceEdit::keyPressEvent(QKeyEvent *event)
{
    if (EditorKeyDown(event))
        return;

    int key = event->key();
    const Qt::KeyboardModifiers shift = event->modifiers();
    const bool ctrl = shift & Qt::ControlModifier;
    const bool always = FGrid->Options().Contains(goAlwaysShowEditor);
    bool toGrid = false;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
        toGrid = true;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        toGrid = !(shift & Qt::AltModifier);
        break;
    case Qt::Key_Insert:
        toGrid = shift == Qt::NoModifier;
        break;
    case Qt::Key_Left:
    case Qt::Key_Home:
        toGrid = always && (ctrl || AtLeftSide());
        break;
    case Qt::Key_Right:
    case Qt::Key_End:
        toGrid = always && (ctrl || AtRightSide());
        break;
    case Qt::Key_F2: {
        FGrid->KeyDown(key, shift);
        if (key == Qt::Key_F2)
            Deselect();
        return;
    }
    default:
        break;
    }
    if (toGrid) {
        FGrid->KeyDown(key, shift);
        return;
    }

    const QString typed = event->text();
    const bool isChar = !typed.isEmpty() && typed.at(0).isPrint() && !ctrl;
    if (key == Qt::Key_Delete && !FGrid->CanEditModify())
        return;
    FGrid->RaiseKeyDown(key, shift);
    if (key == 0)
        return;
    // Typed characters are offered to the grid's handler even where they cannot be typed.
    if (isChar) {
        QChar ch = typed.at(0);
        FGrid->RaiseKeyPress(ch);
        if (ch.isNull() || !FGrid->CanEditModify())
            return;
        if (ch != typed.at(0)) {
            QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(ch));
            TMaskEdit::keyPressEvent(&changed);
            return;
        }
    }
    if (key == Qt::Key_Backspace && !FGrid->CanEditModify())
        return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter never reaches the text; it selects it for the next typing.
        selectAll();
        return;
    }
    TMaskEdit::keyPressEvent(event);
    // The grid has heard of the key already; it must not come to it a second time.
    event->accept();
}

bool TPrInplaceEdit::event(QEvent *event)
{
    // Tab is a key of the editor and the grid, not the focus chain's.
    if (event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return TMaskEdit::event(event);
}

void TPrInplaceEdit::keyReleaseEvent(QKeyEvent *event)
{
    int key = event->key();
    FGrid->RaiseKeyUp(key, event->modifiers());
    if (key != 0)
        TMaskEdit::keyReleaseEvent(event);
}

void TPrInplaceEdit::focusInEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason) {
        FFocusCol = FGrid->Col();
        FFocusRow = FGrid->Row();
    }
    TMaskEdit::focusInEvent(event);
}

void TPrInplaceEdit::focusOutEvent(QFocusEvent *event)
{
    TMaskEdit::focusOutEvent(event);
    // The editor's own drop-down list takes the focus only for a while.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    FocusLost();
}

void TPrInplaceEdit::CellChanged()
{
    FocusLost();
    FFocusCol = FGrid->Col();
    FFocusRow = FGrid->Row();
}

void TPrInplaceEdit::FocusLost()
{
    emit FGrid->OnExitCell(FFocusCol, FFocusRow, Text());
}
