#include "toolkit/StringGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace {

// Paints the fixed columns like the title row: button face, never highlighted.
class TFixedCellDelegate : public QStyledItemDelegate {
public:
    explicit TFixedCellDelegate(TStringGrid *grid) : QStyledItemDelegate(grid), FGrid(grid) { }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() < FGrid->FixedCols()) {
            option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
            option->backgroundBrush = option->palette.button();
            option->palette.setBrush(QPalette::Text, option->palette.buttonText());
        }
    }

private:
    TStringGrid *FGrid;
};

} // namespace

TStringGrid::TStringGrid(QWidget *parent) : QTableWidget(1, 2, parent)
{
    setObjectName(QStringLiteral("StringGrid"));
    setItemDelegate(new TFixedCellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    // One Tab stop: the arrows move inside, Tab goes on to the next control.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    SetDefaultRowHeight(DefaultRowHeight);
    connect(this, &QTableWidget::currentCellChanged, this, &TStringGrid::CurrentCellChanged);
    FDragScroll = new QTimer(this);
    FDragScroll->setInterval(25);
    connect(FDragScroll, &QTimer::timeout, this, &TStringGrid::DragScrollTick);
}

void TStringGrid::SetColCount(int value)
{
    setColumnCount(qMax(1, value));
}

void TStringGrid::SetRowCount(int value)
{
    setRowCount(qMax(2, value) - 1);
}

void TStringGrid::SetFixedCols(int value)
{
    FFixedCols = qBound(0, value, columnCount());
    viewport()->update();
}

QString TStringGrid::Cells(int col, int row) const
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= RowCount())
        return QString();
    const QTableWidgetItem *cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell ? cell->text() : QString();
}

QTableWidgetItem *TStringGrid::CellItem(int col, int row)
{
    if (row == 0) {
        QTableWidgetItem *header = horizontalHeaderItem(col);
        if (!header) {
            header = new QTableWidgetItem;
            setHorizontalHeaderItem(col, header);
        }
        return header;
    }
    QTableWidgetItem *cell = item(row - 1, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row - 1, col, cell);
    }
    return cell;
}

void TStringGrid::SetCells(int col, int row, const QString &text)
{
    if (col < 0 || col >= columnCount() || row < 0 || row >= RowCount())
        return;
    if (row > 0 && text.isEmpty() && !item(row - 1, col))
        return;
    CellItem(col, row)->setText(text);
}

QStringList TStringGrid::RowCells(int row) const
{
    QStringList cells;
    for (int col = 0; col < columnCount(); ++col)
        cells << Cells(col, row);
    return cells;
}

void TStringGrid::SetRowCells(int row, const QStringList &cells)
{
    for (int col = 0; col < columnCount(); ++col)
        SetCells(col, row, cells.value(col));
}

int TStringGrid::Row() const
{
    return qMax(0, currentRow()) + 1;
}

void TStringGrid::SetRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    int col = currentColumn();
    if (col < FFixedCols || isColumnHidden(col))
        col = qMin(FFixedCols, columnCount() - 1);
    setCurrentCell(row - 1, col);
}

int TStringGrid::ColWidths(int col) const
{
    return isColumnHidden(col) ? -1 : columnWidth(col);
}

void TStringGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= columnCount())
        return;
    setColumnHidden(col, width < 0);
    if (width >= 0)
        setColumnWidth(col, width);
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    // The height is the one at the normal font; a larger font gets rows it fits in.
    height = std::max(height, fontMetrics().height() + 1);
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void TStringGrid::SetTitles(const QStringList &titles)
{
    for (int col = 0; col < columnCount(); ++col)
        SetCells(col, 0, titles.value(col));
}

void TStringGrid::ClearRows()
{
    clearContents();
    SetRowCount(2);
}

void TStringGrid::ClearRow(int row)
{
    for (int col = 0; col < columnCount(); ++col)
        SetCells(col, row, QString());
}

int TStringGrid::AppendRow()
{
    setRowCount(rowCount() + 1);
    const int row = RowCount() - 1;
    SetRow(row);
    return row;
}

void TStringGrid::RemoveRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    if (RowCount() == 2) {
        ClearRow(1);
        return;
    }
    const int current = Row();
    removeRow(row - 1);
    SetRow(qMin(current, RowCount() - 1));
}

void TStringGrid::MoveRow(int fromRow, int toRow)
{
    if (fromRow == toRow || fromRow < 1 || toRow < 1 || fromRow >= RowCount() || toRow >= RowCount())
        return;
    QList<QTableWidgetItem *> items;
    for (int col = 0; col < columnCount(); ++col)
        items << takeItem(fromRow - 1, col);
    removeRow(fromRow - 1);
    insertRow(toRow - 1);
    for (int col = 0; col < columnCount(); ++col)
        if (items.at(col))
            setItem(toRow - 1, col, items.at(col));
    SetRow(toRow);
}

bool TStringGrid::IsPlaceholder() const
{
    return RowCount() == 2 && Cells(0, 1).trimmed().isEmpty();
}

void TStringGrid::CurrentCellChanged(int currentRow, int, int previousRow, int)
{
    if (currentRow >= 0 && currentRow != previousRow)
        emit Click();
}

int TStringGrid::DropRow(const QPoint &pos) const
{
    const int row = rowAt(pos.y());
    if (row >= 0)
        return row + 1;
    return pos.y() < 0 ? 1 : RowCount() - 1;
}

void TStringGrid::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    FPressedOnRow = false;
    if (FRowMoving && event->button() == Qt::LeftButton && index.isValid() && index.column() < FFixedCols) {
        FDragRow = index.row() + 1;
        FDropRow = FDragRow;
        viewport()->setCursor(Qt::SizeVerCursor);
        event->accept();
        return;
    }
    FPressRow = currentRow();
    QTableWidget::mousePressEvent(event);
    // Choosing the current row again counts as a click too.
    if (index.isValid() && event->button() == Qt::LeftButton && currentRow() == FPressRow &&
        currentRow() == index.row())
        emit Click();
}

void TStringGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (FDragRow > 0) {
        FDragPos = event->position().toPoint();
        const int drop = DropRow(FDragPos);
        if (drop != FDropRow) {
            FDropRow = drop;
            viewport()->update();
        }
        const int edge = qMax(DefaultRowHeight, 8);
        const bool nearEdge = FDragPos.y() < edge || FDragPos.y() >= viewport()->height() - edge;
        if (nearEdge && !FDragScroll->isActive())
            FDragScroll->start();
        else if (!nearEdge)
            FDragScroll->stop();
        event->accept();
        return;
    }
    QTableWidget::mouseMoveEvent(event);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (FDragRow > 0) {
        FDragScroll->stop();
        const int from = FDragRow;
        const int to = DropRow(event->position().toPoint());
        FDragRow = 0;
        FDropRow = 0;
        viewport()->unsetCursor();
        viewport()->update();
        event->accept();
        UserMovedRow(from, to);
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

void TStringGrid::UserMovedRow(int fromRow, int toRow)
{
    if (toRow == fromRow || toRow < 1 || toRow >= RowCount())
        return;
    MoveRow(fromRow, toRow);
    emit RowMoved(fromRow, toRow);
}

void TStringGrid::DragScrollTick()
{
    if (FDragRow <= 0) {
        FDragScroll->stop();
        return;
    }
    // Faster the farther past the edge the pointer is.
    const int height = viewport()->height();
    const int edge = qMax(DefaultRowHeight, 8);
    int step = 0;
    if (FDragPos.y() < edge)
        step = -(1 + (edge - FDragPos.y()) / edge);
    else if (FDragPos.y() >= height - edge)
        step = 1 + (FDragPos.y() - (height - edge)) / edge;
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() + step * bar->singleStep());
    const int drop = DropRow(FDragPos);
    if (drop != FDropRow) {
        FDropRow = drop;
        viewport()->update();
    }
}

void TStringGrid::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Up and Ctrl+Down move the current row, as dragging it by its fixed cell does.
    if (FRowMoving && event->modifiers() == Qt::ControlModifier &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        const int from = Row();
        if (!IsPlaceholder())
            UserMovedRow(from, event->key() == Qt::Key_Up ? from - 1 : from + 1);
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (FRowMoving && index.isValid() && index.column() < FFixedCols) {
        event->accept();
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
    if (index.isValid() && event->button() == Qt::LeftButton)
        emit DblClick();
}

void TStringGrid::paintEvent(QPaintEvent *event)
{
    QTableWidget::paintEvent(event);
    if (FDragRow <= 0 || FDropRow == FDragRow)
        return;
    // A line where the dragged row will land: above the target when moving up, below it when moving down.
    const int viewRow = FDropRow - 1;
    const int y = FDropRow < FDragRow ? rowViewportPosition(viewRow)
                                      : rowViewportPosition(viewRow) + rowHeight(viewRow) - 1;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(0, y, viewport()->width(), y);
}

void NumberRows(TStringGrid *grid, int column)
{
    if (!grid)
        return;
    for (int row = 1; row < grid->RowCount(); ++row)
        grid->SetCells(column, row, QString::number(row));
}
