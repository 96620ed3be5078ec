#include "admin/ResultCommands.h"

#include "database/Database.h"
#include "question/ResultSheets.h"
#include "toolkit/Exception.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

struct TResultArgs {
    QString Path;
    QString Output;
    QString ClassName;
    QString TestName;
};

// PATH, an optional FILE (when allowed) and the values of --class and --test.
bool ParseArgs(const QStringList &args, bool fileAllowed, TResultArgs &parsed)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        QString *value = arg == QLatin1String("--class")  ? &parsed.ClassName
                         : arg == QLatin1String("--test") ? &parsed.TestName
                                                          : nullptr;
        if (value) {
            if (i + 1 >= args.size() || !value->isEmpty() || args.at(i + 1).trimmed().isEmpty())
                return false;
            *value = args.at(++i);
        } else if (arg.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            positional.append(arg);
        }
    }
    if (positional.isEmpty() || positional.size() > (fileAllowed ? 2 : 1))
        return false;
    parsed.Path = positional.at(0);
    parsed.Output = positional.value(1);
    return true;
}

// The IDs of the rows of table whose NAME is name (ignoring case), lowest first.
QStringList IDsNamed(TDbQuery &query, const QString &table, const QString &name)
{
    query.Close();
    query.Clear();
    query.Add(QStringLiteral("SELECT ID FROM ") + table + QStringLiteral(" WHERE NAME = ") + QuotedStr(name));
    query.Add(QStringLiteral("ORDER BY ID"));
    query.Open();
    QStringList ids;
    for (; !query.Eof(); query.Next())
        ids.append(query.Fields(0).AsString());
    query.Close();
    return ids;
}

// False, with the reason on err, when a name was given and no row has it.
bool Resolve(TDbQuery &query, const QString &table, const QString &what, const QString &name, QStringList &ids,
             QTextStream &err)
{
    if (name.isEmpty())
        return true;
    ids = IDsNamed(query, table, name);
    if (ids.isEmpty())
        err << QStringLiteral("There is no %1 named \"%2\".\n").arg(what, name);
    return !ids.isEmpty();
}

bool Open(TDbConnection &connection, const QString &path, QTextStream &err)
{
    connection.SetConnectionString(ConnectionStringFor(path));
    connection.SetReadOnly(true);
    try {
        connection.Open();
    } catch (const Exception &e) {
        err << e.Message() << "\n";
        return false;
    }
    return true;
}

} // namespace

int RunGradesCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    TResultArgs parsed;
    if (!ParseArgs(args, true, parsed))
        return -1;
    // A slip of the hand must not turn the database into a CSV file.
    if (!parsed.Output.isEmpty() && QFileInfo::exists(parsed.Output) &&
        QFileInfo(parsed.Output).canonicalFilePath() == QFileInfo(parsed.Path).canonicalFilePath()) {
        err << QStringLiteral("The CSV file would replace the database file %1.\n").arg(parsed.Path);
        return 1;
    }
    TDbConnection connection;
    if (!Open(connection, parsed.Path, err))
        return 1;
    TDbQuery query(&connection);
    QList<TGradeRow> rows;
    try {
        QStringList classIDs, testIDs;
        if (!Resolve(query, QStringLiteral("classmaster"), QStringLiteral("class"), parsed.ClassName, classIDs, err) ||
            !Resolve(query, QStringLiteral("testmaster"), QStringLiteral("test"), parsed.TestName, testIDs, err))
            return 1;
        const QList<TGradePair> pairs = ReadGradePairs(query, classIDs, testIDs);
        if (pairs.isEmpty() && !classIDs.isEmpty() && !testIDs.isEmpty()) {
            err << QStringLiteral("The test \"%1\" is not assigned to the class \"%2\".\n")
                       .arg(parsed.TestName, parsed.ClassName);
            return 1;
        }
        for (const TGradePair &pair : pairs)
            rows += ReadGradeRows(query, pair);
    } catch (const Exception &e) {
        query.Close();
        err << e.Message() << "\n";
        return 1;
    }
    const QList<QStringList> lines = GradeCsvRows(rows);
    if (parsed.Output.isEmpty()) {
        out.flush();
        const QByteArray bytes = CsvBytes(lines);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
        return 0;
    }
    QString error;
    if (!WriteCsvFile(parsed.Output, lines, &error)) {
        err << error << "\n";
        return 1;
    }
    out << QStringLiteral("Wrote %1 (%2 rows).\n").arg(parsed.Output).arg(rows.size());
    return 0;
}

int RunItemsCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    TResultArgs parsed;
    if (!ParseArgs(args, false, parsed) || parsed.TestName.isEmpty())
        return -1;
    TDbConnection connection;
    if (!Open(connection, parsed.Path, err))
        return 1;
    TDbQuery query(&connection);
    try {
        QStringList classIDs, testIDs;
        if (!Resolve(query, QStringLiteral("testmaster"), QStringLiteral("test"), parsed.TestName, testIDs, err) ||
            !Resolve(query, QStringLiteral("classmaster"), QStringLiteral("class"), parsed.ClassName, classIDs, err))
            return 1;
        if (testIDs.size() > 1)
            err << QStringLiteral("%1 tests are named \"%2\" (IDs %3); showing the first, ID %4.\n")
                       .arg(testIDs.size())
                       .arg(parsed.TestName, testIDs.join(QStringLiteral(", ")), testIDs.first());
        if (classIDs.size() > 1)
            err << QStringLiteral("%1 classes are named \"%2\" (IDs %3); showing the first, ID %4.\n")
                       .arg(classIDs.size())
                       .arg(parsed.ClassName, classIDs.join(QStringLiteral(", ")), classIDs.first());
        out << ItemStatisticsText(ReadItemStatistics(query, testIDs.first(), classIDs.value(0)));
    } catch (const Exception &e) {
        query.Close();
        err << e.Message() << "\n";
        return 1;
    }
    return 0;
}
