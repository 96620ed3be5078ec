#include "printing/ItemStatisticsReport.h"

#include "report/Preview.h"
#include "report/Report.h"

namespace {

QFont ArialBold(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

TReportLabel *Column(TReportBand *band, const QString &name, int left, int top, int width, TReportAlign align,
                     const QString &caption = QString())
{
    TReportLabel *label = band->AddLabel(name, left, top, caption);
    label->AutoSize = false;
    label->Width = width;
    label->Height = 16;
    label->Alignment = align;
    return label;
}

void ColumnTitles(TReportBand *band, int top)
{
    const QFont bold = ArialBold(8);
    const struct {
        const char *Name, *Caption;
        int Left, Width;
        TReportAlign Align;
    } titles[] = {{"QRLabel_NumberTitle", "No.", 0, 28, TReportAlign::Right},
                  {"QRLabel_QuestionTitle", "Question", 36, 330, TReportAlign::Left},
                  {"QRLabel_AnsweredTitle", "Answered", 370, 56, TReportAlign::Right},
                  {"QRLabel_RightTitle", "Right", 430, 40, TReportAlign::Right},
                  {"QRLabel_FacilityTitle", "Facility (%)", 480, 166, TReportAlign::Left},
                  {"QRLabel_DiscriminationTitle", "Discrimination", 640, 80, TReportAlign::Right}};
    for (const auto &t : titles)
        Column(band, QLatin1String(t.Name), t.Left, top + 2, t.Width, t.Align, QLatin1String(t.Caption))->Font = bold;
    band->AddShape(QStringLiteral("QRShape_TitleLine"), 0, top + 20, 720, 1, TShapeKind::HorzLine);
}

} // namespace

TItemStatisticsReport::TItemStatisticsReport(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("ItemStatisticsReport"));
    QuickRep = new TReport(this);
    QuickRep->setObjectName(QStringLiteral("QuickRep"));

    TReportBand *title = QuickRep->AddBand(TBandType::Title, 70);
    QRLabel_TestTitle = title->AddLabel(QStringLiteral("QRLabel_TestTitle"), 0, 4);
    QRLabel_TestTitle->Font = ArialBold(12);
    QRLabel_Class = title->AddLabel(QStringLiteral("QRLabel_Class"), 0, 28);
    QRLabel_Summary = title->AddLabel(QStringLiteral("QRLabel_Summary"), 0, 46);

    // The column titles under the title on the first page, at the top of every other page.
    ColumnTitles(title, 48 + 22);
    title->Height += 22;
    TReportBand *header = QuickRep->AddBand(TBandType::PageHeader, 22);
    ColumnTitles(header, 0);
    header->BeforePrint = [](TBandPrintEvent &event) { event.PrintBand = event.Page > 1; };

    TReportBand *detail = QuickRep->AddBand(TBandType::Detail, 22);
    QRLabel_Number = Column(detail, QStringLiteral("QRLabel_Number"), 0, 3, 28, TReportAlign::Right);
    QRLabel_Question = Column(detail, QStringLiteral("QRLabel_Question"), 36, 3, 330, TReportAlign::Left);
    QRLabel_Question->WordWrap = true;
    QRLabel_Question->AutoStretch = true;
    QRLabel_Answered = Column(detail, QStringLiteral("QRLabel_Answered"), 370, 3, 56, TReportAlign::Right);
    QRLabel_Right = Column(detail, QStringLiteral("QRLabel_Right"), 430, 3, 40, TReportAlign::Right);
    QRShape_Bar = detail->AddShape(QStringLiteral("QRShape_Bar"), 480, 5, BarWidth, 12);
    QRShape_Bar->BrushColor = QColor(0x80, 0x80, 0x80);
    QRShape_Bar->PenColor = QColor(0x40, 0x40, 0x40);
    QRLabel_Facility =
        Column(detail, QStringLiteral("QRLabel_Facility"), 480 + BarWidth + 4, 3, 44, TReportAlign::Right);
    QRLabel_Discrimination = Column(detail, QStringLiteral("QRLabel_Discrimination"), 640, 3, 80, TReportAlign::Right);

    TReportBand *footer = QuickRep->AddBand(TBandType::PageFooter, 22);
    footer->AddLabel(QStringLiteral("QRLabel_Page"), 324, 5, QStringLiteral("Page"));
    footer->AddSysData(QStringLiteral("QRSysData_PageNumber"), 357, 5, TSysDataKind::PageNumber);

    QuickRep->NeedData = [this] { return NextRecord(); };
}

void TItemStatisticsReport::FillReport()
{
    QRLabel_TestTitle->Caption = QStringLiteral("Question Statistics: ") + Statistics.TestName;
    QRLabel_Class->Caption = QStringLiteral("Class: ") +
                             (Statistics.ClassName.isEmpty() ? QStringLiteral("all classes") : Statistics.ClassName);
    QRLabel_Summary->Caption = Statistics.Summary();
    QuickRep->DocumentTitle = QStringLiteral("Question Statistics - ") + Statistics.TestName;
    QuickRep->ExpectedRecords = int(Statistics.Items.size());
    FRecord = 0;
}

bool TItemStatisticsReport::NextRecord()
{
    // Nobody took the test: the title says so and no question lines follow.
    if (Statistics.NobodyTook() || FRecord >= Statistics.Items.size())
        return false;
    const QList<QStringList> rows = Statistics.CsvRows();
    const TItemStatistic &item = Statistics.Items.at(FRecord);
    const QStringList &row = rows.at(FRecord + 1);
    QRLabel_Number->Caption = row.at(0) + QLatin1Char('.');
    QRLabel_Question->Caption = item.Question.simplified();
    QRLabel_Answered->Caption = row.at(2);
    QRLabel_Right->Caption = row.at(3);
    QRLabel_Facility->Caption = row.at(4);
    QRLabel_Discrimination->Caption = row.at(5);
    QRShape_Bar->Width = item.Answered > 0 ? qRound(item.Facility * BarWidth / 100.0) : 0;
    QRShape_Bar->Enabled = QRShape_Bar->Width > 0;
    ++FRecord;
    return true;
}

void TItemStatisticsReport::Preview(QWidget *parent)
{
    FillReport();
    PreviewReportModal(*QuickRep, parent);
}

bool TItemStatisticsReport::ExportPdf(const QString &fileName, QString *error)
{
    FillReport();
    return QuickRep->ExportPdf(fileName, error);
}
