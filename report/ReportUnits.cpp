#include "report/ReportUnits.h"

#include <QFontMetricsF>

int TPagePicture::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return int(ReportDpi);
    default:
        return QPicture::metric(metric);
    }
}

QPaintDevice *ReportMeasureDevice()
{
    // One picture per thread: measuring touches the device's font cache.
    thread_local TPagePicture device;
    return &device;
}

double ReportTextWidth(const QFont &font, const QString &text)
{
    return QFontMetricsF(font, ReportMeasureDevice()).horizontalAdvance(text);
}

double ReportTextHeight(const QFont &font, const QString &text, double width)
{
    const QFontMetricsF metrics(font, ReportMeasureDevice());
    const QRectF needed = metrics.boundingRect(QRectF(0, 0, std::max(1.0, width), 1e6), Qt::AlignLeft | Qt::TextWordWrap, text);
    return std::max(metrics.height(), needed.height());
}

QImage NewReportImage(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(ReportDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    return image;
}
