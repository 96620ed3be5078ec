// Values from a stored text that must not hurt: integers, sorted lists, encodings, masks.
#include "toolkit/Convert.h"
#include "toolkit/EditMask.h"
#include "toolkit/Exception.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/Strings.h"

#include <QtTest>

class TestTextRules : public QObject {
    Q_OBJECT

private slots:
    void integerText_data();
    void integerText();
    void everySortedListHasOneOrder_data();
    void everySortedListHasOneOrder();
    void bytesReadAsText_data();
    void bytesReadAsText();
    void overlongMaskRefused();
    void longestMaskTakesLongText();
};

void TestTextRules::integerText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "42" << true << 42;
    QTest::newRow("blanks around") << " -17 " << true << -17;
    QTest::newRow("plus sign") << "+7" << true << 7;
    QTest::newRow("largest") << "2147483647" << true << INT32_MAX;
    QTest::newRow("smallest") << "-2147483648" << true << INT32_MIN;
    QTest::newRow("one past largest") << "2147483648" << false << 0;
    QTest::newRow("unsigned maximum") << "4294967295" << false << 0;
    QTest::newRow("hexadecimal") << "$1F" << true << 31;
    QTest::newRow("negative hexadecimal") << "-$5" << true << -5;
    QTest::newRow("plus hexadecimal") << "+$A" << true << 10;
    QTest::newRow("0x form") << "0x1f" << true << 31;
    QTest::newRow("negative 0x form") << "-0X10" << true << -16;
    QTest::newRow("largest hexadecimal") << "$7FFFFFFF" << true << INT32_MAX;
    QTest::newRow("smallest hexadecimal") << "-$80000000" << true << INT32_MIN;
    QTest::newRow("hexadecimal bit pattern") << "$80000000" << false << 0;
    QTest::newRow("all bits") << "$FFFFFFFF" << false << 0;
    QTest::newRow("nine hex digits of zeros") << "$000000001" << true << 1;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("dollar only") << "$" << false << 0;
    QTest::newRow("sign and dollar only") << "-$" << false << 0;
    QTest::newRow("two signs") << "--5" << false << 0;
    QTest::newRow("dollar then sign") << "$-5" << false << 0;
    QTest::newRow("hex letter in decimal") << "1F" << false << 0;
    QTest::newRow("blank inside") << "4 2" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
    QTest::newRow("other script digits") << QString::fromUtf8("\u0663") << false << 0;
}

void TestTextRules::integerText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    QCOMPARE(IsValidInteger(text), valid);
    bool ok = !valid;
    QCOMPARE(StrToIntDef(text, 99, &ok), valid ? value : 99);
    QCOMPARE(ok, valid);
}

void TestTextRules::everySortedListHasOneOrder_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("accented capital") << QStringList{"Zebra", QString::fromUtf8("Éclair"), "apple", "Eclair"}
                                      << QStringList{"apple", "Eclair", QString::fromUtf8("Éclair"), "Zebra"};
    QTest::newRow("umlaut inside the alphabet") << QStringList{"Pferd", QString::fromUtf8("Ölfarbe"), "Oma"}
                                                << QStringList{QString::fromUtf8("Ölfarbe"), "Oma", "Pferd"};
    QTest::newRow("ring and cedilla") << QStringList{"zulu", QString::fromUtf8("ångström"), QString::fromUtf8("ça va"),
                                                     "bravo"}
                                      << QStringList{QString::fromUtf8("ångström"), "bravo", QString::fromUtf8("ça va"),
                                                     "zulu"};
    // Letter case never decides; names that tie keep the order they came in.
    QTest::newRow("case ties") << QStringList{"beta", "ALPHA", "Beta", "alpha"}
                               << QStringList{"ALPHA", "alpha", "beta", "Beta"};
}

// A list box, a drop-down list and the sorted line list under both put the same names
// in the same places.
void TestTextRules::everySortedListHasOneOrder()
{
    QFETCH(QStringList, items);
    QFETCH(QStringList, sorted);

    TListBox list;
    list.SetSorted(true);
    for (const QString &item : items)
        list.Items()->Add(item);
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    QCOMPARE(shown, sorted);

    TStrings lines;
    lines.Assign(items);
    lines.SetSorted(true);
    QCOMPARE(lines.Lines(), sorted);

    TNvComboBox combo;
    combo.SetSorted(true);
    for (const QString &item : items)
        combo.Add(item, item);
    QCOMPARE(combo.ItemList(), sorted);
    for (int i = 0; i < combo.count(); ++i)
        QCOMPARE(combo.Code(i), combo.itemText(i));
}

void TestTextRules::bytesReadAsText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("latin1");
    QTest::newRow("ASCII") << QByteArray("Paris") << "Paris" << false;
    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9") << QString::fromUtf8("café") << false;
    QTest::newRow("empty") << QByteArray() << "" << false;
    QTest::newRow("Latin-1 letters") << QByteArray("\xC9l\xE8ve \xE0 l'\xE9"
                                                   "cole")
                                     << QString::fromUtf8("Élève à l'école") << true;
    QTest::newRow("Windows quotes and euro") << QByteArray("\x93"
                                                           "5 \x80\x97"
                                                           "cheap\x94")
                                             << QString::fromUtf8("“5 €—cheap”") << true;
    QTest::newRow("cut-off UTF-8 sequence") << QByteArray("Gr\xC3") << QString::fromUtf8("GrÃ") << true;
    QTest::newRow("unassigned Windows byte") << QByteArray("a\x81z") << QString::fromUtf8("a\u0081z") << true;
}

void TestTextRules::bytesReadAsText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, latin1);
    bool readAsLatin1 = !latin1;
    QCOMPARE(TextFromBytes(bytes, &readAsLatin1), text);
    QCOMPARE(readAsLatin1, latin1);
    QVERIFY(!TextFromBytes(bytes).contains(QChar::ReplacementCharacter));
}

void TestTextRules::overlongMaskRefused()
{
    TMaskEdit box;
    box.SetEditMask(QStringLiteral("000;1;_"));
    QTest::keyClicks(&box, QStringLiteral("123"));
    QCOMPARE(box.Text(), QStringLiteral("123"));

    const QString overlong = QString(TEditMask::MaxMaskLength + 1, QLatin1Char('0'));
    try {
        box.SetEditMask(overlong);
        QFAIL("an overlong mask was taken");
    } catch (const Exception &e) {
        QCOMPARE(e.Message(), QStringLiteral("Invalid property value"));
    }
    // The box keeps its mask and what was typed.
    QCOMPARE(box.EditMask(), QStringLiteral("000;1;_"));
    QCOMPARE(box.Text(), QStringLiteral("123"));

    QVERIFY_THROWS_EXCEPTION(Exception, TEditMask(QString(1000000, QLatin1Char('c'))));
}

void TestTextRules::longestMaskTakesLongText()
{
    TMaskEdit box;
    box.SetEditMask(QString(TEditMask::MaxMaskLength, QLatin1Char('c')));
    // Longer than any mask has room for: what fits is kept, the rest dropped.
    box.SetText(QString(5000, QLatin1Char('x')));
    QCOMPARE(box.Text(), QString(TEditMask::MaxMaskLength, QLatin1Char('x')));

    box.SetText(QString());
    QTest::keyClicks(&box, QStringLiteral("abc"));
    QCOMPARE(box.Text(), QStringLiteral("abc"));
}

QTEST_MAIN(TestTextRules)
#include "tst_textrules.moc"
