#include "common/TestDatabase.h"
#include "database/Database.h"
#include "database/Schema.h"
#include "toolkit/Convert.h"
#include "toolkit/StdDialogs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

namespace {

// Two classes, two tests, one student each side, as the windows' joins expect them.
void FillSample(TTestDatabase &db)
{
    db.Exec(
        {"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS)", "VALUES (1, 'Rivers', 'S1', 'I1', 2)"});
    db.Exec(
        {"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS)", "VALUES (2, 'alps', 'S2', 'I2', 1)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER)", "VALUES (1, 'Geo', 'C', 'T')"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER)", "VALUES (2, 'Math', 'C', 'T')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER)", "VALUES (7, 1, 2, '3')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER)", "VALUES (8, 2, 1, '5')"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)", "VALUES (1, 'QAMaskEdit_1', 'q1', 'c1')"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)", "VALUES (2, 'QAMaskEdit_2', 'q2', 'c2')"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE)", "VALUES (1, 2, 1)"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE)", "VALUES (1, 1, 2)"});
}

QString WriteFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return path;
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetShortDateFormat(QStringLiteral("dd/MM/yyyy")); }

    // Before any reporter is installed a failure only reaches the caller: no box.
    void failureWithoutReporterShowsNothing()
    {
        TTestDatabase db;
        TDialogSeam::BeginScript();
        const QString id = NextID(db.Query(), "nosuchtable");
        const qsizetype shown = TDialogSeam::Shown().size();
        TDialogSeam::EndScript();
        QCOMPARE(id, QString());
        QCOMPARE(shown, 0);
    }

    void joinsAndQualifiedNames()
    {
        TTestDatabase db;
        FillSample(db);
        TDbQuery &q = db.Query();

        // table.* over a join: a name both tables have is fetched qualified.
        q.Clear();
        q.Add("SELECT testmaster.*, classtest.* FROM testmaster, classtest");
        q.Add("WHERE testmaster.id = classtest.testid");
        q.Add("ORDER by testmaster.NAME");
        q.Open();
        QVERIFY(!q.Eof());
        QCOMPARE(q.FieldByName("testmaster.ID").AsInteger(), 2); // 'alps' sorts before 'Rivers'
        QCOMPARE(q.FieldByName("classtest.ID").AsInteger(), 7);
        QCOMPARE(q.FieldByName("TESTMASTER.name").AsString(), QString("alps"));
        QCOMPARE(q.FieldByName("CHAPTER").AsString(), QString("3"));
        q.Next();
        QCOMPARE(q.FieldByName("classtest.ID").AsInteger(), 8);
        q.Next();
        QVERIFY(q.Eof());
        q.Close();

        // A qualified name in the select list is fetched by its bare name; bare names in
        // conditions where only one table has the column.
        q.Clear();
        q.Add("SELECT NAME, classmaster.ID, COURSE, TEACHER, CHAPTER");
        q.Add("FROM classmaster, classtest");
        q.Add("WHERE TESTID=1");
        q.Add("AND classmaster.ID=CLASSID");
        q.Open();
        QCOMPARE(q.FieldByName("ID").AsInteger(), 2);
        QCOMPARE(q.FieldByName("name").AsString(), QString("Math"));
        q.Close();

        db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (2, 'S9', 1)"});
        QCOMPARE(db.Column({"SELECT * FROM classmaster, classdetail", "WHERE ID = CLASSID", "AND STUDENTID = 's9'",
                            "ORDER by NAME"},
                           "NAME"),
                 QStringList{"Math"});
        // DISTINCT over a join, "WHERE testid = id".
        QCOMPARE(
            db.Column({"SELECT DISTINCT testmaster.* FROM testmaster", ", testdetail", "WHERE testid = id"}, "NAME"),
            QStringList{"Rivers"});
        // SELECT * over a join with the join in WHERE, in SEQUENCE order.
        QCOMPARE(db.Column({"SELECT controldef.*, testdetail.SEQUENCE FROM testdetail, controldef",
                            "WHERE CONTROLID = controldef.ID", "AND TESTID = 1", "ORDER BY SEQUENCE"},
                           "NAME"),
                 (QStringList{"QAMaskEdit_2", "QAMaskEdit_1"}));
        // Upper-case table names, and a field of an unknown name is an error.
        QCOMPARE(db.Column({"SELECT * FROM TESTMASTER WHERE TESTMASTER.ID = 1"}, "testmaster.id"), QStringList{"1"});
        q.Clear();
        q.Add("SELECT * FROM testmaster");
        q.Open();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.FieldByName("NOPE"));
        QCOMPARE(q.FieldIndex("classtest.ID"), -1);
        q.Close();
    }

    void aggregatesAndCounts()
    {
        TTestDatabase db;
        TDbQuery &q = db.Query();
        q.Clear();
        q.Add("SELECT MAX(ID) FROM controldef");
        q.Open();
        QVERIFY(!q.Eof()); // one row holding an empty value
        QVERIFY(q.Fields(0).IsNull());
        QCOMPARE(q.Fields(0).AsString(), QString());
        QCOMPARE(q.Fields(0).AsInteger(), 0);
        q.Close();

        FillSample(db);
        QCOMPARE(db.Column({"SELECT COUNT(*) FROM testdetail WHERE TESTID = 1"}), QStringList{"2"});
        q.Clear();
        q.Add("SELECT * FROM classtest");
        q.Open();
        q.Next();
        QCOMPARE(q.RecordCount(), 2); // the whole result, whatever was read
        QCOMPARE(q.FieldByName("ID").AsInteger(), 8);
        q.Close();
    }

    void textLiteralsLikeAndCase()
    {
        TTestDatabase db;
        const QString tricky = QString::fromUtf8("O'Brien \"Bob\" 100% sûr\r\nline two _x_");
        db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID)",
                 "VALUES (1, " + QuotedStr(tricky) + ", 'élodie', '', 'S01')"});
        db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID)",
                 "VALUES (2, 'Zed', 'Adam', '', 'abc')"});
        db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID)",
                 "VALUES (3, 'Émile', 'Bo', '', 'x')"});
        QCOMPARE(db.Column({"SELECT LASTNAME FROM studentmaster WHERE ID = 1"}), QStringList{tricky});
        // Comparison and sorting ignore the case of every letter, not only A-Z.
        QCOMPARE(db.Column({"SELECT ID FROM studentmaster WHERE FIRSTNAME = 'ÉLODIE'"}), QStringList{"1"});
        QCOMPARE(db.Column({"SELECT ID FROM studentmaster WHERE STUDENTID = 'ABC'"}), QStringList{"2"});
        QCOMPARE(db.Column({"SELECT ID FROM studentmaster ORDER BY LASTNAME"}), (QStringList{"3", "1", "2"}));
        // LIKE glued to its pattern; % and _ wildcards; case of every letter ignored.
        QCOMPARE(db.Column({"SELECT ID FROM studentmaster WHERE LASTNAME LIKE'%BRIEN%'"}), QStringList{"1"});
        QCOMPARE(db.Column({"SELECT ID FROM studentmaster WHERE LASTNAME LIKE'%SÛR%'"}), QStringList{"1"});
        QCOMPARE(db.Column({"SELECT ID FROM studentmaster WHERE LASTNAME LIKE'%100[%]%' OR LASTNAME LIKE 'z_d'"}),
                 QStringList{"2"});
        QCOMPARE(db.Column({"SELECT ID FROM studentmaster WHERE FIRSTNAME LIKE 'é%'"}), QStringList{"1"});
        // IS NULL, OR and parentheses.
        QCOMPARE(
            db.Column({"SELECT * FROM studentmaster", "WHERE STUDENTID='s01'", "AND (PWORD IS NULL OR PWORD='AB')"},
                      "ID"),
            QStringList{"1"});
    }

    void parameterIsData()
    {
        TTestDatabase db;
        const QString transcript = QStringLiteral("1. 'x'); DROP TABLE testresults; --\r\n2. :TEST ok");
        TDbQuery &q = db.Query();
        q.Clear();
        q.Add("INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE, ANSWERS)");
        q.Add("VALUES ('S01', 1, 1, 66, 'FAILED', :DAY, :TEST)");
        q.SetParamText(":TEST", transcript);
        q.SetParamDate(":DAY", QDate(2026, 3, 4));
        q.ExecSQL();
        QCOMPARE(q.RowsAffected(), 1);
        QCOMPARE(db.Column({"SELECT ANSWERS FROM testresults"}), QStringList{transcript});
        // The date reads back as text in the short date format.
        QCOMPARE(db.Column({"SELECT TESTDATE FROM testresults"}), QStringList{"04/03/2026"});
        // Clear forgets the parameter.
        q.Clear();
        q.Add("INSERT INTO testresults (STUDENTID, ANSWERS) VALUES ('S02', :TEST)");
        q.ExecSQL();
        QCOMPARE(db.Column({"SELECT ANSWERS FROM testresults WHERE STUDENTID = 'S02'"}), QStringList{QString()});
    }

    void keysAndCounters()
    {
        TTestDatabase db;
        TDbQuery &q = db.Query();
        QCOMPARE(NextID(q, "controldef"), QString("1"));
        db.Exec({"INSERT INTO controldef (ID, NAME) VALUES (1, 'a')"});
        db.Exec({"INSERT INTO controldef (ID, NAME) VALUES (2, 'b')"});
        QCOMPARE(NextID(q, "controldef"), QString("3"));
        db.Exec({"DELETE FROM controldef WHERE ID = 2"});
        QCOMPARE(NextID(q, "controldef"), QString("2")); // the highest ID comes back
        db.Exec({"DELETE FROM controldef WHERE ID = 1"});
        db.Exec({"INSERT INTO controldef (ID, NAME) VALUES (5, 'c')"});
        QCOMPARE(NextID(q, "controldef"), QString("6")); // an ID below the highest never does
        // The key refuses a second row with one ID.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.Exec({"INSERT INTO controldef (ID, NAME) VALUES (5, 'd')"}));

        // Counters: filled by the engine, never handed out again after a delete.
        db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 1, 1)"});
        db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 2, 2)"});
        db.Exec({"DELETE FROM testdetail WHERE SERIAL = 2"});
        db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 3, 2)"});
        QCOMPARE(db.Column({"SELECT SERIAL FROM testdetail ORDER BY SERIAL"}), (QStringList{"1", "3"}));

        // A grade outside 0..100 cannot be stored.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.Exec({"INSERT INTO testresults (GRADE) VALUES (101)"}));

        // A failing ID look-up is reported and gives the empty text.
        QStringList reported;
        SetDbErrorReporter([&](const QString &m) { reported << m; });
        QCOMPARE(NextID(q, "nosuchtable"), QString());
        SetDbErrorReporter(nullptr);
        QCOMPARE(reported.size(), 1);
        QVERIFY2(reported.first().contains(TTestDatabase::OnServer() ? "does not exist" : "no such table"),
                 qPrintable(reported.first()));
    }

    void badFiles()
    {
        QTemporaryDir dir;
        // No file: an error, and no empty database appears on disk.
        const QString missing = dir.filePath("Database/Corvella.mdb");
        TDbConnection connection;
        connection.SetConnectionString(ConnectionStringFor(missing));
        TDbQuery query(&connection);
        query.Add("SELECT * FROM controldef");
        try {
            query.Open();
            QFAIL("opened a missing file");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.Message().contains(missing), qPrintable(e.Message()));
        }
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!connection.Connected());

        // A file that is not a database.
        const QString junk = WriteFile(dir.filePath("junk.mdb"), QByteArray(5000, 'x'));
        TDbConnection bad;
        bad.SetConnectionString(ConnectionStringFor(junk));
        try {
            bad.Open();
            QFAIL("opened a file that is no database");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.Message().contains("not a database"), qPrintable(e.Message()));
        }
        QCOMPARE(QFileInfo(junk).size(), 5000);

        // A write to a read-only database fails with the engine's text and changes nothing.
        TTestDatabase db;
        db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'A')"});
        TDbConnection readOnly;
        readOnly.SetReadOnly(true);
        readOnly.SetConnectionString(ConnectionStringFor(db.Path()));
        TDbQuery rq(&readOnly);
        rq.Add("UPDATE classmaster SET NAME = 'B'");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, rq.ExecSQL());
        QCOMPARE(db.Column({"SELECT NAME FROM classmaster"}), QStringList{"A"});

        // A statement error leaves the statement object usable.
        TDbQuery &q = db.Query();
        q.Clear();
        q.Add("SELEC nonsense");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.Open());
        QVERIFY(!q.Active());
        QCOMPARE(db.Column({"SELECT NAME FROM classmaster"}), QStringList{"A"});

        // create refuses to overwrite.
        QString error;
        QVERIFY(!CreateDatabaseFile(db.Path(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(db.Column({"SELECT NAME FROM classmaster"}), QStringList{"A"});
    }

    void locationFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("useOther");
        QTest::newRow("no location file") << QByteArray() << false;
        QTest::newRow("empty file") << QByteArray("") << false;
        QTest::newRow("folder holds the file") << QByteArray("OTHER\r\nignored") << true;
        QTest::newRow("folder without the file") << QByteArray("EMPTY\n") << false;
        QTest::newRow("trailing blanks belong to the name") << QByteArray("BLANK  \n") << true;
        QTest::newRow("same folder without the blanks") << QByteArray("BLANK\n") << false;
    }

    void locationFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, useOther);
        QTemporaryDir dir;
        const QString program = dir.path() + "/";
        QDir(program).mkpath("other");
        QDir(program).mkpath("empty");
        QDir(program).mkpath("blank  ");
        QDir(program).mkpath("blank");
        WriteFile(program + "other/Corvella.mdb", "x");
        WriteFile(program + "blank  /Corvella.mdb", "x");
        content.replace("OTHER", (program + "other").toUtf8())
            .replace("EMPTY", (program + "empty").toUtf8())
            .replace("BLANK", (program + "blank").toUtf8());
        if (QByteArray(QTest::currentDataTag()) != "no location file")
            WriteFile(program + "Tamberlin.txt", content);

        const QString path = DatabaseFilePath(program, "Tamberlin.txt");
        const QString expected = !useOther                                          ? program + "Database/Corvella.mdb"
                                 : content.startsWith((program + "other").toUtf8()) ? program + "other/Corvella.mdb"
                                                                                    : program + "blank  /Corvella.mdb";
        QCOMPARE(path, expected);
        QVERIFY(ConnectionStringFor(path).endsWith("Data Source=" + path));
        QVERIFY(ConnectionStringFor(path).startsWith("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;"));
    }

    void twoProcessesWriting()
    {
        TTestDatabase db;
        const int perWriter = 500;
        QList<QProcess *> writers;
        for (const char *tag : {"A", "B"}) {
            auto p = new QProcess(this);
            p->start(QCoreApplication::applicationFilePath(), {"--writer", db.Path(), tag, QString::number(perWriter)});
            writers << p;
        }
        for (QProcess *p : writers) {
            QVERIFY(p->waitForFinished(240000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }
        QCOMPARE(db.Column({"SELECT COUNT(*) FROM testresults WHERE STUDENTID = 'A'"}), QStringList{"500"});
        QCOMPARE(db.Column({"SELECT COUNT(*) FROM testresults WHERE STUDENTID = 'B'"}), QStringList{"500"});
        QCOMPARE(db.Column({"SELECT COUNT(DISTINCT SERIAL) FROM testresults"}), QStringList{"1000"});
    }
};

// The writer process of twoProcessesWriting: inserts rows one statement at a time.
static int RunWriter(const QString &path, const QString &tag, int count)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(path));
    TDbQuery query(&connection);
    try {
        for (int i = 0; i < count; ++i) {
            query.Clear();
            query.Add("INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS)");
            query.Add(QStringLiteral("VALUES (%1, %2, 1, 50, 'FAILED')").arg(QuotedStr(tag)).arg(i));
            query.ExecSQL();
        }
    } catch (const Exception &e) {
        fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}

int main(int argc, char *argv[])
{
    if (argc == 5 && QByteArray(argv[1]) == "--writer") {
        QCoreApplication app(argc, argv);
        return RunWriter(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), atoi(argv[4]));
    }
    QCoreApplication app(argc, argv);
    TestDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_database.moc"
