// One question's whole road through both programs' own windows, on one database file:
// the teacher writes it and sets up test, class, student and assignment in Corvella, the
// student takes the test in Tamberlin, the teacher reopens it in the gradebook, and the
// retake updates the same result row. On the server too, where the location file names
// the server instead of a folder.

#include "authoring/ClassEdit.h"
#include "authoring/Main.h"
#include "authoring/QuestionJoin.h"
#include "authoring/SelectTest.h"
#include "authoring/StudentEdit.h"
#include "authoring/StudentJoin.h"
#include "authoring/TestEdit.h"
#include "authoring/TestGrades.h"
#include "authoring/TestJoin.h"
#include "common/TestDatabase.h"
#include "designer/ObjectInspector.h"
#include "question/QuestionControls.h"
#include "testing/Login.h"
#include "testing/Main.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using Corvella::TForm_Main;

namespace {

// One expected modal window (by class name) and what the user does in it.
struct TStep {
    QString Window;
    std::function<void(QWidget *)> Act;
};

// As the user's Escape would: a window that refuses to close (a login whose OK
// failed) is then closed all the same, but keeps its own cancelled state.
void Dismiss(QWidget *window)
{
    if (auto dialog = qobject_cast<QDialog *>(window)) {
        dialog->reject();
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    } else
        window->hide();
}

void CloseAllModal()
{
    for (int i = 0; i < 20; ++i) {
        QWidget *open = QApplication::activeModalWidget();
        if (!open)
            return;
        Dismiss(open);
        QCoreApplication::processEvents();
    }
}

// Plays the user: each modal window that comes up is handed to the next step, from a
// fresh event so that a window the step opens finds the poll running again. A window
// nobody expected, a failed step or a window left up too long is closed, so the run
// cannot hang.
class TUser : public QObject {
public:
    explicit TUser(QList<TStep> steps) : FSteps(std::move(steps))
    {
        connect(&FTimer, &QTimer::timeout, this, &TUser::Poll);
        FTimer.start(10);
        FSince.start();
    }
    ~TUser() override { FTimer.stop(); }

    QStringList Windows;
    QStringList Unexpected;
    bool Done() const { return FSteps.isEmpty() && !FActing; }
    QString Report() const
    {
        return Windows.join(QLatin1Char(',')) + QStringLiteral(" / unexpected: ") + Unexpected.join(QLatin1Char(','));
    }

private:
    void Poll()
    {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || !window->isVisible())
            return;
        if (window == FLast) {
            if (FSince.elapsed() > 20000) {
                Unexpected << QStringLiteral("timeout in ") + QString::fromLatin1(window->metaObject()->className());
                FSteps.clear();
                FSince.restart();
                Dismiss(window);
            }
            return;
        }
        FLast = window;
        FSince.restart();
        const QString name = QString::fromLatin1(window->metaObject()->className());
        Windows << name;
        if (FSteps.isEmpty() || FSteps.first().Window != name) {
            Unexpected << name;
            FSteps.clear();
            QTimer::singleShot(0, window, [window] { Dismiss(window); });
            return;
        }
        const TStep step = FSteps.takeFirst();
        FActing = true;
        QPointer<QWidget> guarded(window);
        QTimer::singleShot(0, this, [this, step, guarded] {
            FActing = false;
            if (!guarded)
                return;
            step.Act(guarded);
            if (QTest::currentTestFailed()) {
                FSteps.clear();
                CloseAllModal();
            }
        });
    }

    QList<TStep> FSteps;
    QPointer<QWidget> FLast;
    QTimer FTimer;
    QElapsedTimer FSince;
    bool FActing = false;
};

void Type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
}

QStringList GridRow(const TStringGrid *grid, int row)
{
    return row < grid->RowCount() ? grid->RowCells(row) : QStringList();
}

const QString TestName = QStringLiteral("CAPITALS QUIZ");
const QString ClassName = QStringLiteral("GEOGRAPHY 8A");
const QString StudentID = QStringLiteral("R100");
const QString QuestionText = QStringLiteral("What is the capital of France?");
const QString RightAnswer = QStringLiteral("Paris");

} // namespace

class TestRoadOfOneQuestion : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void questionFromAuthoringToGradebookAndRetake();

private:
    // Runs a main-window command (action or tool button) with the user's steps.
    void Command(TForm_Main &form, const QString &command, const QList<TStep> &steps);
    // The student's whole sequence in Tamberlin; answers right or wrong.
    // login: the student ID as he types it.
    void TakeTest(const QString &login, const QString &password, bool firstLogin, bool right, const QString &status,
                  const QString &grade);
    QStringList Results();

    std::unique_ptr<TTestDatabase> FDb;
};

void TestRoadOfOneQuestion::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
    SetShortDateFormat(QStringLiteral("M/d/yyyy"));
}

void TestRoadOfOneQuestion::cleanup()
{
    CloseAllModal();
    TDialogSeam::EndScript();
}

void TestRoadOfOneQuestion::Command(TForm_Main &form, const QString &command, const QList<TStep> &steps)
{
    TUser user(steps);
    if (QAction *item = form.findChild<QAction *>(command))
        item->trigger();
    else if (QToolButton *button = form.findChild<QToolButton *>(command))
        button->click();
    else
        QFAIL(qPrintable(QStringLiteral("no command ") + command));
    CloseAllModal();
    QVERIFY2(user.Unexpected.isEmpty(), qPrintable(command + QStringLiteral(": ") + user.Report()));
    QVERIFY2(user.Done(), qPrintable(command + QStringLiteral(": ") + user.Report()));
}

QStringList TestRoadOfOneQuestion::Results()
{
    // The ID as the student typed it: compared without regard to letter case.
    return FDb->Column({QStringLiteral("SELECT SERIAL || '|' || UPPER(STUDENTID) || '|' || GRADE || '|' || STATUS"),
                        QStringLiteral("FROM testresults ORDER BY SERIAL")});
}

void TestRoadOfOneQuestion::TakeTest(const QString &login, const QString &password, bool firstLogin, bool right,
                                     const QString &status, const QString &grade)
{
    Tamberlin::TForm_Main main;
    // The location file names the folder of the teacher's database, or its server.
    QFile location(FDb->Folder() + QStringLiteral("/Tamberlin.txt"));
    QVERIFY(location.open(QIODevice::WriteOnly));
    location.write((TTestDatabase::OnServer() ? FDb->Path() : FDb->Folder()).toUtf8() + "\r\n");
    location.close();
    main.ProgramFolder = FDb->Folder();
    main.SplashTime = 0;

    QString answered;
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultNo); // "another test?"
    TUser student({
        {QStringLiteral("TForm_Login"),
         [&](QWidget *window) {
             auto form = static_cast<TForm_Login *>(window);
             Type(form->NvMaskEdit_UserName, login);
             Type(form->NvMaskEdit_Password, password);
             QTest::mouseClick(form->BitBtn_OK, Qt::LeftButton);
             if (firstLogin) {
                 // No password yet: he chooses one.
                 QCOMPARE(form->LoginMode(), int(ModeChangePassword));
                 Type(form->NvMaskEdit_NewPassword, password);
                 Type(form->NvMaskEdit_ConfirmPassword, password);
                 QTest::mouseClick(form->BitBtn_OK, Qt::LeftButton);
             }
         }},
        {QStringLiteral("Tamberlin::TForm_SelectClass"),
         [&](QWidget *window) {
             auto form = static_cast<Tamberlin::TForm_SelectClass *>(window);
             const auto items = form->QAListbox_Classes->findItems(ClassName, Qt::MatchExactly);
             QCOMPARE(items.size(), 1);
             form->QAListbox_Classes->setCurrentItem(items.first());
             QTest::mouseClick(form->Button_OK, Qt::LeftButton);
         }},
        {QStringLiteral("Tamberlin::TForm_SelectTest"),
         [&](QWidget *window) {
             auto form = static_cast<Tamberlin::TForm_SelectTest *>(window);
             QCOMPARE(form->RowCount(), 2);
             QCOMPARE(form->Cells(Tamberlin::TForm_SelectTest::ColName, 1), TestName);
             QCOMPARE(form->Cells(Tamberlin::TForm_SelectTest::ColStatus, 1), QStringLiteral("INCOMPLETE"));
             form->SelectRow(1);
             form->StringGridClick();
             QVERIFY(form->BitBtn_OK->isEnabled());
             QTest::mouseClick(form->BitBtn_OK, Qt::LeftButton);
         }},
        {QStringLiteral("TForm_TestWizard"),
         [&](QWidget *window) {
             auto wizard = static_cast<TForm_TestWizard *>(window);
             QVERIFY2(!wizard->TestUnavailable(), qPrintable(wizard->UnavailableReason()));
             QCoreApplication::processEvents();
             auto edit = qobject_cast<TQAMaskEdit *>(wizard->CurrentControl());
             QVERIFY(edit);
             QCOMPARE(wizard->Label_Question->text(), QuestionText);
             QCOMPARE(edit->CorrectAnswer(), RightAnswer);
             edit->setFocus();
             QTest::keyClicks(edit, right ? RightAnswer : QStringLiteral("Lyon"));
             answered = edit->Text();
             QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
             QVERIFY(!wizard->CurrentControl());
             QCOMPARE(wizard->Label_Question->text(), QStringLiteral("Test Complete!"));
             QCOMPARE(QString::number(WholeGrade(wizard->Grade())), grade);
             QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
         }},
    });
    main.Button_TestClick(main.Button_Test);
    CloseAllModal();
    QVERIFY2(student.Unexpected.isEmpty(), qPrintable(student.Report()));
    QVERIFY2(student.Done(), qPrintable(student.Report()));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().at(0).Text, QStringLiteral("Would you like to take another test?"));

    // One row only, whatever the number of attempts.
    const QStringList rows = Results();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().section(QLatin1Char('|'), 1), QStringList({StudentID, grade, status}).join(QLatin1Char('|')));
    QCOMPARE(FDb->Column({QStringLiteral("SELECT TESTDATE FROM testresults")}),
             QStringList{DateToStr(QDate::currentDate())});
    const QString transcript = FDb->Column({QStringLiteral("SELECT ANSWERS FROM testresults")}).value(0);
    QVERIFY2(transcript.contains(QuestionText) && transcript.contains(answered) &&
                 transcript.contains(right ? QStringLiteral("(CORRECT)") : QStringLiteral("(INCORRECT)")),
             qPrintable(transcript));
}

void TestRoadOfOneQuestion::questionFromAuthoringToGradebookAndRetake()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
    auto form = std::make_unique<TForm_Main>(ConnectionStringFor(FDb->Path()));
    form->show();
    QTRY_VERIFY_WITH_TIMEOUT(form->StartedUp(), 10000);
    TDialogSeam::ClearShown();

    // 1. The teacher: a test, a class and a student, each through its window.
    Command(*form, QStringLiteral("ToolButton_Tests"), {{QStringLiteral("TForm_TestEdit"), [](QWidget *window) {
                                                             auto edit = static_cast<TForm_TestEdit *>(window);
                                                             Type(edit->Edit_TestTitle, TestName);
                                                             edit->BitBtn_Add->click();
                                                             edit->BitBtn_Close->click();
                                                         }}});
    QCOMPARE(FDb->Column({QStringLiteral("SELECT NAME FROM testmaster")}), QStringList{TestName});
    const QString testID = FDb->Column({QStringLiteral("SELECT ID FROM testmaster")}).value(0);
    // The test list of the main window knows the new test.
    QCOMPARE(form->NvComboBox_Test->ItemList(), QStringList{TestName});

    Command(*form, QStringLiteral("MenuItem_NewClass"), {{QStringLiteral("TForm_ClassEdit"), [](QWidget *window) {
                                                              auto edit = static_cast<TForm_ClassEdit *>(window);
                                                              Type(edit->Edit_ClassTitle, ClassName);
                                                              Type(edit->Edit_Course, QStringLiteral("GEO"));
                                                              Type(edit->Edit_Teacher, QStringLiteral("MARTIN"));
                                                              edit->BitBtn_Add->click();
                                                              edit->BitBtn_Close->click();
                                                          }}});
    QCOMPARE(FDb->Column({QStringLiteral("SELECT NAME FROM classmaster")}), QStringList{ClassName});
    const QString classID = FDb->Column({QStringLiteral("SELECT ID FROM classmaster")}).value(0);

    Command(*form, QStringLiteral("MenuItem_EditStudents"), {{QStringLiteral("TForm_StudentEdit"), [](QWidget *window) {
                                                                  auto edit = static_cast<TForm_StudentEdit *>(window);
                                                                  Type(edit->Edit_LastName, QStringLiteral("Durand"));
                                                                  Type(edit->Edit_FirstName, QStringLiteral("Lea"));
                                                                  Type(edit->Edit_StudentID, StudentID);
                                                                  edit->BitBtn_Add->click();
                                                                  edit->BitBtn_Close->click();
                                                              }}});
    QCOMPARE(FDb->Column({QStringLiteral(
                 "SELECT LASTNAME || '|' || STUDENTID || '|' || CASE WHEN PWORD IS NULL THEN 'no password' "
                 "ELSE PWORD END FROM studentmaster")}),
             QStringList{QStringLiteral("DURAND|") + StudentID + QStringLiteral("|no password")});
    QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));

    // The short-answer question, saved with no test chosen: it goes into the test below.
    form->NvComboBox_Test->SetItemIndex(-1);
    form->ToolButton_MaskEdit->click();
    QWidget *control = form->SelectedControl();
    QVERIFY(control);
    QCOMPARE(ComponentClassName(control), QStringLiteral("TQAMaskEdit"));
    TObjectInspector *inspector = form->ObjectInspector;
    QVERIFY(inspector->SetPropertyValue(inspector->FindPropertyRow(QStringLiteral("Question")), QuestionText));
    QVERIFY(inspector->SetPropertyValue(inspector->FindPropertyRow(QStringLiteral("CorrectAnswer")), RightAnswer));
    inspector->RefreshInspector();
    emit form->MenuItem_Question->aboutToShow();
    QVERIFY(form->MenuItem_Save->isEnabled());
    form->MenuItem_Save->trigger();
    QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));
    QVERIFY(form->StatusBar->currentMessage().startsWith(QStringLiteral("Saved")));
    const QString questionID = form->PropertyValue(QStringLiteral("ID"));
    QCOMPARE(FDb->Column({QStringLiteral("SELECT ID || '|' || QUESTION FROM controldef")}),
             QStringList{questionID + QLatin1Char('|') + QuestionText});
    QCOMPARE(FDb->Column({QStringLiteral("SELECT COUNT(*) FROM testdetail")}), QStringList{QStringLiteral("0")});

    // Into the test, in the questions-in-test window behind the test picker.
    Command(*form, QStringLiteral("MenuItem_AddQuestions"),
            {{QStringLiteral("TForm_TestEdit"),
              [](QWidget *window) {
                  auto picker = static_cast<TForm_TestEdit *>(window);
                  QCOMPARE(picker->StringGrid->Cells(TForm_TestEdit::ColName, picker->StringGrid->Row()), TestName);
                  picker->BitBtn_OK->click();
              }},
             {QStringLiteral("TForm_QuestionJoin"), [&](QWidget *window) {
                  auto join = static_cast<TForm_QuestionJoin *>(window);
                  QCOMPARE(join->ParentKey, testID);
                  QVERIFY(join->NvComboBox_Question->SelectCode(questionID));
                  join->BitBtn_Add->click();
                  QCOMPARE(GridRow(join->StringGrid, 1).mid(1), (QStringList{QStringLiteral("1"), QuestionText}));
                  join->BitBtn_Close->click();
              }}});
    QCOMPARE(FDb->Column({QStringLiteral("SELECT TESTID || '|' || CONTROLID || '|' || SEQUENCE FROM testdetail")}),
             QStringList{testID + QLatin1Char('|') + questionID + QStringLiteral("|1")});

    // The student into the class.
    Command(*form, QStringLiteral("MenuItem_AddStudents"),
            {{QStringLiteral("TForm_ClassEdit"),
              [](QWidget *window) { static_cast<TForm_ClassEdit *>(window)->BitBtn_OK->click(); }},
             {QStringLiteral("TForm_StudentJoin"), [&](QWidget *window) {
                  auto join = static_cast<TForm_StudentJoin *>(window);
                  QCOMPARE(join->ParentKey, classID);
                  QVERIFY(join->NvComboBox_Student->SelectCode(StudentID));
                  join->BitBtn_Add->click();
                  QCOMPARE(GridRow(join->StringGrid, 1).value(2), QStringLiteral("DURAND, LEA (") + StudentID + ')');
                  join->BitBtn_Close->click();
              }}});
    QCOMPARE(FDb->Column({QStringLiteral("SELECT CLASSID || '|' || STUDENTID FROM classdetail")}),
             QStringList{classID + QLatin1Char('|') + StudentID});

    // The test to the class, chapter 3.
    Command(*form, QStringLiteral("MenuItem_AddTests"),
            {{QStringLiteral("TForm_ClassEdit"),
              [](QWidget *window) { static_cast<TForm_ClassEdit *>(window)->BitBtn_OK->click(); }},
             {QStringLiteral("TForm_TestJoin"), [&](QWidget *window) {
                  auto join = static_cast<TForm_TestJoin *>(window);
                  QCOMPARE(join->ParentKey, classID);
                  QVERIFY(join->NvComboBox_Test->SelectCode(testID));
                  join->SpinEdit_Chapter->setValue(3);
                  join->BitBtn_Add->click();
                  QCOMPARE(GridRow(join->StringGrid, 1).mid(2), (QStringList{TestName, QStringLiteral("3")}));
                  join->BitBtn_Close->click();
              }}});
    QCOMPARE(FDb->Column({QStringLiteral("SELECT CLASSID || '|' || TESTID || '|' || CHAPTER FROM classtest")}),
             QStringList{classID + QLatin1Char('|') + testID + QStringLiteral("|3")});
    QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));

    // 2. The student, first time, typing his ID in small letters: chooses a password and
    // answers right.
    TakeTest(StudentID.toLower(), QStringLiteral("kiwi"), true, true, QStringLiteral("PASSED"), QStringLiteral("100"));
    if (QTest::currentTestFailed())
        return;
    const QString serial = Results().value(0).section(QLatin1Char('|'), 0, 0);

    // 3. The teacher sees the result in the gradebook and sets it back to INCOMPLETE.
    TDialogSeam::ClearShown();
    Command(*form, QStringLiteral("MenuItem_EditGradebook"),
            {{QStringLiteral("TForm_ClassEdit"),
              [](QWidget *window) { static_cast<TForm_ClassEdit *>(window)->BitBtn_OK->click(); }},
             {QStringLiteral("Corvella::TForm_SelectTest"),
              [](QWidget *window) {
                  auto select = static_cast<Corvella::TForm_SelectTest *>(window);
                  select->BitBtn_OK->click();
              }},
             {QStringLiteral("TForm_TestGrades"), [&](QWidget *window) {
                  auto grades = static_cast<TForm_TestGrades *>(window);
                  QCOMPARE(grades->TestKey, testID);
                  QCOMPARE(grades->ClassKey, classID);
                  QCOMPARE(grades->StringGrid->RowCount(), 2);
                  grades->StringGrid->SetRow(1);
                  QCOMPARE(GridRow(grades->StringGrid, 1).mid(3),
                           (QStringList{QStringLiteral("PASSED"), QStringLiteral("100")}));
                  QCOMPARE(grades->SpinEdit_Grade->value(), 100);
                  QVERIFY(grades->NvComboBox_Status->SelectItem(QStringLiteral("INCOMPLETE")));
                  grades->BitBtn_Update->click();
                  QCOMPARE(GridRow(grades->StringGrid, 1).mid(3),
                           (QStringList{QStringLiteral("INCOMPLETE"), QStringLiteral("100")}));
                  grades->BitBtn_Close->click();
              }}});
    QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));
    QCOMPARE(Results(), QStringList{serial + QLatin1Char('|') + StudentID + QStringLiteral("|100|INCOMPLETE")});

    // 4. The student again, with his password: a wrong answer updates the same row.
    TakeTest(StudentID, QStringLiteral("kiwi"), false, false, QStringLiteral("FAILED"), QStringLiteral("0"));
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(Results(), QStringList{serial + QLatin1Char('|') + StudentID + QStringLiteral("|0|FAILED")});

    form.reset();
}

QTEST_MAIN(TestRoadOfOneQuestion)
#include "tst_roadofonequestion.moc"
