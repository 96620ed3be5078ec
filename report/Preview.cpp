#include "report/Preview.h"

#include "report/PrintDialog.h"
#include "report/Report.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

const QString ReportFileFilter = QStringLiteral("Report file (*.QRP)");
const QString PdfFileFilter = QStringLiteral("PDF file (*.pdf)");
constexpr int PageMargin = 10; // grey around the page, in screen pixels
constexpr int WheelStep = 32;
// The rendered page is kept at most at this scale; more zoom is drawn from it.
constexpr double MaxRenderScale = 4.0;

struct TGlobals {
    bool EnablePrint = true;
    bool Executed = false;
    TNvPrintPreview::TPrintProcedure Procedure;
    QPointer<QObject> Object;
    bool HasObject = false;
};

TGlobals &Globals()
{
    static TGlobals globals;
    return globals;
}

enum class TGlyph { ZoomPage, ZoomIn, ZoomOut, ZoomWidth, Printer, PrinterSetup };

// Tool button pictures the style does not offer, drawn at 16 x 16.
QIcon DrawnIcon(TGlyph glyph)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    const QColor ink(40, 40, 40);
    p.setPen(QPen(ink, 1.2));
    auto magnifier = [&p, &ink]() {
        p.setBrush(QColor(235, 245, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
        p.setPen(QPen(ink, 1.2));
    };
    switch (glyph) {
    case TGlyph::ZoomIn:
        magnifier();
        p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
        p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
        break;
    case TGlyph::ZoomOut:
        magnifier();
        p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
        break;
    case TGlyph::ZoomPage:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        for (double y = 4.5; y < 13; y += 2.5)
            p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
        break;
    case TGlyph::ZoomWidth:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
        p.drawLine(QPointF(3.5, 8), QPointF(5.5, 6));
        p.drawLine(QPointF(3.5, 8), QPointF(5.5, 10));
        p.drawLine(QPointF(12.5, 8), QPointF(10.5, 6));
        p.drawLine(QPointF(12.5, 8), QPointF(10.5, 10));
        break;
    case TGlyph::Printer:
    case TGlyph::PrinterSetup:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(190, 190, 190));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        if (glyph == TGlyph::PrinterSetup) {
            p.setPen(QPen(QColor(0, 90, 170), 1.6));
            p.drawLine(QPointF(11, 15), QPointF(15, 11));
        }
        break;
    }
    p.end();
    pixmap.setDevicePixelRatio(2);
    return QIcon(pixmap);
}

} // namespace

// --- page view ---

class TPageWidget : public QWidget {
public:
    explicit TPageWidget(TQRPreview *view) : QWidget(view), FView(view) { }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const TPreparedReport *prepared = FView->Prepared();
        if (!prepared || FView->PageNumber() < 1)
            return;
        const QSize paper = prepared->PaperPixels();
        const QSizeF shown(paper.width() * FView->Zoom() / 100.0, paper.height() * FView->Zoom() / 100.0);
        const double left = std::max<double>(PageMargin, (width() - shown.width()) / 2);
        const QRectF pageRect(QPointF(left, PageMargin), shown);
        painter.fillRect(pageRect.translated(3, 3), QColor(0, 0, 0, 90));
        const QImage &image = FView->PageImage(devicePixelRatioF());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(pageRect, image);
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(pageRect.adjusted(0, 0, -1, -1));
    }

private:
    TQRPreview *FView;
};

namespace {

// A screen reader hears the page view as a picture, named by its text alternative.
QAccessibleInterface *PageViewAccessible(const QString &key, QObject *object)
{
    if (key == QLatin1String("TQRPreview") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

TQRPreview::TQRPreview(QWidget *parent) : QScrollArea(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(PageViewAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    FPage = new TPageWidget(this);
    FPage->setObjectName(QStringLiteral("QRPreviewPage"));
    setWidget(FPage);
    setWidgetResizable(false);
    setBackgroundRole(QPalette::Dark);
    setFocusPolicy(Qt::StrongFocus);
    UpdatePageSize();
}

void TQRPreview::SetPrepared(const TPreparedReport *prepared)
{
    FPrepared = prepared;
    FPageNumber = 0;
    PagesChanged();
}

int TQRPreview::PageCount() const
{
    return FPrepared ? FPrepared->PageCount() : 0;
}

void TQRPreview::SetPageNumber(int page)
{
    const int count = PageCount();
    page = count == 0 ? 0 : std::clamp(page, 1, count);
    if (page == FPageNumber)
        return;
    FPageNumber = page;
    FImagePage = -1;
    FPage->update();
    verticalScrollBar()->setValue(0);
    emit PageChanged(FPageNumber);
}

void TQRPreview::SetZoom(int percent)
{
    percent = std::clamp(percent, MinZoom, MaxZoom);
    if (percent == FZoom)
        return;
    FZoom = percent;
    FImagePage = -1;
    UpdatePageSize();
    FPage->update();
}

void TQRPreview::ZoomToFit()
{
    const QSize paper = FPrepared ? FPrepared->PaperPixels() : QSize(816, 1056);
    const QSize room = viewport()->size() - QSize(2 * PageMargin, 2 * PageMargin);
    const double scale = std::min(double(room.width()) / paper.width(), double(room.height()) / paper.height());
    SetZoom(int(std::floor(scale * 100)));
}

void TQRPreview::ZoomToWidth()
{
    const QSize paper = FPrepared ? FPrepared->PaperPixels() : QSize(816, 1056);
    // Leave room for the vertical scroll bar, which a page at full width always needs.
    int room = viewport()->width() - 2 * PageMargin;
    if (!verticalScrollBar()->isVisible())
        room -= style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    SetZoom(int(std::floor(double(room) / paper.width() * 100)));
}

void TQRPreview::PagesChanged()
{
    const int count = PageCount();
    if (FPageNumber > count)
        FPageNumber = count;
    if (FPageNumber == 0 && count > 0)
        FPageNumber = 1;
    FImagePage = -1;
    UpdatePageSize();
    FPage->update();
}

void TQRPreview::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    UpdatePageSize();
}

void TQRPreview::UpdatePageSize()
{
    const QSize paper = FPrepared ? FPrepared->PaperPixels() : QSize(816, 1056);
    const int width = int(std::ceil(paper.width() * FZoom / 100.0)) + 2 * PageMargin;
    const int height = int(std::ceil(paper.height() * FZoom / 100.0)) + 2 * PageMargin;
    // At least the view's size, so the grey fills it and a small page sits centred.
    FPage->resize(std::max(width, viewport()->width()), std::max(height, viewport()->height()));
}

const QImage &TQRPreview::PageImage(double devicePixelRatio)
{
    const double scale = std::min(MaxRenderScale, FZoom / 100.0 * std::max(1.0, devicePixelRatio));
    if (FImagePage != FPageNumber || FImageScale != scale) {
        FImage = FPrepared ? FPrepared->RenderPage(FPageNumber - 1, scale) : QImage();
        FImagePage = FPageNumber;
        FImageScale = scale;
    }
    return FImage;
}

// --- preview window ---

TForm_Preview::TForm_Preview(TReport *report, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      Report(report)
{
    setObjectName(QStringLiteral("Form_Preview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    resize(800, 600);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(28);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);

    auto button = [this](const char *name, const QString &hint, const QIcon &icon, const QString &text) {
        auto *b = new QToolButton(ToolBar1);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAccessibleName(hint);
        b->setAutoRaise(true);
        // Reached by Tab as well as by the mouse.
        b->setFocusPolicy(Qt::TabFocus);
        b->setText(text);
        if (icon.isNull())
            b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        else
            b->setIcon(icon);
        ToolBar1->addWidget(b);
        return b;
    };
    auto standard = [this](QStyle::StandardPixmap icon) { return style()->standardIcon(icon); };
    ToolButton_ZoomPage = button("ToolButton_ZoomPage", QStringLiteral("Zoom to Fit"), DrawnIcon(TGlyph::ZoomPage),
                                 QStringLiteral("Fit"));
    ToolButton_ZoomIn =
        button("ToolButton_ZoomIn", QStringLiteral("Zoom In"), DrawnIcon(TGlyph::ZoomIn), QStringLiteral("+"));
    ToolButton_ZoomOut =
        button("ToolButton_ZoomOut", QStringLiteral("Zoom Out"), DrawnIcon(TGlyph::ZoomOut), QStringLiteral("-"));
    ToolButton_ZoomWidth = button("ToolButton_ZoomWidth", QStringLiteral("Zoom to Width"), DrawnIcon(TGlyph::ZoomWidth),
                                  QStringLiteral("Width"));
    ToolBar1->addSeparator();
    ToolButton_First = button("ToolButton_First", QStringLiteral("First Page"), standard(QStyle::SP_MediaSkipBackward),
                              QStringLiteral("|<"));
    ToolButton_Prev = button("ToolButton_Prev", QStringLiteral("Previous Page"), standard(QStyle::SP_MediaSeekBackward),
                             QStringLiteral("<"));
    ToolButton_Next = button("ToolButton_Next", QStringLiteral("Next Page"), standard(QStyle::SP_MediaSeekForward),
                             QStringLiteral(">"));
    ToolButton_Last = button("ToolButton_Last", QStringLiteral("Last Page"), standard(QStyle::SP_MediaSkipForward),
                             QStringLiteral(">|"));
    ToolBar1->addSeparator();
    ToolButton_PrintSetup = button("ToolButton_PrintSetup", QStringLiteral("Printer Setup"),
                                   DrawnIcon(TGlyph::PrinterSetup), QStringLiteral("Setup"));
    ToolButton_PrintSetup->setEnabled(false);
    ToolButton_Print =
        button("ToolButton_Print", QStringLiteral("Print"), DrawnIcon(TGlyph::Printer), QStringLiteral("Print"));
    ToolButton_Print->setEnabled(false);
    ToolBar1->addSeparator();
    ToolButton_Save = button("ToolButton_Save", QStringLiteral("Save"), standard(QStyle::SP_DialogSaveButton),
                             QStringLiteral("Save"));
    ToolButton_Open = button("ToolButton_Open", QStringLiteral("Open"), standard(QStyle::SP_DialogOpenButton),
                             QStringLiteral("Open"));
    ToolButton_ExportPdf = button("ToolButton_ExportPdf", QStringLiteral("Export PDF"), standard(QStyle::SP_FileIcon),
                                  QStringLiteral("PDF"));
    // Worded, so a teacher finds it without hovering.
    ToolButton_ExportPdf->setText(QStringLiteral("Export PDF"));
    ToolButton_ExportPdf->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar1->addSeparator();
    Button_Close = new QPushButton(QStringLiteral("&Close"), ToolBar1);
    Button_Close->setObjectName(QStringLiteral("Button_Close"));
    Button_Close->setToolTip(QStringLiteral("Close"));
    Button_Close->setAutoDefault(false);
    Button_Close->setFocusPolicy(Qt::TabFocus);
    ToolBar1->addWidget(Button_Close);

    QRPreview = new TQRPreview(this);
    QRPreview->setObjectName(QStringLiteral("QRPreview"));
    QRPreview->SetPrepared(&Prepared);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    StatusPanel0 = new QLabel(StatusBar);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(100);
    StatusPanel1 = new QLabel(StatusBar);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setMinimumWidth(100);
    ProgressBar = new QProgressBar(StatusBar);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setFixedWidth(50);
    StatusBar->addWidget(StatusPanel0);
    StatusBar->addWidget(StatusPanel1);
    StatusBar->addWidget(ProgressBar);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(QRPreview, 1);
    layout->addWidget(StatusBar);

    // The normal placement is the desktop's work area.
    if (const QScreen *screen = QApplication::primaryScreen())
        setGeometry(screen->availableGeometry());

    connect(ToolButton_ZoomPage, &QToolButton::clicked, this, &TForm_Preview::ToolButton_ZoomPageClick);
    connect(ToolButton_ZoomIn, &QToolButton::clicked, this, &TForm_Preview::ToolButton_ZoomInClick);
    connect(ToolButton_ZoomOut, &QToolButton::clicked, this, &TForm_Preview::ToolButton_ZoomOutClick);
    connect(ToolButton_ZoomWidth, &QToolButton::clicked, this, &TForm_Preview::ToolButton_ZoomWidthClick);
    connect(ToolButton_First, &QToolButton::clicked, this, &TForm_Preview::ToolButton_FirstClick);
    connect(ToolButton_Prev, &QToolButton::clicked, this, &TForm_Preview::ToolButton_PrevClick);
    connect(ToolButton_Next, &QToolButton::clicked, this, &TForm_Preview::ToolButton_NextClick);
    connect(ToolButton_Last, &QToolButton::clicked, this, &TForm_Preview::ToolButton_LastClick);
    connect(ToolButton_Print, &QToolButton::clicked, this, &TForm_Preview::ToolButton_PrintClick);
    connect(ToolButton_Save, &QToolButton::clicked, this, &TForm_Preview::ToolButton_SaveClick);
    connect(ToolButton_Open, &QToolButton::clicked, this, &TForm_Preview::ToolButton_OpenClick);
    connect(ToolButton_ExportPdf, &QToolButton::clicked, this, &TForm_Preview::ToolButton_ExportPdfClick);
    connect(Button_Close, &QPushButton::clicked, this, &TForm_Preview::Button_CloseClick);
    connect(QRPreview, &TQRPreview::PageChanged, this, &TForm_Preview::UpdateNavigation);

    // The usual keys of the commands, each pressing its button.
    const auto key = [this](const QKeySequence &sequence, QToolButton *target) {
        auto *shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, target, &QToolButton::click);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_0), ToolButton_ZoomPage);
    key(QKeySequence(Qt::CTRL | Qt::Key_Plus), ToolButton_ZoomIn);
    // Ctrl+= is Ctrl++ without the Shift key.
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), ToolButton_ZoomIn);
    key(QKeySequence(Qt::CTRL | Qt::Key_Minus), ToolButton_ZoomOut);
    key(QKeySequence(Qt::CTRL | Qt::Key_P), ToolButton_Print);
    key(QKeySequence(Qt::CTRL | Qt::Key_S), ToolButton_Save);
    key(QKeySequence(Qt::CTRL | Qt::Key_O), ToolButton_Open);
    key(QKeySequence(Qt::CTRL | Qt::Key_E), ToolButton_ExportPdf);

    // The window sees keys and the wheel before the page view does.
    QRPreview->installEventFilter(this);
    QRPreview->viewport()->installEventFilter(this);

    if (report) {
        DocumentTitle = report->DocumentTitle;
        connect(report, &TReport::PageAvailable, this, &TForm_Preview::QRPreviewPageAvailable);
        connect(report, &TReport::Progress, this, &TForm_Preview::QRPreviewProgressUpdate);
        connect(report, &TReport::Finished, this, &TForm_Preview::QRPreviewFinished);
        FAttached = true;
        // A report prepared before the window opened is shown at once.
        if (report->Prepared().Complete && !report->IsPreparing())
            CopyPages(true);
        else if (report->Prepared().PageCount() > 0)
            CopyPages(false);
    }
    UpdateFileButtons();
    UpdateNavigation();
}

TForm_Preview::~TForm_Preview()
{
    StopPreparing();
}

QString TForm_Preview::MissingFileMessage(const QString &fileName)
{
    return QStringLiteral("File \"") + fileName + QStringLiteral("\" does not exist");
}

QString TForm_Preview::WithDefaultExtension(const QString &fileName, const QString &extension)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    // "report." counts as bare too.
    return (fileName.endsWith(QLatin1Char('.')) ? fileName : fileName + QLatin1Char('.')) + extension;
}

QString TForm_Preview::PageCounterText() const
{
    return QStringLiteral("Page %1 of %2").arg(QRPreview->PageNumber()).arg(QRPreview->PageCount());
}

void TForm_Preview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm_Preview::FormShow()
{
    FirstPagePending = true;
    UpdateNavigation();
    // Pages that were there before showing count as arrived.
    if (Prepared.PageCount() > 0)
        QRPreviewPageAvailable(Prepared.PageCount());
}

void TForm_Preview::UpdateNavigation()
{
    if (!QRPreview->Prepared())
        return;
    const int page = QRPreview->PageNumber();
    const int count = QRPreview->PageCount();
    ToolButton_First->setEnabled(page > 1);
    ToolButton_Prev->setEnabled(page > 1);
    ToolButton_Next->setEnabled(page < count);
    ToolButton_Last->setEnabled(page < count);
    StatusPanel1->setText(PageCounterText());
    // The page's text alternative: which page of what.
    QRPreview->setAccessibleName(DocumentTitle.isEmpty() ? PageCounterText()
                                                         : PageCounterText() + QStringLiteral(" - ") + DocumentTitle);
}

void TForm_Preview::CopyPages(bool all)
{
    if (!Report)
        return;
    const TPreparedReport &source = Report->Prepared();
    Prepared.PaperSizeMm = source.PaperSizeMm;
    if (all) {
        Prepared.Clear();
        for (int i = 0; i < source.PageCount(); ++i)
            Prepared.AddPage(source.Page(i));
        Prepared.Complete = source.Complete;
    } else {
        for (int i = Prepared.PageCount(); i < source.PageCount(); ++i)
            Prepared.AddPage(source.Page(i));
    }
    QRPreview->PagesChanged();
}

void TForm_Preview::QRPreviewPageAvailable(int pageNumber)
{
    if (Report && sender() == Report.data())
        CopyPages(false);
    if (FirstPagePending && pageNumber >= 1 && isVisible()) {
        QRPreview->ZoomToWidth();
        if (!PrintEnabled)
            ToolButton_Print->setEnabled(false);
        UpdateNavigation();
        FirstPagePending = false;
    }
    UpdateNavigation();
}

void TForm_Preview::QRPreviewProgressUpdate(int progress)
{
    ProgressBar->setValue(progress == 0 || progress == 100 ? 0 : progress);
}

void TForm_Preview::QRPreviewFinished(bool ok)
{
    // The "Page n of m" texts are drawn onto the pages only now.
    CopyPages(true);
    if (Report && !Report->DocumentTitle.isEmpty())
        DocumentTitle = Report->DocumentTitle;
    // The preview has what it shows; a later preparation (printing anew) does not reach it.
    DetachReport();
    ProgressBar->setValue(0);
    UpdateFileButtons();
    UpdateNavigation();
    if (!ok && Report && !Report->LastError().isEmpty())
        ShowErrorBox(Report->LastError());
}

void TForm_Preview::UpdateFileButtons()
{
    const bool done = Prepared.Complete;
    ToolButton_Print->setEnabled(done && PrintEnabled);
    ToolButton_Save->setEnabled(done);
    ToolButton_ExportPdf->setEnabled(done);
}

void TForm_Preview::DetachReport()
{
    if (Report)
        disconnect(Report.data(), nullptr, this, nullptr);
    FAttached = false;
}

void TForm_Preview::StopPreparing()
{
    // The engine is told that the preview is closed: a preparation only it waits for ends.
    if (FAttached && Report && Report->IsPreparing())
        Report->Cancel();
}

void TForm_Preview::ToolButton_ZoomPageClick()
{
    QRPreview->ZoomToFit();
}

void TForm_Preview::ToolButton_ZoomInClick()
{
    QRPreview->SetZoom(QRPreview->Zoom() + 10);
}

void TForm_Preview::ToolButton_ZoomOutClick()
{
    QRPreview->SetZoom(QRPreview->Zoom() - 10);
}

void TForm_Preview::ToolButton_ZoomWidthClick()
{
    QRPreview->ZoomToWidth();
}

void TForm_Preview::ToolButton_FirstClick()
{
    if (QRPreview->PageCount() > 0)
        QRPreview->SetPageNumber(1);
    UpdateNavigation();
}

void TForm_Preview::ToolButton_PrevClick()
{
    if (QRPreview->PageNumber() > 1)
        QRPreview->SetPageNumber(QRPreview->PageNumber() - 1);
    UpdateNavigation();
}

void TForm_Preview::ToolButton_NextClick()
{
    if (QRPreview->PageNumber() < QRPreview->PageCount())
        QRPreview->SetPageNumber(QRPreview->PageNumber() + 1);
    UpdateNavigation();
}

void TForm_Preview::ToolButton_LastClick()
{
    if (QRPreview->PageCount() > 0)
        QRPreview->SetPageNumber(QRPreview->PageCount());
    UpdateNavigation();
}

void TForm_Preview::ToolButton_PrintClick()
{
    // The pages are printed only once all of them are there.
    if (!PreparationFinished() || !PrintEnabled)
        return;
    if (TNvPrintPreview::CallPrintCallback())
        return;

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(DocumentTitle);
    QString pdfFile;
    const TPrintChoice choice = ChoosePrinter(printer, this, PageCounterText(), Prepared.PageCount(), &pdfFile);
    if (choice == TPrintChoice::Cancelled)
        return;
    QString error;
    if (choice == TPrintChoice::ExportPdf) {
        if (!Prepared.ExportPdf(pdfFile, DocumentTitle, &error))
            ShowMessage(error);
    } else if (!Prepared.Print(printer, &error)) {
        ShowErrorBox(error);
    }
}

void TForm_Preview::ToolButton_SaveClick()
{
    if (!PreparationFinished())
        return;
    QString fileName = SaveFileDialog(this, QStringLiteral("Save"), QString(), ReportFileFilter);
    if (fileName.isEmpty())
        return;
    fileName = WithDefaultExtension(fileName, QStringLiteral("QRP"));
    QString error;
    if (!Prepared.Save(fileName, &error))
        ShowMessage(error);
}

void TForm_Preview::ToolButton_OpenClick()
{
    const QString fileName = OpenFileDialog(this, QStringLiteral("Open"), QString(), ReportFileFilter);
    if (fileName.isEmpty())
        return;
    if (!QFileInfo(fileName).isFile()) {
        ShowMessage(MissingFileMessage(fileName));
        return;
    }
    // Read completely before anything changes, so a damaged file leaves the preview as it was.
    TPreparedReport loaded;
    QString error;
    if (!loaded.Load(fileName, &error)) {
        ShowMessage(error);
        return;
    }
    TNvPrintPreview::ClearPrintCallback();
    StopPreparing();
    DetachReport();
    Report = nullptr;
    Prepared = loaded;
    DocumentTitle = QFileInfo(fileName).completeBaseName();
    ProgressBar->setValue(0);
    QRPreview->SetPrepared(&Prepared);
    QRPreview->SetPageNumber(1);
    TNvPrintPreview::SetGlobalEnablePrint(true);
    PrintEnabled = true;
    UpdateFileButtons();
    UpdateNavigation();
}

void TForm_Preview::ToolButton_ExportPdfClick()
{
    if (!PreparationFinished())
        return;
    QString fileName = SaveFileDialog(this, QStringLiteral("Export PDF"), QString(), PdfFileFilter);
    if (fileName.isEmpty())
        return;
    fileName = WithDefaultExtension(fileName, QStringLiteral("pdf"));
    QString error;
    if (!Prepared.ExportPdf(fileName, DocumentTitle, &error))
        ShowMessage(error);
}

void TForm_Preview::Button_CloseClick()
{
    reject();
}

void TForm_Preview::reject()
{
    StopPreparing();
    DetachReport();
    QDialog::reject();
}

void TForm_Preview::FormKeyDown(QKeyEvent *event)
{
    if (event->modifiers() & Qt::AltModifier) {
        QScrollBar *bar = nullptr;
        int sign = 1;
        switch (event->key()) {
        case Qt::Key_Left:
            bar = QRPreview->horizontalScrollBar();
            sign = -1;
            break;
        case Qt::Key_Right:
            bar = QRPreview->horizontalScrollBar();
            break;
        case Qt::Key_Up:
            bar = QRPreview->verticalScrollBar();
            sign = -1;
            break;
        case Qt::Key_Down:
            bar = QRPreview->verticalScrollBar();
            break;
        default:
            break;
        }
        if (bar) {
            const int range = bar->maximum() - bar->minimum() + bar->pageStep();
            bar->setValue(bar->value() + sign * (range / 10));
            event->accept();
            return;
        }
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        break;
    case Qt::Key_PageUp:
        ToolButton_PrevClick();
        break;
    case Qt::Key_PageDown:
        ToolButton_NextClick();
        break;
    case Qt::Key_Home:
        ToolButton_FirstClick();
        break;
    case Qt::Key_End:
        ToolButton_LastClick();
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void TForm_Preview::FormMouseWheel(int delta)
{
    QScrollBar *bar = QRPreview->verticalScrollBar();
    bar->setValue(bar->value() + (delta <= 0 ? WheelStep : -WheelStep));
}

void TForm_Preview::keyPressEvent(QKeyEvent *event)
{
    FormKeyDown(event);
    if (!event->isAccepted())
        QDialog::keyPressEvent(event);
}

void TForm_Preview::wheelEvent(QWheelEvent *event)
{
    FormMouseWheel(event->angleDelta().y());
    event->accept();
}

bool TForm_Preview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        key->accept();
        FormKeyDown(key);
        if (key->isAccepted())
            return true;
    } else if (event->type() == QEvent::Wheel && watched == QRPreview->viewport()) {
        FormMouseWheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- preview interface ---

TForm_Preview *TQRMDIPreviewInterface::CreateWindow(TReport &report, QWidget *parent)
{
    auto *window = new TForm_Preview(&report, parent);
    window->PrintEnabled = TNvPrintPreview::GlobalEnablePrint();
    window->ToolButton_Print->setEnabled(window->PrintEnabled && window->PreparationFinished());
    if (!report.IsPreparing() && !report.Prepared().Complete)
        report.PrepareAsync();
    return window;
}

TForm_Preview *TQRMDIPreviewInterface::Show(TReport &report, QWidget *parent)
{
    TForm_Preview *window = CreateWindow(report, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void TQRMDIPreviewInterface::ShowModal(TReport &report, QWidget *parent)
{
    std::unique_ptr<TForm_Preview> window(CreateWindow(report, parent));
    if (window->isVisible())
        window->hide();
    window->QRPreview->ZoomToWidth();
    const TShownBox box{TBoxKind::Window, window->windowTitle(), report.DocumentTitle, BtnOK};
    if (TDialogSeam::Intercept(box, nullptr)) {
        // Scripted: the window is not shown; the preparation it started is finished here.
        while (report.IsPreparing())
            report.PrepareStep(1000);
        return;
    }
    window->exec();
}

void PreviewReport(TReport &report, QWidget *parent)
{
    TQRMDIPreviewInterface::Show(report, parent);
}

void PreviewReportModal(TReport &report, QWidget *parent)
{
    TQRMDIPreviewInterface::ShowModal(report, parent);
}

// --- component ---

TNvPrintPreview::TNvPrintPreview(QObject *owner) : QObject(owner)
{
    setObjectName(QStringLiteral("NvPrintPreview"));
    SetGlobalEnablePrint(true);
}

void TNvPrintPreview::Execute()
{
    Globals().Executed = true;
}

bool TNvPrintPreview::Executed()
{
    return Globals().Executed;
}

bool TNvPrintPreview::GlobalEnablePrint()
{
    return Globals().EnablePrint;
}

void TNvPrintPreview::SetGlobalEnablePrint(bool value)
{
    Globals().EnablePrint = value;
}

void TNvPrintPreview::SetPrintCallback(TPrintProcedure procedure, QObject *object)
{
    Globals().Procedure = std::move(procedure);
    Globals().Object = object;
    Globals().HasObject = object != nullptr;
}

void TNvPrintPreview::ClearPrintCallback()
{
    SetPrintCallback({}, nullptr);
}

bool TNvPrintPreview::HasPrintCallback()
{
    const TGlobals &g = Globals();
    return g.Procedure && (!g.HasObject || g.Object);
}

bool TNvPrintPreview::CallPrintCallback()
{
    if (!HasPrintCallback())
        return false;
    // A copy: the callback may set a new one while it runs.
    const TPrintProcedure procedure = Globals().Procedure;
    procedure(Globals().Object.data(), nullptr);
    return true;
}

void TNvPrintPreview::Reset()
{
    Globals() = TGlobals();
}
