// A class of 30 finishing together: 30 writers, each with its own connection, storing a
// result at the same moment through the program's result writer, on a database file and
// on a PostgreSQL server. Reports results per second and the longest time one student
// waited at Finish.
//   make bench && build-bench/bench/bench_resultwriters
// The server cases need a server: CORVELLA_BENCH_SERVER names one by a URI of a database
// the benchmark may connect to (it makes a database of its own there and drops it after),
// for example the throwaway test server:
//   tests/database/pgserver.sh start /tmp/bench-pg.state
//   CORVELLA_BENCH_SERVER="$(sed -n 2p /tmp/bench-pg.state)" build-bench/bench/bench_resultwriters
//   tests/database/pgserver.sh stop /tmp/bench-pg.state
// Without it the server cases end with an error saying so.

#include "database/Schema.h"
#include "question/Grading.h"
#include "testtaking/ResultStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr int Finishers = 30;

// A statement run on the server the URI names; false with the server's message.
bool RunOnServer(const QString &uri, const QString &sql, QString *error)
{
    PGconn *pg = PQconnectdb(uri.toUtf8().constData());
    PGresult *result = PQexec(pg, sql.toUtf8().constData());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok)
        *error = QString::fromUtf8(PQerrorMessage(pg)).trimmed();
    PQclear(result);
    PQfinish(pg);
    return ok;
}

// The URI of the database name on the server that uri names (host, port, user and
// password kept).
QString DatabaseOnServer(const QString &uri, const QString &name)
{
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(uri.toUtf8().constData(), &error);
    PQfreemem(error);
    QString address = QStringLiteral("postgresql:///") + name;
    QChar separator = QLatin1Char('?');
    for (PQconninfoOption *o = options; o && o->keyword; ++o) {
        const QByteArray key(o->keyword);
        if (!o->val || key == "dbname")
            continue;
        address += separator + QString::fromUtf8(key) + QLatin1Char('=') +
                   QString::fromLatin1(QUrl::toPercentEncoding(QString::fromUtf8(o->val)));
        separator = QLatin1Char('&');
    }
    PQconninfoFree(options);
    return address;
}

// A new database with the programs' tables: a file in a temporary folder, or a database
// of its own on the benchmark server; dropped when it goes.
class TBenchDatabase {
public:
    explicit TBenchDatabase(bool onServer)
    {
        if (!onServer) {
            Path = FDir.filePath(QStringLiteral("Corvella.mdb"));
        } else {
            FServer = qEnvironmentVariable("CORVELLA_BENCH_SERVER");
            if (FServer.isEmpty()) {
                Error = QStringLiteral("CORVELLA_BENCH_SERVER names no server (see the file's header)");
                return;
            }
            static int counter = 0;
            FName = QStringLiteral("corvella_bench_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
            if (!RunOnServer(
                    FServer,
                    QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C.UTF-8'").arg(FName),
                    &Error)) {
                FName.clear();
                return;
            }
            Path = DatabaseOnServer(FServer, FName);
        }
        if (!CreateDatabaseFile(Path, &Error))
            Path.clear();
    }
    ~TBenchDatabase()
    {
        QString ignored;
        if (!FName.isEmpty())
            RunOnServer(FServer, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(FName), &ignored);
    }
    QString Path;
    QString Error;

private:
    QTemporaryDir FDir;
    QString FServer;
    QString FName;
};

// range(0): 1 = every writer is another student (a class); 0 = one student, 30 copies.
// range(1): 1 = on the server; 0 = on a file.
void ClassFinishingTogether(benchmark::State &state)
{
    const bool distinct = state.range(0) == 1;
    TBenchDatabase db(state.range(1) == 1);
    if (db.Path.isEmpty()) {
        state.SkipWithError(qPrintable(db.Error));
        return;
    }
    const QString path = db.Path;
    const QString transcript = QString(QStringLiteral("1. Question\r\n\r\nAnswer (CORRECT)\r\n\r\n\r\n")).repeated(20);
    qint64 longest = 0;
    qint64 results = 0;
    int failed = 0;
    int round = 0;
    for (auto _ : state) {
        ++round;
        std::atomic<bool> go{false};
        std::vector<qint64> waits(Finishers, 0);
        std::vector<char> ok(Finishers, 0);
        std::vector<std::thread> threads;
        for (int i = 0; i < Finishers; ++i)
            threads.emplace_back([&, i] {
                TTestResult result;
                result.Key = {path, distinct ? QStringLiteral("S%1").arg(i) : QStringLiteral("S0"), round, 1};
                result.Grade = 50 + i;
                result.Status = Grading::FinishedStatus(result.Grade);
                result.TestDate = QDate::currentDate();
                result.Answers = transcript;
                while (!go.load())
                    std::this_thread::yield();
                QElapsedTimer timer;
                timer.start();
                ok[i] = StoreTestResult(result, false, ResultWaitTime) == TStoreOutcome::Stored;
                waits[i] = timer.elapsed();
            });
        go = true;
        for (auto &t : threads)
            t.join();
        longest = std::max(longest, *std::max_element(waits.begin(), waits.end()));
        for (char b : ok)
            failed += b ? 0 : 1;
        results += Finishers;
    }
    state.counters["results_per_s"] = benchmark::Counter(double(results), benchmark::Counter::kIsRate);
    state.counters["longest_wait_ms"] = double(longest);
    state.counters["not_stored"] = failed;
}

} // namespace

BENCHMARK(ClassFinishingTogether)
    ->ArgNames({"class", "server"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);

BENCHMARK_MAIN();
