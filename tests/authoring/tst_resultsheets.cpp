#include "authoring/QuestionStatistics.h"
#include "authoring/TestGrades.h"
#include "common/AdminProcess.h"
#include "common/TestDatabase.h"
#include "printing/ItemStatisticsReport.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "testtaking/ResultStore.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString Sql(const QString &text)
{
    return QStringLiteral("'") + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The file read back by Python's csv module: an independent reader of the format.
QList<QStringList> ReadCsv(const QString &path)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {};
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue &field : row.toArray())
            fields.append(field.toString());
        rows.append(fields);
    }
    return rows;
}

void AddStudent(TTestDatabase &db, int id, const QString &studentID, const QString &last, const QString &first,
                const QString &middle, int classID)
{
    db.Exec(
        {QStringLiteral("INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (%1, ").arg(id) +
         Sql(last) + QLatin1Char(',') + Sql(first) + QLatin1Char(',') + Sql(middle) + QLatin1Char(',') +
         Sql(studentID) + QLatin1Char(')')});
    db.Exec({QStringLiteral("INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (%1, %2, %3)")
                 .arg(classID)
                 .arg(Sql(studentID))
                 .arg(id)});
}

// Stores a short-answer question, right when answered "yes", as question n of test 1.
void AddYesQuestion(TTestDatabase &db, int n, const QString &question)
{
    TQAMaskEdit edit(nullptr);
    edit.SetBounds(0, 0, 200, 21);
    edit.SetCorrectAnswer(QStringLiteral("yes"));
    edit.SetID(n);
    edit.SetQuestion(question);
    edit.setObjectName(QStringLiteral("QAMaskEdit_%1").arg(n));
    TDbQuery &query = db.Query();
    query.Clear();
    query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"));
    query.Add(QStringLiteral("VALUES (%1, 'Q', :QUESTION, :CONTROL)").arg(n));
    query.SetParamText(QStringLiteral("QUESTION"), question);
    query.SetParamText(QStringLiteral("CONTROL"), ComponentToText(&edit));
    query.ExecSQL();
    db.Exec({QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, %1, %1)").arg(n)});
}

// The student takes test 1 in the real test wizard of the testing program, typing
// "yes" where the answer is to be right.
void TakeTest(TTestDatabase &db, const QString &studentID, int classID, const QList<bool> &right)
{
    TForm_TestWizard wizard(&db.Query(), true);
    wizard.TestID = QStringLiteral("1");
    wizard.StudentID = studentID;
    wizard.ClassID = QString::number(classID);
    wizard.SaveResult = true;
    wizard.ConnectionString = ConnectionStringFor(db.Path());
    wizard.show();
    for (bool r : right) {
        auto edit = qobject_cast<TQAMaskEdit *>(wizard.CurrentControl());
        QVERIFY(edit);
        edit->setFocus();
        QTest::keyClicks(edit, r ? QStringLiteral("yes") : QStringLiteral("no"));
        QTest::mouseClick(wizard.BitBtn_Next, Qt::LeftButton);
    }
    QTest::mouseClick(wizard.BitBtn_Next, Qt::LeftButton);
    QVERIFY(!wizard.isVisible());
}

QStringList GridRow(QTableWidget *grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells.append(grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells;
}

} // namespace

class TestResultSheets : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        TDialogSeam::BeginScript();
        FKeep = std::make_unique<QTemporaryDir>();
        SetLocalStoreFolder(FKeep->path());
    }
    void cleanup()
    {
        TKeptResultRetrier::Instance()->Stop();
        SetLocalStoreFolder(QString());
        TDialogSeam::EndScript();
    }

    void gradebookCsvReadsBackFieldByField();
    void statisticsFromWizardTranscripts();

private:
    std::unique_ptr<QTemporaryDir> FKeep;
};

void TestResultSheets::gradebookCsvReadsBackFieldByField()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (1, 'Brüche, Teil \"1\"', '', "
             "'', 2)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Année 9', '', '')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 1, 1, '3,4')"});
    AddStudent(db, 1, QStringLiteral("S1"), QStringLiteral("O'Neill, Jr."), QStringLiteral("Ann \"Annie\""),
               QStringLiteral("B"), 1);
    AddStudent(db, 2, QStringLiteral("S2"), QStringLiteral("Zoë"), QStringLiteral("Line\r\nbreak"), QString(), 1);
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE) "
             "VALUES ('S1', 1, 1, 85, 'PASSED', '2026-12-01')"});

    TForm_TestGrades grades(&db.Query());
    grades.TestKey = QStringLiteral("1");
    grades.ClassKey = QStringLiteral("1");
    grades.Edit_TestName->SetText(QStringLiteral("Brüche, Teil \"1\""));
    grades.Edit_ClassName->SetText(QStringLiteral("Année 9"));
    grades.show();
    QVERIFY(grades.BitBtn_Export->isVisible());
    QVERIFY(!grades.BitBtn_Export->accessibleName().isEmpty());

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("grades.csv"));
    TDialogSeam::SetNextAnswer(ResultOK, file);
    QTest::mouseClick(grades.BitBtn_Export, Qt::LeftButton);
    QCOMPARE(TDialogSeam::Shown().at(0).Kind, TBoxKind::SaveFile);
    QVERIFY(TDialogSeam::LastText().contains(QStringLiteral("2 students")));

    const QList<QStringList> expected{
        {"Student ID", "Last name", "First name", "Middle", "Class", "Test", "Chapter", "Grade", "Status", "Date"},
        {"S1", "O'Neill, Jr.", "Ann \"Annie\"", "B", "Année 9", "Brüche, Teil \"1\"", "3,4", "85", "PASSED",
         "2026-12-01"},
        {"S2", "Zoë", "Line\r\nbreak", "", "Année 9", "Brüche, Teil \"1\"", "3,4", "0", "INCOMPLETE", ""}};
    QCOMPARE(ReadCsv(file), expected);
    QFile raw(file);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFStudent ID,Last name,First name,Middle,Class,Test,Chapter,Grade,Status,"
                             "Date\r\n"));
    QVERIFY(bytes.endsWith(",0,INCOMPLETE,\r\n"));

    // The command line writes the same file, onto standard output or into FILE.
    const TAdminRun out = RunAdmin({"grades", db.Path(), "--class", "année 9", "--test", "Brüche, Teil \"1\""});
    QCOMPARE(out.Status, 0);
    QCOMPARE(out.Bytes, bytes);
    const QString adminFile = dir.filePath(QStringLiteral("all.csv"));
    QCOMPARE(RunAdmin({"grades", db.Path(), adminFile}).Status, 0);
    QCOMPARE(ReadCsv(adminFile), expected);

    // Unknown names: a clear error, exit 1 and no file.
    const QString none = dir.filePath(QStringLiteral("none.csv"));
    const TAdminRun noClass = RunAdmin({"grades", db.Path(), "--class", "Room 12", none});
    QCOMPARE(noClass.Status, 1);
    QVERIFY2(noClass.Err.contains(QStringLiteral("no class named \"Room 12\"")), qPrintable(noClass.Err));
    const TAdminRun noTest = RunAdmin({"grades", db.Path(), "--test", "Latin", none});
    QCOMPARE(noTest.Status, 1);
    QVERIFY(noTest.Err.contains(QStringLiteral("no test named \"Latin\"")));
    QVERIFY(!QFile::exists(none));
    QCOMPARE(RunAdmin({"items", db.Path(), "--test", "Latin"}).Status, 1);
}

void TestResultSheets::statisticsFromWizardTranscripts()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (1, 'Quiz', '', '', 2)"});
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (2, 'Untaken', '', '', 2)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Room 5', '', '')"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (2, 'Room 6', '', '')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 1, 1, '1')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (2, 2, 1, '1')"});
    const QStringList questions{QStringLiteral("Is 2 + 2 four?"), QStringLiteral("Où est Zoë, \"ici\"?"),
                                QStringLiteral("Is the sky\r\n\r\nblue?"), QStringLiteral("Is ice cold?")};
    for (int i = 0; i < questions.size(); ++i)
        AddYesQuestion(db, i + 1, questions.at(i));

    // Grades 75, 75, 50, 50, 25, 0: the top group (27 % of 6, so 2) is S1 and S2, the
    // bottom group S5 and S6.
    const QList<QList<bool>> answers{{true, true, true, false},   {true, true, false, true},
                                     {true, false, true, false},  {false, true, false, true},
                                     {false, false, false, true}, {false, false, false, false},
                                     {true, true, true, true}};
    for (int s = 0; s < answers.size(); ++s)
        TakeTest(db, QStringLiteral("S%1").arg(s + 1), 1, answers.at(s));
    // S7's transcript is damaged afterwards; S8 was only reopened in the gradebook.
    db.Exec({"UPDATE testresults SET ANSWERS = 'garbled' WHERE STUDENTID = 'S7'"});
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S8', 1, 1, 0, "
             "'INCOMPLETE')"});
    QCOMPARE(db.Column({"SELECT GRADE FROM testresults ORDER BY SERIAL"}),
             QStringList({"75", "75", "50", "50", "25", "0", "100", "0"}));

    TForm_QuestionStatistics window(&db.Query());
    window.TestKey = QStringLiteral("1");
    window.show();
    QCOMPARE(window.NvComboBox_Test->Text(), QStringLiteral("Quiz"));
    QCOMPARE(window.NvComboBox_Class->Text(), QStringLiteral("(All classes)"));
    QCOMPARE(
        window.Label_Summary->text(),
        QStringLiteral("6 students (top and bottom groups of 2); 1 transcript could not be read and was skipped."));
    QTableWidget *grid = window.Grid_Statistics;
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(GridRow(grid, 0), QStringList({"1", "Is 2 + 2 four?", "6", "3", "50.0", "1.00"}));
    QCOMPARE(GridRow(grid, 1), QStringList({"2", "Où est Zoë, \"ici\"?", "6", "3", "50.0", "1.00"}));
    QCOMPARE(GridRow(grid, 2), QStringList({"3", "Is the sky blue?", "6", "2", "33.3", "0.50"}));
    QCOMPARE(GridRow(grid, 3), QStringList({"4", "Is ice cold?", "6", "3", "50.0", "0.00"}));

    // Exported as CSV, with the question texts whole.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("items.csv"));
    TDialogSeam::SetNextAnswer(ResultOK, file);
    QTest::mouseClick(window.BitBtn_Export, Qt::LeftButton);
    const QList<QStringList> csv = ReadCsv(file);
    QCOMPARE(csv.size(), 5);
    QCOMPARE(csv.at(0), QStringList({"No.", "Question", "Answered", "Right", "Facility (%)", "Discrimination"}));
    QCOMPARE(csv.at(3), QStringList({"3", questions.at(2), "6", "2", "33.3", "0.50"}));

    // Printed through the preview.
    TDialogSeam::ClearShown();
    QTest::mouseClick(window.BitBtn_Preview, Qt::LeftButton);
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().at(0).Kind, TBoxKind::Window);
    QCOMPARE(TDialogSeam::Shown().at(0).Text, QStringLiteral("Question Statistics - Quiz"));
    TItemStatisticsReport report;
    report.Statistics = window.Statistics;
    const QString pdf = dir.filePath(QStringLiteral("items.pdf"));
    QString error;
    QVERIFY2(report.ExportPdf(pdf, &error), qPrintable(error));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains(
                 QRegularExpression(QStringLiteral("3\\.\\s+Is the sky blue\\?\\s+6\\s+2\\s+33\\.3\\s+0\\.50"))),
             qPrintable(printed));
    QVERIFY(printed.contains(QStringLiteral("1 transcript could not be read")));

    // A class where nobody took the test, chosen as the teacher does: with the keyboard.
    window.NvComboBox_Class->setFocus();
    QTest::keyClick(window.NvComboBox_Class, Qt::Key_End);
    QCOMPARE(window.NvComboBox_Class->Text(), QStringLiteral("Room 6"));
    QCOMPARE(window.Label_Summary->text(), QStringLiteral("Nobody in this class has taken this test yet."));
    QCOMPARE(grid->rowCount(), 0);
    QVERIFY(!window.BitBtn_Export->isEnabled());

    // The command line prints the same figures.
    const TAdminRun items = RunAdmin({"items", db.Path(), "--test", "quiz", "--class", "Room 5"});
    QCOMPARE(items.Status, 0);
    const QString table = QString::fromUtf8(items.Bytes);
    QVERIFY2(table.contains(
                 QRegularExpression(QStringLiteral("\\n\\s+3\\s+6\\s+2\\s+33\\.3\\s+0\\.50  Is the sky blue\\?\\n"))),
             qPrintable(table));
    QVERIFY(table.contains(QStringLiteral("1 transcript could not be read and was skipped.")));
    const TAdminRun untaken = RunAdmin({"items", db.Path(), "--test", "Untaken"});
    QCOMPARE(untaken.Status, 0);
    QVERIFY(QString::fromUtf8(untaken.Bytes).contains(QStringLiteral("Nobody has taken this test yet.")));
}

QTEST_MAIN(TestResultSheets)
#include "tst_resultsheets.moc"
