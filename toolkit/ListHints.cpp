#include "toolkit/ListHints.h"

#include "toolkit/PlainText.h"
#include "toolkit/StdCtrls.h"

#include <QCursor>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QListWidget>
#include <QToolTip>

#include <algorithm>
#include <iterator>
#include <limits>

void SetUpHintList(TListBox *list)
{
    list->SetSorted(true);
    list->SetShowHint(true);
    list->setMouseTracking(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

namespace {

// What a text's width cannot exceed, from its letters' widths added up: shaping only
// moves letters closer or apart by a pixel or two (kerning). Infinite for a text whose
// width the letters do not tell (tabs, scripts that join or combine letters).
class TWidthBound {
public:
    explicit TWidthBound(const QFont &font) : FMetrics(font), FSlack(FMetrics.maxWidth())
    {
        std::fill(std::begin(FAdvances), std::end(FAdvances), qreal(-1));
    }

    qreal operator()(const QString &text)
    {
        qreal sum = 0;
        for (const QChar c : text) {
            const char16_t code = c.unicode();
            if (code < 0x20 || code >= std::size(FAdvances))
                return std::numeric_limits<qreal>::infinity();
            qreal &advance = FAdvances[code];
            if (advance < 0)
                advance = FMetrics.horizontalAdvance(c);
            sum += advance;
        }
        return sum + sum / 10 + FSlack;
    }

private:
    QFontMetricsF FMetrics;
    qreal FSlack;
    qreal FAdvances[0x250]; // Latin letters, measured when first met
};

} // namespace

int FitListExtent(QListWidget *list)
{
    const QFontMetrics metrics(list->font());
    const int margin = metrics.horizontalAdvance(QLatin1Char('x'));
    // Measuring a text means shaping it, which for thousands of items takes long: texts
    // are measured from the widest bound down, until no bound left can beat the widest.
    TWidthBound bound(list->font());
    QList<QPair<qreal, int>> order;
    order.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        order.append({bound(list->item(i)->text()), i});
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    int widest = 0;
    for (const auto &[limit, row] : std::as_const(order)) {
        if (limit + margin < widest)
            break;
        widest = std::max(widest, metrics.size(Qt::TextExpandTabs, list->item(row)->text()).width() + margin);
    }
    widest = std::min(widest, int(std::numeric_limits<quint16>::max()));
    // The view's scroll range follows its items' widths. Every item is one line in the
    // same font, so every row is as high as the widest item's.
    list->setUniformItemSizes(true);
    const int height = order.isEmpty() ? 0 : list->sizeHintForRow(order.first().second);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(QSize(widest, height));
    return widest;
}

void ShowItemHint(TListBox *list, QListWidgetItem *item)
{
    if (!item || item->text() == list->Hint())
        return;
    list->SetHint(item->text());
    QToolTip::showText(QCursor::pos(), PlainHint(item->text()), list);
}
