#include "toolkit/NvComboBox.h"

#include <QSignalSpy>
#include <QtTest>

class TestNvComboBox : public QObject {
    Q_OBJECT

private slots:
    void sortedAddKeepsPairs_data();
    void sortedAddKeepsPairs();
    void deleteKeepsPairs_data();
    void deleteKeepsPairs();
    void turningSortedOnKeepsPairsAndChoice();
    void addingChoosesNothing();
    void selectByNameAndCode_data();
    void selectByNameAndCode();
    void unsortedInsertAndClear();
};

namespace {

void Fill(TNvComboBox &box, const QStringList &items, const QStringList &codes)
{
    for (int i = 0; i < items.size(); ++i) {
        const int position = box.Add(items[i]);
        box.SetCode(position, codes[i]);
    }
}

} // namespace

void TestNvComboBox::sortedAddKeepsPairs_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("expectedItems");
    QTest::addColumn<QStringList>("expectedCodes");

    QTest::newRow("reverse order") << QStringList{"Zoology", "Math", "Art"} << QStringList{"1", "2", "3"}
                                   << QStringList{"Art", "Math", "Zoology"} << QStringList{"3", "2", "1"};
    QTest::newRow("letter case ignored") << QStringList{"beta", "Alpha", "alpha 2", "Gamma"}
                                         << QStringList{"10", "11", "12", "13"}
                                         << QStringList{"Alpha", "alpha 2", "beta", "Gamma"}
                                         << QStringList{"11", "12", "10", "13"};
    QTest::newRow("same name twice, each with its own ID")
        << QStringList{"Math", "Art", "Math"} << QStringList{"4", "5", "9"} << QStringList{"Art", "Math", "Math"}
        << QStringList{"5", "4", "9"};
    QTest::newRow("same name in other case keeps adding order")
        << QStringList{"MATH", "math", "Math"} << QStringList{"1", "2", "3"} << QStringList{"MATH", "math", "Math"}
        << QStringList{"1", "2", "3"};
    QTest::newRow("letters beyond ASCII")
        << QStringList{"Ölkunde", "Ärzte", "äpfel", "Zebra"} << QStringList{"1", "2", "3", "4"}
        << QStringList{"äpfel", "Ärzte", "Ölkunde", "Zebra"} << QStringList{"3", "2", "1", "4"};
    QTest::newRow("empty name") << QStringList{"B", "", "A"} << QStringList{"1", "2", "3"} << QStringList{"", "A", "B"}
                                << QStringList{"2", "3", "1"};
}

void TestNvComboBox::sortedAddKeepsPairs()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, expectedItems);
    QFETCH(QStringList, expectedCodes);

    TNvComboBox box;
    box.SetSorted(true);
    Fill(box, items, codes);
    QCOMPARE(box.ItemList(), expectedItems);
    QCOMPARE(box.Codes(), expectedCodes);

    // Adding with the code in one call lands in the same place.
    TNvComboBox together;
    together.SetSorted(true);
    for (int i = 0; i < items.size(); ++i)
        together.Add(items[i], codes[i]);
    QCOMPARE(together.ItemList(), expectedItems);
    QCOMPARE(together.Codes(), expectedCodes);
}

void TestNvComboBox::deleteKeepsPairs_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("expectedItems");
    QTest::addColumn<QStringList>("expectedCodes");

    QTest::newRow("first") << 0 << QStringList{"Biology", "Chemistry"} << QStringList{"2", "3"};
    QTest::newRow("middle") << 1 << QStringList{"Art", "Chemistry"} << QStringList{"1", "3"};
    QTest::newRow("last") << 2 << QStringList{"Art", "Biology"} << QStringList{"1", "2"};
    QTest::newRow("out of range changes nothing")
        << 3 << QStringList{"Art", "Biology", "Chemistry"} << QStringList{"1", "2", "3"};
    QTest::newRow("negative changes nothing")
        << -1 << QStringList{"Art", "Biology", "Chemistry"} << QStringList{"1", "2", "3"};
}

void TestNvComboBox::deleteKeepsPairs()
{
    QFETCH(int, index);
    QFETCH(QStringList, expectedItems);
    QFETCH(QStringList, expectedCodes);

    TNvComboBox box;
    box.SetSorted(true);
    Fill(box, {"Chemistry", "Art", "Biology"}, {"3", "1", "2"});
    box.Delete(index);
    QCOMPARE(box.ItemList(), expectedItems);
    QCOMPARE(box.Codes(), expectedCodes);

    // A later sorted add still pairs with what is left.
    const int position = box.Add("Anatomy", "7");
    QCOMPARE(position, 0);
    QCOMPARE(box.Code(0), QStringLiteral("7"));
    for (int i = 1; i < box.Count(); ++i)
        QCOMPARE(box.Code(i), expectedCodes[i - 1]);
}

void TestNvComboBox::turningSortedOnKeepsPairsAndChoice()
{
    TNvComboBox box;
    Fill(box, {"Physics", "art", "Music"}, {"30", "10", "20"});
    QCOMPARE(box.ItemList(), (QStringList{"Physics", "art", "Music"}));
    box.SetItemIndex(0);

    box.SetSorted(true);
    QCOMPARE(box.ItemList(), (QStringList{"art", "Music", "Physics"}));
    QCOMPARE(box.Codes(), (QStringList{"10", "20", "30"}));
    QCOMPARE(box.Text(), QStringLiteral("Physics"));
    QCOMPARE(box.SelectedCode(), QStringLiteral("30"));
}

void TestNvComboBox::addingChoosesNothing()
{
    TNvComboBox box;
    box.SetSorted(true);
    QSignalSpy changes(&box, &QComboBox::currentIndexChanged);
    Fill(box, {"Math", "Art"}, {"1", "2"});
    QCOMPARE(box.ItemIndex(), -1);
    QVERIFY(box.SelectedCode().isEmpty());
    QCOMPARE(changes.count(), 0);

    // A chosen item stays chosen while others are added before it.
    box.SetItemIndex(box.IndexOfItem("Math"));
    box.Add("Biology", "3");
    QCOMPARE(box.Text(), QStringLiteral("Math"));
    QCOMPARE(box.SelectedCode(), QStringLiteral("1"));
}

void TestNvComboBox::selectByNameAndCode_data()
{
    QTest::addColumn<bool>("byCode");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedCode");

    QTest::newRow("name") << false << "Biology" << true << "Biology"
                          << "2";
    QTest::newRow("name in other case") << false << "BIOLOGY" << true << "Biology"
                                        << "2";
    QTest::newRow("first of two equal names") << false << "Math" << true << "Math"
                                              << "5";
    QTest::newRow("unknown name chooses nothing") << false << "Botany" << false << ""
                                                  << "";
    QTest::newRow("code") << true << "9" << true << "Math"
                          << "9";
    QTest::newRow("unknown code chooses nothing") << true << "99" << false << ""
                                                  << "";
}

void TestNvComboBox::selectByNameAndCode()
{
    QFETCH(bool, byCode);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, expectedText);
    QFETCH(QString, expectedCode);

    TNvComboBox box;
    box.SetSorted(true);
    Fill(box, {"Math", "Biology", "Math"}, {"5", "2", "9"});
    box.SetItemIndex(0); // an earlier choice that a failed look-up must clear
    QCOMPARE(byCode ? box.SelectCode(key) : box.SelectItem(key), found);
    QCOMPARE(box.Text(), expectedText);
    QCOMPARE(box.SelectedCode(), expectedCode);
    QCOMPARE(box.ItemIndex() >= 0, found);
}

void TestNvComboBox::unsortedInsertAndClear()
{
    TNvComboBox box;
    box.Add("B", "2");
    box.Add("A", "1");
    QCOMPARE(box.Insert(1, "C", "3"), 1);
    QCOMPARE(box.Insert(99, "D", "4"), 3);
    QCOMPARE(box.ItemList(), (QStringList{"B", "C", "A", "D"}));
    QCOMPARE(box.Codes(), (QStringList{"2", "3", "1", "4"}));
    QVERIFY(box.Code(4).isEmpty());

    box.SetItemIndex(2);
    box.Clear();
    QCOMPARE(box.Count(), 0);
    QVERIFY(box.Codes().isEmpty());
    QCOMPARE(box.ItemIndex(), -1);
    QCOMPARE(box.Add("E", "5"), 0);
    QCOMPARE(box.Codes(), QStringList{"5"});
}

QTEST_MAIN(TestNvComboBox)
#include "tst_nvcombobox.moc"
