#include "toolkit/StringGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

namespace {

// A grid as the records windows set it up: hidden key, "Row", two data columns.
void SetUpRecordsGrid(TStringGrid &grid)
{
    grid.SetColCount(4);
    grid.SetFixedCols(2);
    grid.SetTitles({"ID", "Row", "Name", "Course"});
    grid.SetColWidths(0, -1);
    grid.SetColWidths(1, 30);
}

void Fill(TStringGrid &grid, const QStringList &names)
{
    grid.ClearRows();
    for (int i = 0; i < names.size(); ++i) {
        const int row = i == 0 ? 1 : grid.AppendRow();
        grid.SetCells(0, row, QString::number(10 + i));
        grid.SetCells(2, row, names.at(i));
    }
    NumberRows(&grid, 1);
}

QStringList Column(const TStringGrid &grid, int col)
{
    QStringList values;
    for (int row = 1; row < grid.RowCount(); ++row)
        values << grid.Cells(col, row);
    return values;
}

QPoint CellCentre(const TStringGrid &grid, int col, int row)
{
    return grid.visualRect(grid.model()->index(row - 1, col)).center();
}

} // namespace

class TestStringGrid : public QObject {
    Q_OBJECT

private slots:
    void layoutOfTheRecordsGrid();
    void numberRows_data();
    void numberRows();
    void placeholderRow();
    void removeRow_data();
    void removeRow();
    void clickFollowsTheCurrentRow();
    void dragFixedCellMovesRow_data();
    void dragFixedCellMovesRow();
    void dragIsOffWithoutRowMoving();
};

void TestStringGrid::layoutOfTheRecordsGrid()
{
    TStringGrid grid;
    SetUpRecordsGrid(grid);
    // Row 0 is the title row, kept in the header, not a data row.
    QCOMPARE(grid.Cells(1, 0), QStringLiteral("Row"));
    QCOMPARE(grid.horizontalHeaderItem(2)->text(), QStringLiteral("Name"));
    QCOMPARE(grid.rowCount(), 1);
    QCOMPARE(grid.RowCount(), 2);
    // The key column is hidden but its cells keep their values.
    QVERIFY(grid.isColumnHidden(0));
    QCOMPARE(grid.ColWidths(0), -1);
    QCOMPARE(grid.ColWidths(1), 30);
    grid.SetCells(0, 1, "7");
    QCOMPARE(grid.Cells(0, 1), QStringLiteral("7"));
    QCOMPARE(grid.rowHeight(0), 16);
    grid.AppendRow();
    QCOMPARE(grid.rowHeight(1), 16);
    // Cells outside the grid read empty and take nothing.
    grid.SetCells(9, 1, "x");
    grid.SetCells(2, 9, "x");
    QCOMPARE(grid.Cells(9, 1), QString());
    QCOMPARE(grid.Cells(2, 9), QString());
    QCOMPARE(grid.Cells(-1, -1), QString());
}

void TestStringGrid::numberRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("column");
    QTest::newRow("placeholder only") << 2 << 1;
    QTest::newRow("three rows") << 4 << 1;
    QTest::newRow("another column") << 6 << 3;
}

void TestStringGrid::numberRows()
{
    QFETCH(int, rows);
    QFETCH(int, column);
    TStringGrid grid;
    SetUpRecordsGrid(grid);
    grid.SetRowCount(rows);
    // Stale numbers from an earlier state are overwritten.
    for (int row = 1; row < rows; ++row)
        grid.SetCells(column, row, "99");
    NumberRows(&grid, column);
    QStringList expected;
    for (int row = 1; row < rows; ++row)
        expected << QString::number(row);
    QCOMPARE(Column(grid, column), expected);
    // The title row is left alone.
    QCOMPARE(grid.Cells(column, 0), QStringList({"ID", "Row", "Name", "Course"}).value(column));
}

void TestStringGrid::placeholderRow()
{
    TStringGrid grid;
    SetUpRecordsGrid(grid);
    QVERIFY(grid.IsPlaceholder());
    grid.SetRowCount(0);
    QCOMPARE(grid.RowCount(), 2);

    Fill(grid, {"A", "B", "C"});
    QCOMPARE(grid.RowCount(), 4);
    QVERIFY(!grid.IsPlaceholder());
    grid.ClearRows();
    QCOMPARE(grid.RowCount(), 2);
    QCOMPARE(grid.RowCells(1), QStringList({"", "", "", ""}));
    QCOMPARE(grid.Cells(2, 0), QStringLiteral("Name"));
    QVERIFY(grid.IsPlaceholder());

    // A single row with a key is a real row; one with only a blank key is not.
    grid.SetCells(0, 1, "3");
    QVERIFY(!grid.IsPlaceholder());
    grid.SetCells(0, 1, "  ");
    QVERIFY(grid.IsPlaceholder());
}

void TestStringGrid::removeRow_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("the only row is emptied") << QStringList{"A"} << 1 << QStringList{""} << 1;
    QTest::newRow("a middle row: the next follows") << QStringList{"A", "B", "C"} << 2 << QStringList{"A", "C"} << 2;
    QTest::newRow("the first row") << QStringList{"A", "B", "C"} << 1 << QStringList{"B", "C"} << 1;
    QTest::newRow("the last row: new last is current") << QStringList{"A", "B", "C"} << 3 << QStringList{"A", "B"} << 2;
}

void TestStringGrid::removeRow()
{
    QFETCH(QStringList, names);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    QFETCH(int, currentAfter);
    TStringGrid grid;
    SetUpRecordsGrid(grid);
    Fill(grid, names);
    grid.SetRow(current);
    grid.RemoveRow(current);
    NumberRows(&grid, 1);
    QCOMPARE(Column(grid, 2), after);
    QCOMPARE(grid.Row(), currentAfter);
    QCOMPARE(grid.Cells(1, grid.RowCount() - 1), QString::number(grid.RowCount() - 1));
    if (names.size() == 1)
        QVERIFY(grid.IsPlaceholder());
}

void TestStringGrid::clickFollowsTheCurrentRow()
{
    TStringGrid grid;
    SetUpRecordsGrid(grid);
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    Fill(grid, {"A", "B", "C"});
    grid.SetRow(1);
    QSignalSpy clicks(&grid, &TStringGrid::Click);
    QSignalSpy doubles(&grid, &TStringGrid::DblClick);

    grid.SetRow(3);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(grid.Row(), 3);
    // The current column is never the hidden key or the fixed "Row" column.
    QCOMPARE(grid.currentColumn(), 2);
    grid.SetRow(7); // outside: nothing changes
    QCOMPARE(grid.Row(), 3);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 3, 2));
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(clicks.count(), 2);
    // Clicking the current row again still counts as a click.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 2, 2));
    QCOMPARE(clicks.count(), 3);
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(grid.Row(), 3);
    QCOMPARE(clicks.count(), 4);

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 2, 1));
    QCOMPARE(doubles.count(), 1);
    // Below the last row is no row.
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 190));
    QCOMPARE(doubles.count(), 1);
}

void TestStringGrid::dragFixedCellMovesRow_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("down") << 1 << 3 << QStringList{"B", "C", "A", "D"};
    QTest::newRow("up") << 4 << 2 << QStringList{"A", "D", "B", "C"};
    QTest::newRow("onto itself") << 2 << 2 << QStringList{"A", "B", "C", "D"};
}

void TestStringGrid::dragFixedCellMovesRow()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, after);
    TStringGrid grid;
    SetUpRecordsGrid(grid);
    grid.SetRowMoving(true);
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    Fill(grid, {"A", "B", "C", "D"});
    QSignalSpy moved(&grid, &TStringGrid::RowMoved);

    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 1, from));
    QMouseEvent move(QEvent::MouseMove, CellCentre(grid, 1, to), grid.viewport()->mapToGlobal(CellCentre(grid, 1, to)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 1, to));

    QCOMPARE(Column(grid, 2), after);
    // The whole row travels, the hidden key with it.
    QCOMPARE(grid.Cells(0, to).toInt() - 10, QStringList({"A", "B", "C", "D"}).indexOf(grid.Cells(2, to)));
    if (from == to) {
        QCOMPARE(moved.count(), 0);
    } else {
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.first().at(0).toInt(), from);
        QCOMPARE(moved.first().at(1).toInt(), to);
        QCOMPARE(grid.Row(), to);
    }
}

void TestStringGrid::dragIsOffWithoutRowMoving()
{
    TStringGrid grid;
    SetUpRecordsGrid(grid);
    grid.resize(400, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    Fill(grid, {"A", "B", "C"});
    QSignalSpy moved(&grid, &TStringGrid::RowMoved);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 1, 1));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 1, 3));
    QCOMPARE(moved.count(), 0);
    QCOMPARE(Column(grid, 2), QStringList({"A", "B", "C"}));
}

QTEST_MAIN(TestStringGrid)
#include "tst_stringgrid.moc"
