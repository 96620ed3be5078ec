#include "database/Database.h"
#include "question/QuestionControls.h"
#include "testing/Login.h"
#include "testing/Main.h"
#include "testing/Password.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// One expected modal window of the sequence and what the student does in it.
struct TStep {
    QString Window;
    std::function<void(QWidget *)> Act;
};

// Plays the student: each modal window that comes up is handed to the next step.
// A window nobody expected, or a step that failed, is closed so the run cannot hang.
class TStudent : public QObject {
public:
    explicit TStudent(QList<TStep> steps) : FSteps(std::move(steps))
    {
        connect(&FTimer, &QTimer::timeout, this, &TStudent::Poll);
        FTimer.start(10);
    }

    QStringList Windows; // object names in the order they came up
    QStringList Unexpected;
    bool Done() const { return FSteps.isEmpty(); }
    void Stop() { FTimer.stop(); }

private:
    void Poll()
    {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || window == FLast || !window->isVisible())
            return;
        FLast = window;
        Windows << window->objectName();
        if (FSteps.isEmpty() || FSteps.first().Window != window->objectName()) {
            Unexpected << window->objectName();
            if (auto dialog = qobject_cast<QDialog *>(window))
                dialog->done(QDialog::Rejected);
            else
                window->hide();
            return;
        }
        const TStep step = FSteps.takeFirst();
        step.Act(window);
        if (QTest::currentTestFailed()) {
            FSteps.clear();
            while (QWidget *open = QApplication::activeModalWidget()) {
                if (auto dialog = qobject_cast<QDialog *>(open))
                    dialog->done(QDialog::Rejected);
                else
                    open->hide();
            }
        }
    }

    QList<TStep> FSteps;
    QPointer<QWidget> FLast;
    QTimer FTimer;
};

int RowOf(Tamberlin::TForm_SelectTest *form, const QString &name)
{
    for (int row = 1; row < form->RowCount(); ++row)
        if (form->Cells(Tamberlin::TForm_SelectTest::ColName, row) == name)
            return row;
    return 0;
}

void Type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
}

// What the student answered and whether it was meant to be right, page by page.
struct TAnswered {
    QString Question;
    QString Recorded;
    bool Right = false;
};

} // namespace

class TestStudentSequence : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstLoginTestAndRetake();
    void cancelEndsSequence_data();
    void cancelEndsSequence();
    void databaseErrorsInMessageDialog();

private:
    // A fresh copy of the demo database, found through the location file.
    void PrepareProgramFolder(Tamberlin::TForm_Main &main);
    QStringList Results(const QString &columns);
    // Answers every question of the wizard; when oneWrong, the list question of several
    // correct choices is answered with one choice missing.
    void TakeTest(TForm_TestWizard *wizard, bool oneWrong);
    TStep Class(const QString &name);

    QTemporaryDir FTemplateDir;
    QString FTemplate;
    std::unique_ptr<QTemporaryDir> FDir;
    QString FDatabase;
    QList<TAnswered> FAnswered;
    QStringList FKinds;
};

void TestStudentSequence::initTestCase()
{
    // The demo database is made by corvella-admin itself, as a newcomer makes it, under
    // the same locale as this test, so both read the demo's dates alike.
    const QString admin = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/corvella-admin");
    QVERIFY2(QFileInfo::exists(admin), "corvella-admin must be built first (target corvella-admin)");
    FTemplate = FTemplateDir.filePath(QStringLiteral("Corvella.mdb"));
    QProcess process;
    process.start(admin, {QStringLiteral("create"), QStringLiteral("--demo"), FTemplate});
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
}

void TestStudentSequence::init()
{
    TDialogSeam::BeginScript();
    FAnswered.clear();
    FKinds.clear();
}

void TestStudentSequence::cleanup()
{
    while (QWidget *open = QApplication::activeModalWidget()) {
        if (auto dialog = qobject_cast<QDialog *>(open))
            dialog->done(QDialog::Rejected);
        else
            open->hide();
    }
    TDialogSeam::EndScript();
}

void TestStudentSequence::PrepareProgramFolder(Tamberlin::TForm_Main &main)
{
    FDir = std::make_unique<QTemporaryDir>();
    QDir(FDir->path()).mkdir(QStringLiteral("data"));
    FDatabase = FDir->filePath(QStringLiteral("data/Corvella.mdb"));
    QVERIFY(QFile::copy(FTemplate, FDatabase));
    QFile location(FDir->filePath(QStringLiteral("Tamberlin.txt")));
    QVERIFY(location.open(QIODevice::WriteOnly));
    location.write(FDir->filePath(QStringLiteral("data")).toUtf8() + "\r\n");
    location.close();
    main.ProgramFolder = FDir->path();
    main.SplashTime = 0;
}

QStringList TestStudentSequence::Results(const QString &columns)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(FDatabase));
    TDbQuery query(&connection);
    query.Add(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM testresults ORDER BY SERIAL"));
    query.Open();
    QStringList values;
    for (; !query.Eof(); query.Next())
        values << query.Fields(0).AsString();
    query.Close();
    return values;
}

TStep TestStudentSequence::Class(const QString &name)
{
    return {QStringLiteral("Form_SelectClass"), [name](QWidget *window) {
                auto form = static_cast<Tamberlin::TForm_SelectClass *>(window);
                const auto items = form->QAListbox_Classes->findItems(name, Qt::MatchExactly);
                QCOMPARE(items.size(), 1);
                form->QAListbox_Classes->setCurrentItem(items.first());
                QTest::mouseClick(form->Button_OK, Qt::LeftButton);
            }};
}

void TestStudentSequence::TakeTest(TForm_TestWizard *wizard, bool oneWrong)
{
    QVERIFY2(!wizard->TestUnavailable(), qPrintable(wizard->UnavailableReason()));
    while (QWidget *control = wizard->CurrentControl()) {
        // The page is laid out before the student gets to it.
        QCoreApplication::processEvents();
        TAnswered answered;
        answered.Question = wizard->Label_Question->text();
        answered.Right = true;
        FKinds << ComponentClassName(control);
        if (auto edit = qobject_cast<TQAMaskEdit *>(control)) {
            edit->setFocus();
            QTest::keyClicks(edit, edit->CorrectAnswer().toLower());
            answered.Recorded = edit->Text();
            answered.Right = TrimBlanks(edit->Text()) == edit->CorrectAnswer();
        } else if (auto combo = qobject_cast<TQACombobox *>(control)) {
            combo->setCurrentIndex(combo->findText(combo->CorrectAnswer()));
            answered.Recorded = combo->CorrectAnswer();
        } else if (auto radio = qobject_cast<TQARadioGroup *>(control)) {
            // On the round button itself, as a student clicks.
            QRadioButton *button = radio->Button(radio->Items()->IndexOf(radio->CorrectAnswer()));
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
            answered.Recorded = radio->CorrectAnswer();
        } else if (auto list = qobject_cast<TQAListbox *>(control)) {
            QStringList choose = list->CorrectAnswers()->Lines();
            if (oneWrong && choose.size() > 1) {
                choose.removeLast();
                answered.Right = false;
            }
            for (int i = 0; i < list->Items()->Count(); ++i)
                if (choose.contains(list->Items()->Strings(i))) {
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                      list->visualItemRect(list->item(i)).center());
                    answered.Recorded += list->MultiSelect() ? list->Items()->Strings(i) + CRLF
                                                             : list->Items()->Strings(i);
                }
        } else if (auto memo = qobject_cast<TQARichEdit *>(control)) {
            // Typed with a stray blank line before and after.
            memo->setFocus();
            memo->setPlainText(QStringLiteral("\n") + memo->CorrectAnswer().replace(CRLF, QStringLiteral("\n")) +
                               QStringLiteral(" \n"));
            answered.Recorded = memo->CorrectAnswer();
        } else if (auto date = qobject_cast<TQADateTime *>(control)) {
            // The day the question means; a locale whose short dates do not read back
            // leaves the correct answer no date, and any day is then right.
            const QDate day = StrToDate(date->CorrectAnswer());
            date->setDate(day.isValid() ? day : DayNumberToDate(date->DateAnswer()));
            answered.Recorded = DateToStr(date->date());
        }
        FAnswered << answered;
        QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
    }
}

void TestStudentSequence::firstLoginTestAndRetake()
{
    Tamberlin::TForm_Main main;
    PrepareProgramFolder(main);
    const QString quiz = QStringLiteral("WORLD GEOGRAPHY QUIZ");
    QString shownGrade;
    QString passedGrade;

    TDialogSeam::SetNextAnswer(ResultYes); // "another test?"
    TStudent student({
        {QStringLiteral("Form_Login"),
         [](QWidget *window) {
             // S03 has no password yet: any password lets him in, then he chooses one.
             auto login = static_cast<TForm_Login *>(window);
             Type(login->NvMaskEdit_UserName, QStringLiteral("s03"));
             Type(login->NvMaskEdit_Password, QStringLiteral("whatever"));
             QTest::mouseClick(login->BitBtn_OK, Qt::LeftButton);
             QCOMPARE(login->LoginMode(), int(ModeChangePassword));
             Type(login->NvMaskEdit_NewPassword, QStringLiteral("kiwi"));
             Type(login->NvMaskEdit_ConfirmPassword, QStringLiteral("kiwi"));
             QTest::mouseClick(login->BitBtn_OK, Qt::LeftButton);
         }},
        Class(QStringLiteral("GEOGRAPHY 7B")),
        {QStringLiteral("Form_SelectTest"),
         [&](QWidget *window) {
             auto form = static_cast<Tamberlin::TForm_SelectTest *>(window);
             QCOMPARE(form->windowTitle(), QStringLiteral("Select Test"));
             const int row = RowOf(form, quiz);
             QVERIFY(row > 0);
             QCOMPARE(form->Cells(Tamberlin::TForm_SelectTest::ColStatus, row), QStringLiteral("INCOMPLETE"));
             QCOMPARE(form->Cells(Tamberlin::TForm_SelectTest::ColGrade, row), QStringLiteral("N/A"));
             form->SelectRow(row);
             form->StringGridClick();
             QVERIFY(form->BitBtn_OK->isEnabled());
             QTest::mouseClick(form->BitBtn_OK, Qt::LeftButton);
         }},
        {QStringLiteral("Form_TestWizard"),
         [&](QWidget *window) {
             auto wizard = static_cast<TForm_TestWizard *>(window);
             QVERIFY(wizard->SaveResult);
             TakeTest(wizard, true);
             QCOMPARE(wizard->Label_Question->text(), QStringLiteral("Test Complete!"));
             shownGrade = wizard->Label_Grade2->text();
             passedGrade = QString::number(WholeGrade(wizard->Grade()));
             QVERIFY2(wizard->Image_Happy->isVisible(), qPrintable(wizard->Transcript()));
             QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
         }},
        // Yes: the same student, no new login.
        Class(QStringLiteral("GEOGRAPHY 7B")),
        {QStringLiteral("Form_SelectTest"),
         [&](QWidget *window) {
             auto form = static_cast<Tamberlin::TForm_SelectTest *>(window);
             const int row = RowOf(form, quiz);
             QCOMPARE(form->Cells(Tamberlin::TForm_SelectTest::ColStatus, row), QStringLiteral("PASSED"));
             QCOMPARE(form->Cells(Tamberlin::TForm_SelectTest::ColGrade, row), passedGrade + QLatin1Char('%'));
             form->SelectRow(row);
             form->StringGridClick();
             QVERIFY(!form->BitBtn_OK->isEnabled());
             QVERIFY(form->Button_View->isEnabled());
             // The taken test's report opens in the preview window over the list.
             QTest::mouseClick(form->Button_View, Qt::LeftButton);
             QCOMPARE(TDialogSeam::Shown().last().Kind, TBoxKind::Window);
             QVERIFY(TDialogSeam::Shown().last().Text.startsWith(quiz));
             QVERIFY(form->isVisible());
             QTest::mouseClick(form->BitBtn_Cancel, Qt::LeftButton);
         }},
    });
    main.Button_TestClick(main.Button_Test);
    student.Stop();
    QVERIFY(student.Unexpected.isEmpty());
    QVERIFY(student.Done());

    // Six questions, one of each kind; the list question of several choices was wrong.
    FKinds.sort();
    QCOMPARE(FKinds,
             (QStringList{"TQACombobox", "TQADateTime", "TQAListbox", "TQAMaskEdit", "TQARadioGroup", "TQARichEdit"}));
    QCOMPARE(shownGrade, QStringLiteral("83") + DecimalSeparator() + QLatin1Char('3'));
    QCOMPARE(passedGrade, QStringLiteral("83"));
    QCOMPARE(main.LastStudentID, QStringLiteral("s03"));
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(TDialogSeam::Shown().at(0).Kind, TBoxKind::Confirmation);
    QCOMPARE(TDialogSeam::Shown().at(0).Text, QStringLiteral("Would you like to take another test?"));

    QString transcript;
    for (int i = 0; i < FAnswered.size(); ++i)
        transcript += QString::number(i + 1) + QStringLiteral(". ") + FAnswered.at(i).Question + CRLF + CRLF +
                      FAnswered.at(i).Recorded +
                      (FAnswered.at(i).Right ? QStringLiteral(" (CORRECT)") : QStringLiteral(" (INCORRECT)")) + CRLF +
                      CRLF + CRLF;
    QCOMPARE(Results(QStringLiteral("STUDENTID || '|' || TESTID || '|' || CLASSID || '|' || GRADE || '|' || STATUS")),
             QStringList{QStringLiteral("s03|1|1|83|PASSED")});
    QCOMPARE(Results(QStringLiteral("TESTDATE")), QStringList{DateToStr(QDate::currentDate())});
    QCOMPARE(Results(QStringLiteral("ANSWERS")), QStringList{transcript + QLatin1Char(' ')});
    {
        TDbConnection connection;
        connection.SetConnectionString(ConnectionStringFor(FDatabase));
        TDbQuery query(&connection);
        query.Add(QStringLiteral("SELECT PWORD FROM studentmaster WHERE STUDENTID = 'S03'"));
        query.Open();
        QVERIFY(PasswordVerifies(query.Fields(0).AsString(), QStringLiteral("kiwi")));
        query.Close();
        // The teacher sets the result back to INCOMPLETE in the gradebook.
        query.Clear();
        query.Add(QStringLiteral("UPDATE testresults SET STATUS = 'INCOMPLETE'"));
        query.ExecSQL();
    }

    // The next pass (as after "another test") may take it again; the row is updated.
    FAnswered.clear();
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultNo);
    TStudent again({
        Class(QStringLiteral("GEOGRAPHY 7B")),
        {QStringLiteral("Form_SelectTest"),
         [&](QWidget *window) {
             auto form = static_cast<Tamberlin::TForm_SelectTest *>(window);
             const int row = RowOf(form, quiz);
             QCOMPARE(form->Cells(Tamberlin::TForm_SelectTest::ColStatus, row), QStringLiteral("INCOMPLETE"));
             form->SelectRow(row);
             form->StringGridClick();
             QTest::mouseClick(form->BitBtn_OK, Qt::LeftButton);
         }},
        {QStringLiteral("Form_TestWizard"),
         [&](QWidget *window) {
             auto wizard = static_cast<TForm_TestWizard *>(window);
             TakeTest(wizard, false);
             QCOMPARE(wizard->Label_Grade2->text(), QStringLiteral("100") + DecimalSeparator() + QLatin1Char('0'));
             QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
         }},
    });
    main.Button_TestClick(nullptr);
    QVERIFY(again.Unexpected.isEmpty());
    QVERIFY2(again.Done(), qPrintable(again.Windows.join(QLatin1Char(','))));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(Results(QStringLiteral("SERIAL || '|' || GRADE || '|' || STATUS")),
             QStringList{QStringLiteral("1|100|PASSED")});
    QVERIFY(!Results(QStringLiteral("ANSWERS")).at(0).contains(QStringLiteral("(INCORRECT)")));
}

void TestStudentSequence::cancelEndsSequence_data()
{
    QTest::addColumn<int>("cancelAt"); // 0 login, 1 class, 2 test
    QTest::newRow("login") << 0;
    QTest::newRow("class") << 1;
    QTest::newRow("test") << 2;
}

void TestStudentSequence::cancelEndsSequence()
{
    QFETCH(int, cancelAt);

    Tamberlin::TForm_Main main;
    PrepareProgramFolder(main);
    QList<TStep> steps{
        {QStringLiteral("Form_Login"),
         [cancelAt](QWidget *window) {
             auto login = static_cast<TForm_Login *>(window);
             if (cancelAt == 0) {
                 QTest::mouseClick(login->BitBtn_Cancel, Qt::LeftButton);
                 return;
             }
             Type(login->NvMaskEdit_UserName, QStringLiteral("S01"));
             Type(login->NvMaskEdit_Password, QStringLiteral("apple"));
             QTest::mouseClick(login->BitBtn_OK, Qt::LeftButton);
         }},
        {QStringLiteral("Form_SelectClass"),
         [cancelAt](QWidget *window) {
             auto form = static_cast<Tamberlin::TForm_SelectClass *>(window);
             QTest::mouseClick(cancelAt == 1 ? form->Button_Cancel : form->Button_OK, Qt::LeftButton);
         }},
        {QStringLiteral("Form_SelectTest"),
         [](QWidget *window) {
             QTest::mouseClick(static_cast<Tamberlin::TForm_SelectTest *>(window)->BitBtn_Cancel, Qt::LeftButton);
         }},
    };
    steps = steps.mid(0, cancelAt + 1);
    TStudent student(steps);
    // Shown as the program shows it: the splash screen, then the sequence.
    main.FormShow();
    QVERIFY(student.Unexpected.isEmpty());
    QVERIFY(student.Done());
    // Ended at once: no "another test?" and nothing written.
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QCOMPARE(Results(QStringLiteral("COUNT(*)")), QStringList{QStringLiteral("0")});
}

void TestStudentSequence::databaseErrorsInMessageDialog()
{
    {
        Tamberlin::TForm_Main main;
        ReportDbError(QStringLiteral("disk I/O error"));
    }
    ReportDbError(QStringLiteral("after the program"));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().at(0);
    QCOMPARE(box.Kind, TBoxKind::MessageDialog);
    QCOMPARE(box.DlgType, int(MsgError));
    QCOMPARE(box.Buttons, int(BtnOK));
    QCOMPARE(box.Text, QStringLiteral("disk I/O error"));
}

QTEST_MAIN(TestStudentSequence)
#include "tst_studentsequence.moc"
