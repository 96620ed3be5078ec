// The indexes of the schema: the windows' look-ups use them on new and on upgraded
// files, corvella-admin upgrade adds them to older files without touching the rows,
// and the student-ID indexes stay sound when our programs and the sqlite3 tool both
// write the file.

#include "common/AdminProcess.h"
#include "common/TestDatabase.h"
#include "database/Database.h"
#include "database/Schema.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

#include <sqlite3.h>

namespace {

// The schema as files had it before the indexes: the tables only.
bool CreateFileWithoutIndexes(const QString &path)
{
    QString tables = QString::fromUtf8(SchemaSql);
    for (const TSchemaIndex &index : SchemaIndexes())
        tables.remove(index.Statement);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        return false;
    const bool ok = sqlite3_exec(db, tables.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Every row of every table, in key order, as text: what "the data" of a file is.
QStringList DumpRows(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList rows;
    for (const char *table : {"controldef", "testmaster", "testdetail", "classmaster", "classdetail", "studentmaster",
                              "classtest", "testresults"}) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, QByteArray("SELECT * FROM ").append(table).append(" ORDER BY rowid").constData(), -1,
                           &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            QString row = QLatin1String(table);
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                row += QLatin1Char('|') +
                       (sqlite3_column_type(stmt, c) == SQLITE_NULL
                            ? QStringLiteral("<null>")
                            : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c))));
            rows << row;
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return rows;
}

QStringList IndexNames(TTestDatabase &db)
{
    return db.Column({"SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT LIKE 'sqlite%' ORDER BY name"});
}

// Runs SQL through the sqlite3 command-line tool; its output, or a failure.
QString RunTool(const QString &path, const QString &sql, bool *ok = nullptr)
{
    QProcess tool;
    tool.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), path});
    tool.write(sql.toUtf8());
    tool.closeWriteChannel();
    const bool finished = tool.waitForFinished(60000);
    if (ok)
        *ok = finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0 &&
              tool.readAllStandardError().isEmpty();
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// A few rows in every table, with the texts that quoting and NULLs make awkward.
void FillRows(TTestDatabase &db)
{
    db.Exec(
        {"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (1, 'QAMaskEdit_1', 'What''s up?', 'object x')"});
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (1, 'Rivers', NULL, 'I', 2)"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 1, 1)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Geo', 'C', 'T')"});
    db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (1, 'O''HARA', 'ÉLISE', "
             "'', 's01')"});
    db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, 'S01', 1)"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 1, 1, '3')"});
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE, ANSWERS)",
             "VALUES ('S01', 1, 1, 80, 'PASSED', '2026-03-04', 'line 1\r\nline 2')"});
}

// A process that holds the write lock of a file for a while, as a writing program does.
int RunHolder(const QString &path, int holdMs)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 1;
    sqlite3_busy_timeout(db, TDbConnection::BusyTimeout); // as the programs wait
    if (sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO classmaster (ID, NAME) VALUES (99, 'held')", nullptr, nullptr,
                     nullptr) != SQLITE_OK)
        return 1;
    printf("locked\n");
    fflush(stdout);
    QThread::msleep(holdMs);
    const int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}

} // namespace

class TestIndexes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty(),
                 "the sqlite3 command-line tool must be installed (make deps)");
    }

    // The look-ups that the windows run, one per shown row or per window, with sample
    // keys. Listings of whole tables (the student list, the question list, the tests
    // that have questions) and LIKE searches read every row by nature and are not here.
    void lookupsUseAnIndex_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("byRowKey"); // found by its primary key even without the indexes
        auto row = [](const char *tag, QStringList lines, bool byRowKey = false) {
            QTest::newRow(tag) << lines << byRowKey;
        };
        row("questions of a test (loading)",
            {"SELECT controldef.*, testdetail.SEQUENCE FROM testdetail, controldef", "WHERE CONTROLID = controldef.ID",
             "AND TESTID = 5", "ORDER BY SEQUENCE"});
        row("classes of a test (main window, printout)",
            {"SELECT NAME, classmaster.ID, COURSE, TEACHER, CHAPTER", "FROM classmaster, classtest", "WHERE TESTID=5",
             "AND classmaster.ID=CLASSID"});
        row("next position in a test", {"SELECT MAX(SEQUENCE) FROM testdetail WHERE TESTID=5"});
        row("question already in a test", {"SELECT COUNT(*) FROM testdetail", "WHERE TESTID=5", "AND CONTROLID=7"});
        row("question delete", {"DELETE FROM testdetail WHERE CONTROLID=7"});
        row("questions-in-test members",
            {"SELECT TESTDETAIL.SERIAL, QUESTION, SEQUENCE FROM testmaster, testdetail, controldef ",
             "WHERE testmaster.id=5", "AND testid = testmaster.id", "AND controlid = controldef.id",
             "ORDER BY SEQUENCE"});
        row("students-in-class members",
            {"SELECT SERIAL, STUDENTID, SEQUENCE", "FROM classdetail", "WHERE CLASSID = 5", "ORDER BY SEQUENCE"});
        row("question member serial", {"SELECT SERIAL FROM testdetail", "WHERE TESTID=5", "AND CONTROLID=7"});
        row("student member serial", {"SELECT SERIAL FROM classdetail", "WHERE CLASSID=5", "AND STUDENTID='S01'"});
        row("question member update",
            {"UPDATE testdetail SET", "CONTROLID= 7, ", "TESTID   = 5, ", "SEQUENCE = 2", "WHERE SERIAL= 9"}, true);
        row("student position rewrite", {"UPDATE classdetail SET SEQUENCE=2 WHERE SERIAL=9"}, true);
        row("student member delete", {"DELETE FROM classdetail WHERE SERIAL=9"}, true);
        row("tests of a class",
            {"SELECT * FROM testmaster, classmaster, classtest ", "WHERE testmaster.ID = TESTID",
             "AND classmaster.ID  = CLASSID", "AND classmaster.ID  = 5", "ORDER BY classmaster.NAME, testmaster.NAME"});
        row("assignment update",
            {"UPDATE classtest SET", "TESTID = 5, ", "CLASSID = 6, ", "CHAPTER = '2'", "WHERE ID = 3"}, true);
        row("gradebook students",
            {"SELECT * FROM classmaster, testmaster, classdetail, studentmaster", "WHERE classmaster.ID=5",
             "AND testmaster.ID=6", "AND classdetail.CLASSID=classmaster.ID",
             "AND studentmaster.STUDENTID=classdetail.STUDENTID",
             "ORDER BY LASTNAME, FIRSTNAME, MIDDLE, studentmaster.STUDENTID"});
        row("gradebook result of a student",
            {"SELECT * FROM testresults", "WHERE CLASSID = 5", "AND STUDENTID = 'S01'", "AND TESTID    = 6"});
        row("gradebook count",
            {"SELECT COUNT(*) FROM testresults", "WHERE CLASSID=5", "AND TESTID=6", "AND STUDENTID='S01'"});
        row("gradebook update", {"UPDATE testresults SET", "GRADE=80, ", "STATUS='PASSED'", "WHERE CLASSID=5",
                                 "AND TESTID=6", "AND STUDENTID='S01'"});
        row("test choice of a class",
            {"SELECT * FROM classmaster, testmaster, classtest", "WHERE classmaster.ID=classtest.CLASSID",
             "AND testmaster.ID=classtest.TESTID", "AND classtest.CLASSID=5", "ORDER BY testmaster.NAME"});
        row("earlier result (result write)",
            {"SELECT SERIAL FROM testresults", "WHERE STUDENTID='S01'", "AND TESTID=6", "AND CLASSID=5"});
        row("result update",
            {"UPDATE testresults SET GRADE=80,STATUS='PASSED', TESTDATE = '2026-01-02',", "ANSWERS = 'x'",
             "WHERE SERIAL=9"},
            true);
        row("classes of a student",
            {"SELECT * FROM classmaster, classdetail", "WHERE ID = CLASSID", "AND STUDENTID = 'S01'", "ORDER by NAME"});
        row("login", {"SELECT * FROM studentmaster", "WHERE STUDENTID='S01'", "AND (PWORD IS NULL OR PWORD='A1')"});
        row("password save",
            {"UPDATE studentmaster", "SET PWORD='B2'", "WHERE STUDENTID='S01'", "AND (PWORD IS NULL OR PWORD='A1')"});
        row("taken test: student name", {"SELECT * FROM STUDENTMASTER WHERE STUDENTID='S01'"});
        row("taken test: result", {"SELECT * FROM testresults, testmaster, classmaster, classtest",
                                   "WHERE STUDENTID='S01'", "AND TESTRESULTS.CLASSID=5", "AND TESTRESULTS.TESTID=6",
                                   "AND TESTMASTER.ID = TESTRESULTS.TESTID", "AND CLASSMASTER.ID= TESTRESULTS.CLASSID",
                                   "AND CLASSTEST.TESTID = TESTMASTER.ID", "AND CLASSTEST.CLASSID = CLASSMASTER.ID"});
    }

    void lookupsUseAnIndex()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, byRowKey);
        TTestDatabase fresh;

        TTestDatabase upgraded;
        upgraded.Connection().Close();
        QFile::remove(upgraded.Path());
        QVERIFY(CreateFileWithoutIndexes(upgraded.Path()));
        const QStringList before = Scans(upgraded, lines);
        QString error;
        QVERIFY2(UpgradeDatabaseFile(upgraded.Path(), nullptr, &error), qPrintable(error));
        upgraded.Connection().Close(); // a plan is made from the schema the connection has read

        QCOMPARE(Scans(fresh, lines), QStringList());
        QCOMPARE(Scans(upgraded, lines), QStringList());
        // Without the indexes these look-ups read a whole table: the check can tell.
        if (!byRowKey)
            QVERIFY2(!before.isEmpty(), "expected a table scan on a file without indexes");
    }

    // The candidate list of the questions-in-test window reads every question's text:
    // from the small index, not from the rows with their controls.
    void questionListReadsTheSmallIndex()
    {
        TTestDatabase fresh;
        TTestDatabase upgraded;
        upgraded.Connection().Close();
        QFile::remove(upgraded.Path());
        QVERIFY(CreateFileWithoutIndexes(upgraded.Path()));
        QVERIFY(UpgradeDatabaseFile(upgraded.Path(), nullptr, nullptr));
        for (TTestDatabase *db : {&fresh, &upgraded})
            QCOMPARE(db->Column({"EXPLAIN QUERY PLAN", "SELECT QUESTION, ID FROM controldef"}, "detail"),
                     QStringList{"SCAN controldef USING COVERING INDEX controldef_list"});
    }

    void upgradeAddsTheIndexesOnceAndKeepsTheRows()
    {
        TTestDatabase db;
        db.Connection().Close();
        QFile::remove(db.Path());
        QVERIFY(CreateFileWithoutIndexes(db.Path()));
        db.Connection().Open();
        FillRows(db);
        QCOMPARE(IndexNames(db), QStringList());
        const QStringList rows = DumpRows(db.Path());
        QCOMPARE(rows.size(), 8);

        QStringList report;
        QString error;
        QVERIFY2(UpgradeDatabaseFile(db.Path(), &report, &error), qPrintable(error));
        QCOMPARE(report.size(), SchemaIndexes().size());
        QVERIFY(report.contains("Added index testresults_test_class on testresults (TESTID, CLASSID)."));
        QCOMPARE(IndexNames(db).size(), SchemaIndexes().size());
        QCOMPARE(DumpRows(db.Path()), rows);

        // The connection that was open all along sees the new indexes and goes on working.
        QCOMPARE(
            db.Column({"SELECT SERIAL FROM testresults", "WHERE STUDENTID='s01'", "AND TESTID=1", "AND CLASSID=1"}),
            QStringList{"1"});

        QVERIFY(UpgradeDatabaseFile(db.Path(), &report, &error));
        QCOMPARE(report.size(), 1);
        QVERIFY2(report.first().contains("already has every index; nothing was changed"), qPrintable(report.first()));
        QCOMPARE(DumpRows(db.Path()), rows);
        QCOMPARE(RunTool(db.Path(), "PRAGMA integrity_check;"), QString("ok"));

        // A new file has them all from the start: nothing to add.
        TTestDatabase fresh;
        QVERIFY(UpgradeDatabaseFile(fresh.Path(), &report, &error));
        QCOMPARE(report.size(), 1);
        QCOMPARE(IndexNames(fresh), IndexNames(db));
    }

    // Only the missing ones are added; an index somebody made by hand under another
    // name stays beside them.
    void upgradeAddsOnlyWhatIsMissing()
    {
        TTestDatabase db;
        db.Exec({"DROP INDEX classtest_test"});
        db.Exec({"CREATE INDEX my_own ON controldef (NAME)"});
        QStringList report;
        QString error;
        QVERIFY(UpgradeDatabaseFile(db.Path(), &report, &error));
        QCOMPARE(report, QStringList{"Added index classtest_test on classtest (TESTID)."});
        QVERIFY(IndexNames(db).contains("my_own"));
        QCOMPARE(IndexNames(db).size(), SchemaIndexes().size() + 1);
    }

    void upgradeCommandSaysWhatItDid()
    {
        QVERIFY2(QFileInfo::exists(AdminProgram()), "corvella-admin must be built first");
        TTestDatabase db;
        db.Connection().Close();
        QFile::remove(db.Path());
        QVERIFY(CreateFileWithoutIndexes(db.Path()));

        QProcess admin;
        admin.start(AdminProgram(), {"upgrade", db.Path()});
        QVERIFY(admin.waitForFinished(60000));
        QCOMPARE(admin.exitCode(), 0);
        const QString said = QString::fromUtf8(admin.readAllStandardOutput());
        QCOMPARE(said.count("Added index"), SchemaIndexes().size());

        admin.start(AdminProgram(), {"upgrade", db.Path()});
        QVERIFY(admin.waitForFinished(60000));
        QCOMPARE(admin.exitCode(), 0);
        QVERIFY(QString::fromUtf8(admin.readAllStandardOutput()).contains("nothing was changed"));

        // Not a database, or no file at all: a clear message, status 1, nothing made or changed.
        const QString text = db.Folder() + "/notes.mdb";
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("just some notes\n");
        file.close();
        admin.start(AdminProgram(), {"upgrade", text});
        QVERIFY(admin.waitForFinished(60000));
        QCOMPARE(admin.exitCode(), 1);
        QVERIFY(!admin.readAllStandardError().isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("just some notes\n"));

        const QString missing = db.Folder() + "/missing.mdb";
        admin.start(AdminProgram(), {"upgrade", missing});
        QVERIFY(admin.waitForFinished(60000));
        QCOMPARE(admin.exitCode(), 1);
        QVERIFY(QString::fromUtf8(admin.readAllStandardError()).contains("Could not find file"));
        QVERIFY(!QFileInfo::exists(missing));
    }

    // While another program writes, the upgrade waits its turn and then completes.
    void upgradeWaitsForAWriter()
    {
        TTestDatabase db;
        db.Connection().Close();
        QFile::remove(db.Path());
        QVERIFY(CreateFileWithoutIndexes(db.Path()));

        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", db.Path(), "3000"});
        QVERIFY(holder.waitForReadyRead(30000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

        QProcess admin;
        admin.start(AdminProgram(), {"upgrade", db.Path()});
        QVERIFY(admin.waitForFinished(60000));
        QVERIFY2(admin.exitCode() == 0, admin.readAllStandardError().constData());
        // It started while the writer held the file: without waiting it would have failed.
        QVERIFY(holder.waitForFinished(30000));
        QCOMPARE(holder.exitCode(), 0);
        db.Connection().Open();
        QCOMPARE(db.Column({"SELECT NAME FROM classmaster WHERE ID = 99"}), QStringList{"held"});
        QCOMPARE(IndexNames(db).size(), SchemaIndexes().size());
    }

    // A writer that does not finish within the wait: the upgrade gives up, changing nothing.
    void upgradeGivesUpCleanlyWhenTheWriterStays()
    {
        TTestDatabase db;
        db.Connection().Close();
        QFile::remove(db.Path());
        QVERIFY(CreateFileWithoutIndexes(db.Path()));
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", db.Path(), "3000"});
        QVERIFY(holder.waitForReadyRead(30000));

        QStringList report;
        QString error;
        QVERIFY(!UpgradeDatabaseFile(db.Path(), &report, &error, 200));
        QVERIFY2(error.contains("nothing was changed"), qPrintable(error));
        QVERIFY(holder.waitForFinished(30000));
        QCOMPARE(holder.exitCode(), 0);
        db.Connection().Open();
        QCOMPARE(IndexNames(db), QStringList());
    }

    // Our connections sort plain ASCII exactly as the engine's built-in rule, which the
    // sqlite3 tool uses; the student-ID indexes depend on it.
    void asciiSortsAsTheSqliteToolSorts()
    {
        TTestDatabase db;
        const QStringList ids = AwkwardIds();
        int id = 1;
        for (const QString &sid : ids)
            db.Exec({QStringLiteral("INSERT INTO studentmaster (ID, STUDENTID) VALUES (%1, %2)")
                         .arg(id++)
                         .arg(QuotedStr(sid))});
        // Sorted by the rule itself, not read back in the order an index holds.
        const QStringList ours = db.Column({"SELECT STUDENTID FROM studentmaster NOT INDEXED ORDER BY STUDENTID, ID"});
        const QString tool =
            RunTool(db.Path(), "SELECT STUDENTID FROM studentmaster NOT INDEXED ORDER BY STUDENTID, ID;");
        QCOMPARE(ours.join('\n'), tool);
    }

    // Both the programs and the sqlite3 tool insert, change and delete students and
    // members; afterwards both find every student under any letter case, and both call
    // the file sound.
    void studentIndexesStaySoundWhenTheToolWritesToo()
    {
        TTestDatabase db;
        const QStringList ids = AwkwardIds();
        QString toolSql = "BEGIN;\n";
        for (int i = 0; i < ids.size(); ++i) {
            const QString row = QStringLiteral("(%1, 'LAST%1', %2)").arg(i + 1).arg(QuotedStr(ids.at(i)));
            const QString member = QStringLiteral("(1, %1, %2)").arg(QuotedStr(ids.at(i))).arg(i + 1);
            if (i % 2 == 0) {
                db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, STUDENTID)", "VALUES" + row});
                db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE)", "VALUES" + member});
            } else {
                toolSql += "INSERT INTO studentmaster (ID, LASTNAME, STUDENTID) VALUES" + row + ";\n";
                toolSql += "INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES" + member + ";\n";
            }
        }
        // Each side also renames rows the other side wrote, and deletes one.
        toolSql += "UPDATE studentmaster SET STUDENTID = 'x' || STUDENTID WHERE ID = 1;\n"
                   "UPDATE classdetail SET STUDENTID = 'x' || STUDENTID WHERE SEQUENCE = 1;\n"
                   "DELETE FROM studentmaster WHERE ID = 3;\nCOMMIT;\n";
        bool ok = false;
        RunTool(db.Path(), toolSql, &ok);
        QVERIFY(ok);
        db.Exec({"UPDATE studentmaster SET STUDENTID = 'y' || STUDENTID WHERE ID = 2"});
        db.Exec({"UPDATE classdetail SET STUDENTID = 'y' || STUDENTID WHERE SEQUENCE = 2"});
        db.Exec({"DELETE FROM studentmaster WHERE ID = 4"});

        QCOMPARE(RunTool(db.Path(), "PRAGMA integrity_check;"), QString("ok"));
        QCOMPARE(db.Column({"PRAGMA integrity_check"}), QStringList{"ok"});

        const QStringList stored = db.Column({"SELECT STUDENTID FROM studentmaster ORDER BY ID"});
        QCOMPARE(stored.size(), ids.size() - 2);
        for (const QString &sid : stored) {
            for (const QString &typed : {sid, sid.toLower(), sid.toUpper()}) {
                const QString where = "WHERE STUDENTID = " + QuotedStr(typed);
                const QStringList found = db.Column({"SELECT ID FROM studentmaster", where, "ORDER BY ID"});
                QCOMPARE(RunTool(db.Path(), "SELECT ID FROM studentmaster " + where + " ORDER BY ID;"),
                         found.join('\n'));
                QCOMPARE(found.size(), 1);
                const QStringList members = db.Column({"SELECT SERIAL FROM classdetail", where, "ORDER BY SERIAL"});
                QCOMPARE(RunTool(db.Path(), "SELECT SERIAL FROM classdetail " + where + " ORDER BY SERIAL;"),
                         members.join('\n'));
            }
        }
        // And the other side writes after our writes, once more.
        RunTool(db.Path(), "INSERT INTO studentmaster (ID, STUDENTID) VALUES (500, 'a}z');", &ok);
        QVERIFY(ok);
        db.Exec({"INSERT INTO studentmaster (ID, STUDENTID) VALUES (501, 'A{Z')"});
        QCOMPARE(RunTool(db.Path(), "PRAGMA integrity_check;"), QString("ok"));
        QCOMPARE(db.Column({"PRAGMA integrity_check"}), QStringList{"ok"});
    }

    void upgradeNotesStudentIdsBeyondAscii()
    {
        TTestDatabase db;
        db.Exec({"INSERT INTO studentmaster (ID, STUDENTID) VALUES (1, 'ÉLO1')"});
        db.Exec({"INSERT INTO studentmaster (ID, STUDENTID) VALUES (2, 'S02')"});
        QStringList report;
        QString error;
        QVERIFY(UpgradeDatabaseFile(db.Path(), &report, &error));
        QCOMPARE(report.size(), 2);
        QVERIFY2(report.at(1).startsWith("Note: 1 student IDs hold characters beyond plain ASCII"),
                 qPrintable(report.at(1)));
    }

private:
    // Student IDs whose order under an alphabet differs from their order under the
    // engine's letter-case rule: punctuation around the letters, digits, case.
    static QStringList AwkwardIds()
    {
        return {"s01", "S02", "a{1",     "A|2",   "ab", "AB3", "~q",   "z9",   "Zed", "_x", "[b]",
                "a-b", "a b", "O'BRIEN", "obama", "10", "9",   "S-04", "s_05", "}",   "a}", "A^"};
    }

    // The plan lines that read one of the looked-up tables other than through a key:
    // a scan, or a search without an index.
    static QStringList Scans(TTestDatabase &db, const QStringList &lines)
    {
        static const QRegularExpression touches(
            QStringLiteral(R"(^(SCAN|SEARCH) (testresults|testdetail|classdetail|classtest|studentmaster)\b)"),
            QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression keyed(
            QStringLiteral(R"(^SEARCH \w+ USING ((COVERING )?INDEX \w+ \(|INTEGER PRIMARY KEY))"),
            QRegularExpression::CaseInsensitiveOption);
        TDbQuery &query = db.Query();
        query.Clear();
        query.Add(QStringLiteral("EXPLAIN QUERY PLAN"));
        for (const QString &line : lines)
            query.Add(line);
        query.Open();
        QStringList found;
        for (; !query.Eof(); query.Next()) {
            const QString detail = query.FieldByName("detail").AsString();
            if ((touches.match(detail).hasMatch() && !keyed.match(detail).hasMatch()) || detail.contains("AUTOMATIC"))
                found << detail;
        }
        query.Close();
        return found;
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--hold") {
        QCoreApplication app(argc, argv);
        return RunHolder(QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    }
    QCoreApplication app(argc, argv);
    TestIndexes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_indexes.moc"
