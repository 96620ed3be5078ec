// Corvella in a teacher's hands: questions made through the inspector only, with keys and
// clicks into its grid and its dialogs, saved with the status line and the save warnings,
// the exit question, Delete, the wizard's details row, typed dates, and one question of
// each kind taken in Begin Testing with every answer right.

#include "authoring/CorrectAnswers.h"
#include "authoring/Main.h"
#include "authoring/TestEdit.h"
#include "authoring/Wizard.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "common/Typing.h"
#include "designer/Inspector.h"
#include "designer/ObjectInspector.h"
#include "designer/PropertyGrid.h"
#include "designer/PropertyInplaceEdit.h"
#include "designer/StretchHandle.h"
#include "designer/StringEdit.h"
#include "question/QuestionControls.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using Corvella::TForm_Main;

namespace {

const QString TestName = QStringLiteral("WORLD GEOGRAPHY QUIZ");

void ClickListLine(QListWidget *list, const QString &line)
{
    const auto items = list->findItems(line, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(line));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
}

} // namespace

class TestAuthoringHands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void statusLineSaysWhatSaveDid();
    void saveWarnsOfQuestionNoStudentCanAnswer_data();
    void saveWarnsOfQuestionNoStudentCanAnswer();
    void exitAsksBeforeDiscardingQuestion_data();
    void exitAsksBeforeDiscardingQuestion();
    void kindButtonsUsableAfterDelete_data();
    void kindButtonsUsableAfterDelete();
    void wizardDetailsLabelStaysBesideItsDropDown();
    void datePickersOfWizardAndCorrectAnswersTakeTypedDates();
    void inspectorShowsLongestPropertyName();
    void eachKindThroughTheInspectorOnlyThenTakenWithGrade100();

private:
    QWidget *NewQuestion(QToolButton *kind);
    TPropertyGrid *Grid() const { return FForm->ObjectInspector->InspectorForm->PropertyGrid; }
    int RowOf(const QString &name) const { return FForm->ObjectInspector->FindPropertyRow(name); }
    void ClickValue(const QString &name);
    // Types into a row's value cell; Enter applies numbers.
    void TypeRow(const QString &name, const QString &text);
    // The ellipsis of a row, with what the user does in the dialog it opens.
    void Ellipsis(const QString &name, std::function<void(QWidget *)> step);
    void TypeAnswers(const QStringList &answers);
    void Save();
    // Runs step inside the next modal window.

    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TForm_Main> FForm;
};

void TestAuthoringHands::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
}

void TestAuthoringHands::init()
{
    TDialogSeam::BeginScript();
    SetShortDateFormat(QStringLiteral("M/d/yyyy"));
    FDb = std::make_unique<TTestDatabase>();
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES(3, 'WORLD GEOGRAPHY QUIZ', "
               "'', '', 1)"});
    FForm = std::make_unique<TForm_Main>(ConnectionStringFor(FDb->Path()));
    FForm->show();
    QTRY_VERIFY(FForm->StartedUp());
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
    TDialogSeam::ClearShown();
}

void TestAuthoringHands::cleanup()
{
    const bool closed = CloseModalWindows();
    FForm.reset();
    FDb.reset();
    TDialogSeam::EndScript();
    SetShortDateFormat(QString());
    QVERIFY2(closed, "a modal window refused to close");
}

QWidget *TestAuthoringHands::NewQuestion(QToolButton *kind)
{
    QTest::mouseClick(kind, Qt::LeftButton);
    return FForm->SelectedControl();
}

void TestAuthoringHands::ClickValue(const QString &name)
{
    const int row = RowOf(name);
    QVERIFY2(row >= 0, qPrintable(name));
    Grid()->SetTopRow(std::min(row, Grid()->RowCount() - 1));
    const QRect rect = Grid()->CellRect(Grid()->ValueCol(), row);
    QVERIFY(!rect.isEmpty());
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(Grid()->Row(), row);
}

void TestAuthoringHands::TypeRow(const QString &name, const QString &text)
{
    ClickValue(name);
    TPropertyInplaceEdit *editor = Grid()->PropertyEditor();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

void TestAuthoringHands::Ellipsis(const QString &name, std::function<void(QWidget *)> step)
{
    ClickValue(name);
    bool ran = false;
    WhenModal(this, [&ran, step](QWidget *modal) {
        ran = true;
        step(modal);
    });
    QTest::keyClick(Grid()->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY2(ran, qPrintable(name));
}

void TestAuthoringHands::TypeAnswers(const QStringList &answers)
{
    Ellipsis(QStringLiteral("Answers"), [answers](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_StringEdit *>(modal);
        QVERIFY(dialog);
        TypeLines(dialog->RichEdit_Strings, answers);
        QTest::mouseClick(dialog->Button_Ok, Qt::LeftButton);
    });
}

void TestAuthoringHands::Save()
{
    QVERIFY(FForm->ToolButton_Save->isEnabled());
    QTest::mouseClick(FForm->ToolButton_Save, Qt::LeftButton);
}

void TestAuthoringHands::statusLineSaysWhatSaveDid()
{
    QVERIFY(FForm->StatusBar);
    QWidget *control = NewQuestion(FForm->ToolButton_MaskEdit);
    QVERIFY(control);
    TypeRow(QStringLiteral("Question"), QStringLiteral("Capital of Peru?"));
    TypeRow(QStringLiteral("CorrectAnswer"), QStringLiteral("Lima"));
    Save();
    QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));
    QCOMPARE(FForm->StatusBar->currentMessage(), QStringLiteral("Saved in the question bank"));

    // The test chosen in the test list as the teacher chooses it: by its first letter.
    FForm->NvComboBox_Test->setFocus();
    QTest::keyClicks(FForm->NvComboBox_Test, QStringLiteral("W"));
    QCOMPARE(FForm->NvComboBox_Test->Text(), TestName);
    Save();
    const QString id = FForm->PropertyValue(QStringLiteral("ID"));
    QCOMPARE(FForm->StatusBar->currentMessage(),
             QStringLiteral("Saved as question ") + id + QStringLiteral(" and added to ") + TestName);
    QCOMPARE(FDb->Column({"SELECT CONTROLID FROM testdetail WHERE TESTID = 3"}), QStringList{id});
    Save();
    QCOMPARE(FForm->StatusBar->currentMessage(),
             QStringLiteral("Saved as question ") + id + QStringLiteral(" in ") + TestName);
}

void TestAuthoringHands::saveWarnsOfQuestionNoStudentCanAnswer_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("correct");
    QTest::addColumn<QString>("warning");
    QTest::newRow("no text") << "ToolButton_MaskEdit"
                             << "" << QStringList() << "Lima"
                             << "The question has no text.";
    QTest::newRow("blank text") << "ToolButton_Memo"
                                << "   " << QStringList() << "blue"
                                << "The question has no text.";
    QTest::newRow("correct answer not a choice") << "ToolButton_Combo"
                                                 << "Largest planet?" << QStringList{"Mars", "Venus"} << "Jupiter"
                                                 << "Its correct answer is not one of its choices.";
    QTest::newRow("no correct answer of a radio group") << "ToolButton_RadioGroup"
                                                        << "2 + 2?" << QStringList{"3", "4"} << ""
                                                        << "Its correct answer is not one of its choices.";
}

void TestAuthoringHands::saveWarnsOfQuestionNoStudentCanAnswer()
{
    QFETCH(QString, kind);
    QFETCH(QString, question);
    QFETCH(QStringList, answers);
    QFETCH(QString, correct);
    QFETCH(QString, warning);
    QWidget *control = NewQuestion(FForm->findChild<QToolButton *>(kind));
    QVERIFY(control);
    if (!question.isEmpty())
        TypeRow(QStringLiteral("Question"), question);
    if (!answers.isEmpty())
        TypeAnswers(answers);
    if (!correct.isEmpty()) {
        if (qobject_cast<TQACombobox *>(control)) {
            // Picked from the choices, then the choices changed under it.
            TypeAnswers(answers + QStringList{correct});
            Ellipsis(QStringLiteral("CorrectAnswer"), [correct](QWidget *modal) {
                auto *dialog = qobject_cast<TForm_CorrectAnswers *>(modal);
                QVERIFY(dialog);
                ClickListLine(dialog->QAListbox_Answers, correct);
                QTest::mouseClick(dialog->Button_OK, Qt::LeftButton);
            });
            QCOMPARE(FForm->PropertyValue(QStringLiteral("CorrectAnswer")), correct);
            TypeAnswers(answers);
        } else {
            TypeRow(QStringLiteral("CorrectAnswer"), correct);
        }
    }
    TDialogSeam::ClearShown();

    // No: nothing is stored and the question stays.
    TDialogSeam::SetNextAnswer(ResultNo);
    Save();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QVERIFY2(TDialogSeam::LastText().contains(warning), qPrintable(TDialogSeam::LastText()));
    QVERIFY(TDialogSeam::LastText().contains(QStringLiteral("No student can answer it right.")));
    QCOMPARE(TDialogSeam::Shown().last().DlgType, int(MsgWarning));
    QCOMPARE(FForm->StatusBar->currentMessage(), QStringLiteral("The question was not saved."));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"0"});
    QCOMPARE(FForm->SelectedControl(), control);

    // Yes: saved all the same.
    TDialogSeam::SetNextAnswer(ResultYes);
    Save();
    QVERIFY(FForm->StatusBar->currentMessage().startsWith(QStringLiteral("Saved")));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"1"});
}

void TestAuthoringHands::exitAsksBeforeDiscardingQuestion_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<bool>("saveFirst");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("stored");
    QTest::newRow("Exit, unsaved, No") << false << false << int(ResultNo) << true << true << 0;
    QTest::newRow("Exit, unsaved, Cancel") << false << false << int(ResultCancel) << true << false << 0;
    QTest::newRow("close box, unsaved, Yes") << true << false << int(ResultYes) << true << true << 1;
    QTest::newRow("close box, changed after save, Cancel") << true << true << int(ResultCancel) << true << false << 1;
    QTest::newRow("Exit, saved and unchanged") << false << true << -1 << false << true << 1;
}

void TestAuthoringHands::exitAsksBeforeDiscardingQuestion()
{
    QFETCH(bool, closeBox);
    QFETCH(bool, saveFirst);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    QFETCH(int, stored);
    QVERIFY(NewQuestion(FForm->ToolButton_MaskEdit));
    TypeRow(QStringLiteral("Question"), QStringLiteral("Capital of Chile?"));
    TypeRow(QStringLiteral("CorrectAnswer"), QStringLiteral("Santiago"));
    if (saveFirst) {
        Save();
        QVERIFY(FForm->StatusBar->currentMessage().startsWith(QStringLiteral("Saved")));
        if (answer >= 0)
            TypeRow(QStringLiteral("Width"), QStringLiteral("200")); // a change after the save
    }
    TDialogSeam::ClearShown();
    if (answer >= 0)
        TDialogSeam::SetNextAnswer(answer);
    if (closeBox) {
        FForm->close();
    } else {
        emit FForm->MenuItem_File->aboutToShow();
        FForm->MenuItem_Exit->trigger();
    }
    QCOMPARE(TDialogSeam::Shown().size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(TDialogSeam::LastText(),
                 QStringLiteral("Do you want to save changes to the current question before closing Corvella?"));
        QCOMPARE(TDialogSeam::Shown().last().Buttons, int(BtnYes | BtnNo | BtnCancel));
    }
    QCOMPARE(!FForm->isVisible(), closed);
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{QString::number(stored)});
    if (!closed)
        QVERIFY(FForm->SelectedControl());
}

void TestAuthoringHands::kindButtonsUsableAfterDelete_data()
{
    QTest::addColumn<bool>("deleteKey");
    QTest::newRow("Questions > Delete...") << false;
    QTest::newRow("Delete key") << true;
}

void TestAuthoringHands::kindButtonsUsableAfterDelete()
{
    QFETCH(bool, deleteKey);
    QVERIFY(NewQuestion(FForm->ToolButton_MaskEdit));
    TypeRow(QStringLiteral("Question"), QStringLiteral("Capital of Chile?"));
    Save();
    QVERIFY(FForm->StatusBar->currentMessage().startsWith(QStringLiteral("Saved")));
    TDialogSeam::SetNextAnswer(ResultYes);
    if (deleteKey) {
        TStretchHandle *handle = FForm->ObjectInspector->StretchHandle;
        handle->setFocus();
        QTest::keyClick(handle, Qt::Key_Delete);
    } else {
        emit FForm->MenuItem_Question->aboutToShow();
        QVERIFY(FForm->MenuItem_Delete->isEnabled());
        FForm->MenuItem_Delete->trigger();
    }
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"0"});
    QVERIFY(!FForm->SelectedControl());
    for (QToolButton *kind : {FForm->ToolButton_MaskEdit, FForm->ToolButton_Combo, FForm->ToolButton_RadioGroup,
                              FForm->ToolButton_List, FForm->ToolButton_Memo, FForm->ToolButton_DateTime})
        QVERIFY(kind->isEnabled());
    QVERIFY(!FForm->ToolButton_Save->isEnabled());
    // A new question straight away, without Clear.
    QWidget *next = NewQuestion(FForm->ToolButton_Combo);
    QVERIFY(next);
    QCOMPARE(ComponentClassName(next), QStringLiteral("TQACombobox"));
}

void TestAuthoringHands::wizardDetailsLabelStaysBesideItsDropDown()
{
    QVERIFY(NewQuestion(FForm->ToolButton_MaskEdit));
    QRect first, second, combo;
    QString caption;
    bool shown = false;
    WhenModal(this, [&](QWidget *modal) {
        auto *wizard = qobject_cast<TForm_Wizard *>(modal);
        if (!wizard) {
            modal->close();
            return;
        }
        QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
        first = wizard->NvLabel_Details->geometry();
        QTest::mouseClick(wizard->BitBtn_Previous, Qt::LeftButton);
        QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
        second = wizard->NvLabel_Details->geometry();
        combo = wizard->NvComboBox_Details->geometry();
        caption = wizard->NvLabel_Details->text();
        shown = wizard->NvLabel_Details->isVisible();
        QTest::mouseClick(wizard->BitBtn_Cancel, Qt::LeftButton);
    });
    QTest::mouseClick(FForm->ToolButton_Wizard, Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(caption, QStringLiteral("Character Case:"));
    QVERIFY(shown);
    // Beside the drop-down: on its line and left of it, the second time as the first.
    QVERIFY2(second.center().y() >= combo.top() && second.center().y() <= combo.bottom(),
             qPrintable(QStringLiteral("label at y %1, drop-down %2..%3")
                            .arg(second.center().y())
                            .arg(combo.top())
                            .arg(combo.bottom())));
    QVERIFY(second.right() < combo.left());
    QCOMPARE(second, first);
}

void TestAuthoringHands::datePickersOfWizardAndCorrectAnswersTakeTypedDates()
{
    auto *date = qobject_cast<TQADateTime *>(NewQuestion(FForm->ToolButton_DateTime));
    QVERIFY(date);
    WhenModal(this, [&](QWidget *modal) {
        auto *wizard = qobject_cast<TForm_Wizard *>(modal);
        QVERIFY(wizard);
        QTest::keyClicks(wizard->QAMaskEdit_Question, QStringLiteral("When did the war in Europe end?"));
        QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
        QTRY_VERIFY(wizard->QADateTime_Correct->hasFocus());
        QTest::keyClicks(wizard->QADateTime_Correct, QStringLiteral("05/08/1945"));
        QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton); // Finish
    });
    QTest::mouseClick(FForm->ToolButton_Wizard, Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(date->CorrectAnswer(), QStringLiteral("5/8/1945"));
    QCOMPARE(DayNumberToDate(date->DateAnswer()), QDate(1945, 5, 8));

    // The correct-answers dialog's picker, typed and confirmed with Enter.
    Ellipsis(QStringLiteral("CorrectAnswer"), [](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_CorrectAnswers *>(modal);
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->QADateTime_Answer->hasFocus());
        QTest::keyClicks(dialog->QADateTime_Answer, QStringLiteral("11/09/1989"));
        QTest::keyClick(dialog->QADateTime_Answer, Qt::Key_Return);
    });
    QCOMPARE(date->CorrectAnswer(), QStringLiteral("11/9/1989"));
    QCOMPARE(FForm->PropertyValue(QStringLiteral("CorrectAnswer")), QStringLiteral("11/9/1989"));
}

void TestAuthoringHands::inspectorShowsLongestPropertyName()
{
    QVERIFY(NewQuestion(FForm->ToolButton_List));
    TPropertyGrid *grid = Grid();
    const int needed = grid->fontMetrics().horizontalAdvance(QStringLiteral("CorrectAnswers")) + 4;
    QVERIFY2(grid->DefaultNameColWidth() >= needed,
             qPrintable(QStringLiteral("name column %1, needs %2").arg(grid->DefaultNameColWidth()).arg(needed)));
    // Room for a value beside it.
    QVERIFY(grid->viewport()->width() - grid->DefaultNameColWidth() >= 70);
    // The teacher may widen the dock.
    QVERIFY(FForm->InspectorDock->maximumWidth() > FForm->InspectorDock->width() + 100);
}

void TestAuthoringHands::eachKindThroughTheInspectorOnlyThenTakenWithGrade100()
{
    QVERIFY(FForm->StatusBar);
    FForm->NvComboBox_Test->setFocus();
    QTest::keyClicks(FForm->NvComboBox_Test, QStringLiteral("W"));
    QCOMPARE(FForm->NvComboBox_Test->Text(), TestName);

    struct TKind {
        const char *Button;
        QString Question;
        QStringList Answers;
        QStringList Correct;
    };
    const QList<TKind> kinds = {
        {"ToolButton_MaskEdit", "What is the capital of Peru?", {}, {"Lima"}},
        {"ToolButton_Combo", "Which river is the longest?", {"Danube", "Nile", "Rhine"}, {"Nile"}},
        {"ToolButton_RadioGroup", "Which continent is Kenya in?", {"Europe", "Asia", "Africa"}, {"Africa"}},
        {"ToolButton_List", "Which are oceans?", {"Pacific", "Sahara", "Atlantic", "Alps"}, {"Pacific", "Atlantic"}},
        {"ToolButton_Memo", "Name the largest desert.", {}, {"Sahara"}},
        {"ToolButton_DateTime", "When did the Berlin Wall fall?", {}, {"11/9/1989"}},
    };
    for (const TKind &kind : kinds) {
        QWidget *control = NewQuestion(FForm->findChild<QToolButton *>(QLatin1String(kind.Button)));
        QVERIFY2(control, kind.Button);
        TypeRow(QStringLiteral("Question"), kind.Question);
        if (!kind.Answers.isEmpty())
            TypeAnswers(kind.Answers);
        if (qobject_cast<TQAListbox *>(control)) {
            ClickValue(QStringLiteral("MultiSelect"));
            QTest::keyClicks(Grid()->PropertyEditor(), QStringLiteral("T"));
            QCOMPARE(FForm->PropertyValue(QStringLiteral("MultiSelect")), QStringLiteral("True"));
            Ellipsis(QStringLiteral("CorrectAnswers"), [&kind](QWidget *modal) {
                auto *dialog = qobject_cast<TForm_CorrectAnswers *>(modal);
                QVERIFY(dialog);
                for (const QString &line : kind.Correct)
                    ClickListLine(dialog->QAListbox_Answers, line);
                QTest::mouseClick(dialog->Button_OK, Qt::LeftButton);
            });
        } else if (qobject_cast<TQACombobox *>(control) || qobject_cast<TQARadioGroup *>(control)) {
            Ellipsis(QStringLiteral("CorrectAnswer"), [&kind](QWidget *modal) {
                auto *dialog = qobject_cast<TForm_CorrectAnswers *>(modal);
                QVERIFY(dialog);
                ClickListLine(dialog->QAListbox_Answers, kind.Correct.first());
                QTest::mouseClick(dialog->Button_OK, Qt::LeftButton);
            });
        } else if (qobject_cast<TQADateTime *>(control)) {
            Ellipsis(QStringLiteral("CorrectAnswer"), [](QWidget *modal) {
                auto *dialog = qobject_cast<TForm_CorrectAnswers *>(modal);
                QVERIFY(dialog);
                QTRY_VERIFY(dialog->QADateTime_Answer->hasFocus());
                QTest::keyClicks(dialog->QADateTime_Answer, QStringLiteral("11/09/1989"));
                QTest::mouseClick(dialog->Button_OK, Qt::LeftButton);
            });
        } else {
            TypeRow(QStringLiteral("CorrectAnswer"), kind.Correct.first());
        }
        if (auto *list = qobject_cast<TQAListbox *>(control))
            QCOMPARE(list->CorrectAnswers()->Lines(), kind.Correct);
        else
            QCOMPARE(FForm->PropertyValue(QStringLiteral("CorrectAnswer")), kind.Correct.first());

        TDialogSeam::ClearShown();
        Save();
        QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));
        const QString id = FForm->PropertyValue(QStringLiteral("ID"));
        QCOMPARE(FForm->StatusBar->currentMessage(),
                 QStringLiteral("Saved as question ") + id + QStringLiteral(" and added to ") + TestName);

        TDialogSeam::SetNextAnswer(ResultNo); // saved already
        QTest::mouseClick(FForm->ToolButton_Clear, Qt::LeftButton);
        QVERIFY(!FForm->SelectedControl());
    }
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail WHERE TESTID = 3"}), QStringList{"6"});

    // Begin Testing: the test picked in its list, every answer given right.
    int answered = 0;
    double grade = -1;
    QString failure;
    QPointer<QWidget> picker;
    WhenModal(this, [&](QWidget *modal) {
        auto *tests = qobject_cast<TForm_TestEdit *>(modal);
        if (!tests) {
            failure = QStringLiteral("no test list");
            modal->close();
            return;
        }
        picker = tests;
        WhenModal(this, [&](QWidget *next) {
            auto *wizard = qobject_cast<TForm_TestWizard *>(next);
            if (!wizard) {
                failure = QStringLiteral("no test wizard: ") + QString::fromLatin1(next->metaObject()->className());
                next->close();
                return;
            }
            while (QWidget *control = wizard->CurrentControl()) {
                QCoreApplication::processEvents();
                if (auto *edit = qobject_cast<TQAMaskEdit *>(control)) {
                    edit->setFocus();
                    QTest::keyClicks(edit, QStringLiteral("Lima"));
                } else if (auto *combo = qobject_cast<TQACombobox *>(control)) {
                    combo->setFocus();
                    QTest::keyClicks(combo, QStringLiteral("N"));
                } else if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
                    QRadioButton *africa = radio->Button(2);
                    if (!africa || africa->text() != QLatin1String("Africa")) {
                        failure = QStringLiteral("radio group without its choices");
                        break;
                    }
                    QTest::mouseClick(africa, Qt::LeftButton, {}, QPoint(5, africa->height() / 2));
                } else if (auto *list = qobject_cast<TQAListbox *>(control)) {
                    ClickListLine(list, QStringLiteral("Pacific"));
                    ClickListLine(list, QStringLiteral("Atlantic"));
                } else if (auto *memo = qobject_cast<TQARichEdit *>(control)) {
                    memo->setFocus();
                    QTest::keyClicks(memo, QStringLiteral("Sahara"));
                } else if (auto *date = qobject_cast<TQADateTime *>(control)) {
                    date->setFocus();
                    QTest::keyClicks(date, QStringLiteral("11/09/1989"));
                }
                ++answered;
                QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
            }
            grade = double(wizard->Grade());
            QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
            if (wizard->isVisible())
                wizard->close();
        });
        const int row = [&] {
            for (int r = 1; r < tests->StringGrid->RowCount(); ++r)
                if (tests->StringGrid->Cells(TForm_TestEdit::ColName, r) == TestName)
                    return r;
            return -1;
        }();
        if (row < 0) {
            failure = QStringLiteral("test not listed");
            tests->close();
            return;
        }
        const QRect cell =
            tests->StringGrid->visualRect(tests->StringGrid->model()->index(row, TForm_TestEdit::ColName));
        QTest::mouseClick(tests->StringGrid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseClick(tests->BitBtn_OK, Qt::LeftButton);
    });
    QTest::mouseClick(FForm->ToolButton_BeginTesting, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), 20000);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(answered, 6);
    QCOMPARE(grade, 100.0);
}

QTEST_MAIN(TestAuthoringHands)
#include "tst_authoringhands.moc"
