#pragma once

#include "toolkit/MaskEdit.h"

class TCustomPrGrid;

// The plain in-place editor of the grid: edits the current cell's text and passes the
// navigation keys on to the grid.
class TPrInplaceEdit : public TMaskEdit {
    Q_OBJECT
public:
    explicit TPrInplaceEdit(TCustomPrGrid *grid);

    TCustomPrGrid *Grid() const { return FGrid; }
    // Text, mask and read-only state from the grid's current cell.
    virtual void UpdateContents();
    // Puts the editor over the cell rectangle and shows it.
    void Move(const QRect &cellRect);
    void Deselect();
    // The cell it is editing, and the cell current when it got the focus.
    int EditCol() const { return FEditCol; }
    int EditRow() const { return FEditRow; }
    int FocusCol() const { return FFocusCol; }
    int FocusRow() const { return FFocusRow; }
    // The grid moved the editor to another cell while it had the focus.
    void CellChanged();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Keys handled before the grid sees them (an open drop-down list, buttons).
    virtual bool EditorKeyDown(QKeyEvent *event);
    bool AtLeftSide() const;
    bool AtRightSide() const;
    // The focus left the editor for good (not to its own popup).
    virtual void FocusLost();
    // Frame and button space around the text.
    virtual void UpdateTextMargins();

private:
    void TextChanged();

    TCustomPrGrid *FGrid;
    bool FUpdating = false;
    int FEditCol = -1, FEditRow = -1;
    int FFocusCol = -1, FFocusRow = -1;
};
