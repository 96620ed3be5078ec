#pragma once

#include "designer/PrGridTypes.h"

#include <map>

// Indexed entries of which only the filled ones take memory.
class TStringSparseList {
public:
    QString Strings(int index) const;
    void SetStrings(int index, const QString &text);
    QObject *Objects(int index) const;
    void SetObjects(int index, QObject *object);
    bool IsEmpty() const { return FCells.empty(); }
    int FilledCount() const { return static_cast<int>(FCells.size()); }
    // Drops the entries from index on.
    void Truncate(int count);

private:
    static void CheckIndex(int index);
    void DropIfEmpty(int index);
    std::map<int, TGridCell> FCells;
};
