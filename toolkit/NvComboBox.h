#pragma once

#include <QComboBox>
#include <QStringList>

// A drop-down list that keeps, beside its visible items, a second string list Codes
// whose entry i belongs to item i (a name shown and its row ID as text). Each code is
// held in its item's row, so adding to a sorted list, deleting, clearing and sorting
// always keep the two lists paired.
class TNvComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit TNvComboBox(QWidget *parent = nullptr);

    int Count() const { return count(); }
    QString Items(int index) const { return itemText(index); }
    QStringList ItemList() const;

    // Adds the item (where it belongs when Sorted) and its code at the same position;
    // returns that position.
    int Add(const QString &item, const QString &code = QString());
    // Adds the items with their codes (entry i of each belonging together) where Add one
    // by one would put them, in one step: a list of thousands fills at once.
    void AddItems(const QStringList &items, const QStringList &codes);
    // Inserts at a position; in a sorted list the item goes where it belongs instead.
    int Insert(int index, const QString &item, const QString &code = QString());
    void Delete(int index);
    void Clear();

    // The codes, entry i belonging to item i.
    QStringList Codes() const;
    QString Code(int index) const; // empty when out of range
    void SetCode(int index, const QString &code);

    // Sorted lists keep their items in order, ignoring letter case; turning it on sorts.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    void Sort();

    // -1 = no item selected.
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index);
    QString Text() const { return currentText(); }

    // The code of the selected item; empty when nothing is selected.
    QString SelectedCode() const;
    // First match ignoring letter case; -1 when none.
    int IndexOfItem(const QString &item) const;
    int IndexOfCode(const QString &code) const;
    // Select the first matching item; with no match nothing is selected. True when found.
    bool SelectItem(const QString &item);
    bool SelectCode(const QString &code);

    static constexpr int CodeRole = Qt::UserRole + 1;

private:
    int SortedPosition(const QString &item) const;

    bool FSorted = false;
};
