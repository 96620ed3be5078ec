#include "report/PreparedReport.h"

#include "report/ReportUnits.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include <cmath>

namespace {

const char FileMagic[8] = {'\x89', 'Q', 'R', 'P', '\r', '\n', '\x1a', '\n'};

// Larger than any paper in use, small enough to catch garbage.
constexpr double MaxPaperMm = 5000.0;
constexpr quint32 MaxPageBytes = 256u * 1024 * 1024;

QPageLayout PaperLayout(const QSizeF &paperMm)
{
    const bool landscape = paperMm.width() > paperMm.height();
    const QSizeF portrait = landscape ? paperMm.transposed() : paperMm;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

void SetError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

QPicture TPreparedReport::Page(int index) const
{
    return index >= 0 && index < FPages.size() ? FPages.at(index) : QPicture();
}

void TPreparedReport::ReplacePage(int index, const QPicture &page)
{
    if (index >= 0 && index < FPages.size())
        FPages[index] = page;
}

void TPreparedReport::Clear()
{
    FPages.clear();
    Complete = false;
}

QSize TPreparedReport::PaperPixels() const
{
    return QSize(qRound(MmToPx(PaperSizeMm.width())), qRound(MmToPx(PaperSizeMm.height())));
}

QImage TPreparedReport::RenderPage(int index, double scale) const
{
    if (!(scale > 0) || scale > 20)
        scale = 1.0;
    const QSize size = PaperPixels();
    QImage image = NewReportImage(QSize(qCeil(size.width() * scale), qCeil(size.height() * scale)));
    if (index < 0 || index >= FPages.size())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    painter.drawPicture(0, 0, FPages.at(index));
    return image;
}

void TPreparedReport::DrawPage(QPainter &painter, int index) const
{
    if (index < 0 || index >= FPages.size())
        return;
    const QPaintDevice *device = painter.device();
    if (device && device->logicalDpiX() == int(ReportDpi) && device->logicalDpiY() == int(ReportDpi)) {
        painter.drawPicture(0, 0, FPages.at(index));
        return;
    }
    // Resolve the picture at the device's effective scale, then place it in paper pixels.
    const QTransform transform = painter.combinedTransform();
    const double scale = std::max(0.05, std::min(8.0, std::sqrt(std::abs(transform.determinant()))));
    const QImage image = RenderPage(index, scale);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(PaperPixels())), image);
}

bool TPreparedReport::Print(QPrinter &printer, QString *error) const
{
    if (FPages.isEmpty()) {
        SetError(error, QStringLiteral("The report has no pages to print."));
        return false;
    }
    int first = 0;
    int last = int(FPages.size()) - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage() - 1);
        last = std::min(last, std::max(printer.toPage(), printer.fromPage()) - 1);
        if (first > last) {
            SetError(error, QStringLiteral("The report has no pages in the chosen range."));
            return false;
        }
    }
    const int oldResolution = printer.resolution();
    const bool oldFullPage = printer.fullPage();
    printer.setFullPage(true);
    printer.setPageLayout(PaperLayout(PaperSizeMm));
    printer.setResolution(int(ReportDpi));
    bool ok = false;
    {
        QPainter painter;
        if (painter.begin(&printer)) {
            for (int i = first; i <= last; ++i) {
                if (i > first && !printer.newPage())
                    break;
                DrawPage(painter, i);
                ok = i == last;
            }
            painter.end();
        }
    }
    printer.setResolution(oldResolution);
    printer.setFullPage(oldFullPage);
    if (!ok) {
        const QString target = printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
        SetError(error, target.isEmpty() ? QStringLiteral("No printer is installed.")
                                         : QStringLiteral("Printing on \"%1\" could not be started.").arg(target));
    }
    return ok;
}

bool TPreparedReport::Print(const QString &printerName, QString *error) const
{
    const QPrinterInfo info = printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                    : QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        SetError(error, printerName.isEmpty()
                            ? QStringLiteral("No printer is installed.")
                            : QStringLiteral("The printer \"%1\" is not installed.").arg(printerName));
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    return Print(printer, error);
}

bool TPreparedReport::ExportPdf(const QString &fileName, const QString &title, QString *error) const
{
    if (FPages.isEmpty()) {
        SetError(error, QStringLiteral("The report has no pages."));
        return false;
    }
    // Written beside the target first, so a failed export leaves an existing file alone.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Corvella"));
        writer.setPageLayout(PaperLayout(PaperSizeMm));
        writer.setResolution(int(ReportDpi));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            SetError(error, QStringLiteral("Cannot write \"%1\".").arg(fileName));
            return false;
        }
        for (int i = 0; i < FPages.size(); ++i) {
            if (i > 0)
                writer.newPage();
            DrawPage(painter, i);
        }
        painter.end();
    }
    if (!file.commit()) {
        SetError(error, QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
        return false;
    }
    return true;
}

bool TPreparedReport::Write(QIODevice &device, QString *error) const
{
    if (!Complete) {
        SetError(error, QStringLiteral("The report is still being prepared."));
        return false;
    }
    QDataStream out(&device);
    out.setVersion(QDataStream::Qt_6_0);
    out.writeRawData(FileMagic, sizeof FileMagic);
    out << FileVersion << PaperSizeMm.width() << PaperSizeMm.height() << quint32(FPages.size());
    for (const QPicture &page : FPages) {
        out << quint32(page.size());
        out.writeRawData(page.data(), int(page.size()));
    }
    if (out.status() != QDataStream::Ok) {
        SetError(error, device.errorString());
        return false;
    }
    return true;
}

bool TPreparedReport::Read(QIODevice &device, QString *error)
{
    const QString notReport = QStringLiteral("This is not a saved report.");
    const QString damaged = QStringLiteral("The saved report is damaged or incomplete.");
    QDataStream in(&device);
    in.setVersion(QDataStream::Qt_6_0);
    char magic[sizeof FileMagic];
    if (in.readRawData(magic, sizeof magic) != int(sizeof magic) || memcmp(magic, FileMagic, sizeof magic) != 0) {
        SetError(error, notReport);
        return false;
    }
    quint16 version = 0;
    double width = 0, height = 0;
    quint32 count = 0;
    in >> version;
    if (in.status() == QDataStream::Ok && version > FileVersion) {
        SetError(error, QStringLiteral("The saved report was written by a newer version of the program."));
        return false;
    }
    in >> width >> height >> count;
    if (in.status() != QDataStream::Ok || version == 0) {
        SetError(error, damaged);
        return false;
    }
    if (!(width > 0 && width <= MaxPaperMm && height > 0 && height <= MaxPaperMm)) {
        SetError(error, damaged);
        return false;
    }
    const qint64 remaining = device.size() - device.pos();
    if (!device.isSequential() && qint64(count) * 4 > remaining) {
        SetError(error, damaged);
        return false;
    }
    QList<QPicture> pages;
    for (quint32 i = 0; i < count; ++i) {
        quint32 length = 0;
        in >> length;
        if (in.status() != QDataStream::Ok || length > MaxPageBytes ||
            (!device.isSequential() && qint64(length) > device.size() - device.pos())) {
            SetError(error, damaged);
            return false;
        }
        QByteArray data(qsizetype(length), Qt::Uninitialized);
        if (in.readRawData(data.data(), int(length)) != int(length)) {
            SetError(error, damaged);
            return false;
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        TPagePicture page;
        if (!page.load(&buffer)) {
            SetError(error, damaged);
            return false;
        }
        pages.append(page);
    }
    if (!device.atEnd()) {
        SetError(error, damaged);
        return false;
    }
    FPages = pages;
    PaperSizeMm = QSizeF(width, height);
    Complete = true;
    return true;
}

bool TPreparedReport::Save(const QString &fileName, QString *error) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
        return false;
    }
    QString writeError;
    if (!Write(file, &writeError)) {
        file.cancelWriting();
        SetError(error, writeError.isEmpty() ? QStringLiteral("Cannot write \"%1\".").arg(fileName) : writeError);
        return false;
    }
    if (!file.commit()) {
        SetError(error, QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
        return false;
    }
    return true;
}

bool TPreparedReport::Load(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, QStringLiteral("Cannot open \"%1\": %2").arg(fileName, file.errorString()));
        return false;
    }
    QString readError;
    if (!Read(file, &readError)) {
        SetError(error, QStringLiteral("\"%1\": %2").arg(fileName, readError));
        return false;
    }
    return true;
}
