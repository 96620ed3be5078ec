#include "toolkit/ListHints.h"

#include "toolkit/PlainText.h"
#include "toolkit/StdCtrls.h"

#include <QCursor>
#include <QFontMetrics>
#include <QListWidget>
#include <QToolTip>

#include <algorithm>
#include <limits>

void SetUpHintList(TListBox *list)
{
    list->SetSorted(true);
    list->SetShowHint(true);
    list->setMouseTracking(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

int FitListExtent(QListWidget *list)
{
    const QFontMetrics metrics(list->font());
    const int margin = metrics.horizontalAdvance(QLatin1Char('x'));
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, metrics.size(Qt::TextExpandTabs, list->item(i)->text()).width() + margin);
    widest = std::min(widest, int(std::numeric_limits<quint16>::max()));
    // The view's scroll range follows its items' widths.
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(QSize(widest, list->sizeHintForRow(i)));
    return widest;
}

void ShowItemHint(TListBox *list, QListWidgetItem *item)
{
    if (!item || item->text() == list->Hint())
        return;
    list->SetHint(item->text());
    QToolTip::showText(QCursor::pos(), PlainHint(item->text()), list);
}
