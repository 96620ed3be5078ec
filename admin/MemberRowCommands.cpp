#include "admin/MemberRowCommands.h"

#include "database/Database.h"
#include "toolkit/Exception.h"

#include <QList>
#include <QTextStream>

namespace {

// A column that names a record of another table.
struct TReference {
    const char *Table;
    const char *Key; // the row's own key
    const char *Column;
    const char *Header;
    const char *HeaderColumn;
    const char *What;
};

const TReference References[] = {
    {"testdetail", "SERIAL", "TESTID", "testmaster", "ID", "test"},
    {"testdetail", "SERIAL", "CONTROLID", "controldef", "ID", "question"},
    {"classdetail", "SERIAL", "CLASSID", "classmaster", "ID", "class"},
    {"classdetail", "SERIAL", "STUDENTID", "studentmaster", "STUDENTID", "student"},
    {"classtest", "ID", "CLASSID", "classmaster", "ID", "class"},
    {"classtest", "ID", "TESTID", "testmaster", "ID", "test"},
    {"testresults", "SERIAL", "CLASSID", "classmaster", "ID", "class"},
    {"testresults", "SERIAL", "TESTID", "testmaster", "ID", "test"},
    {"testresults", "SERIAL", "STUDENTID", "studentmaster", "STUDENTID", "student"},
};

struct TLeftRow {
    QString Table;
    QString Key;
    qint64 Value;
    QString Reason;
};

// Every such row, once, with the first reference found gone.
QList<TLeftRow> LeftRows(TDbQuery &query)
{
    QList<TLeftRow> rows;
    for (const TReference &ref : References) {
        const QString table = QString::fromLatin1(ref.Table);
        const QString column = QString::fromLatin1(ref.Column);
        query.Clear();
        query.Add(QStringLiteral("SELECT t.%1, t.%2 FROM %3 t").arg(QLatin1String(ref.Key), column, table));
        query.Add(QStringLiteral("WHERE NOT EXISTS (SELECT 1 FROM %1 h WHERE h.%2 = t.%3)")
                      .arg(QLatin1String(ref.Header), QLatin1String(ref.HeaderColumn), column));
        query.Add(QStringLiteral("ORDER BY t.%1").arg(QLatin1String(ref.Key)));
        query.Open();
        for (; !query.Eof(); query.Next()) {
            const qint64 key = query.Fields(0).AsLargeInt();
            bool known = false;
            for (const TLeftRow &row : std::as_const(rows))
                known = known || (row.Table == table && row.Value == key);
            if (known)
                continue;
            const QString value = query.Fields(1).IsNull() ? QStringLiteral("(none)") : query.Fields(1).AsString();
            const QString named = QLatin1String(ref.HeaderColumn) == QLatin1String("STUDENTID")
                                      ? QLatin1Char('"') + value + QLatin1Char('"')
                                      : value;
            rows.append({table, QString::fromLatin1(ref.Key), key,
                         QStringLiteral("its %1 %2 no longer exists").arg(QLatin1String(ref.What), named)});
        }
        query.Close();
    }
    return rows;
}

void List(const QList<TLeftRow> &rows, QTextStream &out)
{
    for (const TLeftRow &row : rows)
        out << row.Table << ' ' << row.Key << ' ' << row.Value << ": " << row.Reason << '\n';
}

void Exec(TDbQuery &query, const QString &statement)
{
    query.Clear();
    query.Add(statement);
    query.ExecSQL();
}

} // namespace

bool CheckMemberRows(const QString &databasePath, QTextStream &out, QTextStream &err)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(databasePath));
    connection.SetReadOnly(true);
    TDbQuery query(&connection);
    QList<TLeftRow> rows;
    try {
        connection.Open();
        rows = LeftRows(query);
    } catch (const Exception &e) {
        query.Close();
        err << e.Message() << '\n';
        err.flush();
        return false;
    }
    List(rows, out);
    if (!rows.isEmpty())
        out << rows.size() << (rows.size() == 1 ? " row refers" : " rows refer")
            << " to a record that no longer exists; \"corvella-admin repair " << databasePath << "\" removes them.\n";
    out.flush();
    return rows.isEmpty();
}

int RunRepairCommand(const QString &databasePath, QTextStream &out, QTextStream &err)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(databasePath));
    TDbQuery query(&connection);
    bool begun = false;
    try {
        connection.Open();
        // Found and removed in one step: what is shown is exactly what goes.
        Exec(query, QStringLiteral("BEGIN IMMEDIATE"));
        begun = true;
        const QList<TLeftRow> rows = LeftRows(query);
        if (rows.isEmpty()) {
            Exec(query, QStringLiteral("ROLLBACK"));
            out << "Nothing to repair: every row refers to records that exist.\n";
            out.flush();
            return 0;
        }
        out << "Removing " << rows.size() << (rows.size() == 1 ? " row" : " rows")
            << " that refer to a record that no longer exists:\n";
        List(rows, out);
        out.flush();
        for (const TLeftRow &row : rows)
            Exec(query, QStringLiteral("DELETE FROM %1 WHERE %2 = %3").arg(row.Table, row.Key).arg(row.Value));
        Exec(query, QStringLiteral("COMMIT"));
        out << "Removed " << rows.size() << (rows.size() == 1 ? " row.\n" : " rows.\n");
        out.flush();
        return 0;
    } catch (const Exception &e) {
        if (begun) {
            try {
                Exec(query, QStringLiteral("ROLLBACK"));
            } catch (const Exception &) {
            }
        }
        err << e.Message() << "\nNothing was removed.\n";
        err.flush();
        return 1;
    }
}
