#include "toolkit/ListHints.h"
#include "toolkit/StdCtrls.h"

#include <QFontMetrics>
#include <QTest>

class TestListHints : public QObject {
    Q_OBJECT

private slots:
    void extentFitsWidestItem_data();
    void extentFitsWidestItem();
    void hintFollowsItem();
};

void TestListHints::extentFitsWidestItem_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::newRow("empty") << QStringList();
    QTest::newRow("one") << QStringList{QStringLiteral("One")};
    QTest::newRow("widest last") << QStringList{QStringLiteral("a"), QStringLiteral("a much wider item")};
    QTest::newRow("tab expanded") << QStringList{QStringLiteral("ab"), QStringLiteral("a\tb")};
    QTest::newRow("beyond 16 bits") << QStringList{QString(20000, QLatin1Char('W'))};
}

void TestListHints::extentFitsWidestItem()
{
    QFETCH(QStringList, items);
    TListBox list;
    list.addItems(items);
    const QFontMetrics metrics(list.font());
    int expected = 0;
    for (const QString &text : std::as_const(items))
        expected = std::max(expected, metrics.size(Qt::TextExpandTabs, text).width() + metrics.horizontalAdvance('x'));
    expected = std::min(expected, 65535);
    QCOMPARE(FitListExtent(&list), expected);
    for (int i = 0; i < list.count(); ++i)
        QCOMPARE(list.item(i)->sizeHint().width(), expected);
}

void TestListHints::hintFollowsItem()
{
    TListBox list;
    SetUpHintList(&list);
    QVERIFY(list.ShowHint());
    QVERIFY(list.hasMouseTracking());
    list.Items()->Add(QStringLiteral("b"));
    list.Items()->Add(QStringLiteral("a"));
    QCOMPARE(list.item(0)->text(), QStringLiteral("a"));

    ShowItemHint(&list, list.item(1));
    QCOMPARE(list.Hint(), QStringLiteral("b"));
    ShowItemHint(&list, nullptr);
    QCOMPARE(list.Hint(), QStringLiteral("b"));
    ShowItemHint(&list, list.item(0));
    QCOMPARE(list.Hint(), QStringLiteral("a"));
}

QTEST_MAIN(TestListHints)
#include "tst_listhints.moc"
