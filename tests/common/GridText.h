#pragma once

// What a string grid shows, read back as the user sees it.

#include "toolkit/StringGrid.h"

#include <QStringList>

// The cells of one column below the title row.
inline QStringList GridColumn(const TStringGrid *grid, int col)
{
    QStringList cells;
    for (int row = 1; row < grid->RowCount(); ++row)
        cells << grid->Cells(col, row);
    return cells;
}

// Where a click lands on the cell of col and row (row 1 is the first below the titles).
inline QPoint CellCentre(const TStringGrid *grid, int col, int row)
{
    return grid->visualRect(grid->model()->index(row - 1, col)).center();
}
