#pragma once

// The grid engine under the property grid: a table of text cells with fixed columns,
// a current cell, row-wise scrolling and a permanent in-place editor on the current
// cell. The cells are stored sparsely; each row carries a TCellValueProp.

#include "designer/CellValueProps.h"
#include "designer/PrGridTypes.h"
#include "designer/PrInplaceEdit.h"
#include "designer/PropGridTitle.h"
#include "designer/StringSparseList.h"
#include "toolkit/Graphics.h"
#include "toolkit/StdCtrls.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

class TCustomPrGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TCustomPrGrid(QWidget *parent = nullptr);
    ~TCustomPrGrid() override;

    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);

    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value);
    int DefaultNameColWidth() const { return FDefaultNameColWidth; }
    void SetDefaultNameColWidth(int value);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int value);

    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);
    TEditFrameStyle EditFrameStyle() const { return FEditFrameStyle; }
    void SetEditFrameStyle(TEditFrameStyle value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value) { FDefaultDrawing = value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // The current cell; every move asks SelectCell first. Setting the row keeps the column.
    int Col() const { return FCurrent.X; }
    void SetCol(int value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int value);
    // Returns whether the move happened.
    bool FocusCell(int col, int row);
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int value);
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int value);
    int VisibleColCount() const;
    int VisibleRowCount() const;

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString &text);
    QObject *Objects(int col, int row) const;
    void SetObjects(int col, int row, QObject *object);
    QStringList Rows(int row) const;
    QStringList Cols(int col) const;
    // How many cells hold something (the storage grows with these only).
    int FilledCellCount() const;

    TCellValueProps *PropValues() const { return FPropValues.get(); }
    TPropGridTitle *PropGridTitle() const { return FPropGridTitle.get(); }

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    void ShowEditor() { SetEditorMode(true); }
    void HideEditor() { SetEditorMode(false); }
    TPrInplaceEdit *InplaceEditor() const { return FInplaceEdit; }

    // In viewport coordinates, without the grid lines; empty when not visible.
    QRect CellRect(int col, int row) const;
    // The cell under a viewport point; (-1, -1) when none.
    TGridCoord MouseCoord(const QPoint &point) const;

    // The grid's key handling, used by the grid itself and by the editor for the keys
    // it passes on. RaiseKeyDown only raises OnKeyDown (the handler may zero the key).
    void KeyDown(int &key, Qt::KeyboardModifiers shift);
    void RaiseKeyDown(int &key, Qt::KeyboardModifiers shift);
    void RaiseKeyUp(int &key, Qt::KeyboardModifiers shift);
    void RaiseKeyPress(QChar &key);

    // Whether the current cell's text may be changed by typing.
    virtual bool CanEditModify() const;
    virtual QString GetEditText(int col, int row);
    virtual QString GetEditMask(int col, int row);
    // Typed text goes back to the cell.
    virtual void SetEditText(int col, int row, const QString &value);
    virtual TPropEditMode EditModeOf(int row) const;

    // Called by the row collection when items change (nullptr: all of them).
    virtual void PropValueChanged(TCellValueProp *item);
    // Repositions and refreshes the editor after the current cell or the layout changed.
    void UpdateEdit();

    // Events. The grid reports edits and never applies them: typed text comes as
    // OnSetEditText, Enter as OnKeyDown with Qt::Key_Return, a chosen pick-list item as
    // OnComboCloseUp, the ellipsis as OnEditButtonClick, a cell left as OnExitCell; moves
    // ask OnSelectCell first. A handler that rewrites rows can block the grid's signals.
signals:
    void OnClick();
    void OnDblClick();
    void OnDrawCell(QPainter *painter, int aCol, int aRow, const QRect &rect, TGridDrawState state);
    void OnGetEditMask(int aCol, int aRow, QString *value);
    void OnGetEditText(int aCol, int aRow, QString *value);
    void OnSetEditText(int aCol, int aRow, const QString &value);
    void OnSelectCell(int aCol, int aRow, bool *canSelect);
    void OnTopLeftChanged();
    void OnEnter();
    void OnExit();
    void OnKeyDown(int *key, Qt::KeyboardModifiers shift);
    void OnKeyPress(QChar *key);
    void OnKeyUp(int *key, Qt::KeyboardModifiers shift);
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseWheelDown(Qt::KeyboardModifiers shift, const QPoint &pos, bool *handled);
    void OnMouseWheelUp(Qt::KeyboardModifiers shift, const QPoint &pos, bool *handled);
    // Raised by the in-place editor: the ellipsis button (or Ctrl+Enter) of a row.
    void OnEditButtonClick(int aRow, const QString &value);
    // Raised by the in-place editor when its drop-down list closes; itemIndex is the
    // row's chosen index afterwards (-1 when none), value the cell's text.
    void OnComboCloseUp(int aRow, int itemIndex, const QString &value, bool accepted);
    // The editor lost the focus, or left its cell with it, with the cell it had when it
    // got it and the text it holds.
    void OnExitCell(int aCol, int aRow, const QString &editText);

protected:
    // The editor factory; the property grid makes its own kind.
    virtual TPrInplaceEdit *CreateEditor();
    // Asks whether the cell may become current (raises OnSelectCell).
    virtual bool SelectCell(int col, int row);
    // Default drawing of one cell's content; the background is already filled.
    virtual void DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state);
    // Column widths rules applied before every paint and on resize.
    virtual void UpdateColWidths() { }
    virtual void SizeChanged() { }
    void DrawCellText(QPainter &painter, const QRect &rect, const QString &text, TAlignment alignment,
                      const QColor &color, const QFont &font);
    bool AlwaysShowEditor() const;
    bool IsHighlighted(TGridDrawState state) const;
    void InvalidateCell(int col, int row);
    void InvalidateRow(int row);

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent *event) override;

private:
    void CheckCol(int col) const;
    void CheckRow(int row) const;
    int ColX(int col) const; // left edge in the viewport, -1 when scrolled away
    int RowY(int row) const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void ScrollInView(int col, int row);
    void UpdateScrollRange();
    void MoveTopLeft(int col, int row);
    void ClampCurrent();
    void LayoutChanged();
    bool EditorShouldShow() const;
    void FocusChanged(QWidget *old, QWidget *now);

    int FColCount = 3, FRowCount = 8, FFixedCols = 2, FFixedRows = 0;
    int FDefaultColWidth = 64, FDefaultRowHeight = 19, FDefaultNameColWidth = 80;
    int FGridLineWidth = 1;
    std::vector<int> FColWidths, FRowHeights; // created on first use
    TColor FFixedColor = clBtnFace;
    TColor FColor = clWindow;
    TGridOptions FOptions;
    TEditFrameStyle FEditFrameStyle = efFramed;
    bool FDefaultDrawing = true;
    TBorderStyle FBorderStyle = bsNone;
    bool FTitleFixedRow = false;
    TGridCoord FCurrent{2, 0};
    TGridCoord FTopLeft{2, 0};
    std::map<int, TStringSparseList> FData; // sparse rows of sparse cells
    std::unique_ptr<TCellValueProps> FPropValues;
    std::unique_ptr<TPropGridTitle> FPropGridTitle;
    QPointer<TPrInplaceEdit> FInplaceEdit;
    bool FEditorMode = false;
    int FUpdateCount = 0;
    bool FSyncingScroll = false;
    bool FPressedInViewport = false;
};
