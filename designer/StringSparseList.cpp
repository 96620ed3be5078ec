#include "designer/StringSparseList.h"

#include <algorithm>

void TStringSparseList::CheckIndex(int index)
{
    if (index < 0)
        throw EStringSparseListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

QString TStringSparseList::Strings(int index) const
{
    CheckIndex(index);
    const auto it = FCells.find(index);
    return it == FCells.end() ? QString() : it->second.Text;
}

void TStringSparseList::SetStrings(int index, const QString &text)
{
    CheckIndex(index);
    if (text.isEmpty()) {
        const auto it = FCells.find(index);
        if (it != FCells.end()) {
            it->second.Text.clear();
            DropIfEmpty(index);
        }
        return;
    }
    FCells[index].Text = text;
}

QObject *TStringSparseList::Objects(int index) const
{
    CheckIndex(index);
    const auto it = FCells.find(index);
    return it == FCells.end() ? nullptr : it->second.Object;
}

void TStringSparseList::SetObjects(int index, QObject *object)
{
    CheckIndex(index);
    if (!object) {
        const auto it = FCells.find(index);
        if (it != FCells.end()) {
            it->second.Object = nullptr;
            DropIfEmpty(index);
        }
        return;
    }
    // An object may be attached to a cell without text: the entry is made for it.
    FCells[index].Object = object;
}

void TStringSparseList::DropIfEmpty(int index)
{
    const auto it = FCells.find(index);
    if (it != FCells.end() && it->second.Text.isEmpty() && !it->second.Object)
        FCells.erase(it);
}

void TStringSparseList::Truncate(int count)
{
    FCells.erase(FCells.lower_bound(std::max(count, 0)), FCells.end());
}
