#include "printing/TestReport.h"

#include "report/Preview.h"
#include "report/PrintDialog.h"
#include "report/Report.h"
#include "report/ReportUnits.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace Corvella {

namespace {

QFont ArialFont(double points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

constexpr int DetailHeight = 50;
constexpr int QuestionTop = 1;
constexpr int NumberLeft = 2;
constexpr int QuestionLeft = 28;
// Least room between a question's number and its text.
constexpr int NumberGap = 3;
constexpr int RichTextTop = 20;
constexpr int RichTextHeight = 17;
constexpr int LineTop = 33;
constexpr int AnswerTop = 19;
constexpr int LineWidth = 180;
constexpr int ShortAnswerLines = 2;
constexpr int EssayLines = 6;

// The title band's rows: where each starts when nothing above it wraps, and how high it is then.
constexpr int TitleTop = 3;
constexpr int TitleHeight = 25;
constexpr int ClassRowTop = 29;
constexpr int ChapterRowTop = 45;
constexpr int InstructionsTop = 61;
constexpr int RowHeight = 15;
constexpr int InstructionsHeight = 24;
constexpr int FrameTop = 1;
constexpr int FrameHeight = 88;
constexpr int TitleBandHeight = 98;
// Room for the class name up to the subtitle, and for the chapter up to the date.
constexpr int ClassWidth = 148;
constexpr int ChapterWidth = 559;

// Height of a label's text wrapped at the label's width.
int WrappedHeight(const TReportLabel &label)
{
    return int(std::ceil(ReportTextHeight(label.Font, label.Caption, label.Width)));
}

// The marked line of one correct answer: the last line whose answer is exactly that
// text, or failing that the last line that contains it.
int MarkedLine(const QStringList &answers, const QString &correct)
{
    const QString wanted = correct.trimmed();
    if (wanted.isEmpty())
        return -1;
    for (int i = answers.size() - 1; i >= 0; --i)
        if (answers.at(i).trimmed() == wanted)
            return i;
    for (int i = answers.size() - 1; i >= 0; --i)
        if (answers.at(i).contains(wanted))
            return i;
    return -1;
}

} // namespace

int PrintColumnsOf(const QString &stored)
{
    bool ok = false;
    const int columns = stored.trimmed().toInt(&ok);
    return ok ? qBound(1, columns, 3) : 2;
}

TForm_Report::TForm_Report(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Form_Report"));
    RE = new QTextDocument(this);
    RE->setObjectName(QStringLiteral("RE"));
    RE->setUndoRedoEnabled(false);
    RE->setDocumentMargin(0);

    QuickRep = new TReport(this);
    QuickRep->setObjectName(QStringLiteral("QuickRep"));
    QuickRep->NeedData = [this]() { return QuickRepNeedData(); };

    QRBand_Title = QuickRep->AddBand(TBandType::Title, 98);
    QRBand_Title->BeforePrint = [this](TBandPrintEvent &event) { QRBand_TitleBeforePrint(event); };
    QRShape1 = QRBand_Title->AddShape(QStringLiteral("QRShape1"), 1, 1, 718, 88);
    QRShape1->PenWidth = 2;
    QRLabel_TestTitle = QRBand_Title->AddLabel(QStringLiteral("QRLabel_TestTitle"), 9, 3);
    QRLabel_TestTitle->Width = 702;
    QRLabel_TestTitle->Height = 25;
    QRLabel_TestTitle->Font = ArialFont(12, true);
    QRLabel_TestTitle->Alignment = TReportAlign::Center;
    QRLabel_TestTitle->AutoSize = false;
    QRLabel_TestTitle->WordWrap = true;
    QRLabel_Class1 = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Class1"), 8, 29, QStringLiteral("Class:"));
    QRLabel_Class = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Class"), 60, 29);
    QRLabel_SubTitle = QRBand_Title->AddLabel(QStringLiteral("QRLabel_SubTitle"), 212, 29);
    QRLabel_SubTitle->Width = 297;
    QRLabel_SubTitle->Height = 15;
    QRLabel_SubTitle->Font = ArialFont(8, true);
    QRLabel_SubTitle->Alignment = TReportAlign::Center;
    // Right-aligned from 512 rather than 504, so that a long name and a long subtitle
    // wrap beside each other instead of into each other.
    QRLabel_Teacher = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Teacher"), 512, 29);
    QRLabel_Teacher->Width = 200;
    QRLabel_Teacher->Height = 15;
    QRLabel_Teacher->Alignment = TReportAlign::Right;
    QRLabel_Chapter1 = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Chapter1"), 8, 45, QStringLiteral("Chapter:"));
    QRLabel_Chapter = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Chapter"), 60, 45);
    // The texts a teacher writes wrap inside their places; the header grows to hold them.
    for (TReportLabel *label : {QRLabel_Class, QRLabel_SubTitle, QRLabel_Teacher, QRLabel_Chapter}) {
        label->AutoSize = false;
        label->WordWrap = true;
        label->AutoStretch = true;
    }
    QRLabel_Class->Width = ClassWidth;
    QRLabel_Class->Height = 15;
    QRLabel_Chapter->Width = ChapterWidth;
    QRLabel_Chapter->Height = 15;
    QRSysData1 = QRBand_Title->AddSysData(QStringLiteral("QRSysData1"), 623, 45, TSysDataKind::Date);
    QRSysData1->Width = 89;
    QRSysData1->Height = 15;
    QRSysData1->Alignment = TReportAlign::Right;
    QRLabel_Instructions1 =
        QRBand_Title->AddLabel(QStringLiteral("QRLabel_Instructions1"), 8, 61, QStringLiteral("Instructions:"));
    QRLabel_Instructions = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Instructions"), 99, 61);
    QRLabel_Instructions->Width = 521;
    QRLabel_Instructions->Height = 24;
    QRLabel_Instructions->Alignment = TReportAlign::Center;
    QRLabel_Instructions->AutoSize = false;
    QRLabel_Instructions->WordWrap = true;
    QRLabel_Instructions->AutoStretch = true;
    QRLabel_TestTitle->AutoStretch = true;

    QRSubDetail = QuickRep->AddBand(TBandType::Detail, DetailHeight);
    QRSubDetail->BeforePrint = [this](TBandPrintEvent &event) { QRSubDetailBeforePrint(event); };
    QRLabel_Number = QRSubDetail->AddLabel(QStringLiteral("QRLabel_Number"), NumberLeft, QuestionTop);
    QRLabel_Question = QRSubDetail->AddLabel(QStringLiteral("QRLabel_Question"), QuestionLeft, QuestionTop);
    QRLabel_Question->AutoSize = false;
    QRLabel_Question->WordWrap = true;
    QRLabel_Question->AutoStretch = true;
    QRLabel_Question->Height = 16;
    // Printed in this order: the answer line lies over the answer area, the key's answer over both.
    QRRichText = QRSubDetail->AddRichText(QStringLiteral("QRRichText"), 40, RichTextTop, 313, RichTextHeight);
    QRLabel_Answer = QRSubDetail->AddLabel(QStringLiteral("QRLabel_Answer"), 45, AnswerTop);
    QRLabel_Answer->Font = ArialFont(8, true);
    QRLabel_Answer->AutoSize = false;
    QRLabel_Answer->WordWrap = true;
    QRLabel_Answer->AutoStretch = true;
    QRLabel_Answer->Height = 16;
    QRShape_Line =
        QRSubDetail->AddShape(QStringLiteral("QRShape_Line"), 44, LineTop, LineWidth, 1, TShapeKind::HorzLine);

    QRBand_PageFooter = QuickRep->AddBand(TBandType::PageFooter, 22);
    QRLabel_Page = QRBand_PageFooter->AddLabel(QStringLiteral("QRLabel_Page"), 324, 5, QStringLiteral("Page"));
    QRSysData_PageNumber =
        QRBand_PageFooter->AddSysData(QStringLiteral("QRSysData_PageNumber"), 357, 5, TSysDataKind::PageNumber);

    SetReportColumns(2);
}

TForm_Report::~TForm_Report() = default;

int TForm_Report::ColumnTextWidth(int columns)
{
    switch (columns) {
    case 1:
        return 700;
    case 3:
        // 215 would run the text into the number of the question beside it.
        return 205;
    default:
        return 330;
    }
}

int TForm_Report::AnswerAreaWidth(int columns)
{
    switch (columns) {
    case 1:
        return 673;
    case 3:
        // The two-column width would run 113 pixels into the next of three 240-pixel columns.
        return 195;
    default:
        return 313;
    }
}

void TForm_Report::SetJob(const TPrintJob &job)
{
    TestID = job.TestID;
    TestTitle = job.TestTitle;
    SubTitle = job.SubTitle;
    Instructions = job.Instructions;
    Course = job.Course;
    Teacher = job.Teacher;
    ClassName = job.ClassName;
    Chapter = job.Chapter;
    SetReportColumns(job.Columns);
    AnswerKey = job.AnswerKey;
    // Known before the first page, so a preview opened now names its test too.
    QuickRep->DocumentTitle = DocumentTitle();
}

void TForm_Report::SetReportColumns(int columns)
{
    Columns = qBound(1, columns, 3);
    QuickRep->SetColumns(Columns);
    QRRichText->Width = AnswerAreaWidth(Columns);
}

void TForm_Report::FillTitle()
{
    QRLabel_Class->Caption = ClassName;
    QRLabel_Chapter->Caption = Chapter;
    QRLabel_Teacher->Caption = Teacher;
    QRLabel_TestTitle->Caption = TestTitle;
    QRLabel_Instructions->Caption = Instructions;
    QRLabel_SubTitle->Caption = SubTitle;
    QuickRep->DocumentTitle = DocumentTitle();
    QuickRep->ExpectedRecords = int(Records.size());
    ArrangeTitle();
}

QString TForm_Report::DocumentTitle() const
{
    return AnswerKey ? TestTitle + QStringLiteral(" (Key)") : TestTitle;
}

void TForm_Report::ArrangeTitle()
{
    // Each row starts below the tallest text of the row above, so nothing overprints.
    QRLabel_TestTitle->Top = TitleTop;
    QRLabel_TestTitle->Height = std::max(TitleHeight, WrappedHeight(*QRLabel_TestTitle));
    int top = ClassRowTop + (QRLabel_TestTitle->Height - TitleHeight);
    int height = RowHeight;
    for (TReportLabel *label : {QRLabel_Class1, QRLabel_Class, QRLabel_SubTitle, QRLabel_Teacher}) {
        label->Top = top;
        if (label->WordWrap)
            height = std::max(height, WrappedHeight(*label));
    }
    top += (ChapterRowTop - ClassRowTop) + (height - RowHeight);
    height = std::max(RowHeight, WrappedHeight(*QRLabel_Chapter));
    for (TReportLabel *label :
         {static_cast<TReportLabel *>(QRLabel_Chapter1), QRLabel_Chapter, static_cast<TReportLabel *>(QRSysData1)})
        label->Top = top;
    top += (InstructionsTop - ChapterRowTop) + (height - RowHeight);
    QRLabel_Instructions1->Top = top;
    QRLabel_Instructions->Top = top;
    QRLabel_Instructions->Height = std::max(InstructionsHeight, WrappedHeight(*QRLabel_Instructions));
    const int grown = QRLabel_Instructions->Top + QRLabel_Instructions->Height - (InstructionsTop + InstructionsHeight);
    QRShape1->Top = FrameTop;
    QRShape1->Height = FrameHeight + grown;
    QRBand_Title->Height = TitleBandHeight + grown;
}

void TForm_Report::QRBand_TitleBeforePrint(TBandPrintEvent &)
{
    // The title opens every preparation, so a report prepared again starts at its first record.
    NextRecord = 0;
    FillTitle();
}

void TForm_Report::ComposeChoices(const TReportObj &record)
{
    const QString text = record.Answers->join(QLatin1Char('\n')).trimmed();
    const QStringList answers = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    QList<bool> marked(answers.size(), false);
    if (AnswerKey)
        for (const QString &correct : record.CorrectAnswers)
            if (const int line = MarkedLine(answers, correct); line >= 0)
                marked[line] = true;

    QTextCharFormat plain;
    QTextCharFormat emphasis;
    emphasis.setFontWeight(QFont::Bold);
    emphasis.setFontUnderline(true);
    QTextCursor cursor(RE);
    for (int i = 0; i < answers.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        QString line = answers.at(i);
        if (Lettering)
            line.prepend(QChar(65 + i) + QStringLiteral(".  "));
        cursor.insertText(line, marked.at(i) ? emphasis : plain);
    }
}

bool TForm_Report::QuickRepNeedData()
{
    RE->clear();
    QRRichText->Enabled = false;
    if (NextRecord < 0 || NextRecord >= Records.size())
        return false;
    const TReportObj &record = Records.at(NextRecord).Report;

    QRSubDetail->Height = DetailHeight;
    QRLabel_Question->Caption = record.Question;
    QRLabel_Number->Caption = QString::number(NextRecord + 1) + QLatin1Char('.');
    // A number of four digits or more would run into the text: the text moves right as far.
    const int numberRight = NumberLeft +
                            int(std::ceil(ReportTextWidth(QRLabel_Number->Font, QRLabel_Number->Caption))) + NumberGap;
    const int indent = std::max(0, numberRight - QuestionLeft);
    QRLabel_Question->Left = QuestionLeft + indent;
    const int width = ColumnTextWidth(Columns) - indent;
    const double lineHeight = QFontMetricsF(QRLabel_Question->Font, ReportMeasureDevice()).height();
    const double textHeight = ReportTextHeight(QRLabel_Question->Font, record.Question, width);
    // What the wrapped lines need below the first one.
    const int extra = std::max(0, int(std::ceil(textHeight - lineHeight - 0.5)));
    QRLabel_Question->Width = width;
    QRLabel_Question->Height = 16 + extra;
    QRRichText->Top = RichTextTop + extra;
    QRShape_Line->Top = LineTop + extra;
    QRShape_Line->Width = LineWidth;
    QRLabel_Answer->Top = AnswerTop + extra;
    QRLabel_Answer->Width = std::max(LineWidth, QRRichText->Width - 5);
    QRSubDetail->Height = DetailHeight + extra;

    QRLabel_Answer->Enabled = false;
    QRShape_Line->Enabled = false;

    QRRichText->Enabled = true;
    if (record.Answers) {
        ComposeChoices(record);
    } else {
        const bool essay = record.ClassName == QLatin1String("TQARICHEDIT");
        RE->setPlainText(QString(essay ? EssayLines - 1 : ShortAnswerLines - 1, QLatin1Char('\n')));
        QRShape_Line->Enabled = !essay;
        const QString correct = record.CorrectAnswers.join(QLatin1Char('\n'));
        if (AnswerKey && !correct.trimmed().isEmpty()) {
            QRLabel_Answer->Caption = correct;
            QRLabel_Answer->Enabled = true;
            // A key answer of several lines keeps its answer line under the last of them.
            const double answerHeight = ReportTextHeight(QRLabel_Answer->Font, correct, QRLabel_Answer->Width);
            const double answerLine = QFontMetricsF(QRLabel_Answer->Font, ReportMeasureDevice()).height();
            QRShape_Line->Top += std::max(0, int(std::ceil(answerHeight - answerLine - 0.5)));
        }
    }
    QRRichText->SetDocument(*RE);

    ++NextRecord;
    return true;
}

void TForm_Report::QRSubDetailBeforePrint(TBandPrintEvent &event)
{
    if (event.CurrentY > KeepWholeFrom && event.CurrentY < KeepWholeTo)
        event.NewColumn();
}

void TForm_Report::Preview(QWidget *parent)
{
    PreviewReportModal(*QuickRep, parent);
}

bool TForm_Report::Print(QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(DocumentTitle());
    QString pdfFile;
    const TPrintChoice choice = ChoosePrinter(printer, parent, TestTitle, 0, &pdfFile);
    if (choice == TPrintChoice::Cancelled)
        return false;
    QString error;
    bool ok = false;
    if (choice == TPrintChoice::ExportPdf) {
        ok = ExportPdf(pdfFile, &error);
    } else {
        ok = QuickRep->Prepare();
        if (!ok)
            error = QuickRep->LastError();
        else
            ok = QuickRep->Print(printer, &error);
    }
    QuickRep->Prepared().Clear();
    if (!ok)
        ShowErrorBox(error.isEmpty() ? QStringLiteral("The test could not be printed.") : error);
    return ok;
}

bool TForm_Report::ExportPdf(const QString &fileName, QString *error)
{
    if (!QuickRep->Prepare()) {
        if (error)
            *error = QuickRep->LastError();
        return false;
    }
    return QuickRep->ExportPdf(fileName, error);
}

} // namespace Corvella
