#include "report/ReportElements.h"

#include "report/ReportUnits.h"
#include "toolkit/Convert.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace {

Qt::Alignment HorizontalFlag(TReportAlign alignment)
{
    switch (alignment) {
    case TReportAlign::Center:
        return Qt::AlignHCenter;
    case TReportAlign::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

QFont DefaultReportFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8);
    return font;
}

} // namespace

void TReportElement::Layout(const TPrintContext &)
{
    FPrintRect = QRectF(Left, Top, Width, Height);
}

// --- labels ---

TReportLabel::TReportLabel(QString name) : TReportElement(std::move(name))
{
}

TReportLabel::~TReportLabel() = default;

int TReportLabel::TextFlags() const
{
    // Text is never clipped: a line that does not fit is better printed too low than lost.
    int flags = int(HorizontalFlag(Alignment)) | Qt::AlignTop | Qt::TextDontClip;
    if (WordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

QRectF TReportLabel::TextRect(const QString &text)
{
    const QFontMetricsF metrics(Font, ReportMeasureDevice());
    if (WordWrap) {
        // Laid out once here and printed from the same lines, so what is measured is what prints.
        const double width = std::max(1, Width);
        FWrapped = std::make_unique<QTextLayout>(ReportWrapText(text), Font, ReportMeasureDevice());
        const double needed = std::ceil(LayoutWrappedText(*FWrapped, width, HorizontalFlag(Alignment)));
        double height = Height > 0 ? Height : std::ceil(metrics.height());
        if (AutoStretch || Height <= 0)
            height = std::max(height, needed);
        return QRectF(Left, Top, width, height);
    }
    FWrapped.reset();
    double left = Left;
    double width = Width;
    if (AutoSize) {
        width = std::ceil(
            metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), TextFlags() & ~Qt::AlignHorizontal_Mask, text).width());
        if (Width > 0 && Alignment == TReportAlign::Right)
            left = Left + Width - width;
        else if (Width > 0 && Alignment == TReportAlign::Center)
            left = Left + (Width - width) / 2;
    }
    double height = Height;
    if (height <= 0) {
        height = metrics.height();
        if (AutoSize)
            height = std::max(
                height, metrics.boundingRect(QRectF(0, 0, std::max(width, 1.0), 1e6), TextFlags(), text).height());
        height = std::ceil(height);
    }
    return QRectF(left, Top, width, height);
}

void TReportLabel::Layout(const TPrintContext &)
{
    FPrintRect = TextRect(Caption);
}

void TReportLabel::Print(QPainter &painter, const TPrintContext &) const
{
    painter.setFont(Font);
    painter.setPen(Color);
    if (FWrapped)
        FWrapped->draw(&painter, FPrintRect.topLeft());
    else
        painter.drawText(FPrintRect, TextFlags(), Caption);
}

void TReportLabel::AddBreakPositions(QList<double> &positions) const
{
    if (!FWrapped)
        return;
    for (int i = 1; i < FWrapped->lineCount(); ++i)
        positions.append(FPrintRect.top() + FWrapped->lineAt(i).y());
}

// --- shapes ---

void TReportShape::Print(QPainter &painter, const TPrintContext &) const
{
    const QRectF r = FPrintRect;
    QPen pen(PenColor, PenWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(PenWidth > 0 ? pen : QPen(Qt::NoPen));
    painter.setBrush(BrushColor.alpha() > 0 ? QBrush(BrushColor) : QBrush(Qt::NoBrush));
    switch (Shape) {
    case TShapeKind::Rectangle: {
        // The stroke lies inside the element's bounds.
        const double inset = PenWidth / 2.0;
        painter.drawRect(r.adjusted(inset, inset, -inset, -inset));
        break;
    }
    case TShapeKind::HorzLine: {
        const double y = r.top() + r.height() / 2;
        painter.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        break;
    }
    case TShapeKind::VertLine: {
        const double x = r.left() + r.width() / 2;
        painter.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        break;
    }
    }
    painter.setBrush(Qt::NoBrush);
}

// --- rich text ---

TReportRichText::TReportRichText(QString name)
    : TReportElement(std::move(name)), Font(DefaultReportFont()), FDocument(std::make_unique<QTextDocument>())
{
    FDocument->documentLayout()->setPaintDevice(ReportMeasureDevice());
    FDocument->setUndoRedoEnabled(false);
}

TReportRichText::~TReportRichText() = default;

void TReportRichText::SetHtml(const QString &html)
{
    FDocument->setHtml(html);
}

void TReportRichText::SetPlainText(const QString &text)
{
    FDocument->setPlainText(text);
}

void TReportRichText::SetDocument(const QTextDocument &document)
{
    // A clone keeps the formats; the layout must stay on the report's measuring device.
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setParent(nullptr);
    copy->documentLayout()->setPaintDevice(ReportMeasureDevice());
    copy->setUndoRedoEnabled(false);
    FDocument = std::move(copy);
}

void TReportRichText::Clear()
{
    FDocument->clear();
}

void TReportRichText::Layout(const TPrintContext &)
{
    // Each change throws the layout away; most records leave these as they were.
    if (FDocument->defaultFont() != Font)
        FDocument->setDefaultFont(Font);
    if (FDocument->documentMargin() != DocumentMargin)
        FDocument->setDocumentMargin(DocumentMargin);
    if (FDocument->textWidth() != std::max(1, Width))
        FDocument->setTextWidth(std::max(1, Width));
    double height = Height;
    if (AutoStretch)
        height = std::max(height, std::ceil(FDocument->size().height()));
    FPrintRect = QRectF(Left, Top, Width, height);
}

void TReportRichText::Print(QPainter &painter, const TPrintContext &) const
{
    painter.save();
    painter.translate(FPrintRect.topLeft());
    QRectF visible(0, 0, FPrintRect.width(), FPrintRect.height());
    if (painter.hasClipping())
        visible &= painter.clipBoundingRect();
    if (visible.isEmpty()) {
        painter.restore();
        return;
    }
    painter.setClipRect(visible, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black); // not the screen's theme
    // Lines that only touch the visible part belong to the neighbouring slice of a cut band.
    context.clip = visible.adjusted(0, 0.5, 0, -0.5);
    FDocument->documentLayout()->draw(&painter, context);
    painter.restore();
}

void TReportRichText::AddBreakPositions(QList<double> &positions) const
{
    for (QTextBlock block = FDocument->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (!layout)
            continue;
        const double blockTop = FDocument->documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const double y = FPrintRect.top() + blockTop + layout->lineAt(i).y();
            if (y > FPrintRect.top())
                positions.append(y);
        }
    }
}

// --- system data ---

namespace {

QString SysDataValue(TSysDataKind kind, const QString &prefix, const TPrintContext &context, int pageCount)
{
    QString value;
    switch (kind) {
    case TSysDataKind::Date:
        value = DateToStr(context.PrintedAt.date());
        break;
    case TSysDataKind::Time:
        value = context.PrintedAt.time().toString(QStringLiteral("HH:mm"));
        break;
    case TSysDataKind::DateTime:
        value = DateToStr(context.PrintedAt.date()) + QLatin1Char(' ') +
                context.PrintedAt.time().toString(QStringLiteral("HH:mm"));
        break;
    case TSysDataKind::PageNumber:
        value = QString::number(context.PageNumber);
        break;
    case TSysDataKind::PageCount:
        value = QString::number(pageCount);
        break;
    case TSysDataKind::PageNumberOfTotal:
        value = QStringLiteral("Page %1 of %2").arg(context.PageNumber).arg(pageCount);
        break;
    }
    return prefix + value;
}

} // namespace

QString TReportSysData::Value(const TPrintContext &context, int pageCount) const
{
    return SysDataValue(Data, Text, context, pageCount);
}

bool TReportSysData::Deferred() const
{
    return Data == TSysDataKind::PageCount || Data == TSysDataKind::PageNumberOfTotal;
}

void TReportSysData::Layout(const TPrintContext &context)
{
    // A page count is not known yet; room is kept for four digits.
    Caption = Value(context, 9999);
    TReportLabel::Layout(context);
}

void TReportSysData::Print(QPainter &painter, const TPrintContext &context) const
{
    if (!Deferred())
        TReportLabel::Print(painter, context);
}

TDeferredText TReportSysData::DeferredText(const QPointF &bandOrigin, const TPrintContext &context) const
{
    TDeferredText deferred;
    deferred.Rect = FPrintRect.translated(bandOrigin);
    deferred.Font = Font;
    deferred.Color = Color;
    deferred.Flags = TextFlags();
    deferred.Text = [kind = Data, prefix = Text, context](int pageCount) {
        return SysDataValue(kind, prefix, context, pageCount);
    };
    return deferred;
}
