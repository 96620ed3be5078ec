#pragma once

#include "designer/PrGridTypes.h"

#include <QStringList>

#include <memory>
#include <vector>

class TCustomPrGrid;
class TCellValueProps;

// One row of the property grid.
class TCellValueProp {
public:
    explicit TCellValueProp(TCellValueProps *collection) : FCollection(collection) { }

    int Index() const;

    unsigned DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(unsigned value) { FDropDownRows = value; }
    int Tag = 0;
    TPropEditMode EditMode() const { return FEditMode; }
    void SetEditMode(TPropEditMode value);
    // Created on first use.
    QStringList *PickList();
    bool HasPickList() const { return FPickList != nullptr; }
    // Nothing (nullptr) frees the list.
    void SetPickList(const QStringList *items);
    QString PropertyLabel() const { return FPropertyLabel; }
    void SetPropertyLabel(const QString &value);
    QString PropertyValue() const { return FPropertyValue; }
    void SetPropertyValue(const QString &value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    QString PropertyType() const { return FPropertyType; }
    void SetPropertyType(const QString &value) { FPropertyType = value; }
    // The item chosen when the drop-down list was last closed; -1 when none matched.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value) { FItemIndex = value; }

private:
    void Changed();

    TCellValueProps *FCollection;
    unsigned FDropDownRows = 7;
    TPropEditMode FEditMode = emSimple;
    std::unique_ptr<QStringList> FPickList;
    QString FPropertyLabel;
    QString FPropertyValue;
    bool FReadOnly = false;
    bool FChecked = false;
    QString FPropertyType;
    int FItemIndex = -1;
};

// The rows' items, one per grid row; owned by the grid.
class TCellValueProps {
public:
    explicit TCellValueProps(TCustomPrGrid *owner) : FOwner(owner) { }
    TCellValueProps(const TCellValueProps &) = delete;
    TCellValueProps &operator=(const TCellValueProps &) = delete;

    TCustomPrGrid *Owner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TCellValueProp *Items(int index) const;
    TCellValueProp *operator[](int index) const { return Items(index); }
    int IndexOf(const TCellValueProp *item) const;
    // Fresh items, one per grid row.
    void Reset();

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // An item changed (nullptr: several); repaints once per update bracket.
    void Changed(TCellValueProp *item);

private:
    friend class TCustomPrGrid;
    void SetCount(int count);

    TCustomPrGrid *FOwner;
    std::vector<std::unique_ptr<TCellValueProp>> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};
