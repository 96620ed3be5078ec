#include "designer/PrGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

const char *const SFixedColTooBig = "Fixed column count must be less than column count";
const char *const SFixedRowTooBig = "Fixed row count must be less than row count";

} // namespace

TCustomPrGrid::TCustomPrGrid(QWidget *parent)
    : QAbstractScrollArea(parent), FPropValues(std::make_unique<TCellValueProps>(this)),
      FPropGridTitle(std::make_unique<TPropGridTitle>(this))
{
    FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing, goAlwaysShowEditor};
    FPropValues->SetCount(FRowCount);
    FPropGridTitle->SetFont(font());
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setTracking(false);
    horizontalScrollBar()->setTracking(false);
    viewport()->setMouseTracking(true);
    connect(qApp, &QApplication::focusChanged, this, &TCustomPrGrid::FocusChanged);
    viewport()->setAutoFillBackground(false);
    UpdateScrollRange();
}

TCustomPrGrid::~TCustomPrGrid()
{
    // The editor would report its lost focus to a grid half gone: it goes first, silently.
    blockSignals(true);
    delete FInplaceEdit.data();
}

void TCustomPrGrid::CheckCol(int col) const
{
    if (col < 0 || col >= FColCount)
        throw EInvalidGridOperation(QString::fromLatin1(SIndexOutOfRange));
}

void TCustomPrGrid::CheckRow(int row) const
{
    if (row < 0 || row >= FRowCount)
        throw EInvalidGridOperation(QString::fromLatin1(SIndexOutOfRange));
}

void TCustomPrGrid::SetColCount(int value)
{
    if (value < 1)
        value = 1;
    if (value == FColCount)
        return;
    // Fewer columns take fixed ones with them.
    if (FFixedCols >= value)
        FFixedCols = value - 1;
    FColCount = value;
    for (auto &row : FData)
        row.second.Truncate(value);
    if (static_cast<int>(FColWidths.size()) > value)
        FColWidths.resize(static_cast<size_t>(value));
    ClampCurrent();
    LayoutChanged();
}

void TCustomPrGrid::SetRowCount(int value)
{
    if (value < 1)
        value = 1;
    if (FOptions.Contains(goTitle))
        value = std::max(value, 2);
    if (value == FRowCount)
        return;
    if (FFixedRows >= value) {
        FFixedRows = value - 1;
        FTitleFixedRow = FTitleFixedRow && FFixedRows > 0;
    }
    FRowCount = value;
    FData.erase(FData.lower_bound(value), FData.end());
    if (static_cast<int>(FRowHeights.size()) > value)
        FRowHeights.resize(static_cast<size_t>(value));
    FPropValues->SetCount(value);
    ClampCurrent();
    LayoutChanged();
}

void TCustomPrGrid::SetFixedCols(int value)
{
    if (value < 0)
        throw EInvalidGridOperation(QString::fromLatin1(SIndexOutOfRange));
    if (value >= FColCount)
        throw EInvalidGridOperation(QString::fromLatin1(SFixedColTooBig));
    FFixedCols = value;
    ClampCurrent();
    LayoutChanged();
}

void TCustomPrGrid::SetFixedRows(int value)
{
    if (value < 0)
        throw EInvalidGridOperation(QString::fromLatin1(SIndexOutOfRange));
    if (value >= FRowCount)
        throw EInvalidGridOperation(QString::fromLatin1(SFixedRowTooBig));
    FFixedRows = value;
    ClampCurrent();
    LayoutChanged();
}

void TCustomPrGrid::ClampCurrent()
{
    FCurrent.X = std::clamp(FCurrent.X, FFixedCols, FColCount - 1);
    FCurrent.Y = std::clamp(FCurrent.Y, FFixedRows, FRowCount - 1);
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, FColCount - 1);
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, FRowCount - 1);
}

void TCustomPrGrid::SetDefaultColWidth(int value)
{
    FDefaultColWidth = std::max(value, 0);
    LayoutChanged();
}

void TCustomPrGrid::SetDefaultRowHeight(int value)
{
    FDefaultRowHeight = std::max(value, 0);
    FRowHeights.clear();
    LayoutChanged();
}

void TCustomPrGrid::SetDefaultNameColWidth(int value)
{
    FDefaultNameColWidth = std::max(value, 0);
    LayoutChanged();
}

int TCustomPrGrid::ColWidths(int col) const
{
    if (col >= 0 && col < static_cast<int>(FColWidths.size()))
        return FColWidths[static_cast<size_t>(col)];
    return FDefaultColWidth;
}

void TCustomPrGrid::SetColWidths(int col, int width)
{
    CheckCol(col);
    width = std::max(width, 0);
    if (ColWidths(col) == width)
        return;
    if (FColWidths.empty())
        FColWidths.assign(static_cast<size_t>(FColCount), FDefaultColWidth);
    if (static_cast<int>(FColWidths.size()) < FColCount)
        FColWidths.resize(static_cast<size_t>(FColCount), FDefaultColWidth);
    FColWidths[static_cast<size_t>(col)] = width;
    LayoutChanged();
}

int TCustomPrGrid::RowHeights(int row) const
{
    if (row >= 0 && row < static_cast<int>(FRowHeights.size()))
        return FRowHeights[static_cast<size_t>(row)];
    // The height is the one at the normal font; a larger font gets rows it fits in.
    return std::max(FDefaultRowHeight, fontMetrics().height() + 2);
}

void TCustomPrGrid::SetRowHeights(int row, int height)
{
    CheckRow(row);
    height = std::max(height, 0);
    if (RowHeights(row) == height)
        return;
    if (static_cast<int>(FRowHeights.size()) < FRowCount)
        FRowHeights.resize(static_cast<size_t>(FRowCount), FDefaultRowHeight);
    FRowHeights[static_cast<size_t>(row)] = height;
    LayoutChanged();
}

void TCustomPrGrid::SetGridLineWidth(int value)
{
    FGridLineWidth = std::max(value, 0);
    LayoutChanged();
}

void TCustomPrGrid::SetFixedColor(TColor value)
{
    FFixedColor = value;
    viewport()->update();
}

void TCustomPrGrid::SetColor(TColor value)
{
    FColor = value;
    viewport()->update();
}

void TCustomPrGrid::SetOptions(TGridOptions value)
{
    if (FOptions == value)
        return;
    FOptions = value;
    if (FOptions.Contains(goTitle)) {
        // Row 0 holds the titles and is never current.
        if (FRowCount < 2)
            SetRowCount(2);
        if (FFixedRows < 1) {
            FFixedRows = 1;
            FTitleFixedRow = true;
        }
    } else if (FTitleFixedRow) {
        FTitleFixedRow = false;
        FFixedRows = 0;
    }
    verticalScrollBar()->setTracking(FOptions.Contains(goThumbTracking));
    horizontalScrollBar()->setTracking(FOptions.Contains(goThumbTracking));
    ClampCurrent();
    if (!EditorShouldShow())
        FEditorMode = false;
    LayoutChanged();
}

void TCustomPrGrid::SetEditFrameStyle(TEditFrameStyle value)
{
    FEditFrameStyle = value;
    LayoutChanged();
}

void TCustomPrGrid::SetBorderStyle(TBorderStyle value)
{
    FBorderStyle = value;
    if (value == bsSingle) {
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Sunken);
    } else {
        setFrameShape(QFrame::NoFrame);
    }
}

bool TCustomPrGrid::IsHighlighted(TGridDrawState state) const
{
    // A selected cell shows the highlight colours only on request.
    return (state & gdSelected) && !(state & gdFixed) &&
           (FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect));
}

bool TCustomPrGrid::AlwaysShowEditor() const
{
    return FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor);
}

bool TCustomPrGrid::EditorShouldShow() const
{
    return FOptions.Contains(goEditing) && (FEditorMode || FOptions.Contains(goAlwaysShowEditor)) &&
           !FOptions.Contains(goRowSelect);
}

void TCustomPrGrid::SetCol(int value)
{
    CheckCol(value);
    FocusCell(value, FCurrent.Y);
}

void TCustomPrGrid::SetRow(int value)
{
    CheckRow(value);
    FocusCell(FCurrent.X, value);
}

bool TCustomPrGrid::FocusCell(int col, int row)
{
    CheckCol(col);
    CheckRow(row);
    if (col < FFixedCols || row < FFixedRows)
        return false;
    if (col == FCurrent.X && row == FCurrent.Y)
        return true;
    if (!SelectCell(col, row))
        return false;
    const int oldRow = FCurrent.Y;
    FCurrent = {col, row};
    ScrollInView(col, row);
    InvalidateRow(oldRow);
    InvalidateRow(row);
    UpdateEdit();
    return true;
}

bool TCustomPrGrid::SelectCell(int col, int row)
{
    bool canSelect = true;
    emit OnSelectCell(col, row, &canSelect);
    return canSelect;
}

void TCustomPrGrid::SetTopRow(int value)
{
    MoveTopLeft(FTopLeft.X, value);
}

void TCustomPrGrid::SetLeftCol(int value)
{
    MoveTopLeft(value, FTopLeft.Y);
}

void TCustomPrGrid::MoveTopLeft(int col, int row)
{
    col = std::clamp(col, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    row = std::clamp(row, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (col == FTopLeft.X && row == FTopLeft.Y)
        return;
    FTopLeft = {col, row};
    FSyncingScroll = true;
    horizontalScrollBar()->setValue(col - FFixedCols);
    verticalScrollBar()->setValue(row - FFixedRows);
    FSyncingScroll = false;
    viewport()->update();
    UpdateEdit();
    emit OnTopLeftChanged();
}

int TCustomPrGrid::MaxTopRow() const
{
    int fixedHeight = 0;
    for (int r = 0; r < FFixedRows; ++r)
        fixedHeight += RowHeights(r) + FGridLineWidth;
    const int available = viewport()->height() - fixedHeight;
    int used = 0;
    int top = FRowCount;
    while (top > FFixedRows) {
        const int h = RowHeights(top - 1) + FGridLineWidth;
        if (used + h > available && top < FRowCount)
            break;
        used += h;
        --top;
    }
    return std::max(top, FFixedRows);
}

int TCustomPrGrid::MaxLeftCol() const
{
    int fixedWidth = 0;
    for (int c = 0; c < FFixedCols; ++c)
        fixedWidth += ColWidths(c) + FGridLineWidth;
    const int available = viewport()->width() - fixedWidth;
    int used = 0;
    int left = FColCount;
    while (left > FFixedCols) {
        const int w = ColWidths(left - 1) + FGridLineWidth;
        if (used + w > available && left < FColCount)
            break;
        used += w;
        --left;
    }
    return std::max(left, FFixedCols);
}

int TCustomPrGrid::VisibleRowCount() const
{
    int y = 0;
    for (int r = 0; r < FFixedRows; ++r)
        y += RowHeights(r) + FGridLineWidth;
    int count = 0;
    for (int r = FTopLeft.Y; r < FRowCount; ++r) {
        y += RowHeights(r) + FGridLineWidth;
        if (y > viewport()->height() + FGridLineWidth)
            break;
        ++count;
    }
    return count;
}

int TCustomPrGrid::VisibleColCount() const
{
    int x = 0;
    for (int c = 0; c < FFixedCols; ++c)
        x += ColWidths(c) + FGridLineWidth;
    int count = 0;
    for (int c = FTopLeft.X; c < FColCount; ++c) {
        x += ColWidths(c) + FGridLineWidth;
        if (x > viewport()->width() + FGridLineWidth)
            break;
        ++count;
    }
    return count;
}

void TCustomPrGrid::ScrollInView(int col, int row)
{
    int top = FTopLeft.Y;
    if (row >= FFixedRows) {
        if (row < top)
            top = row;
        else {
            const int visible = std::max(VisibleRowCount(), 1);
            if (row >= top + visible)
                top = row - visible + 1;
        }
    }
    int left = FTopLeft.X;
    if (col >= FFixedCols) {
        if (col < left)
            left = col;
        else {
            const int visible = std::max(VisibleColCount(), 1);
            if (col >= left + visible)
                left = col - visible + 1;
        }
    }
    MoveTopLeft(left, top);
}

void TCustomPrGrid::UpdateScrollRange()
{
    FSyncingScroll = true;
    QScrollBar *vbar = verticalScrollBar();
    vbar->setRange(0, std::max(0, MaxTopRow() - FFixedRows));
    vbar->setPageStep(std::max(1, VisibleRowCount()));
    vbar->setSingleStep(1);
    vbar->setValue(FTopLeft.Y - FFixedRows);
    QScrollBar *hbar = horizontalScrollBar();
    hbar->setRange(0, std::max(0, MaxLeftCol() - FFixedCols));
    hbar->setPageStep(std::max(1, VisibleColCount()));
    hbar->setSingleStep(1);
    hbar->setValue(FTopLeft.X - FFixedCols);
    FSyncingScroll = false;
}

void TCustomPrGrid::scrollContentsBy(int, int)
{
    if (FSyncingScroll)
        return;
    const int col = FFixedCols + horizontalScrollBar()->value();
    const int row = FFixedRows + verticalScrollBar()->value();
    if (col == FTopLeft.X && row == FTopLeft.Y)
        return;
    FTopLeft = {std::min(col, FColCount - 1), std::min(row, FRowCount - 1)};
    viewport()->update();
    UpdateEdit();
    emit OnTopLeftChanged();
}

void TCustomPrGrid::LayoutChanged()
{
    if (FUpdateCount > 0)
        return;
    UpdateColWidths();
    // A shorter list or a taller window may leave the view scrolled past the end.
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    UpdateScrollRange();
    viewport()->update();
    UpdateEdit();
}

int TCustomPrGrid::ColX(int col) const
{
    int x = 0;
    for (int c = 0; c < FFixedCols && c < FColCount; ++c) {
        if (c == col)
            return x;
        x += ColWidths(c) + FGridLineWidth;
    }
    if (col < FTopLeft.X)
        return -1;
    for (int c = FTopLeft.X; c < FColCount; ++c) {
        if (c == col)
            return x;
        x += ColWidths(c) + FGridLineWidth;
    }
    return -1;
}

int TCustomPrGrid::RowY(int row) const
{
    int y = 0;
    for (int r = 0; r < FFixedRows && r < FRowCount; ++r) {
        if (r == row)
            return y;
        y += RowHeights(r) + FGridLineWidth;
    }
    if (row < FTopLeft.Y)
        return -1;
    for (int r = FTopLeft.Y; r < FRowCount; ++r) {
        if (r == row)
            return y;
        y += RowHeights(r) + FGridLineWidth;
        if (y > viewport()->height())
            return -1;
    }
    return -1;
}

QRect TCustomPrGrid::CellRect(int col, int row) const
{
    if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount)
        return QRect();
    const int x = ColX(col);
    const int y = RowY(row);
    if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height())
        return QRect();
    return QRect(x, y, ColWidths(col), RowHeights(row));
}

TGridCoord TCustomPrGrid::MouseCoord(const QPoint &point) const
{
    TGridCoord result;
    if (point.x() < 0 || point.y() < 0)
        return result;
    auto colAt = [&](int c, int &x) {
        const int w = ColWidths(c) + FGridLineWidth;
        const bool hit = point.x() >= x && point.x() < x + w;
        x += w;
        return hit;
    };
    int x = 0;
    for (int c = 0; c < FFixedCols && result.X < 0; ++c)
        if (colAt(c, x))
            result.X = c;
    for (int c = FTopLeft.X; c < FColCount && result.X < 0; ++c)
        if (colAt(c, x))
            result.X = c;
    int y = 0;
    auto rowAt = [&](int r) {
        const int h = RowHeights(r) + FGridLineWidth;
        const bool hit = point.y() >= y && point.y() < y + h;
        y += h;
        return hit;
    };
    for (int r = 0; r < FFixedRows && result.Y < 0; ++r)
        if (rowAt(r))
            result.Y = r;
    for (int r = FTopLeft.Y; r < FRowCount && result.Y < 0; ++r)
        if (rowAt(r))
            result.Y = r;
    if (result.X < 0 || result.Y < 0)
        return TGridCoord();
    return result;
}

QString TCustomPrGrid::Cells(int col, int row) const
{
    CheckCol(col);
    CheckRow(row);
    const auto it = FData.find(row);
    return it == FData.end() ? QString() : it->second.Strings(col);
}

void TCustomPrGrid::SetCells(int col, int row, const QString &text)
{
    CheckCol(col);
    CheckRow(row);
    auto it = FData.find(row);
    if (it == FData.end()) {
        if (text.isEmpty())
            return;
        it = FData.emplace(row, TStringSparseList()).first;
    }
    if (it->second.Strings(col) == text)
        return;
    it->second.SetStrings(col, text);
    if (it->second.IsEmpty())
        FData.erase(it);
    InvalidateCell(col, row);
    if (col == FCurrent.X && row == FCurrent.Y && FInplaceEdit && FInplaceEdit->isVisible() && FUpdateCount == 0)
        FInplaceEdit->UpdateContents();
}

QObject *TCustomPrGrid::Objects(int col, int row) const
{
    CheckCol(col);
    CheckRow(row);
    const auto it = FData.find(row);
    return it == FData.end() ? nullptr : it->second.Objects(col);
}

void TCustomPrGrid::SetObjects(int col, int row, QObject *object)
{
    CheckCol(col);
    CheckRow(row);
    auto it = FData.find(row);
    if (it == FData.end()) {
        if (!object)
            return;
        it = FData.emplace(row, TStringSparseList()).first;
    }
    it->second.SetObjects(col, object);
    if (it->second.IsEmpty())
        FData.erase(it);
}

QStringList TCustomPrGrid::Rows(int row) const
{
    CheckRow(row);
    QStringList result;
    for (int c = 0; c < FColCount; ++c)
        result << Cells(c, row);
    return result;
}

QStringList TCustomPrGrid::Cols(int col) const
{
    CheckCol(col);
    QStringList result;
    for (int r = 0; r < FRowCount; ++r)
        result << Cells(col, r);
    return result;
}

int TCustomPrGrid::FilledCellCount() const
{
    int count = 0;
    for (const auto &row : FData)
        count += row.second.FilledCount();
    return count;
}

void TCustomPrGrid::BeginUpdate()
{
    ++FUpdateCount;
}

void TCustomPrGrid::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        LayoutChanged();
}

void TCustomPrGrid::SetEditorMode(bool value)
{
    FEditorMode = value && FOptions.Contains(goEditing);
    UpdateEdit();
    if (FEditorMode && hasFocus() && FInplaceEdit)
        FInplaceEdit->setFocus();
}

TPrInplaceEdit *TCustomPrGrid::CreateEditor()
{
    return new TPrInplaceEdit(this);
}

void TCustomPrGrid::UpdateEdit()
{
    if (FUpdateCount > 0)
        return;
    if (!EditorShouldShow()) {
        if (FInplaceEdit && FInplaceEdit->isVisible()) {
            const bool hadFocus = FInplaceEdit->hasFocus();
            FInplaceEdit->hide();
            if (hadFocus)
                setFocus();
        }
        return;
    }
    if (!FInplaceEdit)
        FInplaceEdit = CreateEditor();
    const QRect rect = CellRect(FCurrent.X, FCurrent.Y);
    if (rect.isEmpty()) {
        // Scrolled away: the editor waits out of sight, keeping the focus.
        FInplaceEdit->setGeometry(-rect.width() - 1000, -1000, 10, 10);
        FInplaceEdit->UpdateContents();
        return;
    }
    const bool moved = FInplaceEdit->EditCol() != FCurrent.X || FInplaceEdit->EditRow() != FCurrent.Y;
    // Leaving a cell counts as the editor losing the focus there and gaining it here.
    if (moved && FInplaceEdit->hasFocus())
        FInplaceEdit->CellChanged();
    FInplaceEdit->UpdateContents();
    FInplaceEdit->Move(rect);
    // A new cell starts with its whole text selected, so typing replaces it.
    if (moved)
        FInplaceEdit->selectAll();
    if (hasFocus())
        FInplaceEdit->setFocus();
}

bool TCustomPrGrid::CanEditModify() const
{
    return FOptions.Contains(goEditing) && EditModeOf(FCurrent.Y) != emNoEdit &&
           !(FCurrent.Y >= 0 && FCurrent.Y < FPropValues->Count() && FPropValues->Items(FCurrent.Y)->ReadOnly());
}

TPropEditMode TCustomPrGrid::EditModeOf(int row) const
{
    if (row < 0 || row >= FPropValues->Count())
        return emSimple;
    return FPropValues->Items(row)->EditMode();
}

QString TCustomPrGrid::GetEditText(int col, int row)
{
    QString text = Cells(col, row);
    emit OnGetEditText(col, row, &text);
    return text;
}

QString TCustomPrGrid::GetEditMask(int col, int row)
{
    QString mask;
    emit OnGetEditMask(col, row, &mask);
    return mask;
}

void TCustomPrGrid::SetEditText(int col, int row, const QString &value)
{
    SetCells(col, row, value);
    emit OnSetEditText(col, row, value);
}

void TCustomPrGrid::PropValueChanged(TCellValueProp *item)
{
    if (FUpdateCount > 0)
        return;
    if (item)
        InvalidateRow(item->Index());
    else
        viewport()->update();
    if (FInplaceEdit && FInplaceEdit->isVisible() && (!item || item->Index() == FCurrent.Y))
        FInplaceEdit->UpdateContents();
}

void TCustomPrGrid::InvalidateCell(int col, int row)
{
    if (FUpdateCount > 0)
        return;
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty())
        viewport()->update(rect.adjusted(-2, -3, 2, 2));
}

void TCustomPrGrid::InvalidateRow(int row)
{
    if (FUpdateCount > 0 || row < 0 || row >= FRowCount)
        return;
    const int y = RowY(row);
    if (y >= 0)
        viewport()->update(QRect(0, y - 3, viewport()->width(), RowHeights(row) + 6));
}

void TCustomPrGrid::DrawCellText(QPainter &painter, const QRect &rect, const QString &text, TAlignment alignment,
                                 const QColor &color, const QFont &font)
{
    painter.save();
    painter.setClipRect(rect);
    painter.setFont(font);
    painter.setPen(color);
    const QFontMetrics metrics(font);
    const int top = rect.top() + 2;
    int left = rect.left() + 2;
    if (alignment == taRightJustify)
        left = rect.right() + 1 - 3 - metrics.horizontalAdvance(text);
    else if (alignment == taCenter)
        left = rect.left() + (rect.width() - metrics.horizontalAdvance(text)) / 2;
    // The text's top sits 2 pixels below the cell's edge.
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
    painter.restore();
}

void TCustomPrGrid::DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state)
{
    const QPalette pal = palette();
    QColor textColor = (state & gdFixed) ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Text);
    if (IsHighlighted(state))
        textColor = pal.color(QPalette::HighlightedText);
    DrawCellText(painter, rect, Cells(col, row), taLeftJustify, textColor, font());
}

void TCustomPrGrid::paintEvent(QPaintEvent *)
{
    UpdateColWidths();
    QPainter painter(viewport());
    const QPalette pal = palette();
    const QColor fixedColor = ColorToQColor(FFixedColor);
    const QColor normalColor = ColorToQColor(FColor);
    const QColor lineColor = FColor == clSilver ? QColor(128, 128, 128) : QColor(192, 192, 192);
    const QColor highlight = ColorToQColor(clBtnHighlight);
    const QColor shadow = ColorToQColor(clBtnShadow);

    painter.fillRect(viewport()->rect(), normalColor);

    auto paintRow = [&](int row, int y) {
        const int h = RowHeights(row);
        int x = 0;
        auto paintCol = [&](int col) {
            const int w = ColWidths(col);
            const QRect cell(x, y, w, h);
            const bool fixed = col < FFixedCols || row < FFixedRows;
            TGridDrawState state = fixed ? gdFixed : 0;
            if (!fixed && col == FCurrent.X && row == FCurrent.Y)
                state |= gdFocused | gdSelected;
            else if (!fixed && FOptions.Contains(goRowSelect) && row == FCurrent.Y)
                state |= gdSelected;
            const bool highlighted = IsHighlighted(state);
            painter.fillRect(cell, highlighted ? pal.color(QPalette::Highlight) : fixed ? fixedColor : normalColor);
            if (FDefaultDrawing) {
                if (fixed) {
                    // Raised edge of a fixed cell.
                    painter.setPen(highlight);
                    painter.drawLine(cell.topLeft(), cell.topRight());
                    painter.drawLine(cell.topLeft(), cell.bottomLeft());
                    painter.setPen(shadow);
                    painter.drawLine(cell.bottomLeft(), cell.bottomRight());
                    painter.drawLine(cell.topRight(), cell.bottomRight());
                }
                DrawCell(painter, col, row, cell, state);
            }
            emit OnDrawCell(&painter, col, row, cell, state);
            if (FGridLineWidth > 0) {
                const bool vert = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
                const bool horz = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
                if (vert)
                    painter.fillRect(QRect(x + w, y, FGridLineWidth, h + FGridLineWidth), lineColor);
                if (horz)
                    painter.fillRect(QRect(x, y + h, w + FGridLineWidth, FGridLineWidth), lineColor);
            }
            x += w + FGridLineWidth;
        };
        for (int c = 0; c < FFixedCols; ++c)
            paintCol(c);
        for (int c = FTopLeft.X; c < FColCount && x < viewport()->width(); ++c)
            paintCol(c);
    };

    int y = 0;
    for (int r = 0; r < FFixedRows; ++r) {
        paintRow(r, y);
        y += RowHeights(r) + FGridLineWidth;
    }
    for (int r = FTopLeft.Y; r < FRowCount && y < viewport()->height(); ++r) {
        paintRow(r, y);
        y += RowHeights(r) + FGridLineWidth;
    }
}

void TCustomPrGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    SizeChanged();
    LayoutChanged();
}

void TCustomPrGrid::RaiseKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    emit OnKeyDown(&key, shift);
}

void TCustomPrGrid::RaiseKeyUp(int &key, Qt::KeyboardModifiers shift)
{
    emit OnKeyUp(&key, shift);
}

void TCustomPrGrid::RaiseKeyPress(QChar &key)
{
    emit OnKeyPress(&key);
}

void TCustomPrGrid::KeyDown(int &key, Qt::KeyboardModifiers shift)
{
    RaiseKeyDown(key, shift);
    if (key == 0)
        return;
    const bool ctrl = shift & Qt::ControlModifier;
    const int firstCol = FFixedCols, lastCol = FColCount - 1;
    const int firstRow = FFixedRows, lastRow = FRowCount - 1;
    int col = FCurrent.X, row = FCurrent.Y;
    const int page = std::max(VisibleRowCount(), 1);
    const int lastVisible = std::min(FTopLeft.Y + page - 1, lastRow);
    switch (key) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_PageUp:
        if (ctrl)
            row = FTopLeft.Y;
        else {
            row -= page;
            MoveTopLeft(FTopLeft.X, FTopLeft.Y - page);
        }
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            row = lastVisible;
        else {
            row += page;
            MoveTopLeft(FTopLeft.X, FTopLeft.Y + page);
        }
        break;
    case Qt::Key_Home:
        if (ctrl) {
            col = firstCol;
            row = firstRow;
        } else if (FOptions.Contains(goRowSelect))
            row = firstRow;
        else
            col = firstCol;
        break;
    case Qt::Key_End:
        if (ctrl) {
            col = lastCol;
            row = lastRow;
        } else if (FOptions.Contains(goRowSelect))
            row = lastRow;
        else
            col = lastCol;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (shift & Qt::AltModifier)
            return;
        const bool back = key == Qt::Key_Backtab || (shift & Qt::ShiftModifier);
        if (!FOptions.Contains(goTabs)) {
            focusNextPrevChild(!back);
            return;
        }
        if (back) {
            if (--col < firstCol) {
                col = lastCol;
                if (--row < firstRow)
                    row = lastRow;
            }
        } else if (++col > lastCol) {
            col = firstCol;
            if (++row > lastRow)
                row = firstRow;
        }
        break;
    }
    case Qt::Key_F2:
        SetEditorMode(true);
        return;
    default:
        return;
    }
    col = std::clamp(col, firstCol, lastCol);
    row = std::clamp(row, firstRow, lastRow);
    if (!FocusCell(col, row))
        return;
    ScrollInView(col, row);
}

void TCustomPrGrid::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    KeyDown(key, event->modifiers());
    const QString typed = event->text();
    if (key != 0 && !typed.isEmpty() && typed.at(0).isPrint()) {
        QChar ch = typed.at(0);
        RaiseKeyPress(ch);
    }
    event->accept();
}

void TCustomPrGrid::keyReleaseEvent(QKeyEvent *event)
{
    int key = event->key();
    RaiseKeyUp(key, event->modifiers());
    event->accept();
}

void TCustomPrGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    FPressedInViewport = true;
    if (event->button() == Qt::LeftButton) {
        if (!hasFocus() && !(FInplaceEdit && FInplaceEdit->hasFocus()))
            setFocus(Qt::MouseFocusReason);
        const TGridCoord cell = MouseCoord(pos);
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
            const bool wasCurrent = cell.X == FCurrent.X && cell.Y == FCurrent.Y;
            if (FocusCell(cell.X, cell.Y) && FOptions.Contains(goEditing)) {
                if (wasCurrent || AlwaysShowEditor())
                    SetEditorMode(true);
                if (FInplaceEdit && FInplaceEdit->isVisible())
                    FInplaceEdit->setFocus(Qt::MouseFocusReason);
            }
        }
    }
    emit OnMouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TCustomPrGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    emit OnMouseMove(event->modifiers(), pos.x(), pos.y());
}

void TCustomPrGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    emit OnMouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
    if (FPressedInViewport && event->button() == Qt::LeftButton && viewport()->rect().contains(pos))
        emit OnClick();
    FPressedInViewport = false;
}

void TCustomPrGrid::mouseDoubleClickEvent(QMouseEvent *)
{
    // The second press of a double click has come as a press already.
    emit OnDblClick();
}

void TCustomPrGrid::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    bool handled = false;
    const QPoint pos = event->position().toPoint();
    if (delta < 0)
        emit OnMouseWheelDown(event->modifiers(), pos, &handled);
    else
        emit OnMouseWheelUp(event->modifiers(), pos, &handled);
    // The wheel moves the current row instead of scrolling.
    if (!handled) {
        const int row = FCurrent.Y + (delta < 0 ? 1 : -1);
        if (row >= FFixedRows && row < FRowCount)
            FocusCell(FCurrent.X, row);
    }
    event->accept();
}

void TCustomPrGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (FInplaceEdit && FInplaceEdit->isVisible() && EditorShouldShow())
        FInplaceEdit->setFocus(event->reason());
    viewport()->update();
}

void TCustomPrGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TCustomPrGrid::FocusChanged(QWidget *old, QWidget *now)
{
    // The editor's drop-down list is a window of its own; the focus does not leave for it.
    auto inside = [this](QWidget *w) { return w && (w == this || isAncestorOf(w)); };
    auto popup = [](QWidget *w) { return w && w->window()->windowType() == Qt::Popup; };
    if (popup(old) || popup(now))
        return;
    if (inside(now) && !inside(old))
        emit OnEnter();
    else if (inside(old) && !inside(now))
        emit OnExit();
}

bool TCustomPrGrid::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Tab goes through the grid's key handling, which moves between cells with goTabs.
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            keyPressEvent(keyEvent);
            return true;
        }
        break;
    }
    case QEvent::FontChange:
        LayoutChanged();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::event(event);
}
