#include "toolkit/NvComboBox.h"

#include "toolkit/AlphabeticOrder.h"
#include "toolkit/Strings.h"

#include <QSignalBlocker>
#include <QStandardItemModel>

#include <algorithm>
#include <numeric>

namespace {

// The order of every sorted list, the database's included.
bool LessIgnoringCase(const QString &a, const QString &b)
{
    return AlphabeticLess(a, b);
}

} // namespace

TNvComboBox::TNvComboBox(QWidget *parent) : QComboBox(parent)
{
    // The list decides where an item goes, never the user's typing.
    setInsertPolicy(QComboBox::NoInsert);
}

QStringList TNvComboBox::ItemList() const
{
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

int TNvComboBox::SortedPosition(const QString &item) const
{
    // After the last equal item, so names that tie keep the order they were added in.
    int low = 0;
    int high = count();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (LessIgnoringCase(item, itemText(mid)))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

int TNvComboBox::Add(const QString &item, const QString &code)
{
    return Insert(count(), item, code);
}

int TNvComboBox::Insert(int index, const QString &item, const QString &code)
{
    const int position = FSorted ? SortedPosition(item) : std::clamp(index, 0, count());
    if (currentIndex() >= 0) {
        insertItem(position, item);
        setItemData(position, code, CodeRole);
        return position;
    }
    // Qt selects the first item put into an empty list; adding must not choose anything.
    {
        const QSignalBlocker blocker(this);
        insertItem(position, item);
        setItemData(position, code, CodeRole);
        setCurrentIndex(-1);
    }
    return position;
}

void TNvComboBox::AddItems(const QStringList &items, const QStringList &codes)
{
    auto standard = qobject_cast<QStandardItemModel *>(model());
    if (count() > 0 || !standard) {
        // Merged with the items there, one by one.
        for (qsizetype i = 0; i < items.size(); ++i)
            Add(items.at(i), codes.value(i));
        return;
    }
    QList<qsizetype> order;
    if (FSorted) {
        order = AlphabeticOrder(items);
    } else {
        order.resize(items.size());
        std::iota(order.begin(), order.end(), 0);
    }
    QList<QStandardItem *> rows;
    rows.reserve(order.size());
    for (qsizetype index : std::as_const(order)) {
        auto row = new QStandardItem(items.at(index));
        row->setData(codes.value(index), CodeRole);
        rows << row;
    }
    // Qt selects the first item put into an empty list; adding must not choose anything.
    const QSignalBlocker blocker(this);
    standard->invisibleRootItem()->appendRows(rows);
    setCurrentIndex(-1);
}

void TNvComboBox::Delete(int index)
{
    if (index >= 0 && index < count())
        removeItem(index);
}

void TNvComboBox::Clear()
{
    clear();
}

QStringList TNvComboBox::Codes() const
{
    QStringList codes;
    codes.reserve(count());
    for (int i = 0; i < count(); ++i)
        codes << Code(i);
    return codes;
}

QString TNvComboBox::Code(int index) const
{
    if (index < 0 || index >= count())
        return QString();
    return itemData(index, CodeRole).toString();
}

void TNvComboBox::SetCode(int index, const QString &code)
{
    if (index >= 0 && index < count())
        setItemData(index, code, CodeRole);
}

void TNvComboBox::SetSorted(bool value)
{
    if (FSorted == value)
        return;
    FSorted = value;
    if (FSorted)
        Sort();
}

void TNvComboBox::Sort()
{
    struct TEntry {
        QString Item;
        QString Code;
        bool Current;
    };
    QList<TEntry> entries;
    entries.reserve(count());
    for (int i = 0; i < count(); ++i)
        entries.append({itemText(i), Code(i), i == currentIndex()});
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TEntry &a, const TEntry &b) { return LessIgnoringCase(a.Item, b.Item); });

    int current = -1;
    {
        // The selected entry moves with its item; no change is reported for the rebuild.
        const QSignalBlocker blocker(this);
        clear();
        for (int i = 0; i < entries.size(); ++i) {
            addItem(entries[i].Item);
            setItemData(i, entries[i].Code, CodeRole);
            if (entries[i].Current)
                current = i;
        }
        setCurrentIndex(-1);
    }
    setCurrentIndex(current);
}

void TNvComboBox::SetItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

QString TNvComboBox::SelectedCode() const
{
    return Code(currentIndex());
}

int TNvComboBox::IndexOfItem(const QString &item) const
{
    for (int i = 0; i < count(); ++i)
        if (QString::compare(itemText(i), item, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TNvComboBox::IndexOfCode(const QString &code) const
{
    for (int i = 0; i < count(); ++i)
        if (QString::compare(Code(i), code, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TNvComboBox::SelectItem(const QString &item)
{
    const int index = IndexOfItem(item);
    SetItemIndex(index);
    return index >= 0;
}

bool TNvComboBox::SelectCode(const QString &code)
{
    const int index = IndexOfCode(code);
    SetItemIndex(index);
    return index >= 0;
}
