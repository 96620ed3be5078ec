#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QTextDocument;
class QTextLayout;

enum class TReportAlign { Left, Center, Right };

// What the elements of a band may ask about the print under way.
struct TPrintContext {
    int PageNumber = 1;
    QDateTime PrintedAt;
};

// A text whose content is known only when every page is prepared ("Page 2 of 7"); the
// engine draws it onto its page at the end.
struct TDeferredText {
    QRectF Rect; // paper pixels
    QFont Font;
    QColor Color;
    int Flags = 0;
    std::function<QString(int pageCount)> Text;
};

// One printable element of a band. Positions and sizes are pixels at 96 per inch
// relative to the band's top-left corner. Layout() runs before every print and fixes
// the rectangle the element takes this time (auto-size, stretching).
class TReportElement {
public:
    explicit TReportElement(QString name) : Name(std::move(name)) { }
    virtual ~TReportElement() = default;
    TReportElement(const TReportElement &) = delete;
    TReportElement &operator=(const TReportElement &) = delete;

    QString Name;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Enabled = true;

    virtual void Layout(const TPrintContext &context);
    // Band coordinates, valid after Layout().
    const QRectF &PrintRect() const { return FPrintRect; }
    virtual void Print(QPainter &painter, const TPrintContext &context) const = 0;
    // Band offsets between lines, where a band taller than a page may be cut.
    virtual void AddBreakPositions(QList<double> &) const { }
    // Set when the element's text waits for the page count (drawn at the end instead).
    virtual bool Deferred() const { return false; }
    virtual TDeferredText DeferredText(const QPointF &, const TPrintContext &) const { return {}; }

protected:
    QRectF FPrintRect;
};

class TReportLabel : public TReportElement {
public:
    explicit TReportLabel(QString name);
    ~TReportLabel() override;

    QString Caption;
    QFont Font;
    QColor Color = Qt::black;
    TReportAlign Alignment = TReportAlign::Left;
    bool WordWrap = false;
    // Width follows the text (single-line labels); alignment says which edge stays put.
    bool AutoSize = true;
    // Height grows to every wrapped line.
    bool AutoStretch = false;

    void Layout(const TPrintContext &context) override;
    void Print(QPainter &painter, const TPrintContext &context) const override;
    void AddBreakPositions(QList<double> &positions) const override;

protected:
    int TextFlags() const;
    QRectF TextRect(const QString &text);

private:
    // The wrapped lines of the last layout (word-wrapping labels only).
    std::unique_ptr<QTextLayout> FWrapped;
};

enum class TShapeKind { Rectangle, HorzLine, VertLine };

class TReportShape : public TReportElement {
public:
    using TReportElement::TReportElement;

    TShapeKind Shape = TShapeKind::Rectangle;
    int PenWidth = 1;
    QColor PenColor = Qt::black;
    QColor BrushColor = Qt::transparent;

    void Print(QPainter &painter, const TPrintContext &context) const override;
};

// Rich text printed through a text document; with AutoStretch (the default) the
// element, and so its band, grows to the whole content.
class TReportRichText : public TReportElement {
public:
    explicit TReportRichText(QString name);
    ~TReportRichText() override;

    QFont Font; // for text without a font of its own
    bool AutoStretch = true;
    double DocumentMargin = 0;

    void SetHtml(const QString &html);
    void SetPlainText(const QString &text);
    // Copies the content of another document (an editor's, say).
    void SetDocument(const QTextDocument &document);
    void Clear();
    QTextDocument &Document() { return *FDocument; }
    const QTextDocument &Document() const { return *FDocument; }

    void Layout(const TPrintContext &context) override;
    void Print(QPainter &painter, const TPrintContext &context) const override;
    void AddBreakPositions(QList<double> &positions) const override;

private:
    std::unique_ptr<QTextDocument> FDocument;
};

enum class TSysDataKind { Date, Time, DateTime, PageNumber, PageCount, PageNumberOfTotal };

// System data: the date of printing, the page number and the like, after the prefix
// Text. The date is written in the short date format.
class TReportSysData : public TReportLabel {
public:
    using TReportLabel::TReportLabel;

    TSysDataKind Data = TSysDataKind::Date;
    QString Text;

    QString Value(const TPrintContext &context, int pageCount) const;

    void Layout(const TPrintContext &context) override;
    void Print(QPainter &painter, const TPrintContext &context) const override;
    bool Deferred() const override;
    TDeferredText DeferredText(const QPointF &bandOrigin, const TPrintContext &context) const override;
};
