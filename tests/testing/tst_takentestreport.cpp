#include "common/PdfText.h"
#include "common/TestDatabase.h"
#include "report/Preview.h"
#include "report/Report.h"
#include "testing/TakenTestReport.h"
#include "toolkit/Convert.h"
#include "toolkit/StdDialogs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using Tamberlin::TForm_Report;

namespace {

const QString StudentID = QStringLiteral("o'brien7");
const QString CRLF = QStringLiteral("\r\n");

// A transcript as the test wizard writes it: number, question, answer and verdict.
QString Transcript(int questions)
{
    QString text;
    for (int i = 1; i <= questions; ++i) {
        text += QStringLiteral("%1. What is the capital of country number %1?").arg(i) + CRLF + CRLF;
        text += QStringLiteral("Answer %1").arg(i) +
                (i % 4 == 0 ? QStringLiteral(" (INCORRECT)") : QStringLiteral(" (CORRECT)"));
        text += CRLF + CRLF + CRLF;
    }
    return text + QLatin1Char(' ');
}

} // namespace

class TestTakenTestReport : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TTestDatabase> Db;

    // Student, class 3 "Biology 1", test 12 assigned with chapter 4, and a result.
    void Fill(const QString &answers, const QString &grade = QStringLiteral("85"))
    {
        Db->Exec(
            {QStringLiteral(
                 "INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, STUDENTID) VALUES (1, 'O''Brien', 'Maeve', ") +
             QuotedStr(StudentID) + QStringLiteral(")")});
        Db->Exec({QStringLiteral(
            "INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (3, 'Biology 1', 'BIO-101', 'Mr. Hale')")});
        Db->Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES "
                                 "(12, 'Cells and Tissues', 'Midterm', 'Answer all', 1)")});
        Db->Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 3, 12, '4')")});
        Db->Query().Clear();
        Db->Query().Add(
            QStringLiteral("INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE, ANSWERS)"));
        Db->Query().Add(QStringLiteral("VALUES (") + QuotedStr(StudentID) + QStringLiteral(", 12, 3, ") + grade +
                        QStringLiteral(", 'PASSED', '2026-03-05', :TEST)"));
        Db->Query().SetParamText(QStringLiteral("TEST"), answers);
        Db->Query().ExecSQL();
    }

private slots:
    void init()
    {
        SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
        TNvPrintPreview::Reset();
        TDialogSeam::BeginScript();
        Db = std::make_unique<TTestDatabase>();
    }
    void cleanup()
    {
        Db.reset();
        TDialogSeam::EndScript();
        SetShortDateFormat(QString());
    }

    void readsTheStoredResult();
    void pdfHoldsHeaderAndWholeTranscript();
    void emptyTranscript();
    void testAssignedTwice();
    void viewShowsPreviewOrError_data();
    void viewShowsPreviewOrError();
};

void TestTakenTestReport::readsTheStoredResult()
{
    Fill(Transcript(3));
    TForm_Report report;
    Tamberlin::LoadTakenTest(Db->Query(), StudentID, QStringLiteral("3"), QStringLiteral("Biology 1 (shown)"),
                             QStringLiteral("12"), report);
    QCOMPARE(report.StudentName, QStringLiteral("Maeve O'Brien"));
    QCOMPARE(report.TestTitle, QStringLiteral("Cells and Tissues"));
    QCOMPARE(report.SubTitle, QStringLiteral("Midterm"));
    QCOMPARE(report.Course, QStringLiteral("BIO-101"));
    QCOMPARE(report.Teacher, QStringLiteral("Mr. Hale"));
    QCOMPARE(report.TestDate, QStringLiteral("05/03/2026"));
    QCOMPARE(report.Chapter, QStringLiteral("4"));
    QCOMPARE(report.Grade, QStringLiteral("85%"));
    QCOMPARE(report.ClassName, QStringLiteral("Biology 1 (shown)"));
    QCOMPARE(report.TestID, QStringLiteral("12"));
    QCOMPARE(report.Answers, Transcript(3));
    QVERIFY(!Db->Query().Active());

    report.FillReport();
    QCOMPARE(report.QRLabel_Grade->Caption, QStringLiteral("Grade: 85%"));
    QCOMPARE(report.QRLabel_Teacher->Caption, QStringLiteral("Instructor: Mr. Hale"));
    QCOMPARE(report.QRLabel_TestDate->Caption, QStringLiteral("Test Date: 05/03/2026"));
}

void TestTakenTestReport::pdfHoldsHeaderAndWholeTranscript()
{
    REQUIRE_PDF_READER();
    const int questions = 60;
    Fill(Transcript(questions));
    TForm_Report report;
    Tamberlin::LoadTakenTest(Db->Query(), StudentID, QStringLiteral("3"), QStringLiteral("Biology 1"),
                             QStringLiteral("12"), report);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("result.pdf"));
    QString error;
    QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));
    const QString text = PdfText(pdf);
    const int pages = report.QuickRep->Prepared().PageCount();
    QVERIFY2(pages >= 2, "a long transcript goes on over the next pages");
    QCOMPARE(text.count(QLatin1Char('\f')), pages);

    for (const QString &expected :
         {QStringLiteral("Cells and Tissues"), QStringLiteral("Name:"), QStringLiteral("Maeve O'Brien"),
          QStringLiteral("Chapter:"), QStringLiteral("Class:"), QStringLiteral("Biology 1"), QStringLiteral("Midterm"),
          QStringLiteral("Instructor: Mr. Hale"), QStringLiteral("Test Date: 05/03/2026"),
          QStringLiteral("Grade: 85%")})
        QVERIFY2(text.contains(expected), qPrintable(expected));
    QVERIFY(!text.contains(QStringLiteral("BIO-101")));
    // Every line of the transcript, once each, in order.
    const QString simplified = text.simplified();
    qsizetype at = 0;
    for (int i = 1; i <= questions; ++i) {
        const QString question = QStringLiteral("%1. What is the capital of country number %1?").arg(i);
        const QString answer = QStringLiteral("Answer %1 ").arg(i) +
                               (i % 4 == 0 ? QStringLiteral("(INCORRECT)") : QStringLiteral("(CORRECT)"));
        const qsizetype q = simplified.indexOf(question, at);
        QVERIFY2(q >= 0, qPrintable(question));
        const qsizetype a = simplified.indexOf(answer, q);
        QVERIFY2(a >= 0, qPrintable(answer));
        at = a;
    }
    // The footer numbers every page.
    for (int page = 1; page <= pages; ++page)
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("Page\\s+%1\\s*(\\n|\\f|$)").arg(page))));

    // Pictures to look at beside the build: pdftoppm -png.
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty() &&
        qEnvironmentVariableIsSet("CORVELLA_KEEP_PNG")) {
        const QString out = qEnvironmentVariable("CORVELLA_KEEP_PNG");
        QFile::copy(pdf, out + QStringLiteral(".pdf"));
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"), pdf, out});
        std::unique_ptr<TForm_Preview> window(TQRMDIPreviewInterface::CreateWindow(*report.QuickRep, nullptr));
        window->resize(900, 700);
        window->show();
        QTest::qWait(50);
        window->ToolButton_NextClick();
        window->grab().save(out + QStringLiteral("-preview.png"));
    }
}

void TestTakenTestReport::emptyTranscript()
{
    // A result that only the gradebook wrote: no transcript, an empty answer area.
    Db->Exec({QStringLiteral(
        "INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, STUDENTID) VALUES (1, 'Ng', 'Ada', 'ada')")});
    Db->Exec(
        {QStringLiteral("INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (3, 'Physics', 'PH', 'Dr. Ray')")});
    Db->Exec({QStringLiteral(
        "INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (5, 'Forces', '', '', 1)")});
    Db->Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 3, 5, '2')")});
    Db->Exec({QStringLiteral(
        "INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('ada', 5, 3, 100, 'PASSED')")});
    TForm_Report report;
    Tamberlin::LoadTakenTest(Db->Query(), QStringLiteral("ada"), QStringLiteral("3"), QStringLiteral("Physics"),
                             QStringLiteral("5"), report);
    QCOMPARE(report.Answers, QString());
    QCOMPARE(report.Grade, QStringLiteral("100%"));
    report.FillReport();
    QVERIFY(report.QuickRep->Prepare());
    QCOMPARE(report.QuickRep->Prepared().PageCount(), 1);
}

void TestTakenTestReport::testAssignedTwice()
{
    Fill(Transcript(2), QStringLiteral("64"));
    Db->Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (2, 3, 12, '9')")});
    TForm_Report report;
    Tamberlin::LoadTakenTest(Db->Query(), StudentID, QStringLiteral("3"), QStringLiteral("Biology 1"),
                             QStringLiteral("12"), report);
    QCOMPARE(report.Chapter, QStringLiteral("4"));
    QCOMPARE(report.Grade, QStringLiteral("64%"));
}

void TestTakenTestReport::viewShowsPreviewOrError_data()
{
    QTest::addColumn<QString>("student");
    QTest::addColumn<QString>("classID");
    QTest::addColumn<QString>("testID");
    QTest::addColumn<bool>("shown");
    QTest::newRow("stored result") << StudentID << "3"
                                   << "12" << true;
    QTest::newRow("letter case of the ID") << QStringLiteral("O'BRIEN7") << "3"
                                           << "12" << true;
    QTest::newRow("other student") << QStringLiteral("someone") << "3"
                                   << "12" << false;
    QTest::newRow("other class") << StudentID << "4"
                                 << "12" << false;
    QTest::newRow("test ID not a number") << StudentID << "3"
                                          << "12 OR 1=1" << false;
}

void TestTakenTestReport::viewShowsPreviewOrError()
{
    QFETCH(QString, student);
    QFETCH(QString, classID);
    QFETCH(QString, testID);
    QFETCH(bool, shown);
    Fill(Transcript(2));
    TNvPrintPreview component;
    component.Execute();
    Tamberlin::ViewTakenTest(Db->Query(), student, classID, QStringLiteral("Biology 1"), testID);
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox &box = TDialogSeam::Shown().first();
    if (shown) {
        QCOMPARE(box.Kind, TBoxKind::Window);
        QCOMPARE(box.Caption, QStringLiteral("Print Preview"));
        QCOMPARE(box.Text, QStringLiteral("Cells and Tissues - Maeve O'Brien"));
    } else {
        QCOMPARE(box.Kind, TBoxKind::Error);
        QVERIFY(!box.Text.isEmpty());
    }
    QVERIFY(!Db->Query().Active());
}

QTEST_MAIN(TestTakenTestReport)
#include "tst_takentestreport.moc"
