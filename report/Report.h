#pragma once

#include "report/PreparedReport.h"
#include "report/ReportElements.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPrinter;
class QTimer;

enum class TBandType { Title, PageHeader, Detail, PageFooter };

class TReportBand;

// Handed to a band's BeforePrint hook just before the band prints. Positions are in
// tenths of a millimetre from the paper's top edge.
struct TBandPrintEvent {
    TReportBand &Band;
    int Page = 1; // 1-based
    int Column = 1; // 1-based
    int CurrentY = 0; // where the band would start
    int BandHeight = 0; // as laid out before the hook
    int ColumnBottom = 0;
    bool PrintBand = true;

    enum class TMove { None, NextColumn, NextPage };
    TMove Move = TMove::None;
    // Detail bands only: continue in the next column (a new page after the last one),
    // or on a new page. Ignored where the band would start a column or page anyway.
    void NewColumn() { Move = TMove::NextColumn; }
    void NewPage() { Move = TMove::NextPage; }
};

// Where a band landed: one piece, or several when it was taller than a column and
// went on in the next column or page. Rectangles are paper pixels.
struct TBandPiece {
    int Page = 1;
    int Column = 1;
    QRectF Rect;
};

class TReportBand {
public:
    TReportBand(TBandType type, int height, const QFont &font) : Type(type), Height(height), Font(font) { }
    TReportBand(const TReportBand &) = delete;
    TReportBand &operator=(const TReportBand &) = delete;

    const TBandType Type;
    // Pixels; the band stretches when an element grows past it.
    int Height;
    bool Enabled = true;
    // Given to the labels, system data and rich text added afterwards.
    QFont Font;

    std::function<void(TBandPrintEvent &)> BeforePrint;
    std::function<void(const QList<TBandPiece> &)> AfterPrint;

    TReportLabel *AddLabel(const QString &name, int left, int top, const QString &caption = QString());
    TReportShape *AddShape(const QString &name, int left, int top, int width, int height,
                           TShapeKind shape = TShapeKind::Rectangle);
    TReportRichText *AddRichText(const QString &name, int left, int top, int width, int height);
    TReportSysData *AddSysData(const QString &name, int left, int top, TSysDataKind data);
    // By name, ignoring case; null when there is none.
    TReportElement *FindElement(const QString &name) const;
    const std::vector<std::unique_ptr<TReportElement>> &Elements() const { return FElements; }

private:
    template <class T> T *Add(std::unique_ptr<T> element);
    std::vector<std::unique_ptr<TReportElement>> FElements;
};

struct TPageSetup {
    QSizeF PaperMm{215.9, 279.4}; // US Letter, portrait
    double LeftMm = 12.7;
    double TopMm = 12.7;
    double RightMm = 12.7;
    double BottomMm = 12.7;
    int Columns = 1;
    int ColumnSpace = 0; // pixels between columns
};

// A banded report: a title band once at the top of the first page, an optional page
// header and a page footer on every page, and the detail band printed once per record
// that NeedData delivers, flowing down each page column, then into the next column,
// then onto the next page. Without NeedData the detail band prints once.
//
// Preparing records every page as a picture. PrepareAsync() prepares in short steps on
// the event loop of the calling thread, so a preview can show the first page while the
// rest follows and the window never stops responding; callbacks therefore run on that
// thread and may use widgets.
class TReport : public QObject {
    Q_OBJECT

public:
    explicit TReport(QObject *parent = nullptr);
    ~TReport() override;

    TPageSetup Page;
    QFont Font; // default font of new bands: Arial 8 points
    QString PrinterName; // empty: the default printer
    QString DocumentTitle;
    int ExpectedRecords = 0; // for progress; 0 when unknown
    int MaxPages = 10000; // a runaway NeedData ends with an error instead of filling memory

    // Says whether there is another record and fills the detail band's elements for it.
    std::function<bool()> NeedData;

    // One band per type; adding a type again replaces the band. Not from a callback
    // while preparing (null then), as the bands are in use.
    TReportBand *AddBand(TBandType type, int height);
    TReportBand *Band(TBandType type) const;

    void SetColumns(int columns);
    // Usable width of one page column, in pixels.
    double ColumnWidth() const;

    // Prepares every page now; false (and LastError) when a callback threw or the
    // report cannot be laid out.
    bool Prepare();
    void PrepareAsync();
    // One step of at most about budgetMs (a page ends a step early); false once done.
    bool PrepareStep(int budgetMs);
    // Stops preparing; the pages so far stay, marked incomplete.
    void Cancel();
    bool IsPreparing() const;
    const QString &LastError() const { return FLastError; }

    // During preparation (from hooks): where the next band starts, in tenths of a
    // millimetre from the paper's top edge, and the current page and column (1-based).
    int CurrentY() const;
    int PageNumber() const;
    int ColumnNumber() const;

    TPreparedReport &Prepared() { return FPrepared; }
    const TPreparedReport &Prepared() const { return FPrepared; }

    // Prepare unless prepared, then print on PrinterName or on the given printer.
    bool Print(QString *error);
    bool Print(QPrinter &printer, QString *error);
    bool ExportPdf(const QString &fileName, QString *error);
    // Names of the installed printers.
    static QStringList Printers();

signals:
    void PageAvailable(int pageNumber);
    void Progress(int percent);
    void Finished(bool ok);

private:
    struct TState;
    bool Start();
    void OpenPage();
    void ClosePage();
    void NextColumn();
    void PrintBandAt(TReportBand &band, double x, double y);
    double LayoutBand(TReportBand &band);
    void PrintDetail(TReportBand &band);
    void Finish();
    void Fail(const QString &message);
    bool EnsurePrepared(QString *error);

    std::vector<std::unique_ptr<TReportBand>> FBands;
    TPreparedReport FPrepared;
    std::unique_ptr<TState> FState;
    QString FLastError;
    QTimer *FTimer = nullptr;
    bool FInStep = false;
};
