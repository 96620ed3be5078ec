// The printed test read back from its PDF: the words pdftotext finds, each with its box,
// must stay apart, inside the page and clear of the header frame, whatever the teacher wrote.
#include "common/ModalWindows.h"
#include "common/PdfText.h"
#include "printing/TestReport.h"
#include "report/Preview.h"
#include "report/Report.h"
#include "report/ReportUnits.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QtTest>

using namespace Corvella;

namespace {

struct TWord {
    QString Text;
    QRectF Box; // points, from the page's top-left corner
};

struct TPdfPage {
    QSizeF Size;
    QList<TWord> Words;
};

QList<TPdfPage> PdfWords(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000))
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    QList<TPdfPage> pages;
    static const QRegularExpression tag(QStringLiteral(
        "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|"
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.append(TPdfPage{QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
        } else if (!pages.isEmpty()) {
            const QPointF topLeft(m.captured(3).toDouble(), m.captured(4).toDouble());
            const QPointF bottomRight(m.captured(5).toDouble(), m.captured(6).toDouble());
            pages.last().Words.append(
                TWord{QTextDocumentFragment::fromHtml(m.captured(7)).toPlainText(), QRectF(topLeft, bottomRight)});
        }
    }
    return pages;
}

QString PdfTitle(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    if (!process.waitForFinished(30000))
        return QStringLiteral("(pdfinfo did not finish)");
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Title:[ \\t]*(.*)$"), QRegularExpression::MultilineOption).match(info);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

// Text of a given length made of ordinary words.
QString Words(int length, const QString &start)
{
    static const QStringList vocabulary{
        QStringLiteral("answer"),    QStringLiteral("the"), QStringLiteral("questions"), QStringLiteral("below"),
        QStringLiteral("carefully"), QStringLiteral("and"), QStringLiteral("write"),     QStringLiteral("clearly"),
        QStringLiteral("in"),        QStringLiteral("ink")};
    QString text = start;
    for (int i = 0; text.size() < length; ++i)
        text += QLatin1Char(' ') + vocabulary.at(i % vocabulary.size());
    text.truncate(length);
    return text.trimmed() + QLatin1Char('.');
}

// One word of 80 characters with no place to break it (a pasted web address, say).
QString LongWord(QChar first)
{
    QString word(first);
    for (int i = 0; word.size() < 80; ++i)
        word += QChar(QLatin1Char('a' + i % 26));
    return word;
}

TReportEntry Choice(const QString &question, const QStringList &answers, const QString &correct)
{
    TReportObj record;
    record.Question = question;
    record.Answers = answers;
    record.CorrectAnswers = QStringList{correct};
    record.ClassName = QStringLiteral("TQARADIOGROUP");
    return {question, record};
}

TReportEntry Written(const QString &question, const QString &className, const QString &correct)
{
    TReportObj record;
    record.Question = question;
    record.CorrectAnswers = QStringList{correct};
    record.ClassName = className;
    return {question, record};
}

const QString TitleText = Words(100, QStringLiteral("Midterm examination on the chemistry of the elements"));
const QString InstructionsText = Words(300, QStringLiteral("Read every question twice before you answer;"));

TReportList Questions()
{
    const QString address = LongWord(QLatin1Char('H'));
    return {Choice(QStringLiteral("Which page explains it? ") + LongWord(QLatin1Char('Q')) +
                       QStringLiteral(" is the page."),
                   {address, QStringLiteral("none of them")}, address),
            Written(QStringLiteral("Copy the address ") + LongWord(QLatin1Char('S')), QStringLiteral("TQAMASKEDIT"),
                    LongWord(QLatin1Char('K'))),
            Written(Words(260, QStringLiteral("Explain")), QStringLiteral("TQARICHEDIT"),
                    Words(200, QStringLiteral("Because"))),
            Choice(QStringLiteral("Which colour is grass?"), {QStringLiteral("red"), QStringLiteral("green")},
                   QStringLiteral("green"))};
}

TPrintJob LongJob(int columns, bool key)
{
    TPrintJob job;
    job.TestID = QStringLiteral("3");
    job.TestTitle = TitleText;
    job.SubTitle = Words(90, QStringLiteral("Unit four and unit five"));
    job.Instructions = InstructionsText;
    job.Columns = columns;
    job.AnswerKey = key;
    job.ClassName = QStringLiteral("Chemistry 2B");
    job.Teacher = QStringLiteral("Ms. Okonkwo-Lindqvist");
    job.Chapter = QStringLiteral("12");
    return job;
}

// How much two boxes overlap, in points; a hair is not an overprint.
bool Overlap(const QRectF &a, const QRectF &b)
{
    constexpr double hair = 0.3;
    const QRectF both = a & b;
    return both.width() > hair && both.height() > hair;
}

QString Describe(const TWord &word)
{
    return QStringLiteral("\"%1\" at %2,%3-%4,%5")
        .arg(word.Text)
        .arg(word.Box.left(), 0, 'f', 1)
        .arg(word.Box.top(), 0, 'f', 1)
        .arg(word.Box.right(), 0, 'f', 1)
        .arg(word.Box.bottom(), 0, 'f', 1);
}

constexpr double PtPerPx = 72.0 / 96.0;

} // namespace

class TestPrintoutLayout : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Dir;

private slots:
    void init()
    {
        TNvPrintPreview::Reset();
        TDialogSeam::BeginScript();
    }

    void cleanup()
    {
        const bool closed = CloseModalWindows();
        TDialogSeam::EndScript();
        QVERIFY2(closed, "a modal window refused to close");
    }

    void nothingOverprints_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("key");
        for (int columns = 1; columns <= 3; ++columns) {
            QTest::addRow("%d columns", columns) << columns << false;
            QTest::addRow("%d columns, key", columns) << columns << true;
        }
    }

    // A long title, subtitle and instructions grow the header box; an unbreakable word
    // is broken at the column edge; no two words share any room and all stay on the page.
    void nothingOverprints()
    {
        REQUIRE_PDF_READER();
        QFETCH(int, columns);
        QFETCH(bool, key);
        TForm_Report report;
        report.Records = Questions();
        report.SetJob(LongJob(columns, key));
        const QString pdf = Dir.filePath(QStringLiteral("long-%1-%2.pdf").arg(columns).arg(key));
        QString error;
        QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));

        const QList<TPdfPage> pages = PdfWords(pdf);
        QVERIFY(!pages.isEmpty());
        QString all;
        for (const TPdfPage &page : pages) {
            const QRectF paper(QPointF(0, 0), page.Size);
            for (int i = 0; i < page.Words.size(); ++i) {
                const TWord &word = page.Words.at(i);
                all += word.Text;
                QVERIFY2(paper.contains(word.Box), qPrintable(QStringLiteral("off the page: ") + Describe(word)));
                for (int j = i + 1; j < page.Words.size(); ++j)
                    QVERIFY2(!Overlap(word.Box, page.Words.at(j).Box),
                             qPrintable(Describe(word) + QStringLiteral(" overprints ") + Describe(page.Words.at(j))));
            }
        }
        // Nothing was lost on the way: every character of the long words is printed.
        all.remove(QLatin1Char(' '));
        for (QChar first : {QLatin1Char('Q'), QLatin1Char('H'), QLatin1Char('S')})
            QVERIFY2(all.contains(LongWord(first)), qPrintable(LongWord(first)));
        QCOMPARE(all.contains(LongWord(QLatin1Char('K'))), key);
        QVERIFY(all.contains(QString(TitleText).remove(QLatin1Char(' '))));
        QVERIFY(all.contains(QString(InstructionsText).remove(QLatin1Char(' '))));

        // The frame holds the whole header, and its lines cross no word.
        const QRectF frame = report.QRShape1->PrintRect().translated(MmToPx(12.7), MmToPx(12.7));
        const QRectF inner = QRectF(frame.topLeft() * PtPerPx, frame.bottomRight() * PtPerPx).adjusted(2, 2, -2, -2);
        const QRectF outer = QRectF(frame.topLeft() * PtPerPx, frame.bottomRight() * PtPerPx);
        bool questionsBelow = false;
        for (const TWord &word : pages.first().Words) {
            QVERIFY2(inner.contains(word.Box) || !outer.intersects(word.Box),
                     qPrintable(QStringLiteral("the frame strikes ") + Describe(word)));
            if (word.Text == QLatin1String("1.")) {
                QVERIFY2(word.Box.top() > outer.bottom(), qPrintable(Describe(word)));
                questionsBelow = true;
            }
        }
        QVERIFY(questionsBelow);
        for (const QString &start : {QStringLiteral("Midterm"), QStringLiteral("Unit"), QStringLiteral("Read"),
                                     QStringLiteral("Chemistry"), QStringLiteral("Instructions:")}) {
            const auto found = std::find_if(pages.first().Words.begin(), pages.first().Words.end(),
                                            [&](const TWord &w) { return w.Text == start; });
            QVERIFY2(found != pages.first().Words.end() && inner.contains(found->Box), qPrintable(start));
        }

        // In several columns no question word reaches over into the next column.
        if (columns > 1) {
            const double columnWidth = 720.0 / columns;
            const double footerTop = (MmToPx(279.4 - 12.7) - 22) * PtPerPx;
            for (const TPdfPage &page : pages)
                for (const TWord &word : page.Words) {
                    // The header and the page footer span the page.
                    if ((word.Box.top() <= outer.bottom() && &page == &pages.first()) || word.Box.top() >= footerTop)
                        continue;
                    for (int c = 1; c < columns; ++c) {
                        const double edge = (MmToPx(12.7) + c * columnWidth) * PtPerPx;
                        QVERIFY2(!(word.Box.left() < edge - 0.3 && word.Box.right() > edge + 0.3),
                                 qPrintable(QStringLiteral("across a column edge: ") + Describe(word)));
                    }
                }
        }
    }

    // Past question 999 the number is wider than its place; it still keeps clear of its text.
    void fourDigitNumbers()
    {
        REQUIRE_PDF_READER();
        TForm_Report report;
        for (int i = 0; i < 1010; ++i)
            report.Records.append(
                Written(QStringLiteral("Name it."), QStringLiteral("TQAMASKEDIT"), QStringLiteral("x")));
        report.SetJob(LongJob(3, false));
        report.QuickRep->MaxPages = 100000;
        const QString pdf = Dir.filePath(QStringLiteral("numbers.pdf"));
        QString error;
        QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));
        const QList<TPdfPage> pages = PdfWords(pdf);
        QVERIFY(pages.size() > 1);
        const TPdfPage &last = pages.last();
        QVERIFY(std::any_of(last.Words.begin(), last.Words.end(),
                            [](const TWord &w) { return w.Text == QLatin1String("1010."); }));
        for (int i = 0; i < last.Words.size(); ++i)
            for (int j = i + 1; j < last.Words.size(); ++j)
                QVERIFY2(!Overlap(last.Words.at(i).Box, last.Words.at(j).Box),
                         qPrintable(Describe(last.Words.at(i)) + QStringLiteral(" overprints ") +
                                    Describe(last.Words.at(j))));
    }

    // The PDF names its test, as a print job does: the key says that it is the key.
    void documentTitle_data()
    {
        QTest::addColumn<bool>("key");
        QTest::addColumn<QString>("title");
        QTest::newRow("copy") << false << "Rivers of Europe";
        QTest::newRow("key") << true << "Rivers of Europe (Key)";
    }

    void documentTitle()
    {
        REQUIRE_PDF_READER();
        QFETCH(bool, key);
        QFETCH(QString, title);
        TPrintJob job = LongJob(2, key);
        job.TestTitle = QStringLiteral("Rivers of Europe");

        TForm_Report report;
        report.Records = Questions();
        report.SetJob(job);
        const QString exported = Dir.filePath(QStringLiteral("exported-%1.pdf").arg(key));
        QString error;
        QVERIFY2(report.ExportPdf(exported, &error), qPrintable(error));
        QCOMPARE(PdfTitle(exported), title);

        // Exported from the preview window.
        TForm_Report previewed;
        previewed.Records = Questions();
        previewed.SetJob(job);
        std::unique_ptr<TForm_Preview> window(TQRMDIPreviewInterface::CreateWindow(*previewed.QuickRep, nullptr));
        QVERIFY(QTest::qWaitFor([&]() { return window->PreparationFinished(); }, 20000));
        const QString fromPreview = Dir.filePath(QStringLiteral("preview-%1.pdf").arg(key));
        TDialogSeam::SetNextAnswer(ResultOK, fromPreview);
        window->ToolButton_ExportPdfClick();
        QCOMPARE(PdfTitle(fromPreview), title);

        // Printed (to a file, through the scripted print dialog).
        const QString printed = Dir.filePath(QStringLiteral("printed-%1.pdf").arg(key));
        TDialogSeam::SetNextAnswer(ResultOK, printed);
        QVERIFY(report.Print());
        QCOMPARE(PdfTitle(printed), title);
    }

    // What the help says of Printer Setup holds for the button the preview shows.
    void helpOnPrinterSetup()
    {
        QFile page(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Help/HelpCorvella.htm"));
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
        const QString text =
            QTextDocumentFragment::fromHtml(QString::fromUtf8(page.readAll())).toPlainText().simplified();
        TForm_Preview window(nullptr);
        QVERIFY(!window.ToolButton_PrintSetup->isEnabled());
        const QStringList sentences = text.split(QRegularExpression(QStringLiteral("(?<=[.:;])\\s")));
        int mentions = 0;
        for (const QString &sentence : sentences) {
            if (!sentence.contains(QStringLiteral("Printer Setup")))
                continue;
            ++mentions;
            QVERIFY2(!sentence.contains(QStringLiteral("chooses")), qPrintable(sentence));
            QVERIFY2(sentence.contains(QStringLiteral("greyed out")), qPrintable(sentence));
        }
        QCOMPARE(mentions, 1);
        QVERIFY(text.contains(QStringLiteral("If no printer is installed")));
    }
};

QTEST_MAIN(TestPrintoutLayout)
#include "tst_printoutlayout.moc"
