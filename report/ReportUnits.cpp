#include "report/ReportUnits.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>

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
    QTextLayout layout(ReportWrapText(text), font, ReportMeasureDevice());
    return LayoutWrappedText(layout, width, Qt::AlignLeft);
}

QString ReportWrapText(const QString &text)
{
    QString wrapped = text;
    wrapped.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    wrapped.replace(QLatin1Char('\r'), QChar::LineSeparator);
    wrapped.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return wrapped;
}

double LayoutWrappedText(QTextLayout &layout, double width, Qt::Alignment horizontal)
{
    QTextOption option(horizontal & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const QFontMetricsF metrics(layout.font(), ReportMeasureDevice());
    // Lines on whole pixels, spaced as QPainter::drawText spaces them.
    const double leading = metrics.leading();
    double height = -leading;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1.0, width));
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return std::max(metrics.height(), height);
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
