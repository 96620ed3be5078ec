#include "printing/TestReport.h"

#include "printing/Preview.h"
#include "report/Report.h"
#include "report/ReportUnits.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QFontMetricsF>
#include <QPrintDialog>
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
constexpr int RichTextTop = 20;
constexpr int RichTextHeight = 17;
constexpr int LineTop = 33;
constexpr int AnswerTop = 19;
constexpr int LineWidth = 180;
constexpr int ShortAnswerLines = 2;
constexpr int EssayLines = 6;

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
    QRLabel_Teacher = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Teacher"), 504, 29);
    QRLabel_Teacher->Width = 208;
    QRLabel_Teacher->Height = 15;
    QRLabel_Teacher->Alignment = TReportAlign::Right;
    QRLabel_Chapter1 = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Chapter1"), 8, 45, QStringLiteral("Chapter:"));
    QRLabel_Chapter = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Chapter"), 60, 45);
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

    QRSubDetail = QuickRep->AddBand(TBandType::Detail, DetailHeight);
    QRSubDetail->BeforePrint = [this](TBandPrintEvent &event) { QRSubDetailBeforePrint(event); };
    QRLabel_Number = QRSubDetail->AddLabel(QStringLiteral("QRLabel_Number"), 2, QuestionTop);
    QRLabel_Question = QRSubDetail->AddLabel(QStringLiteral("QRLabel_Question"), 28, QuestionTop);
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
    QRShape_Line = QRSubDetail->AddShape(QStringLiteral("QRShape_Line"), 44, LineTop, LineWidth, 1, TShapeKind::HorzLine);

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
    QuickRep->DocumentTitle = AnswerKey ? TestTitle + QStringLiteral(" (Key)") : TestTitle;
    QuickRep->ExpectedRecords = int(Records.size());
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
    const int width = ColumnTextWidth(Columns);
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
    QRLabel_Number->Caption = QString::number(NextRecord + 1) + QLatin1Char('.');

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
    printer.setDocName(AnswerKey ? TestTitle + QStringLiteral(" (Key)") : TestTitle);
    // A test answers the print dialog through the seam; its text names a PDF file to print to.
    const TShownBox box{TBoxKind::Window, QStringLiteral("Print"), TestTitle, BtnOK | BtnCancel};
    int result = ResultCancel;
    QString outputFile;
    if (TDialogSeam::Intercept(box, &result, &outputFile)) {
        if (result != ResultOK)
            return false;
        if (!outputFile.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(outputFile);
        }
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    QString error;
    bool ok = QuickRep->Prepare();
    if (!ok)
        error = QuickRep->LastError();
    else
        ok = QuickRep->Print(printer, &error);
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
