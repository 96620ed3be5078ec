// A class of 30 finishing together on one file: 30 writers, each with its own
// connection, storing a result at the same moment through the program's result writer.
// Reports results per second and the longest time one student waited at Finish.
//   make bench && build-bench/bench/bench_resultwriters

#include "database/Schema.h"
#include "question/Grading.h"
#include "testtaking/ResultStore.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr int Finishers = 30;

// range(0): 1 = every writer is another student (a class); 0 = one student, 30 copies.
void ClassFinishingTogether(benchmark::State &state)
{
    const bool distinct = state.range(0) == 1;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Corvella.mdb"));
    QString error;
    if (!CreateDatabaseFile(path, &error))
        state.SkipWithError(qPrintable(error));
    const QString transcript = QString(QStringLiteral("1. Question\r\n\r\nAnswer (CORRECT)\r\n\r\n\r\n")).repeated(20);
    qint64 longest = 0;
    qint64 results = 0;
    int failed = 0;
    int round = 0;
    for (auto _ : state) {
        ++round;
        std::atomic<bool> go{false};
        std::vector<qint64> waits(Finishers, 0);
        std::vector<bool> ok(Finishers, false);
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
        for (bool b : ok)
            failed += b ? 0 : 1;
        results += Finishers;
    }
    state.counters["results_per_s"] = benchmark::Counter(double(results), benchmark::Counter::kIsRate);
    state.counters["longest_wait_ms"] = double(longest);
    state.counters["not_stored"] = failed;
}

} // namespace

BENCHMARK(ClassFinishingTogether)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

BENCHMARK_MAIN();
