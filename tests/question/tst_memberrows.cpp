// corvella-admin check and repair, run as the teacher runs them, on a real file.
#include "common/AdminProcess.h"
#include "common/TestDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

class TestMemberRows : public QObject {
    Q_OBJECT

private slots:
    void checkAndRepairRowsLeftByDeletes();
    void soundFileIsLeftAlone();
};

void TestMemberRows::checkAndRepairRowsLeftByDeletes()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO testmaster (ID, NAME) VALUES (1, 'Algebra')"});
    db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'Room 5')"});
    db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, STUDENTID) VALUES (1, 'ADAMS', 'S01')"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION) VALUES (1, 'q1', 'One?')"});
    // Sound rows.
    db.Exec({"INSERT INTO testdetail (SERIAL, TESTID, CONTROLID, SEQUENCE) VALUES (1, 1, 1, 1)"});
    db.Exec({"INSERT INTO classdetail (SERIAL, CLASSID, STUDENTID, SEQUENCE) VALUES (1, 1, 's01', 1)"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 1, 1, '1')"});
    db.Exec({"INSERT INTO testresults (SERIAL, STUDENTID, TESTID, CLASSID, GRADE, STATUS) "
             "VALUES (1, 'S01', 1, 1, 80, 'PASSED')"});
    // Left behind by deleting class 2, test 2 and student S09.
    db.Exec({"INSERT INTO classdetail (SERIAL, CLASSID, STUDENTID, SEQUENCE) VALUES (2, 2, 'S01', 1)"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (2, 2, 1, '1')"});
    db.Exec({"INSERT INTO testdetail (SERIAL, TESTID, CONTROLID, SEQUENCE) VALUES (2, 2, 1, 1)"});
    db.Exec({"INSERT INTO testresults (SERIAL, STUDENTID, TESTID, CLASSID, GRADE, STATUS) "
             "VALUES (2, 'S09', 1, 1, 40, 'FAILED')"});
    db.Exec({"INSERT INTO testresults (SERIAL, STUDENTID, TESTID, CLASSID, GRADE, STATUS) "
             "VALUES (3, 'S01', 2, 2, 40, 'FAILED')"});

    const QStringList expected{
        "testdetail SERIAL 2: its test 2 no longer exists", "classdetail SERIAL 2: its class 2 no longer exists",
        "classtest ID 2: its class 2 no longer exists", "testresults SERIAL 3: its class 2 no longer exists",
        "testresults SERIAL 2: its student \"S09\" no longer exists"};

    const TAdminRun check = RunAdmin({"check", db.Path()});
    QCOMPARE(check.Status, 1);
    for (const QString &line : expected)
        QVERIFY2(check.Out.contains(line + '\n'), qPrintable(check.Out));
    QVERIFY2(check.Out.contains("5 rows refer to a record that no longer exists"), qPrintable(check.Out));
    // check changes nothing.
    QCOMPARE(db.Column({"SELECT COUNT(*) FROM testresults"}), QStringList({"3"}));

    const TAdminRun repair = RunAdmin({"repair", db.Path()});
    QCOMPARE(repair.Status, 0);
    // Shown before it goes, then gone.
    const int shownAt = repair.Out.indexOf(expected.first());
    QVERIFY2(shownAt > 0 && repair.Out.indexOf("Removed 5 rows.") > shownAt, qPrintable(repair.Out));
    for (const QString &line : expected)
        QVERIFY2(repair.Out.contains(line + '\n'), qPrintable(repair.Out));
    QCOMPARE(db.Column({"SELECT SERIAL FROM testdetail"}), QStringList({"1"}));
    QCOMPARE(db.Column({"SELECT SERIAL FROM classdetail"}), QStringList({"1"}));
    QCOMPARE(db.Column({"SELECT ID FROM classtest"}), QStringList({"1"}));
    QCOMPARE(db.Column({"SELECT SERIAL FROM testresults"}), QStringList({"1"}));

    // What check still says is only about the question, which has no control text here.
    const TAdminRun again = RunAdmin({"check", db.Path()});
    QStringList lines = again.Out.split('\n', Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.takeLast(), QStringLiteral("1 question, 1 does not rebuild"));
    for (const QString &line : std::as_const(lines))
        QVERIFY2(line.startsWith("ID 1: "), qPrintable(line));
}

void TestMemberRows::soundFileIsLeftAlone()
{
    TTestDatabase db;
    const TAdminRun repair = RunAdmin({"repair", db.Path()});
    QCOMPARE(repair.Status, 0);
    QVERIFY2(repair.Out.contains("Nothing to repair"), qPrintable(repair.Out));
    const TAdminRun missing = RunAdmin({"repair", db.Folder() + "/none.mdb"});
    QCOMPARE(missing.Status, 1);
    QVERIFY(!missing.Err.isEmpty());
}

QTEST_MAIN(TestMemberRows)
#include "tst_memberrows.moc"
