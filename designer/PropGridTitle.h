#pragma once

#include "toolkit/Graphics.h"
#include "toolkit/StdCtrls.h"

#include <QFont>

class TCustomPrGrid;

// Title row 0, shown with goTitle.
class TPropGridTitle {
public:
    explicit TPropGridTitle(TCustomPrGrid *grid) : FGrid(grid) { }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    QString TitleNameText() const { return FTitleNameText; }
    void SetTitleNameText(const QString &value);
    QString TitleValueText() const { return FTitleValueText; }
    void SetTitleValueText(const QString &value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    QFont Font() const { return FFont; }
    void SetFont(const QFont &value);

private:
    void Changed();
    TCustomPrGrid *FGrid;
    TAlignment FAlignment = taLeftJustify;
    QString FTitleNameText;
    QString FTitleValueText;
    TColor FColor = clBtnFace;
    QFont FFont;
};
