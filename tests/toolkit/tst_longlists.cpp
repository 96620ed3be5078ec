#include "toolkit/ListHints.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdCtrls.h"

#include <QFontMetrics>
#include <QRandomGenerator>
#include <QTest>

// Lists of thousands of items are filled and fitted in one step; the result must be
// what the item-by-item road gives.
class TestLongLists : public QObject {
    Q_OBJECT

private slots:
    void addItemsMatchesAddOneByOne();
    void extentOfLongListIsWidestItem();
};

namespace {

QStringList Texts(int count)
{
    static const char *const Words[] = {"river", "River",   "élan", "Elan", "façade", "AVA",   "WAVE",   "ill",
                                        "Zoo",   "o'clock", "10",   "9",    "",       "naïve", "MÜLLER", "mueller"};
    QRandomGenerator random(7);
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        QString text;
        for (int n = random.bounded(1, 4); n > 0; --n)
            text += QString::fromUtf8(Words[random.bounded(int(std::size(Words)))]) + QLatin1Char(' ');
        texts << text.trimmed();
    }
    return texts;
}

} // namespace

void TestLongLists::addItemsMatchesAddOneByOne()
{
    const QStringList items = Texts(3000);
    QStringList codes;
    for (int i = 0; i < items.size(); ++i)
        codes << QString::number(i);
    for (const bool sorted : {true, false}) {
        TNvComboBox one;
        TNvComboBox bulk;
        one.SetSorted(sorted);
        bulk.SetSorted(sorted);
        for (int i = 0; i < items.size(); ++i)
            one.Add(items.at(i), codes.at(i));
        bulk.AddItems(items, codes);
        QCOMPARE(bulk.ItemList(), one.ItemList());
        // Equal names keep the order they came in, each with its own code.
        QCOMPARE(bulk.Codes(), one.Codes());
        QCOMPARE(bulk.ItemIndex(), -1);
        // Added to a list that has items, they go in among them.
        bulk.AddItems({QStringLiteral("aardvark"), QStringLiteral("zebra")},
                      {QStringLiteral("a"), QStringLiteral("z")});
        one.Add(QStringLiteral("aardvark"), QStringLiteral("a"));
        one.Add(QStringLiteral("zebra"), QStringLiteral("z"));
        QCOMPARE(bulk.ItemList(), one.ItemList());
        QCOMPARE(bulk.Codes(), one.Codes());
    }
}

void TestLongLists::extentOfLongListIsWidestItem()
{
    // Kerned pairs, wide and narrow letters, a tab and letters beyond Latin, each widest
    // in turn among thousands of ordinary items.
    const QStringList challengers = {
        QStringLiteral("AVAVAVAVAVAVAVAVAVAVAVAVAVAVAV To Ty Yo"), QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWW"),
        QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii"), QStringLiteral("with\ttabs\tbetween\twords"),
        QStringLiteral("“Ωμέγα” — ∑ ≠ ∞ 漢字かな")};
    for (const QString &challenger : challengers) {
        TListBox list;
        QStringList items = Texts(4000);
        items.insert(1234, challenger.repeated(3));
        list.addItems(items);
        const QFontMetrics metrics(list.font());
        int expected = 0;
        for (const QString &text : std::as_const(items))
            expected =
                std::max(expected, metrics.size(Qt::TextExpandTabs, text).width() + metrics.horizontalAdvance('x'));
        QCOMPARE(FitListExtent(&list), expected);
        QCOMPARE(list.item(0)->sizeHint().width(), expected);
        QCOMPARE(list.item(3999)->sizeHint().height(), list.item(1234)->sizeHint().height());
    }
}

QTEST_MAIN(TestLongLists)
#include "tst_longlists.moc"
