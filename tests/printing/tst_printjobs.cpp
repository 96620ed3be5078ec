// Printing a test from the command line, with no printer, and with a question that
// cannot be rebuilt.
#include "admin/PrintCommand.h"
#include "common/AdminProcess.h"
#include "common/ModalWindows.h"

#include "common/PdfText.h"
#include "common/TestDatabase.h"
#include "database/Database.h"
#include "printing/ChoosePrint.h"
#include "printing/TestReport.h"
#include "question/QuestionControls.h"
#include "report/Preview.h"
#include "report/PrintDialog.h"
#include "report/Report.h"
#include "toolkit/Convert.h"
#include "toolkit/Exception.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace Corvella;

namespace {

struct TRun {
    int Result = -1;
    QString Out;
    QString Err;
};

TRun RunPrint(const QStringList &args)
{
    TRun run;
    QTextStream out(&run.Out);
    QTextStream err(&run.Err);
    run.Result = RunPrintCommand(args, out, err);
    out.flush();
    err.flush();
    return run;
}

TReportList TwoQuestions()
{
    TReportObj choice;
    choice.Question = QStringLiteral("Which colour is grass?");
    choice.Answers = QStringList{QStringLiteral("red"), QStringLiteral("green")};
    choice.CorrectAnswers = QStringList{QStringLiteral("green")};
    choice.ClassName = QStringLiteral("TQARADIOGROUP");
    TReportObj written;
    written.Question = QStringLiteral("Capital of Peru?");
    written.CorrectAnswers = QStringList{QStringLiteral("Lima")};
    written.ClassName = QStringLiteral("TQAMASKEDIT");
    return {{choice.Question, choice}, {written.Question, written}};
}

} // namespace

class TestPrintJobs : public QObject {
    Q_OBJECT

private:
    QTemporaryDir Dir;
    std::unique_ptr<TTestDatabase> Db;

    void InsertQuestion(int id, QWidget *control, int sequence, const QString &text = QString())
    {
        control->setObjectName(QStringLiteral("Q_%1").arg(id));
        Db->Exec({QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (%1, ").arg(id) +
                  QuotedStr(control->objectName()) + QStringLiteral(", ") + QuotedStr(GetQuestionText(control)) +
                  QStringLiteral(", ") + QuotedStr(text.isEmpty() ? ComponentToText(control) : text) +
                  QStringLiteral(")")});
        Db->Exec({QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (12, %1, %2)")
                      .arg(id)
                      .arg(sequence)});
    }

    // Test 12, "Unit Quiz", with a short answer and a radio group, given to the named classes.
    void FillTest(const QStringList &classes, bool brokenSecond = false)
    {
        Db->Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES "
                                 "(12, 'Unit Quiz', 'Sub', 'Do it', 1)")});
        QWidget holder;
        auto *edit = new TQAMaskEdit(&holder, &holder);
        edit->SetQuestion(QStringLiteral("What's two plus two?"));
        edit->SetCorrectAnswer(QStringLiteral("four"));
        auto *radio = new TQARadioGroup(&holder, &holder);
        radio->SetQuestion(QStringLiteral("Which colour is the sky?"));
        radio->SetAnswers(QStringList{QStringLiteral("red"), QStringLiteral("blue")});
        radio->SetCorrectAnswer(QStringLiteral("blue"));
        InsertQuestion(9, edit, 1);
        QString broken;
        if (brokenSecond) {
            broken = ComponentToText(radio);
            broken.replace(QStringLiteral("'Which colour is the sky?'"), QStringLiteral("'Which colour"));
        }
        InsertQuestion(5, radio, 2, broken);
        for (int i = 0; i < classes.size(); ++i) {
            Db->Exec({QStringLiteral("INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (%1, ").arg(i + 1) +
                      QuotedStr(classes.at(i)) + QStringLiteral(", 'MATH', 'Ms. Ng')")});
            Db->Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (%1, %1, 12, '%2')")
                          .arg(i + 1)
                          .arg(i + 3)});
        }
    }

    QList<TBoxKind> Kinds() const
    {
        QList<TBoxKind> kinds;
        for (const TShownBox &box : TDialogSeam::Shown())
            kinds.append(box.Kind);
        return kinds;
    }

private slots:
    void init()
    {
        SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
        TNvPrintPreview::Reset();
        TDialogSeam::BeginScript();
        SetInstalledPrinters(std::nullopt);
        Db = std::make_unique<TTestDatabase>();
    }

    void cleanup()
    {
        const bool closed = CloseModalWindows();
        SetInstalledPrinters(std::nullopt);
        TDialogSeam::EndScript();
        Db.reset();
        QVERIFY2(closed, "a modal window refused to close");
    }

    void printCommand_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("key");
        QTest::addColumn<QString>("className");
        QTest::addColumn<bool>("saysFirst");
        QTest::newRow("copy, first of two classes") << QStringList{} << false << "Algebra A" << true;
        QTest::newRow("key in three columns") << QStringList{"--key", "--columns", "3"} << true << "Algebra A" << true;
        QTest::newRow("the second class") << QStringList{"--class", "algebra b"} << false << "Algebra B" << false;
    }

    void printCommand()
    {
        REQUIRE_PDF_READER();
        QFETCH(QStringList, options);
        QFETCH(bool, key);
        QFETCH(QString, className);
        QFETCH(bool, saysFirst);
        FillTest({QStringLiteral("Algebra A"), QStringLiteral("Algebra B")});
        const QString pdf = Dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        const TRun run = RunPrint(QStringList{Db->Path(), QStringLiteral("--test"), QStringLiteral("unit quiz")} +
                                  options + QStringList{pdf});
        QVERIFY2(run.Result == 0, qPrintable(run.Err));
        QCOMPARE(run.Out.contains(QStringLiteral("printing for the first, \"Algebra A\"")), saysFirst);
        const QString text = PdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("Unit Quiz")));
        QVERIFY(text.contains(className));
        QVERIFY(QRegularExpression(QStringLiteral("1\\.\\s+What's two plus two\\?")).match(text).hasMatch());
        QVERIFY(QRegularExpression(QStringLiteral("B\\.\\s+blue")).match(text).hasMatch());
        QCOMPARE(text.contains(QStringLiteral("four")), key);
    }

    void printCommandErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown test") << QStringList{"DB", "--test", "Final Exam", "OUT"} << 1
                                      << "no test named \"Final Exam\"";
        QTest::newRow("unknown class")
            << QStringList{"DB", "--test", "Unit Quiz", "--class", "Latin", "OUT"} << 1
            << "not assigned to a class \"Latin\"; its classes are \"Algebra A\", \"Algebra B\"";
        QTest::newRow("columns") << QStringList{"DB", "--test", "Unit Quiz", "--columns", "4", "OUT"} << 2
                                 << "1, 2 or 3";
        QTest::newRow("no test named") << QStringList{"DB", "OUT"} << 2 << "--test";
        QTest::newRow("no output") << QStringList{"DB", "--test", "Unit Quiz"} << 2 << "PDF file";
        QTest::newRow("no database") << QStringList{"MISSING", "--test", "Unit Quiz", "OUT"} << 1 << "";
        QTest::newRow("the database as output")
            << QStringList{"DB", "--test", "Unit Quiz", "DB"} << 1 << "replace the database";
    }

    void printCommandErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(int, result);
        QFETCH(QString, message);
        FillTest({QStringLiteral("Algebra A"), QStringLiteral("Algebra B")});
        const QString pdf = Dir.filePath(QStringLiteral("error.pdf"));
        args.replaceInStrings(QRegularExpression(QStringLiteral("^DB$")), Db->Path());
        args.replaceInStrings(QRegularExpression(QStringLiteral("^OUT$")), pdf);
        args.replaceInStrings(QRegularExpression(QStringLiteral("^MISSING$")),
                              Dir.filePath(QStringLiteral("none.mdb")));
        const QByteArray before = [&]() {
            QFile file(Db->Path());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        const TRun run = RunPrint(args);
        QCOMPARE(run.Result, result);
        QVERIFY(!run.Err.trimmed().isEmpty());
        QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
        QVERIFY(!QFile::exists(pdf));
        QFile file(Db->Path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // The real program, with no display at all.
    void printCommandWithoutDisplay()
    {
        const QString program = AdminProgram();
        if (!QFile::exists(program))
            QSKIP("corvella-admin is not built");
        FillTest({QStringLiteral("Algebra A")});
        const QString pdf = Dir.filePath(QStringLiteral("process.pdf"));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        process.setProcessEnvironment(env);
        process.start(program, {QStringLiteral("print"), Db->Path(), QStringLiteral("--test"),
                                QStringLiteral("Unit Quiz"), QStringLiteral("--key"), pdf});
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        QVERIFY(QFile::exists(pdf));
        QVERIFY(PdfText(pdf).contains(QStringLiteral("Algebra A")));

        process.start(program, {QStringLiteral("print"), Db->Path(), QStringLiteral("--test"),
                                QStringLiteral("Nothing"), Dir.filePath(QStringLiteral("nothing.pdf"))});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(!QFile::exists(Dir.filePath(QStringLiteral("nothing.pdf"))));
    }

    // A question whose text cannot be read stops the printout with its number and ID.
    void unreadableQuestionIsNamed()
    {
        FillTest({QStringLiteral("Algebra A")}, true);
        QWidget owner;
        auto *panel = new QWidget(&owner);
        TTestPrintout printout;
        printout.Query = &Db->Query();
        printout.Owner = &owner;
        printout.Panel_Controls = panel;
        printout.PickTest = [](const QString &, TPrintJob &job) {
            job.TestID = QStringLiteral("12");
            job.TestTitle = QStringLiteral("Unit Quiz");
            return true;
        };
        const QString pdf = Dir.filePath(QStringLiteral("unreadable.pdf"));
        TDialogSeam::SetNextAnswer(ResultOK, pdf);
        QString message;
        try {
            printout.Execute(TPrintSender::PrintButton);
        } catch (const Exception &e) {
            message = e.Message();
        }
        QVERIFY2(message.startsWith(QStringLiteral("Question 2 of the test (ID 5) cannot be printed:\n")),
                 qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral(" on line ")), qPrintable(message));
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(printout.ReportObjs.isEmpty());
        QVERIFY(!printout.Busy());

        // The same from the command line, and no file.
        const TRun run = RunPrint({Db->Path(), QStringLiteral("--test"), QStringLiteral("Unit Quiz"), pdf});
        QCOMPARE(run.Result, 1);
        QVERIFY2(run.Err.startsWith(QStringLiteral("Question 2 of the test (ID 5) cannot be printed:\n")),
                 qPrintable(run.Err));
        QVERIFY(!QFile::exists(pdf));
    }

    void withoutPrinter_data()
    {
        QTest::addColumn<bool>("fromPreview");
        QTest::addColumn<int>("answer");
        QTest::newRow("printout, export") << false << int(ResultYes);
        QTest::newRow("printout, no") << false << int(ResultNo);
        QTest::newRow("preview, export") << true << int(ResultYes);
        QTest::newRow("preview, no") << true << int(ResultNo);
    }

    // With no printer installed Print says so and offers Export PDF instead.
    void withoutPrinter()
    {
        QFETCH(bool, fromPreview);
        QFETCH(int, answer);
        SetInstalledPrinters(QStringList{});
        Corvella::TForm_Report report;
        report.Records = TwoQuestions();
        Corvella::TPrintJob job;
        job.TestTitle = QStringLiteral("Unit Quiz");
        job.Columns = 2;
        report.SetJob(job);
        const QString chosen = Dir.filePath(QStringLiteral("no-printer-%1-%2").arg(fromPreview).arg(answer));
        TDialogSeam::SetNextAnswer(answer);
        TDialogSeam::SetNextAnswer(ResultOK, chosen);
        std::unique_ptr<TForm_Preview> window;
        if (fromPreview) {
            window.reset(TQRMDIPreviewInterface::CreateWindow(*report.QuickRep, nullptr));
            QVERIFY(QTest::qWaitFor([&]() { return window->PreparationFinished(); }, 20000));
            QVERIFY(window->ToolButton_Print->isEnabled());
            QTest::mouseClick(window->ToolButton_Print, Qt::LeftButton);
        } else {
            QCOMPARE(report.Print(), answer == ResultYes);
        }
        QVERIFY(!TDialogSeam::Shown().isEmpty());
        const TShownBox asked = TDialogSeam::Shown().first();
        QCOMPARE(asked.Kind, TBoxKind::Confirmation);
        QVERIFY2(asked.Text.startsWith(QStringLiteral("No printer is installed")), qPrintable(asked.Text));
        QVERIFY(asked.Text.contains(QStringLiteral("PDF")));
        QCOMPARE(asked.Buttons, BtnYes | BtnNo);
        if (answer == ResultYes) {
            QCOMPARE(Kinds(), (QList<TBoxKind>{TBoxKind::Confirmation, TBoxKind::SaveFile}));
            QCOMPARE(TDialogSeam::Shown().at(1).Caption, QStringLiteral("Export PDF"));
            QVERIFY(QFile::exists(chosen + QStringLiteral(".pdf")));
            QVERIFY(PdfText(chosen + QStringLiteral(".pdf")).contains(QStringLiteral("Capital of Peru?")));
        } else {
            QCOMPARE(Kinds(), QList<TBoxKind>{TBoxKind::Confirmation});
            QVERIFY(!QFile::exists(chosen + QStringLiteral(".pdf")));
            QVERIFY(!QFile::exists(chosen));
        }
    }
};

QTEST_MAIN(TestPrintJobs)
#include "tst_printjobs.moc"
