// The PostgreSQL engine behind the connection and statement objects: the statement
// translation at its boundary, its errors, transactions, and corvella-admin moving a
// school's file onto a server. Needs the test server (CORVELLA_TEST_SERVER).

#include "common/AdminProcess.h"
#include "common/TestDatabase.h"
#include "database/Schema.h"
#include "database/ServerEngine.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

namespace {

int Admin(const QStringList &args, QString *out = nullptr, QString *err = nullptr)
{
    QProcess admin;
    admin.start(AdminProgram(), args);
    if (!admin.waitForFinished(120000))
        return -1;
    if (out)
        *out = QString::fromUtf8(admin.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(admin.readAllStandardError());
    return admin.exitStatus() == QProcess::NormalExit ? admin.exitCode() : -1;
}

QString Translated(const QString &text, QStringList *names = nullptr)
{
    QStringList dummy;
    return ServerStatement(text, names ? names : &dummy);
}

QStringList Column(const QString &location, const QString &statement)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(location));
    TDbQuery query(&connection);
    query.Add(statement);
    query.Open();
    QStringList values;
    for (; !query.Eof(); query.Next())
        values << query.Fields(0).AsString();
    return values;
}

} // namespace

class TestServerEngine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(TTestDatabase::OnServer(), "run by the test command, with the test server"); }

    void statementsInTheServersDialect()
    {
        QStringList names;
        // Parameters in order of first use, a name used twice once; quotes, quoted names,
        // comments and casts left alone.
        QCOMPARE(Translated("UPDATE t SET A = :TEST, B = ':X', \"c:d\" = :day, E = :Test -- :Y\n", &names),
                 QString("UPDATE t SET A = $1, B = ':X', \"c:d\" = $2, E = $1 -- :Y\n"));
        QCOMPARE(names, (QStringList{":TEST", ":DAY"}));
        QCOMPARE(Translated("SELECT '1'::int, 'it''s :A'"), QString("SELECT '1'::int, 'it''s :A'"));
        QCOMPARE(Translated("SELECT IFNULL(a, 0) FROM t"), QString("SELECT COALESCE(a, 0) FROM t"));
        QCOMPARE(
            Translated("SELECT MAX(ID) FROM (SELECT ID FROM a) GROUP BY 1; SELECT 1 FROM (SELECT 2) x"),
            QString("SELECT MAX(ID) FROM (SELECT ID FROM a) AS subquery_1 GROUP BY 1; SELECT 1 FROM (SELECT 2) x"));
        QCOMPARE(Translated("SELECT GROUP_CONCAT(SERIAL, ', ') AS S, group_concat(f(a, b)) FROM t"),
                 QString("SELECT string_agg(CAST(SERIAL AS TEXT), ', ') AS S, string_agg(CAST(f(a, b) AS TEXT), ',') "
                         "FROM t"));
        QCOMPARE(SplitStatements("DELETE FROM a WHERE n = ';';\r\n DELETE FROM b; ;"),
                 (QStringList{"DELETE FROM a WHERE n = ';'", "DELETE FROM b"}));
        QVERIFY(IsImmediateBegin("BEGIN IMMEDIATE\r\n"));
        QVERIFY(!IsImmediateBegin("BEGIN"));

        // Where a location names a server, and what create refuses instead of making folders.
        QVERIFY(IsServerLocation("postgresql://host/db") && IsServerLocation("service=school"));
        QVERIFY(!IsServerLocation("/srv/share") && !IsUnsupportedLocation("C:/share/Corvella.mdb"));
        QTemporaryDir dir;
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        for (const QString &bad : {QString("postgresql:"), QString("mysql://h/db")}) {
            QString error;
            QVERIFY2(!CreateDatabaseFile(bad, &error), qPrintable(bad));
            QVERIFY2(error.contains("neither a file path nor a supported server address"), qPrintable(error));
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        QDir::setCurrent(here);

        // A location file's first line may name the server; its line break is not part of it.
        for (const QByteArray &line :
             {QByteArray("postgresql://corvella@dbhost/school"), QByteArray("service=school")}) {
            QFile location(dir.filePath("Tamberlin.txt"));
            QVERIFY(location.open(QIODevice::WriteOnly));
            location.write(line + "\r\nsecond line");
            location.close();
            QCOMPARE(DatabaseFilePath(dir.path(), "Tamberlin.txt"), QString::fromUtf8(line));
        }
    }

    void errorsNameTheServerNeverThePassword()
    {
        // Nobody listens: the message names the server; the password stays out of it.
        TDbConnection nowhere;
        nowhere.SetConnectionString(
            ConnectionStringFor("postgresql://teacher:s3cretWord@/school?host=/nonexistent/socket&port=5999"));
        try {
            nowhere.Open();
            QFAIL("opened a server that is not there");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.Message().contains("Could not connect to the database server '/nonexistent/socket:5999/school'"),
                     qPrintable(e.Message()));
            QVERIFY(!e.Message().contains("s3cret"));
        }
        QVERIFY(!nowhere.Connected());

        // A database without our tables, then the same made by create; create refuses it then.
        const QString empty = TTestDatabase::NewServerDatabase();
        try {
            Column(empty, "SELECT * FROM controldef");
            QFAIL("opened a database without our tables");
        } catch (const EDatabaseError &e) {
            QVERIFY2(e.Message().contains("holds no Corvella tables") && e.Message().contains("/corvella_"),
                     qPrintable(e.Message()));
        }
        QString error;
        QVERIFY2(CreateDatabaseFile(empty, &error), qPrintable(error));
        QCOMPARE(Column(empty, "SELECT COUNT(*) FROM testresults"), QStringList{"0"});
        QVERIFY(!CreateDatabaseFile(empty, &error));
        QVERIFY2(error.contains("already holds Corvella tables"), qPrintable(error));
    }

    void wrongPasswordNamesTheServer()
    {
        // The test server asks this one role for its password (its state file's lines 3, 4).
        QFile state(qEnvironmentVariable("CORVELLA_TEST_SERVER"));
        QVERIFY(state.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = state.readAll().split('\n');
        const QString role = QString::fromUtf8(lines.value(2)), right = QString::fromUtf8(lines.value(3));
        QVERIFY2(role.contains("user=corvella_password") && !right.isEmpty(), "a test server with a password role");
        QString location = TTestDatabase::NewServerDatabase();
        QString error;
        QVERIFY2(CreateDatabaseFile(location, &error), qPrintable(error));
        const QString database = location.section('?', 0, 0).section('/', -1);
        location.replace("user=postgres", "user=corvella_password");

        const auto open = [&](const QString &password) {
            TDbConnection connection;
            connection.SetConnectionString(ConnectionStringFor(location + "&password=" + password));
            try {
                connection.Open();
            } catch (const EDatabaseError &e) {
                return e.Message();
            }
            return QString();
        };
        QCOMPARE(open(right), QString());
        const QString message = open("Wr0ngHorse");
        const QString server = role.section("host=", 1).section('&', 0, 0) + '/' + database;
        QVERIFY2(message.startsWith("Could not connect to the database server '" + server + "': ") &&
                     message.contains("password authentication failed for user \"corvella_password\""),
                 qPrintable(message));
        QVERIFY2(!message.contains("Wr0ngHorse") && !message.contains(right), qPrintable(message));
    }

    void transactionsAndFailingStatements()
    {
        TTestDatabase db;
        TDbQuery &q = db.Query();
        {
            TDbTransaction transaction(db.Connection());
            db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'A')"});
            // A failing statement inside undoes itself only, as in the file.
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'B')"}));
            db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (2, 'C')"});
            transaction.Commit();
        }
        {
            TDbTransaction transaction(db.Connection());
            db.Exec({"DELETE FROM classmaster"});
        } // not committed: rolled back
        QCOMPARE(db.Column({"SELECT NAME FROM classmaster ORDER BY ID"}), (QStringList{"A", "C"}));

        // Two statements in one text, and the rows they changed.
        q.Clear();
        q.Add("UPDATE classmaster SET TEACHER = 'x' WHERE ID = 1;");
        q.Add("UPDATE classmaster SET TEACHER = 'y';");
        q.ExecSQL();
        QCOMPARE(q.RowsAffected(), 3);

        // A writing transaction waits for another program's, as on the file.
        TDbConnection other;
        other.SetConnectionString(ConnectionStringFor(db.Path()));
        auto holder = std::make_unique<TDbTransaction>(other);
        QProcess waiter;
        const QString script = QStringLiteral("BEGIN; SELECT pg_advisory_xact_lock(%1); COMMIT;").arg(ServerWriteLock);
        QString address = db.Path();
        waiter.start(QStringLiteral("psql"), {address, QStringLiteral("-Atc"), script});
        QVERIFY(waiter.waitForStarted());
        QVERIFY2(!waiter.waitForFinished(1500), waiter.readAllStandardError().constData()); // held
        holder.reset();
        QVERIFY(waiter.waitForFinished(30000));
        QCOMPARE(waiter.exitCode(), 0);
    }

    void copyMovesASchoolOntoTheServer()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("Corvella.mdb");
        QString out, err;
        QCOMPARE(Admin({"create", "--demo", file}, &out, &err), 0);
        // A counter that has handed out more than the rows left: a result deleted.
        TDbConnection connection;
        connection.SetConnectionString(ConnectionStringFor(file));
        TDbQuery q(&connection);
        q.Add("INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE, ANSWERS) "
              "VALUES ('S01', 1, 1, 90, 'PASSED', '2026-05-06', 'a''b\r\nc')");
        q.ExecSQL();
        q.Clear();
        q.Add("INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S02', 1, 1, 10, 'FAILED')");
        q.ExecSQL();
        q.Clear();
        q.Add("DELETE FROM testresults WHERE STUDENTID = 'S02'");
        q.ExecSQL();
        connection.Close();

        const QString server = TTestDatabase::NewServerDatabase();
        QCOMPARE(Admin({"copy", file, server}, &out, &err), 0);
        QVERIFY2(out.contains("testresults: 1 rows"), qPrintable(out + err));
        const QString tables[] = {"controldef",  "testmaster",    "testdetail", "classmaster",
                                  "classdetail", "studentmaster", "classtest",  "testresults"};
        for (const QString &table : tables) {
            const QString all = "SELECT * FROM " + table + " ORDER BY 1";
            QStringList a, b;
            for (const auto &[location, rows] : {std::pair{file, &a}, std::pair{server, &b}}) {
                TDbConnection c;
                c.SetConnectionString(ConnectionStringFor(location));
                TDbQuery r(&c);
                r.Add(all);
                r.Open();
                for (; !r.Eof(); r.Next())
                    for (int i = 0; i < r.FieldCount(); ++i)
                        *rows << r.Fields(i).FieldName().toUpper() + '=' + r.Fields(i).AsString();
            }
            QVERIFY2(!a.isEmpty(), qPrintable(table));
            QCOMPARE(b, a);
        }
        // The counter goes on after the deleted row's number.
        TDbConnection onServer;
        onServer.SetConnectionString(ConnectionStringFor(server));
        TDbQuery s(&onServer);
        s.Add("INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S03', 1, 1, 0, 'FAILED')");
        s.ExecSQL();
        onServer.Close();
        QCOMPARE(Column(server, "SELECT MAX(SERIAL) FROM testresults"), QStringList{"3"});

        // A target with rows is refused and left as it is; check and upgrade work on the server.
        QCOMPARE(Admin({"copy", file, server}, &out, &err), 1);
        QVERIFY2(err.contains("is not empty"), qPrintable(err));
        QCOMPARE(Column(server, "SELECT COUNT(*) FROM testresults"), QStringList{"2"});
        QVERIFY2(Admin({"check", server}, &out, &err) == 0, qPrintable(out + err));
        QVERIFY2(out.contains("all rebuild"), qPrintable(out + err));
        QCOMPARE(Admin({"upgrade", server}, &out, &err), 0);
        QVERIFY2(out.contains("already has every index"), qPrintable(out + err));

        // Back from the server into a new file: the same rows.
        const QString back = dir.filePath("back/Corvella.mdb");
        QCOMPARE(Admin({"copy", server, back}, &out, &err), 0);
        QCOMPARE(Column(back, "SELECT SERIAL FROM testresults ORDER BY SERIAL"), (QStringList{"1", "3"}));
        QCOMPARE(Column(back, "SELECT ANSWERS FROM testresults WHERE SERIAL = 1"), QStringList{"a'b\r\nc"});
    }
};

QTEST_GUILESS_MAIN(TestServerEngine)
#include "tst_serverengine.moc"
