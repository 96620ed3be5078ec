#include "database/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

bool CreateDatabaseFile(const QString &path, QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name given."));
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("The file '%1' already exists; it is left as it is.").arg(path));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("The folder '%1' cannot be made.").arg(folder));

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
            return fail(text);
        }
    }
    const QString text = rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
    if (sqlite3_close(db) != SQLITE_OK || rc != SQLITE_OK) {
        QFile::remove(path);
        return fail(text.isEmpty() ? QStringLiteral("The file '%1' cannot be written.").arg(path) : text);
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
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("Could not find file '%1'.").arg(path));

    // A plain connection: the indexes are built in the engine's own letter-case order,
    // the order in which the sqlite3 tool reads them.
    TUpgradeFile file;
    if (sqlite3_open_v2(path.toUtf8().constData(), &file.FDb, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("%1: '%2'").arg(file.Message(), path));
    sqlite3_busy_timeout(file.FDb, waitMs);

    QStringList tables;
    if (!file.Column("SELECT lower(name) FROM sqlite_master WHERE type = 'table'", &tables))
        return fail(QStringLiteral("%1: '%2'").arg(file.Message(), path));
    for (const char *table : {"controldef", "testmaster", "testdetail", "classmaster", "classdetail", "studentmaster",
                              "classtest", "testresults"})
        if (!tables.contains(QLatin1String(table)))
            return fail(QStringLiteral("'%1' is not a Corvella database: it has no table %2. Nothing was changed.")
                            .arg(path, QLatin1String(table)));

    // One transaction, taken only when no other program is writing: all indexes or none.
    const int rc = sqlite3_exec(file.FDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        if (IsBusy(rc))
            return fail(QStringLiteral("Another program kept writing to '%1' for %2 seconds; nothing was changed. "
                                       "Try again when it is done.")
                            .arg(path)
                            .arg(waitMs / 1000));
        return fail(file.Message());
    }
    QStringList present;
    if (!file.Column("SELECT lower(name) FROM sqlite_master WHERE type = 'index'", &present)) {
        const QString message = file.Message();
        file.Exec("ROLLBACK");
        return fail(message);
    }
    QStringList done;
    for (const TSchemaIndex &index : SchemaIndexes()) {
        if (present.contains(index.Name.toLower()))
            continue;
        if (sqlite3_exec(file.FDb, index.Statement.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            const QString message = file.Message();
            file.Exec("ROLLBACK");
            return fail(QStringLiteral("%1 (adding index %2). Nothing was changed.").arg(message, index.Name));
        }
        const qsizetype open = index.Statement.indexOf(QLatin1Char('('));
        done << QStringLiteral("Added index %1 on %2 %3.")
                    .arg(index.Name, index.Table, index.Statement.mid(open).chopped(1).trimmed());
    }
    if (sqlite3_exec(file.FDb, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString message = file.Message();
        file.Exec("ROLLBACK");
        return fail(QStringLiteral("%1. Nothing was changed.").arg(message));
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
