#include "common/PdfText.h"
#include "report/Report.h"
#include "report/ReportUnits.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Letter at 96 per inch with half-inch margins.
constexpr double PaperHeight = 1056, Margin = 48, ContentWidth = 720;
constexpr int TitleHeight = 98, FooterHeight = 22, DetailHeight = 50;
// Where the footer's marker square sits on every page.
const QRect FooterMarker(int(Margin) + 2, int(PaperHeight - Margin - FooterHeight) + 4, 10, 10);

struct TPlaced {
    int Record;
    QList<TBandPiece> Pieces;
};

// A report like the printouts: title, footer with "Page" and the number, and a detail
// band per record whose label names the record.
struct TSample {
    TReport Report;
    TReportBand *Title = nullptr;
    TReportBand *Detail = nullptr;
    TReportBand *Footer = nullptr;
    TReportLabel *RecordLabel = nullptr;
    int Records = 0;
    int Next = 0;
    QList<TPlaced> Placed;

    explicit TSample(int records, int columns = 1) : Records(records)
    {
        Report.SetColumns(columns);
        Title = Report.AddBand(TBandType::Title, TitleHeight);
        Title->AddShape("Frame", 1, 1, 718, 88)->PenWidth = 2;
        Title->AddLabel("Heading", 9, 3, "Sample heading");
        Footer = Report.AddBand(TBandType::PageFooter, FooterHeight);
        TReportShape *marker = Footer->AddShape("Marker", 2, 4, 10, 10);
        marker->BrushColor = Qt::black;
        Footer->AddLabel("PageText", 324, 5, "Page");
        Footer->AddSysData("PageNumber", 357, 5, TSysDataKind::PageNumber);
        Detail = Report.AddBand(TBandType::Detail, DetailHeight);
        RecordLabel = Detail->AddLabel("Number", 2, 1);
        Report.NeedData = [this]() {
            if (Next >= Records)
                return false;
            ++Next;
            RecordLabel->Caption = QStringLiteral("Record %1").arg(Next, 3, 10, QLatin1Char('0'));
            return true;
        };
        Detail->AfterPrint = [this](const QList<TBandPiece> &pieces) { Placed.append({Next, pieces}); };
    }
};

bool HasInk(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

// Leftmost and rightmost dark columns within a strip of rows.
QPair<int, int> InkSpan(const QImage &image, int top, int bottom)
{
    int left = image.width(), right = -1;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

QByteArray SavedBytes(const TPreparedReport &prepared)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    prepared.Write(buffer, nullptr);
    return buffer.data();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private:
    QTemporaryDir FDir;

private slots:
    void initTestCase()
    {
        SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
        QVERIFY(FDir.isValid());
    }

    // --- page flow ---

    void pagesAndColumns_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("pages");
        // Page 1 holds 16 bands of 50 below the title, later pages 18.
        QTest::newRow("one column, two and a half pages") << 1 << 43 << 3;
        QTest::newRow("one column, page exactly full") << 1 << 16 << 1;
        QTest::newRow("one column, one band over") << 1 << 17 << 2;
        QTest::newRow("two columns") << 2 << 43 << 2;
        QTest::newRow("three columns, two and a half pages") << 3 << 48 + 54 + 27 << 3;
        QTest::newRow("no records") << 2 << 0 << 1;
    }

    void pagesAndColumns()
    {
        QFETCH(int, columns);
        QFETCH(int, records);
        QFETCH(int, pages);
        TSample sample(records, columns);
        QVERIFY2(sample.Report.Prepare(), qPrintable(sample.Report.LastError()));
        QCOMPARE(sample.Report.Prepared().PageCount(), pages);
        QVERIFY(sample.Report.Prepared().Complete);
        QCOMPARE(sample.Placed.size(), records);

        const double columnWidth = ContentWidth / columns;
        const double bottom = PaperHeight - Margin - FooterHeight;
        for (int i = 0; i < sample.Placed.size(); ++i) {
            const TPlaced &placed = sample.Placed.at(i);
            QCOMPARE(placed.Record, i + 1);
            QCOMPARE(placed.Pieces.size(), 1);
            const TBandPiece &piece = placed.Pieces.first();
            const double top = piece.Page == 1 ? Margin + TitleHeight : Margin;
            QCOMPARE(piece.Rect.left(), Margin + (piece.Column - 1) * columnWidth);
            QCOMPARE(piece.Rect.height(), double(DetailHeight));
            QVERIFY(piece.Rect.top() >= top - 0.01);
            QVERIFY(piece.Rect.bottom() <= bottom + 0.01);
            if (i == 0) {
                QCOMPARE(piece.Page, 1);
                QCOMPARE(piece.Column, 1);
                QCOMPARE(piece.Rect.top(), top);
                continue;
            }
            const TBandPiece &before = sample.Placed.at(i - 1).Pieces.first();
            if (piece.Page == before.Page && piece.Column == before.Column) {
                QCOMPARE(piece.Rect.top(), before.Rect.bottom()); // down the column, no gaps
            } else {
                // A new column only when the band did not fit below the previous one,
                // down column 1, then column 2, then the next page.
                QVERIFY(before.Rect.bottom() + DetailHeight > bottom);
                const bool nextColumn = piece.Page == before.Page && piece.Column == before.Column + 1;
                const bool nextPage = piece.Page == before.Page + 1 && piece.Column == 1 && before.Column == columns;
                QVERIFY2(nextColumn || nextPage, qPrintable(QStringLiteral("record %1").arg(i + 1)));
                QCOMPARE(piece.Rect.top(), top);
            }
        }
    }

    void footerAndTitle()
    {
        TSample sample(43);
        QVERIFY(sample.Report.Prepare());
        const TPreparedReport &prepared = sample.Report.Prepared();
        QCOMPARE(prepared.PageCount(), 3);
        QCOMPARE(prepared.PaperPixels(), QSize(816, 1056));
        for (int page = 0; page < prepared.PageCount(); ++page) {
            const QImage image = prepared.RenderPage(page);
            QVERIFY2(HasInk(image, FooterMarker.adjusted(3, 3, -3, -3)),
                     qPrintable(QStringLiteral("footer on page %1").arg(page + 1)));
            // The title frame's top edge only on the first page.
            QCOMPARE(HasInk(image, QRect(300, int(Margin) + 1, 100, 2)), page == 0);
        }

        // The date of printing in the short date format, the footer's page numbers per page.
        REQUIRE_PDF_READER();
        sample.Title->AddSysData("Printed", 623, 45, TSysDataKind::Date)->Text = "Printed ";
        sample.Next = 0;
        const QString pdf = FDir.filePath("footer.pdf");
        QString error;
        sample.Report.Prepared().Clear();
        QVERIFY2(sample.Report.ExportPdf(pdf, &error), qPrintable(error));
        QVERIFY(PdfText(pdf, 1).contains("Printed " + QDate::currentDate().toString("dd/MM/yyyy")));
        for (int page = 1; page <= 3; ++page)
            QVERIFY(PdfText(pdf, page).contains(
                QRegularExpression(QStringLiteral("Page\\s+%1\\s*$").arg(page), QRegularExpression::MultilineOption)));
    }

    void pageHeader()
    {
        TSample sample(43);
        TReportBand *header = sample.Report.AddBand(TBandType::PageHeader, 30);
        header->AddShape("Marker", 700, 5, 10, 10)->BrushColor = Qt::black;
        QVERIFY(sample.Report.Prepare());
        const int pages = sample.Report.Prepared().PageCount();
        QVERIFY(pages >= 3);
        for (int page = 0; page < pages; ++page)
            QVERIFY(HasInk(sample.Report.Prepared().RenderPage(page), QRect(int(Margin) + 703, int(Margin) + 8, 4, 4)));
        // Header first, then the title on page 1; the header alone above the columns later.
        QCOMPARE(sample.Placed.first().Pieces.first().Rect.top(), Margin + 30 + TitleHeight);
        for (const TPlaced &placed : sample.Placed)
            if (placed.Pieces.first().Page == 2) {
                QCOMPARE(placed.Pieces.first().Rect.top(), Margin + 30);
                break;
            }
    }

    void drawsOnAnyResolution()
    {
        // A device that is not 96 dpi (a screen, say) shows the page as the report laid it out.
        TSample sample(10);
        QVERIFY(sample.Report.Prepare());
        const TPreparedReport &prepared = sample.Report.Prepared();
        QImage image(prepared.PaperPixels() * 2, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(192 / 0.0254));
        image.setDotsPerMeterY(qRound(192 / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(2, 2);
        prepared.DrawPage(painter, 0);
        painter.end();
        const QImage expected = prepared.RenderPage(0, 2.0);
        int differing = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                differing += std::abs(qGray(image.pixel(x, y)) - qGray(expected.pixel(x, y))) > 64;
        QVERIFY2(differing < 50, qPrintable(QString::number(differing)));
    }

    // --- the before-print hook ---

    void beforePrintHook_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("rule");
        QTest::newRow("keep-whole, one column") << 1 << "keepwhole";
        QTest::newRow("keep-whole, two columns") << 2 << "keepwhole";
        QTest::newRow("always next column") << 2 << "column";
        QTest::newRow("always next page") << 3 << "page";
        QTest::newRow("suppress even records") << 2 << "suppress";
    }

    void beforePrintHook()
    {
        QFETCH(int, columns);
        QFETCH(QString, rule);
        TSample sample(40, columns);
        QList<int> seenY;
        sample.Detail->BeforePrint = [&](TBandPrintEvent &event) {
            QCOMPARE(event.CurrentY, sample.Report.CurrentY());
            seenY.append(event.CurrentY);
            if (rule == "keepwhole" && event.CurrentY > 2225 && event.CurrentY < 4000)
                event.NewColumn();
            else if (rule == "column")
                event.NewColumn();
            else if (rule == "page")
                event.NewPage();
            else if (rule == "suppress" && sample.Next % 2 == 0)
                event.PrintBand = false;
        };
        QVERIFY2(sample.Report.Prepare(), qPrintable(sample.Report.LastError()));
        QCOMPARE(seenY.size(), 40);

        if (rule == "keepwhole") {
            QCOMPARE(sample.Placed.size(), 40);
            int moved = 0;
            for (const TPlaced &placed : sample.Placed) {
                const TBandPiece &piece = placed.Pieces.first();
                QVERIFY2(PxToTenthMm(piece.Rect.top()) <= 2225,
                         qPrintable(QStringLiteral("record %1").arg(placed.Record)));
                if (seenY.at(placed.Record - 1) > 2225) {
                    ++moved;
                    QCOMPARE(piece.Rect.top(), piece.Page == 1 ? Margin + TitleHeight : Margin);
                }
            }
            QVERIFY(moved > 0);
        } else if (rule == "column" || rule == "page") {
            // One band per column (or page); a band that already starts one is not moved again.
            QCOMPARE(sample.Placed.size(), 40);
            QSet<QPair<int, int>> cells;
            for (const TPlaced &placed : sample.Placed)
                cells.insert({placed.Pieces.first().Page, rule == "page" ? 1 : placed.Pieces.first().Column});
            QCOMPARE(cells.size(), 40);
            QCOMPARE(sample.Report.Prepared().PageCount(), rule == "page" ? 40 : 20);
        } else {
            QCOMPARE(sample.Placed.size(), 20);
            for (int i = 1; i < sample.Placed.size(); ++i) {
                QCOMPARE(sample.Placed.at(i).Record, 2 * i + 1);
                const TBandPiece &a = sample.Placed.at(i - 1).Pieces.first();
                const TBandPiece &b = sample.Placed.at(i).Pieces.first();
                if (a.Page == b.Page && a.Column == b.Column)
                    QCOMPARE(b.Rect.top(), a.Rect.bottom()); // a suppressed band takes no room
            }
        }
    }

    // --- stretching ---

    void stretchingContent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("rich text") << "rich";
        QTest::newRow("wrapped label") << "label";
    }

    void stretchingContent()
    {
        QFETCH(QString, kind);
        TSample sample(3, 2);
        TReportRichText *rich = sample.Detail->AddRichText("Answers", 40, 20, 313, 20);
        TReportLabel *question = sample.Detail->AddLabel("Question", 28, 1);
        question->Width = 300;
        question->Height = 16;
        question->WordWrap = true;
        question->AutoSize = false;
        question->AutoStretch = true;
        // A text document's lines are as high as the font.
        const double lineSpacing = QFontMetricsF(sample.Report.Font, ReportMeasureDevice()).height();
        const QStringList tenLines{"A.  one", "B.  two",   "C.  three", "D.  four", "E.  five",
                                   "F.  six", "G.  seven", "H.  eight", "I.  nine", "J.  ten"};
        QString longText;
        for (int i = 0; i < 40; ++i)
            longText += "word ";
        sample.Detail->BeforePrint = [&](TBandPrintEvent &) {
            const bool tall = sample.Next == 2;
            if (kind == "rich") {
                rich->SetPlainText(tall ? tenLines.join('\n') : "A.  one");
                question->Caption = "Q";
            } else {
                rich->Clear();
                question->Caption = tall ? longText : "Q";
            }
        };
        QVERIFY(sample.Report.Prepare());
        QCOMPARE(sample.Placed.size(), 3);
        const QRectF first = sample.Placed.at(0).Pieces.first().Rect;
        const QRectF second = sample.Placed.at(1).Pieces.first().Rect;
        const QRectF third = sample.Placed.at(2).Pieces.first().Rect;
        QCOMPARE(first.height(), double(DetailHeight));
        QCOMPARE(third.height(), double(DetailHeight));
        QCOMPARE(second.top(), first.bottom());
        QCOMPARE(third.top(), second.bottom());
        if (kind == "rich") {
            // Grown by the nine extra lines; the 10 pixels below the element stay.
            QVERIFY2(std::abs(second.height() - (20 + 10 * lineSpacing + 10)) <= 3,
                     qPrintable(QString::number(second.height())));
            const QImage image = sample.Report.Prepared().RenderPage(0);
            QVERIFY(HasInk(image, QRect(int(second.left()) + 40, int(second.top() + 20 + 9 * lineSpacing), 40,
                                        int(lineSpacing) - 2)));
        } else {
            // 40 words of five characters do not fit on one line of 300 pixels.
            QVERIFY(second.height() > DetailHeight + lineSpacing);
            const double needed = QFontMetricsF(question->Font, ReportMeasureDevice())
                                      .boundingRect(QRectF(0, 0, 300, 1e6), Qt::TextWordWrap, longText)
                                      .height();
            QCOMPARE(second.height(), std::ceil(needed) + 1 + (DetailHeight - 17));
        }
    }

    void bandTallerThanPage()
    {
        // A long transcript in one band goes on over pages, cut between lines, nothing lost.
        TReport report;
        report.AddBand(TBandType::Title, TitleHeight)->AddLabel("Heading", 9, 3, "Transcript");
        report.AddBand(TBandType::PageFooter, FooterHeight)
            ->AddSysData("Pages", 300, 5, TSysDataKind::PageNumberOfTotal);
        TReportBand *detail = report.AddBand(TBandType::Detail, 143);
        TReportRichText *rich = detail->AddRichText("Transcript", 8, 8, 700, 121);
        QStringList lines;
        for (int i = 1; i <= 200; ++i)
            lines << QStringLiteral("Line %1 answer").arg(i, 3, 10, QLatin1Char('0'));
        rich->SetPlainText(lines.join('\n'));
        QList<TBandPiece> pieces;
        detail->AfterPrint = [&](const QList<TBandPiece> &p) { pieces = p; };
        QVERIFY2(report.Prepare(), qPrintable(report.LastError()));
        QVERIFY(report.Prepared().PageCount() >= 3);
        QCOMPARE(pieces.size(), report.Prepared().PageCount());
        for (int i = 0; i < pieces.size(); ++i) {
            QCOMPARE(pieces.at(i).Page, i + 1);
            QVERIFY(pieces.at(i).Rect.bottom() <= PaperHeight - Margin - FooterHeight + 0.01);
        }

        REQUIRE_PDF_READER();
        const QString pdf = FDir.filePath("transcript.pdf");
        QString error;
        QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));
        const QString text = PdfText(pdf);
        for (const QString &line : lines)
            QVERIFY2(text.count(line) == 1, qPrintable(line));
        const int pages = report.Prepared().PageCount();
        QVERIFY(PdfText(pdf, pages).contains(QStringLiteral("Page %1 of %1").arg(pages)));
        QVERIFY(PdfText(pdf, 1).contains(QStringLiteral("Page 1 of %1").arg(pages)));
    }

    void labelAlignment_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<int>("edge"); // -1 left edge at the label's left, 1 right edge at its right, 0 centred
        QTest::newRow("left") << int(TReportAlign::Left) << false << -1;
        QTest::newRow("right") << int(TReportAlign::Right) << false << 1;
        QTest::newRow("centre") << int(TReportAlign::Center) << false << 0;
        QTest::newRow("right, auto-size") << int(TReportAlign::Right) << true << 1;
        QTest::newRow("centre, auto-size") << int(TReportAlign::Center) << true << 0;
    }

    void labelAlignment()
    {
        QFETCH(int, alignment);
        QFETCH(bool, autoSize);
        QFETCH(int, edge);
        TReport report;
        TReportBand *title = report.AddBand(TBandType::Title, 40);
        TReportLabel *label = title->AddLabel("Teacher", 504, 10, "Instructor: Smith");
        label->Width = 208;
        label->Height = 15;
        label->Alignment = TReportAlign(alignment);
        label->AutoSize = autoSize;
        QVERIFY(report.Prepare());
        const QImage image = report.Prepared().RenderPage(0);
        const auto [left, right] = InkSpan(image, int(Margin) + 10, int(Margin) + 25);
        QVERIFY(right > left);
        const int labelLeft = int(Margin) + 504, labelRight = labelLeft + 208;
        if (edge < 0)
            QVERIFY2(std::abs(left - labelLeft) <= 2, qPrintable(QString::number(left)));
        else if (edge > 0)
            QVERIFY2(std::abs(right - labelRight) <= 3, qPrintable(QString::number(right)));
        else
            QVERIFY2(std::abs((left + right) / 2 - (labelLeft + labelRight) / 2) <= 3,
                     qPrintable(QString::number(left)));
    }

    // --- preparing in steps ---

    void preparesInStepsWithoutBlocking()
    {
        TSample sample(300, 2);
        sample.Report.ExpectedRecords = 300;
        QList<QString> events;
        QList<int> progress;
        connect(&sample.Report, &TReport::PageAvailable, this,
                [&](int page) { events << QStringLiteral("page %1").arg(page); });
        connect(&sample.Report, &TReport::Progress, this, [&](int percent) { progress << percent; });
        connect(&sample.Report, &TReport::Finished, this, [&](bool ok) { events << (ok ? "done" : "failed"); });
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&]() { ++ticks; });
        ticker.start(0);
        sample.Report.PrepareAsync();
        QVERIFY(sample.Report.IsPreparing());
        QTRY_VERIFY_WITH_TIMEOUT(events.contains("done") || events.contains("failed"), 20000);
        QCOMPARE(events.last(), QString("done"));
        QCOMPARE(events.first(), QString("page 1"));
        QVERIFY(ticks > 1); // the event loop kept running between steps
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.last(), 100);

        const int pages = sample.Report.Prepared().PageCount();
        QCOMPARE(events.size(), pages + 1);
        TSample again(300, 2);
        QVERIFY(again.Report.Prepare());
        QCOMPARE(again.Report.Prepared().PageCount(), pages);
        for (int i = 0; i < pages; ++i)
            QCOMPARE(sample.Report.Prepared().RenderPage(i), again.Report.Prepared().RenderPage(i));
    }

    void preparationFaults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("need-data throws") << "throw";
        QTest::newRow("need-data never ends") << "runaway";
        QTest::newRow("cancelled after the first page") << "cancel";
        QTest::newRow("cancelled inside need-data") << "cancel inside";
        QTest::newRow("report deleted by a receiver") << "delete";
        QTest::newRow("print asked while preparing") << "print";
    }

    void preparationFaults()
    {
        QFETCH(QString, fault);
        auto sample = std::make_unique<TSample>(200);
        TReport &report = sample->Report;
        if (fault == "throw" || fault == "runaway")
            report.MaxPages = 5;
        if (fault == "throw") {
            report.NeedData = [&]() -> bool {
                if (sample->Next++ == 30)
                    throw Exception("The question could not be read.");
                return true;
            };
        } else if (fault == "runaway") {
            report.NeedData = []() { return true; };
        }
        bool finished = false, ok = false;
        connect(&report, &TReport::Finished, this, [&](bool result) {
            finished = true;
            ok = result;
        });
        if (fault == "delete")
            connect(&report, &TReport::PageAvailable, this, [&](int) { sample.reset(); });
        if (fault == "cancel")
            connect(&report, &TReport::PageAvailable, this, [&](int) { report.Cancel(); });
        if (fault == "cancel inside") {
            auto feed = report.NeedData;
            report.NeedData = [&report, feed, &sample]() {
                if (sample->Next == 20)
                    report.Cancel();
                return feed();
            };
        }

        report.PrepareAsync();
        if (fault.startsWith("cancel")) {
            QTRY_VERIFY(!report.IsPreparing());
            QTest::qWait(50);
            QVERIFY(sample->Placed.size() < 200);
            QVERIFY(!finished);
            QVERIFY(!report.Prepared().Complete);
            QString error;
            QVERIFY(!report.Prepared().Save(FDir.filePath("partial.qrp"), &error));
            QVERIFY(!QFile::exists(FDir.filePath("partial.qrp")));
            return;
        }
        if (fault == "delete") {
            QTRY_VERIFY(!sample);
            QTest::qWait(50);
            return;
        }
        if (fault == "print") {
            // Printing waits for the preparation under way rather than starting a second one.
            QTRY_VERIFY(report.Prepared().PageCount() >= 1);
            report.MaxPages = 100;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(FDir.filePath("during.pdf"));
            QString error;
            QVERIFY2(report.Print(printer, &error), qPrintable(error));
            QVERIFY(finished && ok);
            QCOMPARE(sample->Placed.size(), 200);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(finished, 20000);
        QVERIFY(!ok);
        QVERIFY(!report.IsPreparing());
        QVERIFY(!report.Prepared().Complete);
        if (fault == "throw")
            QCOMPARE(report.LastError(), QString("The question could not be read."));
        else
            QVERIFY(report.LastError().contains("more than 5 pages"));
        // The synchronous path reports the same way.
        sample->Next = 0;
        QVERIFY(!report.Prepare());
        QVERIFY(!report.LastError().isEmpty());

        // A title that fills the first page sends the records to the next one.
        TSample tall(5, 2);
        tall.Title->Height = 1000;
        QVERIFY2(tall.Report.Prepare(), qPrintable(tall.Report.LastError()));
        QCOMPARE(tall.Report.Prepared().PageCount(), 2);
        QCOMPARE(tall.Placed.size(), 5);
        QCOMPARE(tall.Placed.first().Pieces.first().Page, 2);
        QCOMPARE(tall.Placed.first().Pieces.first().Rect.top(), Margin);
    }

    void pageWithoutRoom()
    {
        TReport report;
        report.AddBand(TBandType::PageHeader, 600);
        report.AddBand(TBandType::PageFooter, 500);
        report.AddBand(TBandType::Detail, 20);
        QVERIFY(!report.Prepare());
        QVERIFY(!report.LastError().isEmpty());

        // A title that fills the first page sends the records to the next one.
        TSample tall(5, 2);
        tall.Title->Height = 1000;
        QVERIFY2(tall.Report.Prepare(), qPrintable(tall.Report.LastError()));
        QCOMPARE(tall.Report.Prepared().PageCount(), 2);
        QCOMPARE(tall.Placed.size(), 5);
        QCOMPARE(tall.Placed.first().Pieces.first().Page, 2);
        QCOMPARE(tall.Placed.first().Pieces.first().Rect.top(), Margin);
    }

    // --- saved reports ---

    void saveAndLoad()
    {
        TSample sample(43, 2);
        sample.Title->AddSysData("Printed", 623, 45, TSysDataKind::Date);
        sample.Footer->AddSysData("Counter", 500, 5, TSysDataKind::PageNumberOfTotal);
        sample.Detail->AddRichText("Answers", 40, 20, 313, 10)->SetHtml("<b>A.</b>  red<br><u>B.  green</u>");
        sample.Detail->Height = 80;
        QVERIFY(sample.Report.Prepare());
        const TPreparedReport &prepared = sample.Report.Prepared();
        QVERIFY(prepared.PageCount() >= 2);

        const QString file = FDir.filePath("sample.QRP");
        QString error;
        QVERIFY2(prepared.Save(file, &error), qPrintable(error));
        TPreparedReport loaded;
        loaded.PaperSizeMm = QSizeF(100, 100);
        QVERIFY2(loaded.Load(file, &error), qPrintable(error));
        QVERIFY(loaded.Complete);
        QCOMPARE(loaded.PageCount(), prepared.PageCount());
        QCOMPARE(loaded.PaperSizeMm, prepared.PaperSizeMm);
        for (int i = 0; i < prepared.PageCount(); ++i) {
            const QImage original = prepared.RenderPage(i, 0.75);
            QVERIFY(HasInk(original, QRect(0, 0, original.width(), original.height())));
            QCOMPARE(loaded.RenderPage(i, 0.75), original);
        }
        // Saved again, the same bytes.
        QCOMPARE(SavedBytes(loaded), SavedBytes(prepared));

        // A landscape page keeps its size through the file as well.
        TReport wide;
        wide.Page.PaperMm = QSizeF(279.4, 215.9);
        wide.AddBand(TBandType::Title, 30)->AddLabel("Wide", 10, 10, "Wide page");
        QVERIFY(wide.Prepare());
        QVERIFY(wide.Prepared().Save(file, &error));
        QVERIFY(loaded.Load(file, &error));
        QCOMPARE(loaded.PaperPixels(), QSize(1056, 816));
    }

    void refusesDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        TSample sample(20);
        sample.Report.Prepare();
        const QByteArray good = SavedBytes(sample.Report.Prepared());
        QVERIFY(good.size() > 200);
        // Layout: magic 8, version 2, paper width 8, height 8, page count 4, then per page length 4 and data.
        auto patched = [&](int offset, const QByteArray &bytes) {
            QByteArray copy = good;
            copy.replace(offset, bytes.size(), bytes);
            return copy;
        };
        QTest::newRow("empty file") << QByteArray() << "not a saved report";
        QTest::newRow("plain text") << QByteArray("object QAMaskEdit1: TQAMaskEdit\nend\n") << "not a saved report";
        QTest::newRow("magic only") << good.left(8) << "damaged";
        QTest::newRow("header cut") << good.left(20) << "damaged";
        QTest::newRow("page cut") << good.left(good.size() - 17) << "damaged";
        QTest::newRow("last byte missing") << good.chopped(1) << "damaged";
        QTest::newRow("bytes after the last page") << good + "xyz"
                                                   << "damaged";
        QTest::newRow("newer version") << patched(8, QByteArray::fromHex("0063")) << "newer version";
        QTest::newRow("version zero") << patched(8, QByteArray::fromHex("0000")) << "damaged";
        QTest::newRow("zero paper width") << patched(10, QByteArray(8, '\0')) << "damaged";
        QTest::newRow("huge page count") << patched(26, QByteArray::fromHex("fffffff0")) << "damaged";
        QTest::newRow("huge page length") << patched(30, QByteArray::fromHex("7ffffff0")) << "damaged";
        QByteArray flipped = good;
        flipped[60] = char(flipped[60] ^ 0x5a);
        QTest::newRow("picture data altered") << flipped << "damaged";
    }

    void refusesDamagedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString file = FDir.filePath("damaged.QRP");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(content);
        out.close();

        TSample sample(5);
        QVERIFY(sample.Report.Prepare());
        TPreparedReport prepared = sample.Report.Prepared();
        const QImage before = prepared.RenderPage(0);
        QString error;
        if (QByteArray(QTest::currentDataTag()) == "picture data altered")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("checksum"));
        QVERIFY(!prepared.Load(file, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(error.contains(file));
        // What was shown stays.
        QCOMPARE(prepared.PageCount(), 1);
        QVERIFY(prepared.Complete);
        QCOMPARE(prepared.RenderPage(0), before);

        QVERIFY(!prepared.Load(FDir.filePath("missing.QRP"), &error));
        QVERIFY(error.contains("missing.QRP"));
    }

    void randomDamage()
    {
        // Any damage is either refused or, where it leaves the file sound, read; never a crash.
        TSample sample(20, 2);
        QVERIFY(sample.Report.Prepare());
        const QByteArray good = SavedBytes(sample.Report.Prepared());
        QRandomGenerator random(4711);
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        int refused = 0;
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes = good;
            if (round % 3 == 0)
                bytes.truncate(random.bounded(good.size()));
            else
                for (int flips = 1 + random.bounded(3); flips > 0; --flips)
                    bytes[random.bounded(bytes.size())] = char(random.bounded(256));
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            TPreparedReport prepared;
            QString error;
            if (prepared.Read(buffer, &error)) {
                for (int i = 0; i < prepared.PageCount(); ++i)
                    prepared.RenderPage(i, 0.25);
            } else {
                ++refused;
                QVERIFY(!error.isEmpty());
                QCOMPARE(prepared.PageCount(), 0);
            }
        }
        qInstallMessageHandler(previous);
        QVERIFY(refused > 250);
    }

    void saveFailureKeepsExistingFile()
    {
        const QString file = FDir.filePath("keep.QRP");
        TSample sample(5);
        QVERIFY(sample.Report.Prepare());
        QString error;
        QVERIFY(sample.Report.Prepared().Save(file, &error));
        const QByteArray saved = SavedBytes(sample.Report.Prepared());

        TPreparedReport incomplete = sample.Report.Prepared();
        incomplete.Complete = false;
        QVERIFY(!incomplete.Save(file, &error));
        QVERIFY(error.contains("being prepared"));
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), saved);

        QVERIFY(!sample.Report.Prepared().Save(FDir.filePath("no/such/folder/x.QRP"), &error));
        QVERIFY(!error.isEmpty());
    }

    // --- output ---

    void pdfOutput()
    {
        REQUIRE_PDF_READER();
        TSample sample(43);
        sample.Report.DocumentTitle = "Rivers of Europe";
        sample.Title->FindElement("Heading")->Enabled = false;
        TReportLabel *heading = sample.Title->AddLabel("TestTitle", 9, 3, "Rivers of Europe");
        heading->Font = QFont("Arial", 12, QFont::Bold);
        const QString pdf = FDir.filePath("rivers.pdf");
        QString error;
        QVERIFY2(sample.Report.ExportPdf(pdf, &error), qPrintable(error));
        const QString all = PdfText(pdf);
        QCOMPARE(all.count('\f'), 3);
        QVERIFY(PdfText(pdf, 1).contains("Rivers of Europe"));
        QVERIFY(!PdfText(pdf, 2).contains("Rivers of Europe"));
        for (int record = 1; record <= 43; ++record)
            QCOMPARE(all.count(QStringLiteral("Record %1").arg(record, 3, 10, QLatin1Char('0'))), 1);
        QVERIFY(PdfText(pdf, 2).contains("Record 017"));

        QProcess info;
        info.start("pdfinfo", {pdf});
        QVERIFY(info.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains("612 x 792 pts"));

        // Through a printer object with a page range: only page 2.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(FDir.filePath("range.pdf"));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 2);
        QVERIFY2(sample.Report.Print(printer, &error), qPrintable(error));
        QCOMPARE(printer.resolution(), 1200); // given back as it was
        const QString range = PdfText(FDir.filePath("range.pdf"));
        QCOMPARE(range.count('\f'), 1);
        QVERIFY(range.contains("Record 017"));
        QVERIFY(!range.contains("Record 001"));

        // An export that cannot be written leaves no half file and says so.
        QVERIFY(!sample.Report.ExportPdf(FDir.filePath("no/such/folder/x.pdf"), &error));
        QVERIFY(!error.isEmpty());
    }

    void printerByName()
    {
        TSample sample(3);
        sample.Report.PrinterName = "No Such Printer 4711";
        QString error;
        QVERIFY(!sample.Report.Print(&error));
        QVERIFY2(error.contains("\"No Such Printer 4711\""), qPrintable(error));
        QVERIFY(sample.Report.Prepared().Complete); // prepared on the way, printing refused
        QVERIFY(!TReport::Printers().contains(sample.Report.PrinterName));
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
