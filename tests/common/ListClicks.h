#pragma once

// Picking lines of the answer list boxes with the mouse.

#include "question/QuestionControls.h"

#include <QStringList>
#include <QtTest>

// Clicks the line of the list with that text (toggling it where several may be picked).
inline void ClickLine(TQAListbox *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

inline QStringList SelectedLines(const TQAListbox *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        if (list->Selected(i))
            lines << list->item(i)->text();
    return lines;
}
