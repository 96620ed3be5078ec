#include "designer/CellValueProps.h"

#include "designer/PrGrid.h"

#include <algorithm>

int TCellValueProp::Index() const
{
    return FCollection->IndexOf(this);
}

void TCellValueProp::Changed()
{
    FCollection->Changed(this);
}

void TCellValueProp::SetEditMode(TPropEditMode value)
{
    if (FEditMode == value)
        return;
    FEditMode = value;
    Changed();
}

QStringList *TCellValueProp::PickList()
{
    if (!FPickList)
        FPickList = std::make_unique<QStringList>();
    return FPickList.get();
}

void TCellValueProp::SetPickList(const QStringList *items)
{
    if (!items)
        FPickList.reset();
    else
        *PickList() = *items;
}

void TCellValueProp::SetPropertyLabel(const QString &value)
{
    if (FPropertyLabel == value)
        return;
    FPropertyLabel = value;
    Changed();
}

void TCellValueProp::SetPropertyValue(const QString &value)
{
    if (FPropertyValue == value)
        return;
    FPropertyValue = value;
    Changed();
}

void TCellValueProp::SetReadOnly(bool value)
{
    if (FReadOnly == value)
        return;
    FReadOnly = value;
    Changed();
}

void TCellValueProp::SetChecked(bool value)
{
    if (FChecked == value)
        return;
    FChecked = value;
    Changed();
}

TCellValueProp *TCellValueProps::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidGridOperation(QString::fromLatin1(SIndexOutOfRange));
    return FItems[static_cast<size_t>(index)].get();
}

int TCellValueProps::IndexOf(const TCellValueProp *item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

void TCellValueProps::Reset()
{
    BeginUpdate();
    const int count = FOwner ? FOwner->RowCount() : Count();
    FItems.clear();
    SetCount(count);
    Changed(nullptr);
    EndUpdate();
}

void TCellValueProps::SetCount(int count)
{
    count = std::max(count, 0);
    if (static_cast<int>(FItems.size()) > count)
        FItems.resize(static_cast<size_t>(count));
    while (static_cast<int>(FItems.size()) < count)
        FItems.push_back(std::make_unique<TCellValueProp>(this));
}

void TCellValueProps::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        if (FOwner)
            FOwner->PropValueChanged(nullptr);
    }
}

void TCellValueProps::Changed(TCellValueProp *item)
{
    // Inside an update bracket the grid hears of all changes once, at the end.
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (FOwner)
        FOwner->PropValueChanged(item);
}
