#pragma once

#include "question/ResultSheets.h"

#include <QObject>

class QWidget;
class TReport;
class TReportLabel;
class TReportShape;

// The printable table of a test's question statistics: one line per question with a bar
// for its share right. Never shown itself; its report is shown in the preview window.
class TItemStatisticsReport : public QObject {
    Q_OBJECT

public:
    explicit TItemStatisticsReport(QObject *parent = nullptr);

    TItemStatistics Statistics;

    // Puts the title's values into the report and rewinds its records.
    void FillReport();
    // The modal preview of the report.
    void Preview(QWidget *parent = nullptr);
    bool ExportPdf(const QString &fileName, QString *error);

    // Pixels of the bar of a question everybody got right.
    static constexpr int BarWidth = 120;

    TReport *QuickRep = nullptr;
    TReportLabel *QRLabel_TestTitle = nullptr;
    TReportLabel *QRLabel_Class = nullptr;
    TReportLabel *QRLabel_Summary = nullptr;
    TReportLabel *QRLabel_Number = nullptr;
    TReportLabel *QRLabel_Question = nullptr;
    TReportLabel *QRLabel_Answered = nullptr;
    TReportLabel *QRLabel_Right = nullptr;
    TReportShape *QRShape_Bar = nullptr;
    TReportLabel *QRLabel_Facility = nullptr;
    TReportLabel *QRLabel_Discrimination = nullptr;

private:
    bool NextRecord();
    int FRecord = 0;
};
