#pragma once

// The inspector's name/value grid: column 0 the property names, an optional check
// column, then the value column edited in place. It reports edits through the grid's
// signals; applying them to controls is the property list's business.

#include "designer/PrGrid.h"
#include "designer/PropertyInplaceEdit.h"

class TPropertyGrid : public TCustomPrGrid {
    Q_OBJECT
public:
    static constexpr int CheckColWidth = 17;

    explicit TPropertyGrid(QWidget *parent = nullptr);

    bool ValueColAutoSize() const { return FValueColAutoSize; }
    void SetValueColAutoSize(bool value);
    bool ShowCheckColumn() const { return FShowCheckColumn; }
    void SetShowCheckColumn(bool value);
    TAlignment NameAlignment() const { return FNameAlignment; }
    void SetNameAlignment(TAlignment value);

    // Column 0 holds the names; the values are in the last column.
    int ValueCol() const { return ColCount() - 1; }
    int CheckCol() const { return FShowCheckColumn ? 1 : -1; }

    TPropertyInplaceEdit *PropertyEditor() const;

    void SetEditText(int col, int row, const QString &value) override;
    void PropValueChanged(TCellValueProp *item) override;

protected:
    TPrInplaceEdit *CreateEditor() override;
    void DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridDrawState state) override;
    void UpdateColWidths() override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void SyncRow(int row);
    void DrawCurrentRowEdge(QPainter &painter, int col, const QRect &rect);

    bool FValueColAutoSize = false;
    bool FShowCheckColumn = true;
    TAlignment FNameAlignment = taLeftJustify;
    bool FSizingCols = false;
};
