#pragma once

#include <QList>
#include <QStringList>

// The indexes of texts in the order of AlphabeticLess (toolkit/Strings.h), equal texts
// in their given order. Each text is turned into a sort key once, so thousands of texts
// sort quickly.
QList<qsizetype> AlphabeticOrder(const QStringList &texts);
