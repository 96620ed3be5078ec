#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"
#include "toolkit/Graphics.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/Strings.h"

#include <QPointer>
#include <QWidget>
#include <QtTest>

class TestComponents : public QObject {
    Q_OBJECT

private slots:
    void ownerListsAndNames();
    void ownerAndParentDiffer();
    void datePickerBefore1900();
    void splitLines_data();
    void splitLines();
    void stringLists();
    void colours_data();
    void colours();
    void fontSizes_data();
    void fontSizes();
};

void TestComponents::ownerListsAndNames()
{
    QObject owner;
    auto *a = new QObject;
    auto *b = new QObject;
    auto *c = new QObject;
    for (QObject *o : {a, b, c})
        InsertComponent(&owner, o);
    QCOMPARE(OwnedComponents(&owner), (QList<QObject *>{a, b, c}));
    QCOMPARE(ComponentOwner(b), &owner);

    SetComponentName(a, QStringLiteral("Edit_Name"));
    SetComponentName(b, QString());
    SetComponentName(c, QString()); // any number of unnamed components
    QCOMPARE(FindComponent(&owner, QStringLiteral("EDIT_NAME")), a);
    QCOMPARE(FindComponent(&owner, QString()), nullptr);
    SetComponentName(a, QStringLiteral("edit_name")); // its own name in another case
    QCOMPARE(a->objectName(), QStringLiteral("edit_name"));

    try {
        SetComponentName(b, QStringLiteral("Edit_NAME"));
        QFAIL("duplicate name accepted");
    } catch (const Exception &e) {
        QCOMPARE(e.Message(), QStringLiteral("A component named Edit_NAME already exists"));
    }
    QCOMPARE(b->objectName(), QString());

    // Another owner may use the name; moving a component takes it out of the first list.
    QObject other;
    InsertComponent(&other, b);
    SetComponentName(b, QStringLiteral("Edit_Name"));
    QCOMPARE(OwnedComponents(&owner), (QList<QObject *>{a, c}));
    RemoveComponent(c);
    QCOMPARE(ComponentOwner(c), nullptr);
    delete c;
}

void TestComponents::ownerAndParentDiffer()
{
    auto *form = new QWidget;
    auto *panel = new QWidget(form);
    QPointer<QWidget> first = new QWidget(panel);
    QPointer<QWidget> second = new QWidget(panel);
    QPointer<QWidget> loose = new QWidget; // owned, with no display parent
    InsertComponent(form, first);
    InsertComponent(form, second);
    InsertComponent(form, loose);

    // Destroyed by its display parent: it leaves the owner's list.
    delete second;
    QCOMPARE(OwnedComponents(form), (QList<QObject *>{first.data(), loose.data()}));

    // The owner destroys what it still owns, wherever it is shown.
    delete form;
    QVERIFY(first.isNull());
    QVERIFY(loose.isNull());

    // A newer component that holds an older one as its Qt child takes it along; the
    // owner must not delete that one a second time.
    auto *surface = new QWidget;
    QPointer<QWidget> inner = new QWidget;
    QPointer<QWidget> container = new QWidget;
    InsertComponent(surface, inner);
    InsertComponent(surface, container);
    inner->setParent(container);
    delete surface;
    QVERIFY(inner.isNull());
    QVERIFY(container.isNull());
}

void TestComponents::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("closing break adds nothing") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("CR and LF alone") << "a\rb\nc" << QStringList{"a", "b", "c"};
    QTest::newRow("empty lines kept") << "\r\n\r\nx\n\n" << QStringList{"", "", "x", ""};
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
}

void TestComponents::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(SplitLines(text), lines);
}

void TestComponents::stringLists()
{
    TStrings list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.BeginUpdate();
    list.Add(QStringLiteral("pear"));
    list.Add(QStringLiteral("Apple"));
    list.Add(QStringLiteral("fig"));
    QCOMPARE(changes, 0);
    list.EndUpdate();
    QCOMPARE(changes, 1);
    QCOMPARE(list.Text(), QStringLiteral("pear\r\nApple\r\nfig\r\n"));

    list.SetSorted(true);
    QCOMPARE(list.Lines(), (QStringList{"Apple", "fig", "pear"}));
    QCOMPARE(list.Add(QStringLiteral("banana")), 1); // where it landed, ignoring case
    QCOMPARE(list.Add(QStringLiteral("Zucchini")), 4);
    QCOMPARE(list.IndexOf(QStringLiteral("FIG")), 2);

    TStrings copy(list);
    list.Clear();
    QCOMPARE(copy.Count(), 5);
    QCOMPARE(list.Count(), 0);
}

void TestComponents::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("written");
    QTest::newRow("identifier") << "clSilver" << true << "clSilver";
    QTest::newRow("identifier any case") << "CLWINDOWTEXT" << true << "clWindowText";
    QTest::newRow("value of a name") << "12632256" << true << "clSilver";
    QTest::newRow("negative system colour") << "-2147483643" << true << "clWindow";
    QTest::newRow("unsigned system colour") << "2147483653" << true << "clWindow";
    QTest::newRow("hexadecimal") << "$000000FF" << true << "clRed";
    QTest::newRow("no name") << "1234567" << true << "1234567";
    QTest::newRow("unknown identifier") << "clMauve" << false << "";
    QTest::newRow("too large") << "4294967296" << false << "";
}

void TestComponents::colours()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, written);
    TColor color = 0;
    QCOMPARE(StringToColor(text, &color), valid);
    if (valid)
        QCOMPARE(ColorToString(color), written);

    const QStringList names = ColorIdentifiers();
    QCOMPARE(names.size(), 43);
    QCOMPARE(names.first(), QStringLiteral("clBlack"));
    QCOMPARE(names.at(18), QStringLiteral("clScrollBar"));
    QCOMPARE(names.last(), QStringLiteral("clInfoBk"));
}

void TestComponents::fontSizes_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("height");
    QTest::newRow("8 pt") << 8 << -11;
    QTest::newRow("10 pt") << 10 << -13;
    QTest::newRow("12 pt") << 12 << -16;
    QTest::newRow("14 pt") << 14 << -19;
}

void TestComponents::fontSizes()
{
    QFETCH(int, size);
    QFETCH(int, height);
    TFont font;
    int changes = 0;
    font.OnChange = [&] { ++changes; };
    font.SetSize(size);
    QCOMPARE(font.Height(), height);
    QCOMPARE(font.Size(), size);
    QCOMPARE(font.ToQFont().pixelSize(), -height);
    QCOMPARE(changes, size == 8 ? 0 : 1); // 8 pt is the default font: no change
}

QTEST_MAIN(TestComponents)

// Dates before 30 Dec 1899 have negative day numbers; picking one must not shift it.
void TestComponents::datePickerBefore1900()
{
    TDateTimePicker picker;
    picker.SetDateTime(-1.25); // 29 Dec 1899, 06:00
    QCOMPARE(picker.PickedDate(), QDate(1899, 12, 29));
    picker.setDate(QDate(1869, 11, 17)); // as the student picks it
    QCOMPARE(picker.PickedDate(), QDate(1869, 11, 17));
    QCOMPARE(picker.Date(), DateToDayNumber(QDate(1869, 11, 17)) - 0.25);
    picker.SetDate(DateToDayNumber(QDate(1700, 1, 1)));
    QCOMPARE(picker.PickedDate(), QDate(1700, 1, 1));
    picker.SetTime(0.5);
    QCOMPARE(picker.PickedDate(), QDate(1700, 1, 1));
    QCOMPARE(picker.Time(), DateToDayNumber(QDate(1700, 1, 1)) - 0.5);
}

#include "tst_components.moc"
