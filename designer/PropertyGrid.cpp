#include "designer/PropertyGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

#include <algorithm>

TPropertyGrid::TPropertyGrid(QWidget *parent) : TCustomPrGrid(parent)
{
    setObjectName(QStringLiteral("PropertyGrid"));
    SetColor(clWindow);
}

TPropertyInplaceEdit *TPropertyGrid::PropertyEditor() const
{
    return static_cast<TPropertyInplaceEdit *>(InplaceEditor());
}

TPrInplaceEdit *TPropertyGrid::CreateEditor()
{
    return new TPropertyInplaceEdit(this);
}

void TPropertyGrid::SetValueColAutoSize(bool value)
{
    FValueColAutoSize = value;
    UpdateColWidths();
}

void TPropertyGrid::SetShowCheckColumn(bool value)
{
    if (FShowCheckColumn == value)
        return;
    const int oldValueCol = ValueCol();
    const int valueWidth = ColWidths(oldValueCol);
    const QStringList values = Cols(oldValueCol);
    BeginUpdate();
    FShowCheckColumn = value;
    if (value) {
        SetColCount(3);
        SetFixedCols(2);
    } else {
        SetFixedCols(1);
        SetColCount(2);
    }
    // The values move with their column, which keeps its width.
    for (int row = 0; row < RowCount(); ++row) {
        if (value)
            SetCells(1, row, QString());
        SetCells(ValueCol(), row, values.value(row));
    }
    SetColWidths(ValueCol(), valueWidth);
    EndUpdate();
    UpdateColWidths();
}

void TPropertyGrid::SetNameAlignment(TAlignment value)
{
    FNameAlignment = value;
    viewport()->update();
}

void TPropertyGrid::UpdateColWidths()
{
    // Setting a width lays the grid out again, which comes back here.
    if (FSizingCols)
        return;
    FSizingCols = true;
    SetColWidths(0, DefaultNameColWidth());
    if (FShowCheckColumn && ColCount() > 2)
        SetColWidths(1, CheckColWidth);
    if (FValueColAutoSize && ColCount() > 1) {
        // The grid lines take the rest: 2 pixels, or 3 with the check column's own.
        const int lines = FShowCheckColumn ? CheckColWidth + 3 : 2;
        SetColWidths(ValueCol(), std::max(0, viewport()->width() - ColWidths(0) - lines));
    }
    FSizingCols = false;
}

void TPropertyGrid::SyncRow(int row)
{
    if (row < 0 || row >= RowCount() || row >= PropValues()->Count())
        return;
    if (Options().Contains(goTitle) && row == 0)
        return;
    const TCellValueProp *item = PropValues()->Items(row);
    SetCells(0, row, item->PropertyLabel());
    SetCells(ValueCol(), row, item->PropertyValue());
}

void TPropertyGrid::PropValueChanged(TCellValueProp *item)
{
    // The name and value cells follow the rows' items.
    if (item)
        SyncRow(item->Index());
    else
        for (int row = 0; row < RowCount(); ++row)
            SyncRow(row);
    TCustomPrGrid::PropValueChanged(item);
}

void TPropertyGrid::SetEditText(int col, int row, const QString &value)
{
    if (col == ValueCol() && row >= 0 && row < PropValues()->Count())
        PropValues()->Items(row)->SetPropertyValue(value);
    TCustomPrGrid::SetEditText(col, row, value);
}

void TPropertyGrid::mousePressEvent(QMouseEvent *event)
{
    const TGridCoord cell = MouseCoord(event->position().toPoint());
    // A left click in the check column toggles the row's check box.
    if (event->button() == Qt::LeftButton && FShowCheckColumn && cell.X == 1 && cell.Y >= FixedRows() &&
        cell.Y < PropValues()->Count()) {
        TCellValueProp *item = PropValues()->Items(cell.Y);
        item->SetChecked(!item->Checked());
    }
    TCustomPrGrid::mousePressEvent(event);
}

void TPropertyGrid::DrawCurrentRowEdge(QPainter &painter, int col, const QRect &rect)
{
    const QColor shadow = ColorToQColor(clBtnShadow);
    const QColor dark = ColorToQColor(cl3DDkShadow);
    const QColor light = ColorToQColor(clBtnHighlight);
    const QColor midLight = ColorToQColor(cl3DLight);
    painter.save();
    painter.setClipping(false);
    if (col == 0) {
        // Left, top and bottom of the name cell, one pixel higher and two narrower.
        const QRect r = rect.adjusted(0, -1, -2, 0);
        painter.setPen(shadow);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(dark);
        painter.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(0, 1));
        painter.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
        painter.setPen(light);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.setPen(midLight);
        painter.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(0, -1));
    } else {
        // Top and bottom of the value cell, two pixels higher.
        const QRect r = rect.adjusted(0, -2, 0, 0);
        painter.setPen(shadow);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.setPen(dark);
        painter.drawLine(r.topLeft() + QPoint(0, 1), r.topRight() + QPoint(0, 1));
        painter.setPen(light);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.setPen(midLight);
        painter.drawLine(r.bottomLeft() + QPoint(0, -1), r.bottomRight() + QPoint(0, -1));
    }
    painter.restore();
}

void TPropertyGrid::DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state)
{
    const QPalette pal = palette();
    if (Options().Contains(goTitle) && row == 0) {
        const TPropGridTitle *title = PropGridTitle();
        painter.fillRect(rect, ColorToQColor(title->Color()));
        QString text;
        if (col == 0)
            text = title->TitleNameText();
        else if (col == ValueCol())
            text = title->TitleValueText();
        DrawCellText(painter, rect, text, title->Alignment(), pal.color(QPalette::ButtonText), title->Font());
        return;
    }

    if (col == 0) {
        DrawCellText(painter, rect, Cells(col, row), FNameAlignment, pal.color(QPalette::ButtonText), font());
    } else if (col == CheckCol()) {
        const bool checked = row < PropValues()->Count() && PropValues()->Items(row)->Checked();
        const int top = rect.top() + (EditFrameStyle() == efFramed ? 3 : 2);
        QStyleOptionButton box;
        box.initFrom(viewport());
        box.rect = QRect(rect.left() + 1, top, rect.width() - 2, 13);
        box.state |= checked ? QStyle::State_On : QStyle::State_Off;
        box.state |= QStyle::State_Enabled;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, viewport());
    } else {
        TCustomPrGrid::DrawCell(painter, col, row, rect, state);
    }

    if (row == Row() && (col == 0 || col == ValueCol()))
        DrawCurrentRowEdge(painter, col, rect);

    // Without the permanent editor the current cell shows a focus rectangle instead.
    if ((state & gdFocused) && !AlwaysShowEditor() && EditModeOf(row) != emNoEdit && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(viewport());
        focus.rect = rect;
        focus.backgroundColor = ColorToQColor(Color());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, viewport());
    }
}
