// Preparing Corvella's two-column test printout of 300 and 2,000 questions of every kind,
// as an answer key: time to the first page (what the preview waits for) and to all pages.
#include "printing/TestReport.h"
#include "report/Report.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using Corvella::TForm_Report;

namespace {

TReportList Questions(int count)
{
    TReportList list;
    for (int i = 0; i < count; ++i) {
        TReportObj record;
        record.Question = QStringLiteral("Which of these rivers flows through the capital city named in question %1, "
                                         "and into which sea does it finally drain?")
                              .arg(i + 1);
        switch (i % 6) {
        case 0:
        case 1:
        case 2:
            record.Answers = QStringList{QStringLiteral("The Danube"), QStringLiteral("The Rhine"),
                                         QStringLiteral("The Vistula"), QStringLiteral("The Thames")};
            record.CorrectAnswers = QStringList{QStringLiteral("The Rhine")};
            record.ClassName = QStringLiteral("TQARADIOGROUP");
            break;
        case 3:
            record.CorrectAnswers = QStringList{QStringLiteral("Rotterdam")};
            record.ClassName = QStringLiteral("TQAMASKEDIT");
            break;
        case 4:
            record.CorrectAnswers = QStringList{QStringLiteral("It drains into the North Sea.")};
            record.ClassName = QStringLiteral("TQARICHEDIT");
            break;
        default:
            record.CorrectAnswers = QStringList{QStringLiteral("01/05/1900")};
            record.ClassName = QStringLiteral("TQADATETIME");
            break;
        }
        list.append({record.Question, record});
    }
    return list;
}

std::unique_ptr<TForm_Report> NewReport(const TReportList &questions)
{
    auto report = std::make_unique<TForm_Report>();
    report->Records = questions;
    Corvella::TPrintJob job;
    job.TestTitle = QStringLiteral("Rivers and Mountains of Europe");
    job.Columns = 2;
    job.AnswerKey = true;
    report->SetJob(job);
    return report;
}

void BM_PrintoutFirstPage(benchmark::State &state)
{
    const TReportList questions = Questions(int(state.range(0)));
    for (auto _ : state) {
        auto report = NewReport(questions);
        report->QuickRep->PrepareAsync();
        while (report->QuickRep->Prepared().PageCount() == 0 && report->QuickRep->PrepareStep(20)) { }
        benchmark::DoNotOptimize(report->QuickRep->Prepared().PageCount());
        report->QuickRep->Cancel();
    }
}
BENCHMARK(BM_PrintoutFirstPage)->Arg(300)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_PrintoutAllPages(benchmark::State &state)
{
    const TReportList questions = Questions(int(state.range(0)));
    int pages = 0;
    for (auto _ : state) {
        auto report = NewReport(questions);
        report->QuickRep->Prepare();
        pages = report->QuickRep->Prepared().PageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintoutAllPages)->Arg(300)->Arg(2000)->Unit(benchmark::kMillisecond);

// All pages, written as the PDF file that the command line's print writes.
void BM_PrintoutPdf(benchmark::State &state)
{
    const TReportList questions = Questions(int(state.range(0)));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printout.pdf"));
    for (auto _ : state) {
        auto report = NewReport(questions);
        QString error;
        if (!report->ExportPdf(pdf, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
}
BENCHMARK(BM_PrintoutPdf)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
