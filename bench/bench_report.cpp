// Preparing a two-column test printout of 300 questions: time to the first page (what a
// preview waits for) and to all pages.
#include "report/Report.h"
#include "report/ReportUnits.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

struct TQuestionReport {
    TReport Report;
    TReportLabel *Number = nullptr;
    TReportLabel *Question = nullptr;
    TReportRichText *Answers = nullptr;
    int Next = 0;
    int Count = 300;

    TQuestionReport()
    {
        Report.SetColumns(2);
        TReportBand *title = Report.AddBand(TBandType::Title, 98);
        title->AddShape("Frame", 1, 1, 718, 88)->PenWidth = 2;
        TReportLabel *heading = title->AddLabel("TestTitle", 9, 3, "Rivers and Mountains of Europe");
        heading->Font = QFont("Arial", 12, QFont::Bold);
        heading->Width = 702;
        heading->Alignment = TReportAlign::Center;
        title->AddSysData("Printed", 623, 45, TSysDataKind::Date);
        TReportBand *footer = Report.AddBand(TBandType::PageFooter, 22);
        footer->AddLabel("PageText", 324, 5, "Page");
        footer->AddSysData("PageNumber", 357, 5, TSysDataKind::PageNumber);

        TReportBand *detail = Report.AddBand(TBandType::Detail, 50);
        Number = detail->AddLabel("Number", 2, 1);
        Question = detail->AddLabel("Question", 28, 1);
        Question->WordWrap = true;
        Question->AutoSize = false;
        Question->AutoStretch = true;
        Question->Width = 330;
        Answers = detail->AddRichText("Answers", 40, 20, 313, 20);
        Report.ExpectedRecords = Count;
        Report.NeedData = [this]() {
            if (Next >= Count)
                return false;
            ++Next;
            Number->Caption = QString::number(Next) + ".";
            Question->Caption = QStringLiteral("Which of these rivers flows through the capital city named in "
                                               "question %1, and into which sea does it finally drain?")
                                    .arg(Next);
            // The printout's own rule: the answers move down one line per wrapped line.
            const int extra = 16 * int(ReportTextWidth(Question->Font, Question->Caption) / 330);
            Question->Height = 16 + extra;
            Answers->Top = 20 + extra;
            Answers->SetPlainText(QStringLiteral("A.  The Danube\nB.  The Rhine\nC.  The Vistula\nD.  The Thames"));
            return true;
        };
    }
};

void BM_FirstPage(benchmark::State &state)
{
    for (auto _ : state) {
        TQuestionReport report;
        report.Report.PrepareAsync();
        while (report.Report.Prepared().PageCount() == 0 && report.Report.PrepareStep(20)) { }
        benchmark::DoNotOptimize(report.Report.Prepared().PageCount());
        report.Report.Cancel();
    }
}
BENCHMARK(BM_FirstPage)->Unit(benchmark::kMillisecond);

void BM_AllPages(benchmark::State &state)
{
    int pages = 0;
    for (auto _ : state) {
        TQuestionReport report;
        report.Report.Prepare();
        pages = report.Report.Prepared().PageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_AllPages)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
