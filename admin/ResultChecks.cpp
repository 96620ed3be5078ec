#include "admin/ResultChecks.h"

#include "database/Database.h"
#include "toolkit/Exception.h"

#include <cstdio>

namespace {

void Print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

int CheckDuplicateResults(const QString &databasePath)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(databasePath));
    connection.SetReadOnly(true);
    TDbQuery query(&connection);
    int groups = 0;
    try {
        query.Add(QStringLiteral("SELECT STUDENTID, TESTID, CLASSID, COUNT(*) AS ROWS_,"));
        query.Add(QStringLiteral("GROUP_CONCAT(SERIAL, ', ') AS SERIALS_, MAX(SERIAL) AS SHOWN_ FROM"));
        query.Add(QStringLiteral("(SELECT STUDENTID, TESTID, CLASSID, SERIAL FROM testresults ORDER BY SERIAL)"));
        query.Add(QStringLiteral("GROUP BY STUDENTID, TESTID, CLASSID HAVING COUNT(*) > 1"));
        query.Add(QStringLiteral("ORDER BY STUDENTID, TESTID, CLASSID"));
        query.Open();
        for (; !query.Eof(); query.Next()) {
            ++groups;
            Print(stdout, QStringLiteral("Result of student %1, test %2, class %3 stored %4 times (SERIAL %5); "
                                         "SERIAL %6 is the one shown\n")
                              .arg(query.FieldByName("STUDENTID").AsString(), query.FieldByName("TESTID").AsString(),
                                   query.FieldByName("CLASSID").AsString(), query.FieldByName("ROWS_").AsString(),
                                   query.FieldByName("SERIALS_").AsString(), query.FieldByName("SHOWN_").AsString()));
        }
        query.Close();
    } catch (const Exception &e) {
        Print(stderr, e.Message() + QLatin1Char('\n'));
        return -1;
    }
    return groups;
}
