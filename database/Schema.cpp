#include "database/Schema.h"

#include "database/ServerEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Gives the caller the message, when it asks for one; false.
bool Fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

const char *const TableNames[] = {"controldef",  "testmaster",    "testdetail", "classmaster",
                                  "classdetail", "studentmaster", "classtest",  "testresults"};

// A plain connection to a server for making and upgrading its tables.
class TServer {
public:
    explicit TServer(const QString &location) : FLabel(ServerLabel(location))
    {
        FPg = PQconnectdb(location.toUtf8().constData());
        if (PQstatus(FPg) == CONNECTION_OK) {
            PQsetClientEncoding(FPg, "UTF8");
            Exec("SET client_min_messages = warning");
        }
    }
    ~TServer() { PQfinish(FPg); }
    bool Connected() const { return PQstatus(FPg) == CONNECTION_OK; }
    QString Message() const { return QString::fromUtf8(PQerrorMessage(FPg)).trimmed(); }
    QString Label() const { return FLabel; }
    QString NotConnected() const
    {
        return QStringLiteral("Could not connect to the database server %1: %2").arg(FLabel, Message());
    }

    bool Exec(const QString &sql)
    {
        PGresult *result = PQexec(FPg, sql.toUtf8().constData());
        const ExecStatusType status = PQresultStatus(result);
        PQclear(result);
        return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    }
    // The first column of every row, as text; false on a server error.
    bool Column(const QString &sql, QStringList *values)
    {
        PGresult *result = PQexec(FPg, sql.toUtf8().constData());
        const bool ok = PQresultStatus(result) == PGRES_TUPLES_OK;
        for (int row = 0; ok && row < PQntuples(result); ++row)
            values->append(QString::fromUtf8(PQgetvalue(result, row, 0)));
        PQclear(result);
        return ok;
    }
    QStringList OurTables()
    {
        QStringList tables;
        Column(QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = current_schema()"), &tables);
        QStringList ours;
        for (const char *table : TableNames)
            if (tables.contains(QLatin1String(table)))
                ours << QLatin1String(table);
        return ours;
    }

private:
    PGconn *FPg = nullptr;
    QString FLabel;
};

bool CreateServerDatabase(const QString &location, QString *error)
{
    TServer server(location);
    if (!server.Connected())
        return Fail(error, server.NotConnected());
    if (!server.OurTables().isEmpty())
        return Fail(error, QStringLiteral("The database on %1 already holds Corvella tables; it is left as it is.")
                               .arg(server.Label()));
    // Letter case is folded by the database's own rule: that rule must know more than A-Z.
    QStringList probe;
    if (!server.Column(QStringLiteral("SELECT lower('ÉLODIE') = 'élodie' AND "
                                      "EXISTS (SELECT 1 FROM pg_collation WHERE collname = 'und-x-icu')"),
                       &probe) ||
        probe.value(0) != QLatin1String("t"))
        return Fail(error,
                    QStringLiteral("The database on %1 cannot compare letters beyond A-Z without regard to case "
                                   "(it needs UTF-8 and a locale such as C.UTF-8, and a server built with ICU); "
                                   "make it with: createdb --encoding=UTF8 --locale=C.UTF-8 --template=template0 NAME")
                        .arg(server.Label()));
    // One transaction: the tables all come, or none does.
    if (!server.Exec(QStringLiteral("BEGIN; CREATE EXTENSION IF NOT EXISTS citext; ") + ServerSchemaSql() +
                     QStringLiteral("; COMMIT"))) {
        const QString message = server.Message();
        server.Exec(QStringLiteral("ROLLBACK"));
        return Fail(error, QStringLiteral("%1 (database server %2). Nothing was made.").arg(message, server.Label()));
    }
    return true;
}

bool UpgradeServerDatabase(const QString &location, QStringList *report, QString *error, int waitMs)
{
    TServer server(location);
    if (!server.Connected())
        return Fail(error, server.NotConnected());
    const QStringList tables = server.OurTables();
    for (const char *table : TableNames)
        if (!tables.contains(QLatin1String(table)))
            return Fail(error,
                        QStringLiteral("The database on %1 is not a Corvella database: it has no table %2. Nothing was "
                                       "changed.")
                            .arg(server.Label(), QLatin1String(table)));
    if (!server.Exec(QStringLiteral("BEGIN; SET LOCAL lock_timeout = %1; SELECT pg_advisory_xact_lock(%2)")
                         .arg(waitMs)
                         .arg(ServerWriteLock))) {
        const QString message = server.Message();
        server.Exec(QStringLiteral("ROLLBACK"));
        return Fail(error, QStringLiteral("%1. Nothing was changed.").arg(message));
    }
    QStringList present;
    server.Column(QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()"), &present);
    QStringList done;
    for (const TSchemaIndex &index : SchemaIndexes()) {
        if (present.contains(index.Name.toLower()))
            continue;
        if (!server.Exec(ServerIndexStatement(index.Statement))) {
            const QString message = server.Message();
            server.Exec(QStringLiteral("ROLLBACK"));
            return Fail(error, QStringLiteral("%1 (adding index %2). Nothing was changed.").arg(message, index.Name));
        }
        const qsizetype open = index.Statement.indexOf(QLatin1Char('('));
        done << QStringLiteral("Added index %1 on %2 %3.")
                    .arg(index.Name, index.Table, index.Statement.mid(open).chopped(1).trimmed());
    }
    if (!server.Exec(QStringLiteral("COMMIT"))) {
        const QString message = server.Message();
        return Fail(error, QStringLiteral("%1. Nothing was changed.").arg(message));
    }
    if (done.isEmpty())
        done << QStringLiteral("The database on %1 already has every index; nothing was changed.").arg(server.Label());
    if (report)
        *report = done;
    return true;
}

} // namespace

bool CreateDatabaseFile(const QString &path, QString *error)
{
    if (path.isEmpty())
        return Fail(error, QStringLiteral("No file name given."));
    if (IsServerLocation(path) && !IsUnsupportedLocation(path))
        return CreateServerDatabase(path, error);
    if (IsUnsupportedLocation(path))
        return Fail(error, QStringLiteral("'%1' is neither a file path nor a supported server address "
                                          "(postgresql://HOST/DATABASE or service=NAME); nothing was made.")
                               .arg(path.contains(QLatin1Char('@'))
                                        ? path.section(QLatin1Char(':'), 0, 0) + QStringLiteral(":…")
                                        : path)); // a password may come before the @
    if (QFileInfo::exists(path))
        return Fail(error, QStringLiteral("The file '%1' already exists; it is left as it is.").arg(path));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return Fail(error, QStringLiteral("The folder '%1' cannot be made.").arg(folder));

    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, nullptr);
    if (rc == SQLITE_OK) {
        char *message = nullptr;
        const QByteArray script = QByteArray("BEGIN;\n") + SchemaSql + "\nPRAGMA user_version = 1;\nCOMMIT;\n";
        rc = sqlite3_exec(db, script.constData(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK) {
            const QString text = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_free(message);
            sqlite3_close(db);
            QFile::remove(path); // nothing half-made stays behind
            return Fail(error, text);
        }
    }
    const QString text = rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
    if (sqlite3_close(db) != SQLITE_OK || rc != SQLITE_OK) {
        QFile::remove(path);
        return Fail(error, text.isEmpty() ? QStringLiteral("The file '%1' cannot be written.").arg(path) : text);
    }
    return true;
}

QList<TSchemaIndex> SchemaIndexes()
{
    static const QRegularExpression pattern(QStringLiteral(R"(CREATE\s+INDEX\s+(\w+)\s+ON\s+(\w+)\s*\([^)]*\)\s*;)"),
                                            QRegularExpression::CaseInsensitiveOption);
    QList<TSchemaIndex> indexes;
    auto match = pattern.globalMatch(QString::fromUtf8(SchemaSql));
    while (match.hasNext()) {
        const auto m = match.next();
        indexes.append({m.captured(1), m.captured(2), m.captured(0)});
    }
    return indexes;
}

namespace {

class TUpgradeFile {
public:
    ~TUpgradeFile() { sqlite3_close(FDb); }
    sqlite3 *FDb = nullptr;

    QString Message() const { return QString::fromUtf8(sqlite3_errmsg(FDb)); }

    bool Exec(const char *sql) { return sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    // The first column of every row of a query, as text; false on an engine error.
    bool Column(const char *sql, QStringList *values)
    {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(FDb, sql, -1, &stmt, nullptr) != SQLITE_OK)
            return false;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            values->append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
        sqlite3_finalize(stmt);
        return rc == SQLITE_DONE;
    }
};

bool IsBusy(int code)
{
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

} // namespace

bool UpgradeDatabaseFile(const QString &path, QStringList *report, QString *error, int waitMs)
{
    if (IsServerLocation(path))
        return UpgradeServerDatabase(path, report, error, waitMs);
    if (!QFileInfo(path).isFile())
        return Fail(error, QStringLiteral("Could not find file '%1'.").arg(path));

    // A plain connection: the indexes are built in the engine's own letter-case order,
    // the order in which the sqlite3 tool reads them.
    TUpgradeFile file;
    if (sqlite3_open_v2(path.toUtf8().constData(), &file.FDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return Fail(error, QStringLiteral("%1: '%2'").arg(file.Message(), path));
    sqlite3_busy_timeout(file.FDb, waitMs);

    QStringList tables;
    if (!file.Column("SELECT lower(name) FROM sqlite_master WHERE type = 'table'", &tables))
        return Fail(error, QStringLiteral("%1: '%2'").arg(file.Message(), path));
    for (const char *table : {"controldef", "testmaster", "testdetail", "classmaster", "classdetail", "studentmaster",
                              "classtest", "testresults"})
        if (!tables.contains(QLatin1String(table)))
            return Fail(error,
                        QStringLiteral("'%1' is not a Corvella database: it has no table %2. Nothing was changed.")
                            .arg(path, QLatin1String(table)));

    // One transaction, taken only when no other program is writing: all indexes or none.
    const int rc = sqlite3_exec(file.FDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        if (IsBusy(rc))
            return Fail(error,
                        QStringLiteral("Another program kept writing to '%1' for %2 seconds; nothing was changed. "
                                       "Try again when it is done.")
                            .arg(path)
                            .arg(waitMs / 1000));
        return Fail(error, file.Message());
    }
    QStringList present;
    if (!file.Column("SELECT lower(name) FROM sqlite_master WHERE type = 'index'", &present)) {
        const QString message = file.Message();
        file.Exec("ROLLBACK");
        return Fail(error, message);
    }
    QStringList done;
    for (const TSchemaIndex &index : SchemaIndexes()) {
        if (present.contains(index.Name.toLower()))
            continue;
        if (sqlite3_exec(file.FDb, index.Statement.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            const QString message = file.Message();
            file.Exec("ROLLBACK");
            return Fail(error, QStringLiteral("%1 (adding index %2). Nothing was changed.").arg(message, index.Name));
        }
        const qsizetype open = index.Statement.indexOf(QLatin1Char('('));
        done << QStringLiteral("Added index %1 on %2 %3.")
                    .arg(index.Name, index.Table, index.Statement.mid(open).chopped(1).trimmed());
    }
    if (sqlite3_exec(file.FDb, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString message = file.Message();
        file.Exec("ROLLBACK");
        return Fail(error, QStringLiteral("%1. Nothing was changed.").arg(message));
    }
    if (done.isEmpty())
        done << QStringLiteral("'%1' already has every index; nothing was changed.").arg(path);

    // Our connections and the sqlite3 tool order plain ASCII alike; other letters they
    // may order differently, so an index on such student IDs is best kept in view.
    QStringList odd;
    if (file.Column("SELECT COUNT(*) FROM studentmaster WHERE STUDENTID GLOB '*[^ -~]*'", &odd) && !odd.isEmpty() &&
        odd.first() != QLatin1String("0"))
        done << QStringLiteral("Note: %1 student IDs hold characters beyond plain ASCII; programs other than "
                               "Corvella and Tamberlin (such as the sqlite3 tool) may order them differently.")
                    .arg(odd.first());
    if (report)
        *report = done;
    return true;
}
