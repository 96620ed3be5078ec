#pragma once

#include <QObject>
#include <QString>

class QWidget;
class TDbQuery;
class TReport;
class TReportBand;
class TReportLabel;
class TReportRichText;
class TReportShape;
class TReportSysData;
struct TBandPrintEvent;

namespace Tamberlin {

// The printable report of a test the student has taken: the test's particulars, the
// student's name, the date and the grade above the answer transcript the test wizard
// stored. Never shown itself; its report is shown in the preview window.
class TForm_Report : public QObject {
    Q_OBJECT

public:
    explicit TForm_Report(QObject *parent = nullptr);
    ~TForm_Report() override;

    // The values the command hands over. The course and the test ID are not printed.
    QString Answers;
    QString TestTitle;
    QString SubTitle;
    QString Course;
    QString Teacher;
    QString TestDate;
    QString Chapter;
    QString Grade; // with its "%"
    QString ClassName;
    QString StudentName;
    QString TestID;

    // Puts the values into the report's elements; the previews and exports call it.
    void FillReport();
    // The modal preview of the report.
    void Preview(QWidget *parent = nullptr);
    bool ExportPdf(const QString &fileName, QString *error);

    void QRBandDetailBeforePrint(TBandPrintEvent &event);

    TReport *QuickRep = nullptr;
    TReportBand *QRBand_Title = nullptr;
    TReportBand *QRBand_Detail = nullptr;
    TReportBand *QRBand_PageFooter = nullptr;
    TReportShape *QRShape1 = nullptr;
    TReportLabel *QRLabel_TestTitle = nullptr;
    TReportLabel *QRLabel_Name1 = nullptr;
    TReportLabel *QRLabel_Name = nullptr;
    TReportLabel *QRLabel_Chapter1 = nullptr;
    TReportLabel *QRLabel_Chapter = nullptr;
    TReportLabel *QRLabel_Class1 = nullptr;
    TReportLabel *QRLabel_Class = nullptr;
    TReportLabel *QRLabel_SubTitle = nullptr;
    TReportLabel *QRLabel_Teacher = nullptr;
    TReportLabel *QRLabel_TestDate = nullptr;
    TReportLabel *QRLabel_Grade = nullptr;
    TReportRichText *QRRichText = nullptr;
    TReportLabel *QRLabel_Page = nullptr;
    TReportSysData *QRSysData_PageNumber = nullptr;

    // Where a detail band is moved on to the next column or page, in tenths of a
    // millimetre from the paper's top edge (exclusive bounds).
    static constexpr int KeepWholeFrom = 2225;
    static constexpr int KeepWholeTo = 4000;
};

// Reads the stored result of one test of a student in a class into the report:
// the student's name, then the test, class and result particulars. Raises
// EDatabaseError when a statement fails or when no result is stored; studentID is
// quoted, classID and testID must be whole numbers.
void LoadTakenTest(TDbQuery &query, const QString &studentID, const QString &classID, const QString &className,
                   const QString &testID, TForm_Report &report);

// View Test of the test list: shows the stored result as a modal preview. A failure is
// shown in the standard error box and nothing else happens.
void ViewTakenTest(TDbQuery &query, const QString &studentID, const QString &classID, const QString &className,
                   const QString &testID, QWidget *parent = nullptr);

} // namespace Tamberlin
