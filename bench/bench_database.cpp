// Reading 10,000 rows of 5 columns: through the statement object with fields by
// name, against the plain sqlite3 C API on the same file.

#include "database/Database.h"
#include "database/Schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int Rows = 10000;

struct TBenchFile {
    QTemporaryDir Dir;
    QString Path;

    TBenchFile() : Path(Dir.filePath("Corvella.mdb"))
    {
        QString error;
        if (!CreateDatabaseFile(Path, &error))
            qFatal("%s", qPrintable(error));
        sqlite3 *db = nullptr;
        sqlite3_open(Path.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(
            db, "INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (?, ?, ?, ?, ?)", -1,
            &insert, nullptr);
        for (int i = 1; i <= Rows; ++i) {
            const QByteArray last = "LASTNAME-" + QByteArray::number(i * 7919 % 10007);
            const QByteArray first = "FIRSTNAME-" + QByteArray::number(i);
            const QByteArray id = "S" + QByteArray::number(i);
            sqlite3_bind_int(insert, 1, i);
            sqlite3_bind_text(insert, 2, last.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, first.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4, "Q", -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 5, id.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

TBenchFile &File()
{
    static TBenchFile file;
    return file;
}

const char *const Select = "SELECT ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID FROM studentmaster ORDER BY ID";

void StatementObjectByName(benchmark::State &state)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(File().Path));
    connection.Open();
    TDbQuery query(&connection);
    for (auto _ : state) {
        query.Clear();
        query.Add(QString::fromLatin1(Select));
        query.Open();
        qint64 sum = 0;
        while (!query.Eof()) {
            sum += query.FieldByName("ID").AsInteger();
            sum += query.FieldByName("LASTNAME").AsString().size();
            sum += query.FieldByName("FIRSTNAME").AsString().size();
            sum += query.FieldByName("MIDDLE").AsString().size();
            sum += query.FieldByName("STUDENTID").AsString().size();
            query.Next();
        }
        query.Close();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}

void PlainSqliteApi(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(File().Path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    for (auto _ : state) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, Select, -1, &stmt, nullptr);
        qint64 sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_int(stmt, 0);
            for (int c = 1; c < 5; ++c) {
                // The same text values as the statement object hands out.
                const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                                                       sqlite3_column_bytes(stmt, c));
                sum += text.size();
            }
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * Rows);
}

} // namespace

BENCHMARK(StatementObjectByName)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSqliteApi)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
