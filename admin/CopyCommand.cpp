#include "admin/CopyCommand.h"

#include "database/Database.h"
#include "database/Schema.h"
#include "database/ServerEngine.h"
#include "toolkit/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

struct TCopiedTable {
    const char *Name;
    const char *Key;
    bool Counter; // the key is the engine's counter (SERIAL)
};

const TCopiedTable CopiedTables[] = {
    {"controldef", "ID", false},  {"testmaster", "ID", false},     {"testdetail", "SERIAL", true},
    {"classmaster", "ID", false}, {"classdetail", "SERIAL", true}, {"studentmaster", "ID", false},
    {"classtest", "ID", false},   {"testresults", "SERIAL", true},
};

void Run(TDbQuery &query, const QString &statement)
{
    query.Clear();
    query.Add(statement);
    query.ExecSQL();
}

qint64 Number(TDbQuery &query, const QString &statement)
{
    query.Clear();
    query.Add(statement);
    query.Open();
    const qint64 value = query.Eof() ? 0 : query.Fields(0).AsLargeInt();
    query.Close();
    return value;
}

// The highest value a counter has handed out, which may be above the highest row left.
qint64 CounterReached(TDbConnection &connection, TDbQuery &query, const QString &table)
{
    const qint64 highest = Number(query, QStringLiteral("SELECT MAX(SERIAL) FROM ") + table);
    const qint64 handedOut =
        connection.IsServer()
            ? Number(query,
                     QStringLiteral("SELECT pg_sequence_last_value(pg_get_serial_sequence('%1', 'serial'))").arg(table))
            : Number(query, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = '%1'").arg(table));
    return std::max(highest, handedOut);
}

} // namespace

int RunCopyCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2 || args.at(0).startsWith(QLatin1String("--")) || args.at(1).startsWith(QLatin1String("--")))
        return -1;
    const QString source = args.at(0);
    const QString target = args.at(1);
    const QString targetName = IsServerLocation(target) ? ServerLabel(target) : QLatin1Char('\'') + target + '\'';

    TDbConnection from;
    from.SetConnectionString(ConnectionStringFor(source));
    from.SetReadOnly(true);
    TDbQuery read(&from);
    try {
        from.Open();
    } catch (const Exception &e) {
        err << e.Message() << "\n";
        return 1;
    }

    // The target: a new file, a server database without our tables (both made here), or
    // tables without a row. What was made here goes again when the copy fails.
    bool made = false;
    QString error;
    const bool targetIsFile = !IsServerLocation(target);
    if (targetIsFile ? !QFileInfo::exists(target) : true) {
        made = CreateDatabaseFile(target, &error);
        if (!made && targetIsFile) {
            err << error << "\n";
            return 1;
        }
    }
    TDbConnection to;
    to.SetConnectionString(ConnectionStringFor(target));
    TDbQuery write(&to);
    auto undoMade = [&] {
        write.Close();
        to.Close();
        if (!made)
            return;
        if (targetIsFile) {
            QFile::remove(target);
            return;
        }
        TDbConnection again;
        again.SetConnectionString(ConnectionStringFor(target));
        TDbQuery drop(&again);
        try {
            QStringList names;
            for (const TCopiedTable &table : CopiedTables)
                names << QLatin1String(table.Name);
            Run(drop, QStringLiteral("DROP TABLE ") + names.join(QStringLiteral(", ")));
        } catch (const Exception &) {
        }
    };

    QStringList report;
    try {
        TDbTransaction transaction(to);
        for (const TCopiedTable &table : CopiedTables) {
            const qint64 rows = Number(write, QStringLiteral("SELECT COUNT(*) FROM ") + table.Name);
            if (rows > 0)
                throw EDatabaseError(QStringLiteral("%1 is not empty (table %2 holds %3 rows); nothing was copied.")
                                         .arg(targetName, QLatin1String(table.Name))
                                         .arg(rows));
        }
        if (from.IsServer())
            Run(read, QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")); // one moment's rows
        else
            Run(read, QStringLiteral("BEGIN")); // held read lock: no writer changes the file meanwhile
        for (const TCopiedTable &table : CopiedTables) {
            read.Clear();
            read.Add(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(QLatin1String(table.Name), table.Key));
            read.Open();
            QStringList columns, params;
            for (int i = 0; i < read.FieldCount(); ++i) {
                columns << read.Fields(i).FieldName();
                params << QStringLiteral(":C%1").arg(i);
            }
            write.Clear();
            write.Add(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(QLatin1String(table.Name), columns.join(QStringLiteral(", ")),
                               params.join(QStringLiteral(", "))));
            int count = 0;
            for (; !read.Eof(); read.Next(), ++count) {
                for (int i = 0; i < read.FieldCount(); ++i) {
                    const TDbField field = read.Fields(i);
                    if (field.IsNull())
                        write.SetParamNull(params.at(i));
                    else if (field.IsDate())
                        write.SetParamText(params.at(i), QString::fromUtf8(field.AsBytes()).left(10));
                    else
                        write.SetParamText(params.at(i), field.AsString());
                }
                write.ExecSQL();
            }
            read.Close();
            if (table.Counter) {
                // The counter goes on after the highest value the source ever handed out.
                const qint64 reached = CounterReached(from, read, QLatin1String(table.Name));
                if (reached > 0) {
                    if (to.IsServer())
                        Number(write, QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'serial'), %2)")
                                          .arg(QLatin1String(table.Name))
                                          .arg(reached));
                    else {
                        Run(write, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(table.Name));
                        Run(write, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES ('%1', %2)")
                                       .arg(QLatin1String(table.Name))
                                       .arg(reached));
                    }
                }
            }
            report << QStringLiteral("%1: %2 rows").arg(QLatin1String(table.Name)).arg(count);
        }
        transaction.Commit();
    } catch (const Exception &e) {
        err << e.Message() << "\n";
        undoMade();
        return 1;
    }
    out << "Copied to " << targetName << ": " << report.join(QStringLiteral(", ")) << ".\n";
    return 0;
}
