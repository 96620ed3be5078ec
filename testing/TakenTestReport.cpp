#include "testing/TakenTestReport.h"

#include "database/Database.h"
#include "report/Preview.h"
#include "report/Report.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"
#include "toolkit/StdDialogs.h"

namespace Tamberlin {

namespace {

QFont ArialBold(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// The transcript's CR LF line ends as the text document's paragraphs.
QString TranscriptText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

TForm_Report::TForm_Report(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Form_Report"));
    QuickRep = new TReport(this);
    QuickRep->setObjectName(QStringLiteral("QuickRep"));

    QRBand_Title = QuickRep->AddBand(TBandType::Title, 98);
    QRShape1 = QRBand_Title->AddShape(QStringLiteral("QRShape1"), 1, 1, 718, 88);
    QRShape1->PenWidth = 2;
    QRLabel_TestTitle = QRBand_Title->AddLabel(QStringLiteral("QRLabel_TestTitle"), 9, 3);
    QRLabel_TestTitle->Width = 702;
    QRLabel_TestTitle->Height = 25;
    QRLabel_TestTitle->Font = ArialBold(12);
    QRLabel_TestTitle->Alignment = TReportAlign::Center;
    QRLabel_TestTitle->AutoSize = false;
    QRLabel_TestTitle->WordWrap = true;

    QRLabel_Name1 = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Name1"), 8, 29, QStringLiteral("Name:"));
    QRLabel_Name = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Name"), 60, 29);
    QRLabel_Name->Width = 149;
    QRLabel_Chapter1 = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Chapter1"), 8, 45, QStringLiteral("Chapter:"));
    QRLabel_Chapter = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Chapter"), 60, 45);
    QRLabel_Class1 = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Class1"), 8, 61, QStringLiteral("Class:"));
    QRLabel_Class = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Class"), 60, 61);

    QRLabel_SubTitle = QRBand_Title->AddLabel(QStringLiteral("QRLabel_SubTitle"), 212, 29);
    QRLabel_SubTitle->Width = 297;
    QRLabel_SubTitle->Font = ArialBold(8);
    QRLabel_SubTitle->Alignment = TReportAlign::Center;
    QRLabel_Teacher = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Teacher"), 504, 29);
    QRLabel_Teacher->Width = 208;
    QRLabel_Teacher->Alignment = TReportAlign::Right;
    QRLabel_TestDate = QRBand_Title->AddLabel(QStringLiteral("QRLabel_TestDate"), 512, 45);
    QRLabel_TestDate->Width = 200;
    QRLabel_TestDate->Alignment = TReportAlign::Right;
    QRLabel_Grade = QRBand_Title->AddLabel(QStringLiteral("QRLabel_Grade"), 512, 61);
    QRLabel_Grade->Width = 200;
    QRLabel_Grade->Alignment = TReportAlign::Right;

    // Printed once: the transcript stretches the band and goes on over as many pages as it needs.
    QRBand_Detail = QuickRep->AddBand(TBandType::Detail, 143);
    QRRichText = QRBand_Detail->AddRichText(QStringLiteral("QRRichText"), 8, 8, 700, 121);
    QRRichText->AutoStretch = true;
    QRBand_Detail->BeforePrint = [this](TBandPrintEvent &event) { QRBandDetailBeforePrint(event); };

    QRBand_PageFooter = QuickRep->AddBand(TBandType::PageFooter, 22);
    QRLabel_Page = QRBand_PageFooter->AddLabel(QStringLiteral("QRLabel_Page"), 324, 5, QStringLiteral("Page"));
    QRSysData_PageNumber =
        QRBand_PageFooter->AddSysData(QStringLiteral("QRSysData_PageNumber"), 357, 5, TSysDataKind::PageNumber);
}

TForm_Report::~TForm_Report() = default;

void TForm_Report::FillReport()
{
    QRLabel_TestTitle->Caption = TestTitle;
    QRLabel_Name->Caption = StudentName;
    QRLabel_Chapter->Caption = Chapter;
    QRLabel_Class->Caption = ClassName;
    QRLabel_SubTitle->Caption = SubTitle;
    QRLabel_Teacher->Caption = QStringLiteral("Instructor: ") + Teacher;
    QRLabel_TestDate->Caption = QStringLiteral("Test Date: ") + TestDate;
    QRLabel_Grade->Caption = QStringLiteral("Grade: ") + Grade;
    QRRichText->SetPlainText(TranscriptText(Answers));
    QuickRep->DocumentTitle = StudentName.trimmed().isEmpty() ? TestTitle
                                                              : TestTitle + QStringLiteral(" - ") + StudentName;
}

void TForm_Report::QRBandDetailBeforePrint(TBandPrintEvent &event)
{
    if (event.CurrentY > KeepWholeFrom && event.CurrentY < KeepWholeTo)
        event.NewColumn();
}

void TForm_Report::Preview(QWidget *parent)
{
    FillReport();
    PreviewReportModal(*QuickRep, parent);
}

bool TForm_Report::ExportPdf(const QString &fileName, QString *error)
{
    FillReport();
    return QuickRep->ExportPdf(fileName, error);
}

void LoadTakenTest(TDbQuery &query, const QString &studentID, const QString &classID, const QString &className,
                   const QString &testID, TForm_Report &report)
{
    // Pasted into the statement unquoted, so only whole numbers go in.
    if (!IsValidInteger(classID) || !IsValidInteger(testID))
        throw EDatabaseError(QStringLiteral("The class or test of the result is not valid."));

    query.Close();
    query.Clear();
    query.Add(QStringLiteral("SELECT * FROM STUDENTMASTER WHERE STUDENTID=") + QuotedStr(studentID));
    query.Open();
    QString name;
    if (!query.Eof())
        name = query.FieldByName("FIRSTNAME").AsString() + QLatin1Char(' ') + query.FieldByName("LASTNAME").AsString();
    query.Close();

    query.Clear();
    query.Add(QStringLiteral("SELECT * FROM testresults, testmaster, classmaster, classtest"));
    query.Add(QStringLiteral("WHERE STUDENTID=") + QuotedStr(studentID));
    query.Add(QStringLiteral("AND TESTRESULTS.CLASSID=") + classID.trimmed());
    query.Add(QStringLiteral("AND TESTRESULTS.TESTID=") + testID.trimmed());
    query.Add(QStringLiteral("AND TESTMASTER.ID = TESTRESULTS.TESTID"));
    query.Add(QStringLiteral("AND CLASSMASTER.ID= TESTRESULTS.CLASSID"));
    query.Add(QStringLiteral("AND CLASSTEST.TESTID = TESTMASTER.ID"));
    query.Add(QStringLiteral("AND CLASSTEST.CLASSID = CLASSMASTER.ID"));
    // Of result rows doubled by older copies of the program, the latest counts.
    query.Add(QStringLiteral("ORDER BY TESTRESULTS.SERIAL DESC"));
    query.Open();
    if (query.Eof()) {
        query.Close();
        throw EDatabaseError(QStringLiteral("No result of this test is stored."));
    }
    report.TestTitle = query.FieldByName("testmaster.NAME").AsString();
    report.SubTitle = query.FieldByName("SUBTITLE").AsString();
    report.Course = query.FieldByName("COURSE").AsString();
    report.Teacher = query.FieldByName("TEACHER").AsString();
    report.TestDate = query.FieldByName("TESTDATE").AsString();
    report.Chapter = query.FieldByName("CHAPTER").AsString();
    report.Grade = query.FieldByName("GRADE").AsString() + QLatin1Char('%');
    report.Answers = query.FieldByName("ANSWERS").AsString();
    query.Close();

    report.ClassName = className;
    report.StudentName = name;
    report.TestID = testID;
}

void ViewTakenTest(TDbQuery &query, const QString &studentID, const QString &classID, const QString &className,
                   const QString &testID, QWidget *parent)
{
    TForm_Report report;
    try {
        LoadTakenTest(query, studentID, classID, className, testID, report);
    } catch (const Exception &e) {
        query.Close();
        ShowErrorBox(e.Message());
        return;
    }
    report.Preview(parent);
}

} // namespace Tamberlin
