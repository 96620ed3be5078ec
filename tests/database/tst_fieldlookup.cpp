// Fields by name row after row: whatever order, letter case or kind of text the reader
// asks with, it gets the column it named.

#include "common/TestDatabase.h"

#include <QtTest>

class TestFieldLookup : public QObject {
    Q_OBJECT

private slots:
    void namesFindTheirColumnOnEveryRow()
    {
        TTestDatabase db;
        for (int i = 1; i <= 3; ++i)
            db.Exec({QStringLiteral("INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) "
                                    "VALUES (%1, 'L%1', 'F%1', 'M', 'S%1')")
                         .arg(i)});
        TDbQuery &q = db.Query();
        q.Clear();
        q.Add("SELECT ID, LASTNAME, FIRSTNAME, STUDENTID AS \"ÉTAT\", MIDDLE AS \"a.b\", ID AS ID2 FROM studentmaster");
        q.Add("ORDER BY ID");
        q.Open();
        for (int row = 1; !q.Eof(); ++row, q.Next()) {
            const QString n = QString::number(row);
            // In order, in another order, in other letter cases and kinds of text.
            QCOMPARE(q.FieldByName("ID").AsInteger(), row);
            QCOMPARE(q.FieldByName("LASTNAME").AsString(), "L" + n);
            QCOMPARE(q.FieldByName(u"firstname").AsString(), "F" + n);
            QCOMPARE(q.FieldByName(QLatin1String("LastName")).AsString(), "L" + n);
            QCOMPARE(q.FieldByName(QStringLiteral("id2")).AsInteger(), row);
            QCOMPARE(q.FieldByName(QString::fromUtf8("état")).AsString(), "S" + n);
            QCOMPARE(q.FieldByName(u8"ÉTAT").AsString(), "S" + n);
            QCOMPARE(q.FieldByName("studentmaster.FIRSTNAME").AsString(), "F" + n);
            QCOMPARE(q.FieldByName("studentmaster.id").AsInteger(), row);
            QCOMPARE(q.FieldIndex("a.b"), -1); // a point names a table's column, not an alias
            QCOMPARE(q.FieldByName("studentmaster.MIDDLE").AsString(), QString("M"));
            QCOMPARE(q.FieldIndex("IDX"), -1);
            QCOMPARE(q.FieldIndex("I"), -1);
            QCOMPARE(q.FieldByName("ID").AsInteger(), row);
        }
        q.Close();

        // The next statement has other columns at the same places.
        q.Clear();
        q.Add("SELECT STUDENTID, ID FROM studentmaster WHERE ID = 2");
        q.Open();
        QCOMPARE(q.FieldByName("ID").AsInteger(), 2);
        QCOMPARE(q.FieldByName("STUDENTID").AsString(), QString("S2"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.FieldByName("LASTNAME"));
        q.Close();
    }
};

QTEST_GUILESS_MAIN(TestFieldLookup)
#include "tst_fieldlookup.moc"
