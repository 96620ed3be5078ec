#pragma once

#include "report/PreparedReport.h"

#include <QDialog>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QScrollArea>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolBar;
class QToolButton;
class TReport;

// The page view of the preview: one page of a prepared report on grey, at a zoom in
// percent, scrolled when it is larger than the view.
class TQRPreview : public QScrollArea {
    Q_OBJECT

public:
    explicit TQRPreview(QWidget *parent = nullptr);

    static constexpr int MinZoom = 10;
    static constexpr int MaxZoom = 400;

    // Shown, never owned; the caller repaints through PagesChanged when its pages change.
    void SetPrepared(const TPreparedReport *prepared);
    const TPreparedReport *Prepared() const { return FPrepared; }

    int PageNumber() const { return FPageNumber; } // 1-based; 0 while there are no pages
    int PageCount() const;
    // Clamped to the pages there are.
    void SetPageNumber(int page);

    int Zoom() const { return FZoom; }
    void SetZoom(int percent); // clamped to MinZoom..MaxZoom
    void ZoomToFit();
    void ZoomToWidth();

    // The pages were added to or replaced: keeps the page number valid and repaints.
    void PagesChanged();

signals:
    void PageChanged(int page);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TPageWidget;
    void UpdatePageSize();
    const QImage &PageImage(double devicePixelRatio);

    const TPreparedReport *FPrepared = nullptr;
    QWidget *FPage = nullptr;
    int FPageNumber = 0;
    int FZoom = 100;
    // The rendered page, kept until the page, zoom or content changes.
    QImage FImage;
    int FImagePage = -1;
    double FImageScale = 0;
};

// The preview window of both programs: page view with zoom and page navigation, a
// status bar with the page counter and the progress of the preparation, saving and
// opening of report files, PDF export and printing.
class TForm_Preview : public QDialog {
    Q_OBJECT

public:
    // report: the report whose pages are shown, prepared or still preparing; may be
    // null for an empty preview. The window copies the pages, so a report file opened
    // here never touches the report.
    explicit TForm_Preview(TReport *report, QWidget *parent = nullptr);
    ~TForm_Preview() override;

    void FormShow();
    void UpdateNavigation();
    void QRPreviewPageAvailable(int pageNumber);
    void QRPreviewProgressUpdate(int progress);
    void QRPreviewFinished(bool ok);

    void ToolButton_ZoomPageClick();
    void ToolButton_ZoomInClick();
    void ToolButton_ZoomOutClick();
    void ToolButton_ZoomWidthClick();
    void ToolButton_FirstClick();
    void ToolButton_PrevClick();
    void ToolButton_NextClick();
    void ToolButton_LastClick();
    void ToolButton_PrintClick();
    void ToolButton_SaveClick();
    void ToolButton_OpenClick();
    void ToolButton_ExportPdfClick();
    void Button_CloseClick();

    // The page counter of the status bar.
    QString PageCounterText() const;
    // Set once every page of the report is there: printing, saving and export wait for it.
    bool PreparationFinished() const { return Prepared.Complete; }

    // The pages shown: the report's, or those of an opened report file.
    TPreparedReport Prepared;
    QPointer<TReport> Report;
    bool PrintEnabled = true;
    bool FirstPagePending = false;
    QString DocumentTitle;

    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton_ZoomPage = nullptr;
    QToolButton *ToolButton_ZoomIn = nullptr;
    QToolButton *ToolButton_ZoomOut = nullptr;
    QToolButton *ToolButton_ZoomWidth = nullptr;
    QToolButton *ToolButton_First = nullptr;
    QToolButton *ToolButton_Prev = nullptr;
    QToolButton *ToolButton_Next = nullptr;
    QToolButton *ToolButton_Last = nullptr;
    QToolButton *ToolButton_PrintSetup = nullptr;
    QToolButton *ToolButton_Print = nullptr;
    QToolButton *ToolButton_Save = nullptr;
    QToolButton *ToolButton_Open = nullptr;
    QToolButton *ToolButton_ExportPdf = nullptr;
    QPushButton *Button_Close = nullptr;
    TQRPreview *QRPreview = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *StatusPanel0 = nullptr;
    QLabel *StatusPanel1 = nullptr;
    QProgressBar *ProgressBar = nullptr;

    static QString MissingFileMessage(const QString &fileName);
    // A name without an extension gets the given one ("QRP", "pdf").
    static QString WithDefaultExtension(const QString &fileName, const QString &extension);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    void reject() override;

private:
    void FormKeyDown(QKeyEvent *event);
    void FormMouseWheel(int delta);
    void CopyPages(bool all);
    void DetachReport();
    void UpdateFileButtons();
    void StopPreparing();

    bool FAttached = false; // the report's pages still arrive here
};

// The engine's hook for opening a preview: show without waiting (the window frees itself
// when closed) or modally. The programs use the modal variant.
class TQRMDIPreviewInterface {
public:
    static TForm_Preview *Show(TReport &report, QWidget *parent = nullptr);
    static void ShowModal(TReport &report, QWidget *parent = nullptr);
    // Makes the window for the report and starts preparing it unless that is done or
    // under way. Print enabling follows the program-wide switch.
    static TForm_Preview *CreateWindow(TReport &report, QWidget *parent);
};

// Previews of every report go through these; the engine has no preview window of its
// own, so they open TForm_Preview whether or not Execute has run.
void PreviewReport(TReport &report, QWidget *parent = nullptr);
void PreviewReportModal(TReport &report, QWidget *parent = nullptr);

// The print preview component, one on each program's main window: routes report
// previews to TForm_Preview and carries the program-wide print switch and, in the
// authoring program, the callback through which the preview's Print button hands
// printing back to the main window.
class TNvPrintPreview : public QObject {
    Q_OBJECT

public:
    // Switches printing on for the whole program, as every new component does.
    explicit TNvPrintPreview(QObject *owner = nullptr);

    void Execute();

    // Program-wide, not per component.
    bool EnablePrint() const { return GlobalEnablePrint(); }
    void SetEnablePrint(bool value) { SetGlobalEnablePrint(value); }
    static bool GlobalEnablePrint();
    static void SetGlobalEnablePrint(bool value);

    // The print callback: called with its object and no sender. Program-wide; empty
    // at the start. An object that has gone away leaves the callback unset.
    using TPrintProcedure = std::function<void(QObject *object, QObject *sender)>;
    static void SetPrintCallback(TPrintProcedure procedure, QObject *object);
    static void ClearPrintCallback();
    static bool HasPrintCallback();
    // Calls the callback; false when there is none.
    static bool CallPrintCallback();

    // Whether Execute has routed previews to TForm_Preview.
    static bool Executed();
    // Back to the start state (tests).
    static void Reset();
};
