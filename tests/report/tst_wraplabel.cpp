// Word-wrapping labels: a word wider than the label is broken at its edge, ordinary
// words are kept whole, and what is measured is what prints.
#include "common/PdfText.h"
#include "report/Report.h"
#include "report/ReportUnits.h"

#include <QFontMetricsF>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool HasInk(const QImage &image, const QRect &area)
{
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

QString LongWord()
{
    QString word;
    for (int i = 0; i < 80; ++i)
        word += QChar(QLatin1Char('a' + i % 26));
    return word;
}

} // namespace

class TestWrapLabel : public QObject {
    Q_OBJECT

private slots:
    void longWordBreaksAtTheEdge_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << int(TReportAlign::Left);
        QTest::newRow("centred") << int(TReportAlign::Center);
        QTest::newRow("right") << int(TReportAlign::Right);
    }

    void longWordBreaksAtTheEdge()
    {
        QFETCH(int, alignment);
        TReport report;
        TReportBand *detail = report.AddBand(TBandType::Detail, 20);
        TReportLabel *label = detail->AddLabel(QStringLiteral("Long"), 100, 1, LongWord());
        label->Width = 120;
        label->Height = 16;
        label->WordWrap = true;
        label->AutoSize = false;
        label->AutoStretch = true;
        label->Alignment = TReportAlign(alignment);
        QVERIFY(report.Prepare());

        const double line = QFontMetricsF(label->Font, ReportMeasureDevice()).height();
        const double width = ReportTextWidth(label->Font, LongWord());
        QVERIFY(width > 3 * 120);
        // All of it is there, line under line, and the band grew to hold it.
        QVERIFY2(label->PrintRect().height() >= std::floor(width / 120) * line,
                 qPrintable(QString::number(label->PrintRect().height())));
        QCOMPARE(label->PrintRect().height(), std::ceil(ReportTextHeight(label->Font, LongWord(), 120)));
        const QImage page = report.Prepared().RenderPage(0);
        const int margin = qRound(MmToPx(12.7));
        const QRect area(margin + 100, margin + 1, 120, int(label->PrintRect().height()));
        QVERIFY(HasInk(page, QRect(area.left(), area.bottom() - int(line), area.width(), int(line))));
        // Nothing beyond the label's edges.
        QVERIFY(!HasInk(page, QRect(area.right() + 2, margin, 400, area.height() + 4)));
        QVERIFY(!HasInk(page, QRect(margin, margin, 100 - 2, area.height() + 4)));
    }

    void ordinaryWordsStayWhole()
    {
        REQUIRE_PDF_READER();
        TReport report;
        TReportBand *detail = report.AddBand(TBandType::Detail, 20);
        TReportLabel *label =
            detail->AddLabel(QStringLiteral("Words"), 10, 1, QStringLiteral("alphabet alphabet alphabet\nsoup"));
        label->Width = int(std::ceil(ReportTextWidth(label->Font, QStringLiteral("alphabet alphabet")))) + 4;
        label->WordWrap = true;
        label->AutoSize = false;
        label->AutoStretch = true;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("words.pdf"));
        QString error;
        QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));
        // Two words to the first line, the third on the next, the line break kept.
        const double line = QFontMetricsF(label->Font, ReportMeasureDevice()).height();
        const double height = label->PrintRect().height();
        QVERIFY2(height > 2.5 * line && height < 3.5 * line,
                 qPrintable(QStringLiteral("%1 for lines of %2").arg(height).arg(line)));
        QCOMPARE(height, std::ceil(ReportTextHeight(label->Font, label->Caption, label->Width)));
        const QStringList lines = PdfText(pdf).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList texts;
        for (const QString &l : lines)
            if (!l.trimmed().isEmpty() && l.trimmed() != QStringLiteral("\f"))
                texts.append(l.simplified());
        QCOMPARE(texts, (QStringList{QStringLiteral("alphabet alphabet"), QStringLiteral("alphabet"),
                                     QStringLiteral("soup")}));
    }
};

QTEST_MAIN(TestWrapLabel)
#include "tst_wraplabel.moc"
