#include "designer/PropGridTitle.h"

#include "designer/PrGrid.h"

void TPropGridTitle::Changed()
{
    if (FGrid)
        FGrid->viewport()->update();
}

void TPropGridTitle::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Changed();
}

void TPropGridTitle::SetTitleNameText(const QString &value)
{
    FTitleNameText = value;
    Changed();
}

void TPropGridTitle::SetTitleValueText(const QString &value)
{
    FTitleValueText = value;
    Changed();
}

void TPropGridTitle::SetColor(TColor value)
{
    FColor = value;
    Changed();
}

void TPropGridTitle::SetFont(const QFont &value)
{
    FFont = value;
    Changed();
}
