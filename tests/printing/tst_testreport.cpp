#include "common/ModalWindows.h"
#include "common/PdfText.h"
#include "common/TestDatabase.h"
#include "printing/ChoosePrint.h"
#include "printing/TestReport.h"
#include "question/QuestionControls.h"
#include "report/Preview.h"
#include "report/Report.h"
#include "report/ReportUnits.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace Corvella;

namespace {

TReportEntry Choice(const QString &question, const QStringList &answers, const QStringList &correct,
                    const QString &className = QStringLiteral("TQARADIOGROUP"))
{
    TReportObj record;
    record.Question = question;
    record.Answers = answers;
    record.CorrectAnswers = correct;
    record.ClassName = className;
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

// All six kinds, one each.
TReportList SixKinds()
{
    return {Choice(QStringLiteral("Which colour is grass?"),
                   {QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")}, {QStringLiteral("green")},
                   QStringLiteral("TQARADIOGROUP")),
            Choice(QStringLiteral("Pick the primes."), {QStringLiteral("4"), QStringLiteral("7"), QStringLiteral("11")},
                   {QStringLiteral("7"), QStringLiteral("11")}, QStringLiteral("TQALISTBOX")),
            Choice(QStringLiteral("Largest planet?"), {QStringLiteral("Mars"), QStringLiteral("Jupiter")},
                   {QStringLiteral("Jupiter")}, QStringLiteral("TQACOMBOBOX")),
            Written(QStringLiteral("Capital of Peru?"), QStringLiteral("TQAMASKEDIT"), QStringLiteral("Lima")),
            Written(QStringLiteral("Explain photosynthesis."), QStringLiteral("TQARICHEDIT"),
                    QStringLiteral("Light makes sugar")),
            Written(QStringLiteral("When did the wall fall?"), QStringLiteral("TQADATETIME"),
                    QStringLiteral("09/11/1989"))};
}

TPrintJob Job(int columns, bool key)
{
    TPrintJob job;
    job.TestID = QStringLiteral("12");
    job.TestTitle = QStringLiteral("Natural Sciences Quiz");
    job.SubTitle = QStringLiteral("Unit Four");
    job.Instructions = QStringLiteral("Answer every question");
    job.Columns = columns;
    job.AnswerKey = key;
    job.ClassName = QStringLiteral("Biology 1");
    job.Course = QStringLiteral("BIO-101");
    job.Teacher = QStringLiteral("Mr. Hale");
    job.Chapter = QStringLiteral("7");
    return job;
}

// Pages of a PDF: pdftotext ends every page with a form feed.
int PdfPages(const QString &text)
{
    return int(text.count(QLatin1Char('\f')));
}

// Indices of the answer lines set in bold and underlined.
QList<int> MarkedLines(const QTextDocument &document)
{
    QList<int> marked;
    int index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index) {
        bool all = !block.text().isEmpty();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.fontWeight() < QFont::Bold || !format.fontUnderline())
                all = false;
        }
        if (all)
            marked.append(index);
    }
    return marked;
}

QStringList Lines(const QTextDocument &document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

} // namespace

class TestTestReport : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Dir;
    std::unique_ptr<TTestDatabase> Db;
    QList<QList<TPrintClass>> Picked; // what the class picker was offered, per call
    QStringList TestCaptions; // the captions the test selection was asked with

    void InsertQuestion(int id, QWidget *control, int sequence)
    {
        control->setObjectName(QStringLiteral("Q_%1").arg(id));
        Db->Exec({QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (%1, ").arg(id) +
                  QuotedStr(control->objectName()) + QStringLiteral(", ") + QuotedStr(GetQuestionText(control)) +
                  QStringLiteral(", ") + QuotedStr(ComponentToText(control)) + QStringLiteral(")")});
        Db->Exec({QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (12, %1, %2)")
                      .arg(id)
                      .arg(sequence)});
    }

    // Test 12 with a short answer and a radio group, in that order of SEQUENCE.
    void FillTest(int classes)
    {
        Db->Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES "
                                 "(12, 'Stored Test', 'Sub', 'Do it', 1)")});
        QWidget holder;
        auto *radio = new TQARadioGroup(&holder, &holder);
        radio->SetQuestion(QStringLiteral("Which colour is the sky?"));
        radio->SetAnswers(QStringList{QStringLiteral("red"), QStringLiteral("blue")});
        radio->SetCorrectAnswer(QStringLiteral("blue"));
        auto *edit = new TQAMaskEdit(&holder, &holder);
        edit->SetQuestion(QStringLiteral("What's two plus two?"));
        edit->SetCorrectAnswer(QStringLiteral("four"));
        InsertQuestion(5, radio, 2);
        InsertQuestion(9, edit, 1);
        const QStringList names{QStringLiteral("Algebra A"), QStringLiteral("Algebra B"), QStringLiteral("Algebra C")};
        for (int i = 0; i < classes; ++i) {
            Db->Exec({QStringLiteral("INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (%1, ").arg(i + 1) +
                      QuotedStr(names.at(i)) + QStringLiteral(", 'MATH', 'Ms. Ng')")});
            Db->Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (%1, %1, 12, '%2')")
                          .arg(i + 1)
                          .arg(i + 3)});
        }
    }

    void SetUp(TTestPrintout &printout, QWidget &owner, QWidget *panel, bool chooseTest = true, int pickClass = 1)
    {
        printout.Query = &Db->Query();
        printout.Owner = &owner;
        printout.Panel_Controls = panel;
        printout.PickTest = [this, chooseTest](const QString &caption, TPrintJob &job) {
            TestCaptions.append(caption);
            if (!chooseTest)
                return false;
            job.TestID = QStringLiteral("12");
            job.TestTitle = QStringLiteral("Stored Test");
            job.Columns = 1;
            job.AnswerKey = true;
            return true;
        };
        printout.PickClass = [this, pickClass](const QList<TPrintClass> &classes) -> std::optional<TPrintClass> {
            Picked.append(classes);
            if (pickClass < 0 || pickClass >= classes.size())
                return std::nullopt;
            return classes.at(pickClass);
        };
    }

    QStringList WindowCaptions() const
    {
        QStringList captions;
        for (const TShownBox &box : TDialogSeam::Shown())
            if (box.Kind == TBoxKind::Window)
                captions.append(box.Caption);
        return captions;
    }

private slots:
    void initTestCase() { QVERIFY(Dir.isValid()); }

    void init()
    {
        SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
        TNvPrintPreview::Reset();
        TDialogSeam::BeginScript();
        Db = std::make_unique<TTestDatabase>();
        Picked.clear();
        TestCaptions.clear();
    }

    void cleanup()
    {
        const bool closed = CloseModalWindows();
        TDialogSeam::EndScript();
        Db.reset();
        QVERIFY2(closed, "a modal window refused to close");
    }

    void printout_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("key");
        for (int columns = 1; columns <= 3; ++columns) {
            QTest::addRow("%d columns", columns) << columns << false;
            QTest::addRow("%d columns, key", columns) << columns << true;
        }
    }

    void printout()
    {
        REQUIRE_PDF_READER();
        QFETCH(int, columns);
        QFETCH(bool, key);
        TForm_Report report;
        report.Records = SixKinds();
        report.SetJob(Job(columns, key));
        const QString pdf = Dir.filePath(QStringLiteral("six-%1-%2.pdf").arg(columns).arg(key));
        QString error;
        QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));
        const QString text = PdfText(pdf);
        QCOMPARE(PdfPages(text), 1);
        QCOMPARE(report.QuickRep->Prepared().PageCount(), 1);

        for (const QString &expected :
             {QStringLiteral("Natural Sciences Quiz"), QStringLiteral("Class:"), QStringLiteral("Biology 1"),
              QStringLiteral("Unit Four"), QStringLiteral("Mr. Hale"), QStringLiteral("Chapter:"),
              QStringLiteral("Instructions:"), QStringLiteral("Answer every question"), DateToStr(QDate::currentDate()),
              QStringLiteral("Page 1")})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in:\n") + text));
        QVERIFY(!text.contains(QStringLiteral("BIO-101")));
        QVERIFY(QRegularExpression(QStringLiteral("Chapter:\\s+7")).match(text).hasMatch());

        // Questions numbered in order, each choice lettered.
        int at = 0;
        const TReportList records = SixKinds();
        for (int i = 0; i < records.size(); ++i) {
            const QRegularExpression numbered(QStringLiteral("%1\\.\\s+").arg(i + 1) +
                                              QRegularExpression::escape(records.at(i).Text));
            const QRegularExpressionMatch match = numbered.match(text, at);
            QVERIFY2(match.hasMatch(), qPrintable(records.at(i).Text));
            at = int(match.capturedEnd());
        }
        for (const QString &choice :
             {QStringLiteral("A\\.\\s+red"), QStringLiteral("B\\.\\s+green"), QStringLiteral("C\\.\\s+blue"),
              QStringLiteral("C\\.\\s+11"), QStringLiteral("B\\.\\s+Jupiter")})
            QVERIFY2(QRegularExpression(choice).match(text).hasMatch(), qPrintable(choice));

        // The key shows the written answers; the students' copy never does.
        for (const QString &answer :
             {QStringLiteral("Lima"), QStringLiteral("Light makes sugar"), QStringLiteral("09/11/1989")})
            QCOMPARE(text.contains(answer), key);
    }

    void marking_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("correct");
        QTest::addColumn<bool>("key");
        QTest::addColumn<QList<int>>("marked");
        const QStringList rgb{QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")};
        QTest::newRow("green") << rgb << QStringList{QStringLiteral("green")} << true << QList<int>{1};
        QTest::newRow("students' copy") << rgb << QStringList{QStringLiteral("green")} << false << QList<int>{};
        QTest::newRow("case matters") << rgb << QStringList{QStringLiteral("Green")} << true << QList<int>{};
        QTest::newRow("5 after 15") << QStringList{QStringLiteral("15"), QStringLiteral("5")}
                                    << QStringList{QStringLiteral("5")} << true << QList<int>{1};
        QTest::newRow("5 before 15") << QStringList{QStringLiteral("5"), QStringLiteral("15")}
                                     << QStringList{QStringLiteral("5")} << true << QList<int>{0};
        QTest::newRow("several correct") << QStringList{QStringLiteral("4"), QStringLiteral("7"), QStringLiteral("11")}
                                         << QStringList{QStringLiteral("7"), QStringLiteral("11")} << true
                                         << QList<int>{1, 2};
        QTest::newRow("part of an answer") << QStringList{QStringLiteral("Lima, Peru"), QStringLiteral("Quito")}
                                           << QStringList{QStringLiteral("Lima")} << true << QList<int>{0};
        QTest::newRow("blank correct answer") << rgb << QStringList{QStringLiteral(" ")} << true << QList<int>{};
        QTest::newRow("letter of a line") << rgb << QStringList{QStringLiteral("A.")} << true << QList<int>{};
        QTest::newRow("blank lines trimmed")
            << QStringList{QString(), QStringLiteral("yes"), QStringLiteral("no"), QString()}
            << QStringList{QStringLiteral("no")} << true << QList<int>{1};
    }

    void marking()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, correct);
        QFETCH(bool, key);
        QFETCH(QList<int>, marked);
        TForm_Report report;
        report.Records = {Choice(QStringLiteral("Q"), answers, correct)};
        report.SetJob(Job(2, key));
        QVERIFY(report.QuickRepNeedData());
        QCOMPARE(MarkedLines(report.QRRichText->Document()), marked);
        const QStringList lines = Lines(report.QRRichText->Document());
        const QStringList kept = answers.join(QLatin1Char('\n')).trimmed().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), kept.size());
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i), QString(QChar(65 + i)) + QStringLiteral(".  ") + kept.at(i));
        QVERIFY(!report.QuickRepNeedData());
    }

    void writtenAnswerArea_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<bool>("key");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("line");
        QTest::addColumn<bool>("answer");
        QTest::newRow("short answer") << "TQAMASKEDIT" << false << 2 << true << false;
        QTest::newRow("short answer, key") << "TQAMASKEDIT" << true << 2 << true << true;
        QTest::newRow("date, key") << "TQADATETIME" << true << 2 << true << true;
        QTest::newRow("essay") << "TQARICHEDIT" << false << 6 << false << false;
        QTest::newRow("essay, key") << "TQARICHEDIT" << true << 6 << false << true;
    }

    void writtenAnswerArea()
    {
        QFETCH(QString, className);
        QFETCH(bool, key);
        QFETCH(int, lines);
        QFETCH(bool, line);
        QFETCH(bool, answer);
        TForm_Report report;
        report.Records = {Written(QStringLiteral("Q"), className, QStringLiteral("the answer")),
                          Written(QStringLiteral("Q2"), className, QString())};
        report.SetJob(Job(2, key));
        QVERIFY(report.QuickRepNeedData());
        QCOMPARE(report.QRLabel_Number->Caption, QStringLiteral("1."));
        QCOMPARE(report.QRRichText->Document().blockCount(), lines);
        QVERIFY(report.QRRichText->Document().toPlainText().trimmed().isEmpty());
        QCOMPARE(report.QRShape_Line->Enabled, line);
        QCOMPARE(report.QRLabel_Answer->Enabled, answer);
        if (answer) {
            QCOMPARE(report.QRLabel_Answer->Caption, QStringLiteral("the answer"));
            QVERIFY(report.QRLabel_Answer->Font.bold());
        }
        // No correct answer: nothing to show, key or not.
        QVERIFY(report.QuickRepNeedData());
        QCOMPARE(report.QRLabel_Number->Caption, QStringLiteral("2."));
        QVERIFY(!report.QRLabel_Answer->Enabled);
    }

    // A wrapped question pushes its answer area down, never under its own text, and
    // nothing reaches into the next column.
    void wrapping_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("words");
        for (int columns = 1; columns <= 3; ++columns)
            for (int words : {1, 12, 40, 150})
                QTest::addRow("%d columns, %d words", columns, words) << columns << words;
    }

    void wrapping()
    {
        QFETCH(int, columns);
        QFETCH(int, words);
        QStringList text;
        for (int i = 0; i < words; ++i)
            text.append(i % 3 ? QStringLiteral("word") : QStringLiteral("photosynthesis"));
        const QString question = text.join(QLatin1Char(' '));
        TForm_Report report;
        report.Records = {Written(question, QStringLiteral("TQAMASKEDIT"), QStringLiteral("x"))};
        report.SetJob(Job(columns, true));
        QVERIFY(report.QuickRepNeedData());
        const int width = TForm_Report::ColumnTextWidth(columns);
        QCOMPARE(report.QRLabel_Question->Width, width);
        report.QRLabel_Question->Layout(TPrintContext{});
        const double textBottom = report.QRLabel_Question->Top +
                                  ReportTextHeight(report.QRLabel_Question->Font, question, width);
        QVERIFY2(report.QRRichText->Top >= textBottom, qPrintable(QString::number(report.QRRichText->Top)));
        QVERIFY(report.QRLabel_Question->PrintRect().bottom() <= report.QRRichText->Top);
        const int extra = report.QRRichText->Top - 20;
        QCOMPARE(report.QRShape_Line->Top, 33 + extra);
        QCOMPARE(report.QRLabel_Answer->Top, 19 + extra);
        if (words == 1)
            QCOMPARE(extra, 0);
        else if (ReportTextWidth(report.QRLabel_Question->Font, question) > width)
            QVERIFY(extra > 0);
        // Text and answer area stay inside their page column (one column may use the margin).
        const double columnWidth = report.QuickRep->ColumnWidth();
        if (columns > 1)
            QVERIFY(report.QRLabel_Question->Left + report.QRLabel_Question->Width < columnWidth);
        QVERIFY(report.QRRichText->Left + report.QRRichText->Width <= columnWidth);
        QVERIFY(report.QRShape_Line->Left + report.QRShape_Line->Width <= columnWidth);
    }

    // 60 questions over several pages: no question starts below the keep-whole mark
    // unless it opens a column, none is cut, and the page count matches the PDF.
    void keepWhole_data()
    {
        QTest::addColumn<int>("columns");
        QTest::newRow("one column") << 1;
        QTest::newRow("two columns") << 2;
        QTest::newRow("three columns") << 3;
    }

    void keepWhole()
    {
        REQUIRE_PDF_READER();
        QFETCH(int, columns);
        TForm_Report report;
        const TReportList six = SixKinds();
        for (int i = 0; i < 60; ++i) {
            TReportEntry entry = six.at(i % six.size());
            // Every seventh question wraps over several lines.
            if (i % 7 == 2)
                entry.Report.Question =
                    QStringLiteral("Describe, in the words of the textbook, how the water cycle moves "
                                   "water between the oceans, the air and the land, and name %1 stages.")
                        .arg(i);
            report.Records.append(entry);
        }
        report.SetJob(Job(columns, false));
        QList<TBandPiece> pieces;
        QList<int> pieceCounts;
        report.QRSubDetail->AfterPrint = [&](const QList<TBandPiece> &printed) {
            pieces.append(printed.first());
            pieceCounts.append(int(printed.size()));
        };
        const QString pdf = Dir.filePath(QStringLiteral("sixty-%1.pdf").arg(columns));
        QString error;
        QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));
        QCOMPARE(pieces.size(), 60);
        // Where a column ends: above the page footer and the bottom margin.
        const double columnBottom = MmToPx(279.4 - 12.7) - 22;
        int moved = 0;
        for (int i = 0; i < pieces.size(); ++i) {
            QCOMPARE(pieceCounts.at(i), 1);
            const bool opensColumn = i == 0 || pieces.at(i).Page != pieces.at(i - 1).Page ||
                                     pieces.at(i).Column != pieces.at(i - 1).Column;
            const int top = PxToTenthMm(pieces.at(i).Rect.top());
            if (!opensColumn)
                QVERIFY2(top <= TForm_Report::KeepWholeFrom,
                         qPrintable(QStringLiteral("question %1 at %2").arg(i + 1).arg(top)));
            // Moved although it would have fitted below the one before.
            else if (i > 0 && pieces.at(i - 1).Rect.bottom() + pieces.at(i).Rect.height() <= columnBottom)
                ++moved;
        }
        QVERIFY(moved > 0);
        const int pages = report.QuickRep->Prepared().PageCount();
        QVERIFY(pages > 1);
        QCOMPARE(pieces.last().Page, pages);
        const QString text = PdfText(pdf);
        QCOMPARE(PdfPages(text), pages);
        for (int page = 1; page <= pages; ++page)
            QVERIFY(QRegularExpression(QStringLiteral("Page\\s+%1\\b").arg(page)).match(text).hasMatch());
        // The title band only once.
        QCOMPARE(text.count(QStringLiteral("Instructions:")), 1);
        QVERIFY(QRegularExpression(QStringLiteral("60\\.\\s+When did the wall fall\\?")).match(text).hasMatch());

        // Prepared again (printing from the preview), the report starts at its first question.
        QVERIFY(report.QuickRep->Prepare());
        QCOMPARE(report.QuickRep->Prepared().PageCount(), pages);
    }

    void emptyTest()
    {
        TForm_Report report;
        report.SetJob(Job(2, true));
        int bands = 0;
        report.QRSubDetail->AfterPrint = [&](const QList<TBandPiece> &) { ++bands; };
        QVERIFY(report.QuickRep->Prepare());
        QCOMPARE(bands, 0);
        QCOMPARE(report.QuickRep->Prepared().PageCount(), 1);
        QCOMPARE(report.QRLabel_TestTitle->Caption, QStringLiteral("Natural Sciences Quiz"));
    }

    void chooseClass_data()
    {
        QTest::addColumn<int>("classes");
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("chapter");
        QTest::addColumn<int>("offered");
        QTest::newRow("no class") << 0 << 0 << ""
                                  << "" << -1;
        QTest::newRow("one class") << 1 << 0 << "Algebra A"
                                   << "3" << -1;
        QTest::newRow("two classes, second") << 2 << 1 << "Algebra B"
                                             << "4" << 2;
        QTest::newRow("three classes, cancelled") << 3 << -1 << ""
                                                  << "" << 3;
    }

    void chooseClass()
    {
        QFETCH(int, classes);
        QFETCH(int, pick);
        QFETCH(QString, className);
        QFETCH(QString, chapter);
        QFETCH(int, offered);
        FillTest(classes);
        TPrintJob job = Job(2, false);
        ChooseClassForPrint(Db->Query(), QStringLiteral("12"), job,
                            [&](const QList<TPrintClass> &list) -> std::optional<TPrintClass> {
                                Picked.append(list);
                                if (pick < 0)
                                    return std::nullopt;
                                return list.at(pick);
                            });
        QCOMPARE(job.ClassName, className);
        QCOMPARE(job.Chapter, chapter);
        QCOMPARE(job.Teacher, className.isEmpty() ? QString() : QStringLiteral("Ms. Ng"));
        QCOMPARE(job.Course, className.isEmpty() ? QString() : QStringLiteral("MATH"));
        if (offered < 0) {
            QVERIFY(Picked.isEmpty());
        } else {
            QCOMPARE(Picked.size(), 1);
            QCOMPARE(Picked.first().size(), offered);
            QCOMPARE(Picked.first().first().Name, QStringLiteral("Algebra A"));
        }

        // A test ID that is no number never reaches the statement.
        ChooseClassForPrint(Db->Query(), QStringLiteral("12 OR 1=1"), job, {});
        QVERIFY(job.ClassName.isEmpty());
        QCOMPARE(TDialogSeam::Shown().last().Kind, TBoxKind::Error);
    }

    void printCommand()
    {
        REQUIRE_PDF_READER();
        FillTest(2);
        QWidget owner;
        auto *panel = new QWidget(&owner);
        TTestPrintout printout;
        SetUp(printout, owner, panel);
        const QString pdf = Dir.filePath(QStringLiteral("command.pdf"));
        TDialogSeam::SetNextAnswer(ResultOK, pdf);
        printout.Execute(TPrintSender::PrintButton);
        QCOMPARE(TestCaptions, QStringList{QStringLiteral("Print Test")});
        QCOMPARE(WindowCaptions(), QStringList{QStringLiteral("Print")});
        QCOMPARE(Picked.size(), 1);
        const QString text = PdfText(pdf);
        QVERIFY(QRegularExpression(QStringLiteral("1\\.\\s+What's two plus two\\?")).match(text).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("2\\.\\s+Which colour is the sky\\?")).match(text).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("B\\.\\s+blue")).match(text).hasMatch());
        QVERIFY(text.contains(QStringLiteral("four"))); // the key was asked for
        QVERIFY(text.contains(QStringLiteral("Algebra B")));
        QVERIFY(text.contains(QStringLiteral("Stored Test")));
        // Everything prepared for the printout is gone.
        QVERIFY(printout.ReportObjs.isEmpty());
        QVERIFY(printout.ControlDefs.isEmpty());
        QVERIFY(printout.QuestionControls.isEmpty());
        QVERIFY(panel->children().isEmpty());
        QVERIFY(OwnedComponents(&owner).isEmpty());
        QVERIFY(!TNvPrintPreview::HasPrintCallback());
        QVERIFY(!printout.Busy());
    }

    void cancelledCommand_data()
    {
        QTest::addColumn<bool>("chooseTest");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("windows");
        QTest::newRow("test selection cancelled") << false << "Preview Test" << QStringList{};
        QTest::newRow("print dialog cancelled") << true << "Print Test" << QStringList{QStringLiteral("Print")};
    }

    void cancelledCommand()
    {
        QFETCH(bool, chooseTest);
        QFETCH(QString, caption);
        QFETCH(QStringList, windows);
        FillTest(1);
        QWidget owner;
        auto *panel = new QWidget(&owner);
        TTestPrintout printout;
        SetUp(printout, owner, panel, chooseTest);
        const QString pdf = Dir.filePath(QStringLiteral("cancelled.pdf"));
        TDialogSeam::SetNextAnswer(ResultCancel, pdf);
        printout.Execute(chooseTest ? TPrintSender::PrintButton : TPrintSender::PreviewButton);
        QCOMPARE(TestCaptions, QStringList{caption});
        QCOMPARE(WindowCaptions(), windows);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(panel->children().isEmpty());
        QVERIFY(printout.ReportObjs.isEmpty());
    }

    // The questions-in-test window previews the current test without asking for it; the
    // preview's Print button prints the same questions again, asking for the class anew.
    void previewThenPrint()
    {
        REQUIRE_PDF_READER();
        FillTest(2);
        QWidget owner;
        auto *panel = new QWidget(&owner);
        TTestPrintout printout;
        SetUp(printout, owner, panel, true, 0);
        printout.Job.TestID = QStringLiteral("12");
        printout.Job.TestTitle = QStringLiteral("Current Test");
        printout.Job.Columns = 2;
        const QString pdf = Dir.filePath(QStringLiteral("from-preview.pdf"));

        // The preview is shown for real; its Print button is pressed once its pages are there.
        TDialogSeam::EndScript();
        bool pressed = false;
        bool callbackSet = false;
        qsizetype records = 0;
        QElapsedTimer clock;
        clock.start();
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&]() {
            auto *preview = qobject_cast<TForm_Preview *>(QApplication::activeModalWidget());
            if (clock.elapsed() > 20000 && QApplication::activeModalWidget()) {
                timer.stop();
                QApplication::activeModalWidget()->close();
                return;
            }
            if (!preview || !preview->PreparationFinished())
                return;
            timer.stop();
            callbackSet = TNvPrintPreview::HasPrintCallback();
            records = printout.ReportObjs.size();
            TDialogSeam::BeginScript();
            TDialogSeam::SetNextAnswer(ResultOK, pdf);
            preview->ToolButton_PrintClick();
            pressed = true;
            preview->Button_CloseClick();
        });
        timer.start(20);
        printout.Execute(TPrintSender::QuestionJoin);
        QVERIFY(callbackSet);
        QCOMPARE(records, 2);
        QVERIFY(pressed);
        QVERIFY(TestCaptions.isEmpty());
        QCOMPARE(WindowCaptions(), QStringList{QStringLiteral("Print")});
        QCOMPARE(Picked.size(), 2);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Current Test")));
        QVERIFY(text.contains(QStringLiteral("Algebra A")));
        QVERIFY(QRegularExpression(QStringLiteral("2\\.\\s+Which colour is the sky\\?")).match(text).hasMatch());
        QVERIFY(!text.contains(QStringLiteral("four"))); // no key before the first one asked for
        QVERIFY(panel->children().isEmpty());
        QVERIFY(printout.ReportObjs.isEmpty());
        QVERIFY(!TNvPrintPreview::HasPrintCallback());
    }
};

QTEST_MAIN(TestTestReport)
#include "tst_testreport.moc"
