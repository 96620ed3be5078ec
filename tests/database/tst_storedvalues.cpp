// Keys at the end of their range, text written by other tools, and the order of names.
#include "common/TestDatabase.h"
#include "database/Database.h"
#include "toolkit/Strings.h"

#include <QtTest>

class TestStoredValues : public QObject {
    Q_OBJECT

private slots:
    void nextIdRefusesToWrap_data();
    void nextIdRefusesToWrap();
    void latin1TextKeepsItsLetters();
    void sqlOrderIsTheListsOrder();
};

void TestStoredValues::nextIdRefusesToWrap_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("insert");
    QTest::newRow("questions") << "controldef"
                               << "INSERT INTO controldef (ID, NAME) VALUES (%1, 'q')";
    QTest::newRow("tests") << "testmaster"
                           << "INSERT INTO testmaster (ID, NAME) VALUES (%1, 't')";
    QTest::newRow("classes") << "classmaster"
                             << "INSERT INTO classmaster (ID, NAME) VALUES (%1, 'c')";
    QTest::newRow("students") << "studentmaster"
                              << "INSERT INTO studentmaster (ID, STUDENTID) VALUES (%1, 's')";
    QTest::newRow("assignments") << "classtest"
                                 << "INSERT INTO classtest (ID, CLASSID, TESTID) VALUES (%1, 1, 1)";
}

void TestStoredValues::nextIdRefusesToWrap()
{
    QFETCH(QString, table);
    QFETCH(QString, insert);
    TTestDatabase db;
    QStringList reported;
    SetDbErrorReporter([&](const QString &m) { reported << m; });

    db.Exec({insert.arg(2147483646)});
    QCOMPARE(NextID(db.Query(), table), QStringLiteral("2147483647"));
    QVERIFY(reported.isEmpty());

    db.Exec({insert.arg(2147483647)});
    QCOMPARE(NextID(db.Query(), table), QString()); // the caller gives up the insert
    SetDbErrorReporter(nullptr);
    QCOMPARE(reported.size(), 1);
    QCOMPARE(reported.first(), QStringLiteral("No row can be added: %1.ID has reached 2147483647, the largest "
                                              "number it can hold.")
                                   .arg(table));
    QVERIFY(!db.Query().Active());
}

// Bytes that are not UTF-8 (an old file pasted in by another tool) read as the old
// programs' 8-bit code page, in values, in comparisons and in LIKE.
void TestStoredValues::latin1TextKeepsItsLetters()
{
    if (TTestDatabase::OnServer())
        QSKIP("a server holds only UTF-8 text: no other tool can store old code-page bytes there");
    TTestDatabase db;
    db.Exec({"INSERT INTO testmaster (ID, NAME) VALUES (1, CAST(X'C96CE876650A' AS TEXT))"}); // "Élève\n" in Latin-1
    db.Exec({"INSERT INTO testmaster (ID, NAME) VALUES (2, 'Zebra')"});
    TDbQuery &q = db.Query();
    q.Clear();
    q.Add("SELECT NAME FROM testmaster WHERE ID = 1");
    q.Open();
    QCOMPARE(q.Fields(0).AsString(), QString::fromUtf8("Élève\n"));
    QCOMPARE(q.Fields(0).AsBytes(), QByteArray("\xC9l\xE8ve\n"));
    q.Close();

    QCOMPARE(db.Column({"SELECT ID FROM testmaster ORDER BY NAME"}), (QStringList{"1", "2"}));
    QCOMPARE(db.Column({QString::fromUtf8("SELECT ID FROM testmaster WHERE NAME LIKE 'élè%'")}), QStringList{"1"});
}

void TestStoredValues::sqlOrderIsTheListsOrder()
{
    const QStringList names{
        QString::fromUtf8("Éclair"),   "Zebra", "apple", "eclair", QString::fromUtf8("Ölfarbe"), "Oma", "banana",
        QString::fromUtf8("ångström"), "Pferd"};
    TTestDatabase db;
    for (int i = 0; i < names.size(); ++i)
        db.Exec(
            {QStringLiteral("INSERT INTO testmaster (ID, NAME) VALUES (%1, %2)").arg(i + 1).arg(QuotedStr(names[i]))});

    TStrings sorted;
    sorted.SetSorted(true);
    sorted.AddStrings(names);
    const QStringList expected{QString::fromUtf8("ångström"), "apple", "banana", "eclair", QString::fromUtf8("Éclair"),
                               QString::fromUtf8("Ölfarbe"),  "Oma",   "Pferd",  "Zebra"};
    QCOMPARE(sorted.Lines(), expected);
    QCOMPARE(db.Column({"SELECT NAME FROM testmaster ORDER BY NAME"}), expected);
    // Letter case alone never makes two names different; accents do.
    QCOMPARE(db.Column({"SELECT ID FROM testmaster WHERE NAME = 'ECLAIR'"}), QStringList{"4"});
    QCOMPARE(db.Column({QString::fromUtf8("SELECT ID FROM testmaster WHERE NAME = 'éclair'")}), QStringList{"1"});
}

QTEST_MAIN(TestStoredValues)
#include "tst_storedvalues.moc"
