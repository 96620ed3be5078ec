#pragma once

#include <QTableWidget>

class QTimer;

// The records grid of the records windows. Rows and columns are counted as the
// windows count them: row 0 is the title row (shown in the header), data rows are 1 to
// RowCount() - 1, and there is always at least one data row (an empty placeholder when
// there is nothing to show). The first FixedCols() columns are fixed: painted like the
// title row, never highlighted, and, with RowMoving on, the handle by which a row is
// dragged to another place. A column of width -1 is hidden (the row key in column 0).
class TStringGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit TStringGrid(QWidget *parent = nullptr);

    // The standard row height of the records windows.
    static constexpr int DefaultRowHeight = 16;

    int ColCount() const { return columnCount(); }
    void SetColCount(int value);
    // Title row included; never less than 2.
    int RowCount() const { return rowCount() + 1; }
    void SetRowCount(int value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString &text);
    // The data cells of one row, from column 0.
    QStringList RowCells(int row) const;
    void SetRowCells(int row, const QStringList &cells);

    // The current data row, 1 to RowCount() - 1.
    int Row() const;
    void SetRow(int row);

    // -1 hides the column.
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    void SetDefaultRowHeight(int height);

    // Writes the titles of columns 0, 1, 2 … into row 0.
    void SetTitles(const QStringList &titles);

    // Empties every data cell and leaves the one placeholder row.
    void ClearRows();
    void ClearRow(int row);
    // Appends a data row and makes it current; returns its number.
    int AppendRow();
    // Takes a data row out: the only row is emptied instead; the current row number
    // stays, so the row that followed becomes current (or the new last row).
    void RemoveRow(int row);
    // Moves the data row fromRow so that it stands at toRow, shifting those between.
    void MoveRow(int fromRow, int toRow);

    // The only data row with an empty key cell (column 0): nothing to show.
    bool IsPlaceholder() const;

    bool RowMoving() const { return FRowMoving; }
    void SetRowMoving(bool value) { FRowMoving = value; }

signals:
    // The current cell was chosen: a click on a data row, or the current row changed.
    void Click();
    // A double click on a data row.
    void DblClick();
    // A row was dragged by its fixed cell from one data row to another.
    void RowMoved(int fromRow, int toRow);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QTableWidgetItem *CellItem(int col, int row);
    // The data row a drag over the viewport position would drop on.
    int DropRow(const QPoint &pos) const;
    void CurrentCellChanged(int currentRow, int currentColumn, int previousRow, int previousColumn);
    // While a row is dragged near the top or bottom edge, the grid scrolls on by itself.
    void DragScrollTick();
    // Moves a row by the user's hand (drag or keys) and tells the window.
    void UserMovedRow(int fromRow, int toRow);

    int FFixedCols = 1;
    bool FRowMoving = false;
    int FDragRow = 0; // the data row being dragged; 0 when none
    int FDropRow = 0; // where it would land
    bool FPressedOnRow = false;
    int FPressRow = 0;
    QTimer *FDragScroll = nullptr;
    QPoint FDragPos; // the last mouse position of the drag, in the viewport
};

// Writes 1, 2, 3 … into the column of data rows 1 to the last.
void NumberRows(TStringGrid *grid, int column);
