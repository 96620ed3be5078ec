#pragma once

#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPicture>

class QTextLayout;

// Report geometry is laid out in pixels at 96 per inch, measured from the paper's
// top-left corner. Everything that measures or records text does it at 96 dpi, so a
// page lays out the same way on every machine whatever its screen says.
constexpr double ReportDpi = 96.0;

inline double MmToPx(double mm)
{
    return mm * ReportDpi / 25.4;
}
inline double PxToMm(double px)
{
    return px * 25.4 / ReportDpi;
}
// Tenths of a millimetre, the unit of the vertical position handed to band hooks.
inline int PxToTenthMm(double px)
{
    return qRound(px * 254.0 / ReportDpi);
}

// A recorded page. Reports its resolution as 96 dpi so that fonts given in points are
// measured while recording exactly as they are resolved when the page is played back.
class TPagePicture : public QPicture {
public:
    TPagePicture() = default;
    TPagePicture(const QPicture &other) : QPicture(other) { }

protected:
    int metric(PaintDeviceMetric metric) const override;
};

// The device every measurement of text (label wrapping, rich-text layout) is made on.
QPaintDevice *ReportMeasureDevice();

// Width of a text on one line, in report pixels (what a label of that font needs).
double ReportTextWidth(const QFont &font, const QString &text);
// Height of a text wrapped at a width, in report pixels (what a word-wrapping label needs).
double ReportTextHeight(const QFont &font, const QString &text, double width);
// Lays a text out in lines no wider than width, as wrapping labels print it: broken
// between words, and inside a word that alone is wider than a line, so nothing runs
// past the width. The layout holds the text (ReportWrapText of it) and its font, made
// on ReportMeasureDevice(). Returns the height the lines take.
double LayoutWrappedText(QTextLayout &layout, double width, Qt::Alignment horizontal);
// A label's text as a text layout takes it: line breaks become line separators.
QString ReportWrapText(const QString &text);

// A white image of the given size whose resolution is the report's 96 dpi.
QImage NewReportImage(const QSize &size);
