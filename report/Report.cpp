#include "report/Report.h"

#include "report/ReportUnits.h"
#include "toolkit/Exception.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QPointer>
#include <QPrinterInfo>
#include <QTimer>

#include <algorithm>

// --- bands ---

template <class T> T *TReportBand::Add(std::unique_ptr<T> element)
{
    T *raw = element.get();
    FElements.push_back(std::move(element));
    return raw;
}

TReportLabel *TReportBand::AddLabel(const QString &name, int left, int top, const QString &caption)
{
    auto label = std::make_unique<TReportLabel>(name);
    label->Left = left;
    label->Top = top;
    label->Caption = caption;
    label->Font = Font;
    return Add(std::move(label));
}

TReportShape *TReportBand::AddShape(const QString &name, int left, int top, int width, int height, TShapeKind shape)
{
    auto element = std::make_unique<TReportShape>(name);
    element->Left = left;
    element->Top = top;
    element->Width = width;
    element->Height = height;
    element->Shape = shape;
    return Add(std::move(element));
}

TReportRichText *TReportBand::AddRichText(const QString &name, int left, int top, int width, int height)
{
    auto element = std::make_unique<TReportRichText>(name);
    element->Left = left;
    element->Top = top;
    element->Width = width;
    element->Height = height;
    element->Font = Font;
    return Add(std::move(element));
}

TReportSysData *TReportBand::AddSysData(const QString &name, int left, int top, TSysDataKind data)
{
    auto element = std::make_unique<TReportSysData>(name);
    element->Left = left;
    element->Top = top;
    element->Data = data;
    element->Font = Font;
    return Add(std::move(element));
}

TReportElement *TReportBand::FindElement(const QString &name) const
{
    for (const auto &element : FElements)
        if (element->Name.compare(name, Qt::CaseInsensitive) == 0)
            return element.get();
    return nullptr;
}

// --- preparation state ---

struct TReport::TState {
    TPrintContext Context;
    std::unique_ptr<TPagePicture> Picture; // declared before the painter, which ends first
    std::unique_ptr<QPainter> Painter;
    QList<QList<TDeferredText>> Deferred; // per finished page
    QList<TDeferredText> PageDeferred;

    double PaperWidth = 0, PaperHeight = 0;
    double MarginLeft = 0, MarginTop = 0, MarginBottom = 0, ContentWidth = 0;
    int Columns = 1;
    double ColumnWidth = 0, ColumnSpace = 0;

    bool Running = true;
    bool Failed = false;
    bool PageOpen = false;
    bool FirstRequest = true;
    double Y = 0, ColumnTop = 0, ColumnBottom = 0;
    int Column = 0;
    bool ColumnFresh = true; // no detail band in this column yet
    bool PageFresh = true; // none on this page yet
    int Records = 0;
    int LastProgress = -1;
    QList<int> NewPages; // finished pages not yet announced

    double ColumnLeft() const { return MarginLeft + Column * (ColumnWidth + ColumnSpace); }
};

TReport::TReport(QObject *parent) : QObject(parent), Font(QStringLiteral("Arial"))
{
    Font.setPointSizeF(8);
    FTimer = new QTimer(this);
    FTimer->setSingleShot(true);
    FTimer->setInterval(0);
    connect(FTimer, &QTimer::timeout, this, [this]() {
        if (PrepareStep(20))
            FTimer->start();
    });
}

TReport::~TReport() = default;

TReportBand *TReport::AddBand(TBandType type, int height)
{
    if (FInStep)
        return nullptr; // bands in use cannot be replaced while a page is being laid out
    Cancel();
    auto band = std::make_unique<TReportBand>(type, height, Font);
    TReportBand *raw = band.get();
    auto same = std::find_if(FBands.begin(), FBands.end(), [type](const auto &b) { return b->Type == type; });
    if (same != FBands.end())
        *same = std::move(band);
    else
        FBands.push_back(std::move(band));
    return raw;
}

TReportBand *TReport::Band(TBandType type) const
{
    for (const auto &band : FBands)
        if (band->Type == type)
            return band.get();
    return nullptr;
}

void TReport::SetColumns(int columns)
{
    Page.Columns = std::max(1, columns);
}

double TReport::ColumnWidth() const
{
    const double content = MmToPx(Page.PaperMm.width() - Page.LeftMm - Page.RightMm);
    const int columns = std::max(1, Page.Columns);
    return (content - (columns - 1) * std::max(0, Page.ColumnSpace)) / columns;
}

bool TReport::IsPreparing() const
{
    return FState && FState->Running;
}

int TReport::CurrentY() const
{
    return FState ? PxToTenthMm(FState->Y) : 0;
}

int TReport::PageNumber() const
{
    return FState ? FState->Context.PageNumber : 0;
}

int TReport::ColumnNumber() const
{
    return FState ? FState->Column + 1 : 0;
}

bool TReport::Start()
{
    FLastError.clear();
    FPrepared.Clear();
    FPrepared.PaperSizeMm = Page.PaperMm;

    auto state = std::make_unique<TState>();
    state->Context.PrintedAt = QDateTime::currentDateTime();
    state->PaperWidth = MmToPx(Page.PaperMm.width());
    state->PaperHeight = MmToPx(Page.PaperMm.height());
    state->MarginLeft = MmToPx(Page.LeftMm);
    state->MarginTop = MmToPx(Page.TopMm);
    state->MarginBottom = MmToPx(Page.BottomMm);
    state->ContentWidth = state->PaperWidth - state->MarginLeft - MmToPx(Page.RightMm);
    state->Columns = std::max(1, Page.Columns);
    state->ColumnSpace = std::max(0, Page.ColumnSpace);
    state->ColumnWidth = ColumnWidth();
    double fixedBands = 0;
    for (TBandType type : {TBandType::PageHeader, TBandType::PageFooter})
        if (const TReportBand *band = Band(type); band && band->Enabled)
            fixedBands += std::max(0, band->Height);
    if (!(state->ColumnWidth >= 1) || state->PaperHeight - state->MarginTop - state->MarginBottom - fixedBands < 1) {
        FLastError = QStringLiteral("The page has no room for the report's bands.");
        return false;
    }
    FState = std::move(state);
    return true;
}

double TReport::LayoutBand(TReportBand &band)
{
    double height = std::max(0, band.Height);
    for (const auto &element : band.Elements()) {
        if (!element->Enabled)
            continue;
        element->Layout(FState->Context);
        const QRectF &rect = element->PrintRect();
        // An element that grew pushes the band's bottom down, keeping the space below it.
        if (element->Height > 0 && rect.height() > element->Height) {
            const double below = std::max(0, band.Height - (element->Top + element->Height));
            height = std::max(height, rect.bottom() + below);
        }
    }
    return height;
}

void TReport::PrintBandAt(TReportBand &band, double x, double y)
{
    QPainter &painter = *FState->Painter;
    painter.save();
    painter.translate(x, y);
    const QRectF visible = painter.hasClipping() ? painter.clipBoundingRect() : QRectF();
    for (const auto &element : band.Elements()) {
        if (!element->Enabled)
            continue;
        // In a slice of a cut band, elements wholly in another slice are left to it.
        if (!visible.isNull() && !visible.intersects(element->PrintRect().adjusted(0, 0, 1, 1)))
            continue;
        element->Print(painter, FState->Context);
        if (element->Deferred())
            FState->PageDeferred.append(element->DeferredText(QPointF(x, y), FState->Context));
    }
    painter.restore();
}

void TReport::OpenPage()
{
    TState &s = *FState;
    const int number = FPrepared.PageCount() + 1;
    if (number > std::max(1, MaxPages)) {
        Fail(QStringLiteral("The report has more than %1 pages.").arg(std::max(1, MaxPages)));
        return;
    }
    s.Context.PageNumber = number;
    s.Picture = std::make_unique<TPagePicture>();
    s.Painter = std::make_unique<QPainter>(s.Picture.get());
    s.Painter->setRenderHint(QPainter::Antialiasing);
    s.PageOpen = true;
    s.Y = s.MarginTop;

    // Fixed bands: page header on every page, the title once; neither moves nor splits.
    auto printFixed = [this, &s](TBandType type) {
        TReportBand *band = Band(type);
        if (!band || !band->Enabled)
            return;
        double height = LayoutBand(*band);
        if (band->BeforePrint) {
            TBandPrintEvent event{*band};
            event.Page = s.Context.PageNumber;
            event.CurrentY = PxToTenthMm(s.Y);
            event.BandHeight = PxToTenthMm(height);
            band->BeforePrint(event);
            if (!event.PrintBand)
                return;
            height = LayoutBand(*band);
        }
        PrintBandAt(*band, s.MarginLeft, s.Y);
        if (band->AfterPrint)
            band->AfterPrint({TBandPiece{s.Context.PageNumber, 1, QRectF(s.MarginLeft, s.Y, s.ContentWidth, height)}});
        s.Y += height;
    };
    printFixed(TBandType::PageHeader);
    if (number == 1)
        printFixed(TBandType::Title);

    double footer = 0;
    if (TReportBand *band = Band(TBandType::PageFooter); band && band->Enabled)
        footer = LayoutBand(*band);
    s.ColumnTop = s.Y;
    s.ColumnBottom = s.PaperHeight - s.MarginBottom - footer;
    s.Column = 0;
    s.ColumnFresh = true;
    s.PageFresh = true;
}

void TReport::ClosePage()
{
    TState &s = *FState;
    if (!s.PageOpen)
        return;
    if (TReportBand *band = Band(TBandType::PageFooter); band && band->Enabled) {
        bool print = true;
        if (band->BeforePrint) {
            TBandPrintEvent event{*band};
            event.Page = s.Context.PageNumber;
            event.CurrentY = PxToTenthMm(s.Y);
            band->BeforePrint(event);
            print = event.PrintBand;
        }
        if (print) {
            const double height = LayoutBand(*band);
            const double top = s.PaperHeight - s.MarginBottom - height;
            PrintBandAt(*band, s.MarginLeft, top);
            if (band->AfterPrint)
                band->AfterPrint(
                    {TBandPiece{s.Context.PageNumber, 1, QRectF(s.MarginLeft, top, s.ContentWidth, height)}});
        }
    }
    s.Painter->end();
    s.Painter.reset();
    s.Picture->setBoundingRect(QRect(0, 0, qRound(s.PaperWidth), qRound(s.PaperHeight)));
    FPrepared.AddPage(*s.Picture);
    s.Picture.reset();
    s.Deferred.append(s.PageDeferred);
    s.PageDeferred.clear();
    s.PageOpen = false;
    s.NewPages.append(FPrepared.PageCount());
}

void TReport::NextColumn()
{
    TState &s = *FState;
    if (s.Column + 1 < s.Columns) {
        ++s.Column;
        s.Y = s.ColumnTop;
        s.ColumnFresh = true;
        return;
    }
    ClosePage();
    OpenPage();
}

void TReport::PrintDetail(TReportBand &band)
{
    TState &s = *FState;
    double height = LayoutBand(band);
    if (band.BeforePrint) {
        TBandPrintEvent event{band};
        event.Page = s.Context.PageNumber;
        event.Column = s.Column + 1;
        event.CurrentY = PxToTenthMm(s.Y);
        event.BandHeight = PxToTenthMm(height);
        event.ColumnBottom = PxToTenthMm(s.ColumnBottom);
        band.BeforePrint(event);
        if (!event.PrintBand)
            return;
        height = LayoutBand(band);
        // Moving from where the band would start a column or page anyway gains nothing
        // and, asked again there, would never end.
        if (event.Move == TBandPrintEvent::TMove::NextColumn && !s.ColumnFresh) {
            NextColumn();
        } else if (event.Move == TBandPrintEvent::TMove::NextPage && !s.PageFresh) {
            ClosePage();
            OpenPage();
        }
    }
    // Keep the band whole: it goes on in the next column unless it already starts one.
    // A column without any room (a title filling the first page) is skipped too.
    for (int moves = 0; s.Running && (s.ColumnBottom - s.Y < 1 || (s.Y + height > s.ColumnBottom && !s.ColumnFresh));
         ++moves) {
        if (moves > s.Columns + 1) {
            Fail(QStringLiteral("The page has no room for the report's bands."));
            return;
        }
        NextColumn();
    }
    if (!s.Running)
        return;

    QList<TBandPiece> pieces;
    if (s.Y + height <= s.ColumnBottom) {
        PrintBandAt(band, s.ColumnLeft(), s.Y);
        pieces.append(
            TBandPiece{s.Context.PageNumber, s.Column + 1, QRectF(s.ColumnLeft(), s.Y, s.ColumnWidth, height)});
        s.Y += height;
    } else {
        // Taller than a whole column: printed in slices, cut between lines of text where possible.
        QList<double> breaks;
        for (const auto &element : band.Elements())
            if (element->Enabled)
                element->AddBreakPositions(breaks);
        std::sort(breaks.begin(), breaks.end());
        double offset = 0;
        int emptyColumns = 0;
        while (offset < height) {
            if (s.ColumnBottom - s.Y < 1) {
                if (++emptyColumns > s.Columns + 1) {
                    Fail(QStringLiteral("The page has no room for the report's bands."));
                    return;
                }
                NextColumn();
                if (!s.Running)
                    return;
                continue;
            }
            emptyColumns = 0;
            double end = offset + (s.ColumnBottom - s.Y);
            if (end < height) {
                auto after = std::upper_bound(breaks.begin(), breaks.end(), end);
                if (after != breaks.begin() && *(after - 1) > offset + 1)
                    end = *(after - 1);
            } else {
                end = height;
            }
            const double slice = end - offset;
            const QRectF area(s.ColumnLeft(), s.Y, s.ColumnWidth, slice);
            s.Painter->save();
            s.Painter->setClipRect(area);
            PrintBandAt(band, s.ColumnLeft(), s.Y - offset);
            s.Painter->restore();
            pieces.append(TBandPiece{s.Context.PageNumber, s.Column + 1, area});
            offset = end;
            if (offset < height) {
                NextColumn();
                if (!s.Running)
                    return;
            } else {
                s.Y += slice;
            }
        }
    }
    s.ColumnFresh = false;
    s.PageFresh = false;
    if (band.AfterPrint)
        band.AfterPrint(pieces);
}

void TReport::Finish()
{
    TState &s = *FState;
    ClosePage();
    const int total = FPrepared.PageCount();
    for (int i = 0; i < s.Deferred.size() && i < total; ++i) {
        if (s.Deferred.at(i).isEmpty())
            continue;
        TPagePicture composed;
        QPainter painter(&composed);
        painter.drawPicture(0, 0, FPrepared.Page(i));
        for (const TDeferredText &text : s.Deferred.at(i)) {
            painter.setFont(text.Font);
            painter.setPen(text.Color);
            painter.drawText(text.Rect, text.Flags, text.Text(total));
        }
        painter.end();
        composed.setBoundingRect(QRect(0, 0, qRound(s.PaperWidth), qRound(s.PaperHeight)));
        FPrepared.ReplacePage(i, composed);
    }
    FPrepared.Complete = true;
    s.Running = false;
}

void TReport::Fail(const QString &message)
{
    FLastError = message;
    if (!FState)
        return;
    FState->Running = false;
    FState->Failed = true;
    if (FState->Painter)
        FState->Painter->end();
    FPrepared.Complete = false;
}

bool TReport::PrepareStep(int budgetMs)
{
    if (!FState || !FState->Running)
        return false;
    if (FInStep)
        return true; // asked from inside a callback: the running step goes on
    FInStep = true;
    QElapsedTimer clock;
    clock.start();
    try {
        while (FState->Running) {
            if (!FState->PageOpen) {
                OpenPage();
            } else {
                bool more = false;
                if (NeedData)
                    more = NeedData();
                else
                    more = FState->FirstRequest;
                FState->FirstRequest = false;
                if (!more) {
                    Finish();
                    break;
                }
                ++FState->Records;
                if (TReportBand *detail = Band(TBandType::Detail); detail && detail->Enabled)
                    PrintDetail(*detail);
            }
            if (!FState->NewPages.isEmpty() || clock.elapsed() >= budgetMs)
                break;
        }
    } catch (const Exception &e) {
        Fail(e.Message());
    } catch (const std::exception &e) {
        Fail(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Fail(QStringLiteral("Preparing the report failed."));
    }
    FInStep = false;

    std::unique_ptr<TState> ended;
    const QList<int> pages = std::exchange(FState->NewPages, {});
    const bool running = FState->Running;
    const bool cancelled = FState->Failed && FLastError.isEmpty();
    const bool ok = !FState->Failed;
    int progress = FState->LastProgress;
    if (!running)
        progress = 100;
    else if (ExpectedRecords > 0)
        progress = std::min(99, int(qint64(FState->Records) * 100 / ExpectedRecords));
    const bool progressChanged = progress != FState->LastProgress;
    FState->LastProgress = progress;
    if (!running)
        ended = std::move(FState);

    // Receivers may delete the report.
    QPointer<TReport> self(this);
    if (cancelled)
        return false;
    for (int page : pages) {
        emit PageAvailable(page);
        if (!self)
            return false;
    }
    if (progressChanged && progress >= 0) {
        emit Progress(progress);
        if (!self)
            return false;
    }
    if (!running)
        emit Finished(ok);
    return running;
}

void TReport::Cancel()
{
    FTimer->stop();
    if (!FState)
        return;
    if (FInStep) {
        // Unwinds at the end of the running step; the empty error marks it as a cancel.
        FState->Running = false;
        FState->Failed = true;
        return;
    }
    if (FState->Painter)
        FState->Painter->end();
    FState.reset();
    FPrepared.Complete = false;
}

bool TReport::Prepare()
{
    if (FInStep) {
        FLastError = QStringLiteral("The report is being prepared already.");
        return false;
    }
    Cancel();
    if (!Start()) {
        emit Finished(false);
        return false;
    }
    while (PrepareStep(1000)) { }
    return FPrepared.Complete;
}

void TReport::PrepareAsync()
{
    if (FInStep)
        return;
    Cancel();
    if (!Start()) {
        // Announced from the event loop, like every other outcome of this call.
        QTimer::singleShot(0, this, [this]() { emit Finished(false); });
        return;
    }
    FTimer->start();
}

bool TReport::EnsurePrepared(QString *error)
{
    if (FInStep) {
        if (error)
            *error = QStringLiteral("The report is being prepared already.");
        return false;
    }
    if (IsPreparing()) {
        // Printing waits for the preparation under way instead of starting another.
        FTimer->stop();
        while (PrepareStep(1000)) { }
    } else if (!FPrepared.Complete) {
        Prepare();
    }
    if (!FPrepared.Complete) {
        if (error)
            *error = FLastError.isEmpty() ? QStringLiteral("The report was not prepared.") : FLastError;
        return false;
    }
    return true;
}

bool TReport::Print(QString *error)
{
    return EnsurePrepared(error) && FPrepared.Print(PrinterName, error);
}

bool TReport::Print(QPrinter &printer, QString *error)
{
    return EnsurePrepared(error) && FPrepared.Print(printer, error);
}

bool TReport::ExportPdf(const QString &fileName, QString *error)
{
    return EnsurePrepared(error) && FPrepared.ExportPdf(fileName, DocumentTitle, error);
}

QStringList TReport::Printers()
{
    return QPrinterInfo::availablePrinterNames();
}
