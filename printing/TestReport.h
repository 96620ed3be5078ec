#pragma once

#include "question/QuestionText.h"

#include <QObject>
#include <QString>

class QTextDocument;
class QWidget;
class TReport;
class TReportBand;
class TReportLabel;
class TReportRichText;
class TReportShape;
class TReportSysData;
struct TBandPrintEvent;

namespace Corvella {

// What a test printout is made of besides its questions: the test chosen for printing
// and the class it is printed for.
struct TPrintJob {
    QString TestID;
    QString TestTitle;
    QString SubTitle;
    QString Instructions;
    int Columns = 2; // 1 to 3
    bool AnswerKey = false;

    QString ClassName;
    QString Course;
    QString Teacher;
    QString Chapter;
};

// The page columns a stored COLUMNS value asks for: 1 to 3, and 2 for anything else.
int PrintColumnsOf(const QString &stored);

// The printed test or answer key: a title band with the test's and the class's
// particulars, one detail band per question flowing in the test's page columns, and a
// page footer. Never shown itself; its report is printed or shown in the preview window.
class TForm_Report : public QObject {
    Q_OBJECT

public:
    explicit TForm_Report(QObject *parent = nullptr);
    ~TForm_Report() override;

    // Header texts, columns and the answer-key flag of a print job.
    void SetJob(const TPrintJob &job);
    // Stores the number of columns (1 to 3) and sizes the answer area to it.
    void SetReportColumns(int columns);

    // The engine's request for the next record: false when there is none left.
    bool QuickRepNeedData();
    void QRSubDetailBeforePrint(TBandPrintEvent &event);
    void QRBand_TitleBeforePrint(TBandPrintEvent &event);

    // The modal preview.
    void Preview(QWidget *parent = nullptr);
    // Asks for the printer, then prepares and prints; false when cancelled or failed
    // (a failure is shown in the error box). The prepared pages are discarded.
    bool Print(QWidget *parent = nullptr);
    bool ExportPdf(const QString &fileName, QString *error);

    // Column text width (question wrapping) and answer area width for a column count.
    static int ColumnTextWidth(int columns);
    static int AnswerAreaWidth(int columns);

    TReportList Records;
    int Columns = 2;
    int NextRecord = 0;
    bool Lettering = true;
    bool AnswerKey = false;
    QString Chapter;
    QString TestID;
    QString TestTitle;
    QString Course;
    QString ClassName;
    QString Teacher;
    QString Instructions;
    QString SubTitle;

    // Where each question's answer area is composed before QRRichText prints it.
    QTextDocument *RE = nullptr;

    TReport *QuickRep = nullptr;
    TReportBand *QRBand_Title = nullptr;
    TReportShape *QRShape1 = nullptr;
    TReportLabel *QRLabel_TestTitle = nullptr;
    TReportLabel *QRLabel_Class1 = nullptr;
    TReportLabel *QRLabel_Class = nullptr;
    TReportLabel *QRLabel_SubTitle = nullptr;
    TReportLabel *QRLabel_Teacher = nullptr;
    TReportLabel *QRLabel_Chapter1 = nullptr;
    TReportLabel *QRLabel_Chapter = nullptr;
    TReportSysData *QRSysData1 = nullptr;
    TReportLabel *QRLabel_Instructions1 = nullptr;
    TReportLabel *QRLabel_Instructions = nullptr;

    TReportBand *QRSubDetail = nullptr;
    TReportLabel *QRLabel_Number = nullptr;
    TReportLabel *QRLabel_Question = nullptr;
    TReportRichText *QRRichText = nullptr;
    TReportShape *QRShape_Line = nullptr;
    TReportLabel *QRLabel_Answer = nullptr;

    TReportBand *QRBand_PageFooter = nullptr;
    TReportLabel *QRLabel_Page = nullptr;
    TReportSysData *QRSysData_PageNumber = nullptr;

    // A question starting between these (tenths of a millimetre from the paper's top
    // edge, exclusive) goes on in the next column or page.
    static constexpr int KeepWholeFrom = 2225;
    static constexpr int KeepWholeTo = 4000;

    // The name of the printed document: the test's title, and for the key that it is the key.
    QString DocumentTitle() const;

private:
    void ComposeChoices(const TReportObj &record);
    void FillTitle();
    void ArrangeTitle();
};

} // namespace Corvella
