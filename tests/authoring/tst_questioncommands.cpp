// The question commands of the main window, driven headless through its own handlers:
// new questions of every kind, save (add, update, the selected test), open, clear and
// delete, with failures that keep the question on the surface.

#include "authoring/CorrectAnswers.h"
#include "authoring/Main.h"
#include "authoring/SelectQuestion.h"
#include "authoring/TestEdit.h"
#include "authoring/Wizard.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "designer/ObjectInspector.h"
#include "designer/StretchHandle.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using Corvella::TForm_Main;

class TestQuestionCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newQuestionOfEachKind_data();
    void newQuestionOfEachKind();
    void saveEachKindIntoSelectedTest_data();
    void saveEachKindIntoSelectedTest();
    void resaveUpdatesTheSameRow();
    void openChangeAndSaveAgain();
    void failedSaveKeepsQuestion();
    void clearAsksFirst_data();
    void clearAsksFirst();
    void deleteQuestion_data();
    void deleteQuestion();
    void editButtonOpensCorrectAnswers();
    void beginTestingRunsChosenTest();
    void sixKindsThroughTheWizardThenTakeTheTest();

private:
    QWidget *NewQuestion(QToolButton *kind);
    bool SetProp(const QString &name, const QString &value);
    QStringList Row(const QString &id);
    // Runs step inside the next modal window the command opens.

    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TForm_Main> FForm;
};

void TestQuestionCommands::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
}

void TestQuestionCommands::init()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES(1, 'Science', '', '', 2)"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES(2, 'History', '', '', 2)"});
    // Question 7 is already stored and is the first question of Science.
    FDb->Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES(7, 'QAMaskEdit_7', 'Old', '')"});
    FDb->Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES(1, 7, 4)"});
    FForm = std::make_unique<TForm_Main>(ConnectionStringFor(FDb->Path()));
    FForm->show();
    QTRY_VERIFY(FForm->StartedUp());
    QVERIFY(FForm->DesignSurface());
    TDialogSeam::ClearShown();
}

void TestQuestionCommands::cleanup()
{
    const bool closed = CloseModalWindows();
    FForm.reset();
    FDb.reset();
    TDialogSeam::EndScript();
    QVERIFY2(closed, "a modal window refused to close");
}

QWidget *TestQuestionCommands::NewQuestion(QToolButton *kind)
{
    kind->click();
    return FForm->SelectedControl();
}

bool TestQuestionCommands::SetProp(const QString &name, const QString &value)
{
    TObjectInspector *designer = FForm->ObjectInspector;
    return designer->SetPropertyValue(designer->FindPropertyRow(name), value);
}

QStringList TestQuestionCommands::Row(const QString &id)
{
    QStringList row;
    for (const char *column : {"NAME", "QUESTION", "CONTROL"}) {
        const QStringList values =
            FDb->Column({QStringLiteral("SELECT %1 FROM controldef WHERE ID = %2").arg(QLatin1String(column), id)});
        if (values.size() != 1)
            return {};
        row << values.first();
    }
    return row;
}

void TestQuestionCommands::newQuestionOfEachKind_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("correctAnswerButton");

    QTest::newRow("short answer") << "ToolButton_MaskEdit"
                                  << ""
                                  << "TQAMaskEdit" << false;
    QTest::newRow("drop-down") << "ToolButton_Combo"
                               << ""
                               << "TQACombobox" << true;
    QTest::newRow("radio group") << "ToolButton_RadioGroup"
                                 << ""
                                 << "TQARadioGroup" << true;
    QTest::newRow("list box") << "ToolButton_List"
                              << ""
                              << "TQAListbox" << false;
    QTest::newRow("essay") << "ToolButton_Memo"
                           << ""
                           << "TQARichEdit" << false;
    QTest::newRow("date") << "ToolButton_DateTime"
                          << ""
                          << "TQADateTime" << true;
    QTest::newRow("menu: short answer") << ""
                                        << "MenuItem_Editbox"
                                        << "TQAMaskEdit" << false;
    QTest::newRow("menu: radio group") << ""
                                       << "MenuItem_RadioGroup"
                                       << "TQARadioGroup" << true;
    QTest::newRow("menu: date") << ""
                                << "MenuItem_DateTime"
                                << "TQADateTime" << true;
}

void TestQuestionCommands::newQuestionOfEachKind()
{
    QFETCH(QString, button);
    QFETCH(QString, menuItem);
    QFETCH(QString, className);
    QFETCH(bool, correctAnswerButton);

    // A list box before: the kind that follows must set the edit button again.
    NewQuestion(correctAnswerButton ? FForm->ToolButton_List : FForm->ToolButton_Combo);
    TDialogSeam::SetNextAnswer(ResultNo);
    FForm->ToolButton_ClearClick();
    QVERIFY(FForm->ToolButton_MaskEdit->isEnabled());

    if (button.isEmpty()) {
        emit FForm->MenuItem_Controls->aboutToShow();
        QAction *item = FForm->findChild<QAction *>(menuItem);
        QVERIFY(item->isEnabled());
        item->trigger();
    } else {
        FForm->findChild<QToolButton *>(button)->click();
    }
    QWidget *control = FForm->SelectedControl();
    QVERIFY(control);
    QCOMPARE(ComponentClassName(control), className);
    QCOMPARE(control->objectName(), className.mid(1) + QStringLiteral("1"));
    QCOMPARE(control->parentWidget(), FForm->DesignSurface());
    QVERIFY(control->isVisible());
    QCOMPARE(FForm->PropertyValue("ID"), QStringLiteral("0"));

    // Centred right of the inspector and below the tool bars.
    QCOMPARE(control->x(), (FForm->Panel_Design->width() - control->width()) / 2);
    QCOMPARE(control->y(), (FForm->Panel_Design->height() - control->height() - 20) / 2);
    QVERIFY(FForm->DesignSurface()->mapTo(FForm.get(), QPoint(0, 0)).x() >= FForm->InspectorDock->width());

    for (QToolButton *kind : {FForm->ToolButton_MaskEdit, FForm->ToolButton_Combo, FForm->ToolButton_RadioGroup,
                              FForm->ToolButton_List, FForm->ToolButton_Memo, FForm->ToolButton_DateTime}) {
        QVERIFY(!kind->isEnabled());
        QVERIFY(!kind->isChecked());
    }
    QVERIFY(FForm->ToolButton_Save->isEnabled());
    QVERIFY(FForm->ToolButton_Wizard->isEnabled());
    QVERIFY(FForm->ToolButton_Clear->isEnabled());
    QCOMPARE(FForm->ObjectInspector->EditButtonProps().contains("CorrectAnswer"), correctAnswerButton);

    if (auto *radio = qobject_cast<TQARadioGroup *>(control))
        QVERIFY(radio->Caption().isEmpty());
    if (auto *combo = qobject_cast<TQACombobox *>(control))
        QCOMPARE(combo->Style(), csDropDownList);
    if (auto *list = qobject_cast<TQAListbox *>(control))
        QVERIFY(!list->ExtendedSelect());
    if (auto *edit = qobject_cast<TQAMaskEdit *>(control))
        QVERIFY(edit->Text().isEmpty());
    QVERIFY(TDialogSeam::Shown().size() == 1); // only the Clear question above
}

void TestQuestionCommands::saveEachKindIntoSelectedTest_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("question");

    QTest::newRow("short answer") << "ToolButton_MaskEdit"
                                  << "What's 6 x 7?";
    QTest::newRow("drop-down") << "ToolButton_Combo"
                               << "Which planet?";
    QTest::newRow("radio group") << "ToolButton_RadioGroup"
                                 << "Pick one";
    QTest::newRow("list box") << "ToolButton_List"
                              << "Pick 'some'";
    QTest::newRow("essay") << "ToolButton_Memo"
                           << "Describe the water cycle.";
    QTest::newRow("date") << "ToolButton_DateTime"
                          << "When?";
}

void TestQuestionCommands::saveEachKindIntoSelectedTest()
{
    QFETCH(QString, button);
    QFETCH(QString, question);

    QVERIFY(FForm->NvComboBox_Test->SelectItem("Science"));
    QWidget *control = NewQuestion(FForm->findChild<QToolButton *>(button));
    QVERIFY(control);
    QVERIFY(SetProp("Question", question));
    if (auto *combo = qobject_cast<TQACombobox *>(control))
        combo->SetAnswers(QStringList{"Mars", "Venus"});
    if (auto *radio = qobject_cast<TQARadioGroup *>(control))
        radio->SetAnswers(QStringList{"yes", "Venus"}); // the correct answer is one of the choices
    if (auto *list = qobject_cast<TQAListbox *>(control)) {
        list->SetAnswers(QStringList{"a", "b", "c"});
        list->SetCorrectAnswers(QStringList{"a", "c"});
    } else {
        QVERIFY(SetProp("CorrectAnswer", qobject_cast<TQADateTime *>(control) ? "12/24/2020" : "Venus"));
    }
    FForm->ObjectInspector->RefreshInspector();

    emit FForm->MenuItem_Question->aboutToShow();
    QVERIFY(FForm->MenuItem_Save->isEnabled());
    FForm->MenuItem_Save->trigger();
    QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));
    QVERIFY(FForm->StatusBar->currentMessage().startsWith(QStringLiteral("Saved")));

    // The next ID after the stored question 7.
    const QString name = ComponentClassName(control).mid(1) + QStringLiteral("_8");
    QCOMPARE(FForm->PropertyValue("ID"), QStringLiteral("8"));
    QCOMPARE(control->objectName(), name);
    QCOMPARE(Row("8"), (QStringList{name, question, ComponentToText(control)}));
    QVERIFY(ComponentToText(control).contains(QStringLiteral("ID = 8")));
    QCOMPARE(FDb->Column({"SELECT SEQUENCE FROM testdetail WHERE TESTID = 1 AND CONTROLID = 8"}), QStringList{"5"});
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail"}), QStringList{"2"});
    // Still the question present on the surface.
    QVERIFY(FForm->ToolButton_Save->isEnabled());
    QCOMPARE(FForm->SelectedControl(), control);
}

void TestQuestionCommands::resaveUpdatesTheSameRow()
{
    FDb->Exec({"DELETE FROM testdetail"});
    FDb->Exec({"DELETE FROM controldef"});
    QVERIFY(FForm->NvComboBox_Test->SelectItem("History"));
    QWidget *control = NewQuestion(FForm->ToolButton_MaskEdit);
    QVERIFY(SetProp("Question", "First"));
    FForm->ToolButton_SaveClick();
    QCOMPARE(control->objectName(), QStringLiteral("QAMaskEdit_1"));
    QCOMPARE(Row("1").value(1), QStringLiteral("First"));
    QCOMPARE(FDb->Column({"SELECT SEQUENCE FROM testdetail WHERE TESTID = 2 AND CONTROLID = 1"}), QStringList{"1"});

    QVERIFY(SetProp("Question", "Second"));
    QVERIFY(SetProp("Width", "200"));
    FForm->ToolButton_SaveClick();
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"1"});
    QCOMPARE(Row("1"), (QStringList{"QAMaskEdit_1", "Second", ComponentToText(control)}));
    QVERIFY(Row("1").value(2).contains(QStringLiteral("Width = 200")));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail"}), QStringList{"1"});

    // Another test chosen: appended there too; none chosen: added nowhere.
    QVERIFY(FForm->NvComboBox_Test->SelectItem("Science"));
    FForm->ToolButton_SaveClick();
    QCOMPARE(FDb->Column({"SELECT SEQUENCE FROM testdetail WHERE TESTID = 1 AND CONTROLID = 1"}), QStringList{"1"});
    FForm->NvComboBox_TestKeyDown(Qt::Key_Delete);
    FDb->Exec({"DELETE FROM testdetail"});
    FForm->ToolButton_SaveClick();
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail"}), QStringList{"0"});

    // A row deleted elsewhere is stored again rather than lost.
    FDb->Exec({"DELETE FROM controldef"});
    QVERIFY(SetProp("Question", "Third"));
    QVERIFY(FForm->ToolButton_SaveClick());
    QCOMPARE(Row("1").value(1), QStringLiteral("Third"));
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestQuestionCommands::openChangeAndSaveAgain()
{
    QVERIFY(FForm->NvComboBox_Test->SelectItem("Science"));
    QWidget *control = NewQuestion(FForm->ToolButton_Combo);
    QVERIFY(SetProp("Question", "Capital of France?"));
    TDialogSeam::SetNextAnswer(ResultYes); // saved although it has no correct choice yet
    FForm->ToolButton_SaveClick();
    TDialogSeam::ClearShown();
    const QString stored = ComponentToText(control);
    TDialogSeam::SetNextAnswer(ResultNo);
    FForm->ToolButton_ClearClick();
    QCOMPARE(FForm->SelectedCount(), 0);
    QVERIFY(FForm->ToolButton_Combo->isEnabled());
    QVERIFY(!FForm->ToolButton_Save->isEnabled());

    bool chosen = false;
    WhenModal(this, [&chosen](QWidget *modal) {
        auto *select = qobject_cast<TForm_SelectQuestion *>(modal);
        QVERIFY(select);
        for (int i = 0; i < select->QAListbox_Questions->count(); ++i)
            if (select->QAListbox_Questions->item(i)->text() == QLatin1String("Capital of France?"))
                select->QAListbox_Questions->setCurrentRow(i);
        chosen = select->SelectedControlDef() != nullptr;
        select->Button_OKClick();
    });
    FForm->ToolButton_OpenClick();
    QVERIFY(chosen);
    // Nothing was selected: no save question before the selection window.
    QVERIFY(TDialogSeam::Shown().size() == 1);

    QWidget *opened = FForm->SelectedControl();
    QVERIFY(opened);
    QCOMPARE(ComponentClassName(opened), QStringLiteral("TQACombobox"));
    QCOMPARE(opened->objectName(), QStringLiteral("QACombobox_8"));
    QCOMPARE(ComponentToText(opened), stored);
    QCOMPARE(FForm->PropertyValue("ID"), QStringLiteral("8"));
    QVERIFY(FForm->ObjectInspector->EditButtonProps().contains("CorrectAnswer"));
    QVERIFY(FForm->ToolButton_Save->isEnabled());
    QVERIFY(!FForm->ToolButton_Combo->isEnabled());

    QVERIFY(SetProp("Question", "Capital of Italy?"));
    TDialogSeam::SetNextAnswer(ResultYes); // still no correct choice: saved all the same
    FForm->ToolButton_SaveClick();
    QCOMPARE(Row("8"), (QStringList{"QACombobox_8", "Capital of Italy?", ComponentToText(opened)}));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"2"});
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail WHERE CONTROLID = 8"}), QStringList{"1"});

    // Open again with the question selected: "No" removes it, Cancel in the list keeps the state.
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultNo);
    WhenModal(this, [](QWidget *modal) { qobject_cast<TForm_SelectQuestion *>(modal)->Button_CancelClick(); });
    FForm->ToolButton_OpenClick();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Confirmation);
    QCOMPARE(TDialogSeam::Shown().first().Text,
             QStringLiteral("Do you want to save changes to the current control before opening a control?"));
    QCOMPARE(FForm->SelectedCount(), 0);
    QVERIFY(FForm->ToolButton_MaskEdit->isEnabled());
}

void TestQuestionCommands::failedSaveKeepsQuestion()
{
    QVERIFY(FForm->NvComboBox_Test->SelectItem("Science"));
    FForm->ADOConnection.Close();
    FForm->ADOConnection.SetReadOnly(true);
    FForm->ADOConnection.Open();

    QWidget *control = NewQuestion(FForm->ToolButton_MaskEdit);
    QVERIFY(SetProp("Question", "Kept?"));
    QVERIFY(!FForm->ToolButton_SaveClick());
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().first();
    QCOMPARE(box.Kind, TBoxKind::MessageDialog);
    QCOMPARE(box.DlgType, int(MsgError));
    QCOMPARE(box.Buttons, int(BtnOK));
    QVERIFY2(box.Text.contains(QStringLiteral("readonly"), Qt::CaseInsensitive), qPrintable(box.Text));
    QCOMPARE(FForm->SelectedControl(), control);
    QCOMPARE(FForm->PropertyValue("ID"), QStringLiteral("0"));
    QCOMPARE(FForm->PropertyValue("Question"), QStringLiteral("Kept?"));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"1"});

    // Clear with "Yes" and Open with "Yes": the save fails again and the question stays.
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultYes);
    FForm->ToolButton_ClearClick();
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(TDialogSeam::Shown().first().Text,
             QStringLiteral("Do you want to save changes to the current question before clearing the design palette?"));
    QCOMPARE(TDialogSeam::Shown().first().DlgType, int(MsgConfirm));
    QCOMPARE(TDialogSeam::Shown().first().Buttons, int(BtnYes | BtnNo | BtnCancel));
    QCOMPARE(FForm->SelectedControl(), control);

    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultYes);
    FForm->ToolButton_OpenClick(); // no selection window follows
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(FForm->SelectedControl(), control);
    QVERIFY(FForm->ToolButton_Save->isEnabled());

    // Once the database takes writes again, the next save is an insert.
    FForm->ADOConnection.Close();
    FForm->ADOConnection.SetReadOnly(false);
    FForm->ADOConnection.Open();
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultYes);
    FForm->ToolButton_ClearClick();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(FForm->SelectedCount(), 0);
    QCOMPARE(Row("8").value(1), QStringLiteral("Kept?"));
}

void TestQuestionCommands::clearAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<int>("rows");

    QTest::newRow("Yes saves and clears") << int(ResultYes) << true << 2;
    QTest::newRow("No clears") << int(ResultNo) << true << 1;
    QTest::newRow("Cancel keeps") << int(ResultCancel) << false << 1;
}

void TestQuestionCommands::clearAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, removed);
    QFETCH(int, rows);

    FForm->ToolButton_ClearClick(); // nothing selected: no question asked
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QWidget *control = NewQuestion(FForm->ToolButton_Memo);
    TDialogSeam::SetNextAnswer(answer);
    if (answer == ResultYes)
        TDialogSeam::SetNextAnswer(ResultYes); // saved although it has no text
    FForm->ToolButton_ClearClick();
    QCOMPARE(TDialogSeam::Shown().size(), answer == ResultYes ? 2 : 1);
    QCOMPARE(FForm->SelectedControl() == nullptr, removed);
    QCOMPARE(FForm->ToolButton_Memo->isEnabled(), removed);
    QCOMPARE(FForm->ToolButton_Save->isEnabled(), !removed);
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{QString::number(rows)});
    if (!removed)
        QCOMPARE(FForm->SelectedControl(), control);
}

void TestQuestionCommands::deleteQuestion_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("menu, Yes") << true << int(ResultYes) << false << true;
    QTest::newRow("key, Yes") << true << int(ResultYes) << true << true;
    QTest::newRow("menu, No") << true << int(ResultNo) << false << false;
    QTest::newRow("never saved") << false << int(ResultYes) << false << false;
    QTest::newRow("key, never saved") << false << int(ResultYes) << true << false;
}

void TestQuestionCommands::deleteQuestion()
{
    QFETCH(bool, save);
    QFETCH(int, answer);
    QFETCH(bool, byKey);
    QFETCH(bool, deleted);

    QVERIFY(FForm->NvComboBox_Test->SelectItem("Science"));
    QWidget *control = NewQuestion(FForm->ToolButton_RadioGroup);
    if (save) {
        TDialogSeam::SetNextAnswer(ResultYes); // saved although it has no text
        FForm->ToolButton_SaveClick();
    }
    FDb->Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES(2, 8, 1)"});
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(answer);
    if (byKey)
        FForm->ObjectInspector->DeleteSelection(true);
    else
        FForm->MenuItem_DeleteClick();

    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().first();
    if (save) {
        QCOMPARE(box.DlgType, int(MsgConfirm));
        QCOMPARE(box.Buttons, int(BtnYes | BtnNo));
        QCOMPARE(box.Text, QStringLiteral("All instances of this question will be deleted from all tests where it "
                                          "exists.\r\nAre you sure you want to delete the selected question?"));
    } else {
        QCOMPARE(box.DlgType, int(MsgWarning));
        QCOMPARE(box.Buttons, int(BtnOK));
        QCOMPARE(box.Text, QStringLiteral("The question could not be deleted because it has never been saved."));
    }
    QCOMPARE(FForm->SelectedCount() == 0, deleted);
    QCOMPARE(FForm->DesignSurface()->findChild<TQARadioGroup *>() == nullptr, deleted);
    if (!deleted)
        QCOMPARE(FForm->SelectedControl(), control);
    // A saved question sits in Science and History; a never-saved one has only the History row.
    const int inTests = !save ? 1 : deleted ? 0 : 2;
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail WHERE CONTROLID = 8"}),
             QStringList{QString::number(inTests)});
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef WHERE ID = 8"}), QStringList{save && !deleted ? "1" : "0"});
    // The other stored question and its place in Science stay.
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail WHERE CONTROLID = 7"}), QStringList{"1"});
    // A deleted question leaves the kind buttons usable at once; a kept one keeps them off.
    QCOMPARE(FForm->ToolButton_Save->isEnabled(), !deleted);
    QCOMPARE(FForm->ToolButton_MaskEdit->isEnabled(), deleted);
}

void TestQuestionCommands::editButtonOpensCorrectAnswers()
{
    QWidget *control = NewQuestion(FForm->ToolButton_Combo);
    QVERIFY(SetProp("CorrectAnswer", "x")); // makes the row current
    QString seenName;
    QWidget *seenControl = nullptr;
    WhenModal(this, [&](QWidget *modal) {
        if (auto *dialog = qobject_cast<TForm_CorrectAnswers *>(modal)) {
            seenName = dialog->PropertyName;
            seenControl = dialog->Control;
        }
        modal->close();
    });
    FForm->ObjectInspectorEditButtonClick();
    QCOMPARE(seenName, QStringLiteral("CorrectAnswer"));
    QCOMPARE(seenControl, control);

    // Any other row opens nothing.
    QVERIFY(SetProp("Question", "q"));
    FForm->ObjectInspectorEditButtonClick();
    QVERIFY(!QApplication::activeModalWidget());

    // The wizard, from the tool button and the control menu, gets the selected question.
    QList<QWidget *> wizardControls;
    const auto closeWizard = [&](QWidget *modal) {
        auto *wizard = qobject_cast<TForm_Wizard *>(modal);
        if (wizard && wizard->windowTitle() == QLatin1String("Set-Up Wizard"))
            wizardControls << wizard->Control;
        modal->close();
    };
    WhenModal(this, closeWizard);
    FForm->ToolButton_Wizard->click();
    WhenModal(this, closeWizard);
    FForm->ObjectInspector->InspectorForm->FDPopupMenu_Control->findChild<QAction *>("FDSubMenuItem_Wizard")->trigger();
    QCOMPARE(wizardControls, (QList<QWidget *>{control, control}));
}

void TestQuestionCommands::beginTestingRunsChosenTest()
{
    FDb->Exec({"DELETE FROM testdetail"});
    QVERIFY(FForm->NvComboBox_Test->SelectItem("History"));
    NewQuestion(FForm->ToolButton_MaskEdit);
    QVERIFY(SetProp("Question", "Say hello"));
    QVERIFY(SetProp("CorrectAnswer", "hello"));
    FForm->ToolButton_SaveClick();

    QString title, testID;
    bool questionsOnly = false, picking = false, allowPrevious = true;
    WhenModal(this, [&](QWidget *modal) {
        auto *testEdit = qobject_cast<TForm_TestEdit *>(modal);
        if (!testEdit) {
            modal->close();
            return;
        }
        title = testEdit->windowTitle();
        questionsOnly = testEdit->WithQuestionsOnly;
        picking = testEdit->Picking();
        WhenModal(this, [&](QWidget *next) {
            if (auto *wizard = qobject_cast<TForm_TestWizard *>(next)) {
                testID = wizard->TestID;
                allowPrevious = wizard->AllowPrevious;
            }
            next->close();
        });
        testEdit->StringGrid->SetRow(1); // the only test with questions
        testEdit->BitBtn_OKClick();
    });
    FForm->ToolButton_BeginTestingClick();
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(title, QStringLiteral("Begin Testing"));
    QVERIFY(questionsOnly);
    QVERIFY(picking);
    QCOMPARE(testID, QStringLiteral("2"));
    QVERIFY(!allowPrevious);
}

namespace {

void TypeInto(QWidget *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// One line of the list clicked as a teacher or student would.
void ClickListLine(TQAListbox *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

} // namespace

// The whole road inside Corvella: a question of every kind filled in by the Set-Up
// Wizard, saved into the chosen test, then the test taken on screen with every answer
// right.
void TestQuestionCommands::sixKindsThroughTheWizardThenTakeTheTest()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
    QVERIFY(FForm->NvComboBox_Test->SelectItem("History")); // test 2, no questions yet

    struct TKind {
        const char *Button;
        QString Question;
        QStringList Answers; // empty for a written kind
        QStringList Correct;
    };
    const QList<TKind> kinds = {
        {"ToolButton_MaskEdit", "What is the capital of Italy?", {}, {"ROME"}},
        {"ToolButton_Combo", "Which planet is the largest?", {"Mars", "Jupiter", "Venus"}, {"Jupiter"}},
        {"ToolButton_RadioGroup", "What is 2 + 2?", {"3", "4", "5"}, {"4"}},
        {"ToolButton_List", "Which numbers are even?", {"1", "2", "3", "4"}, {"2", "4"}},
        {"ToolButton_Memo", "Name the colour of a clear sky.", {}, {"blue"}},
        {"ToolButton_DateTime", "When did people first land on the Moon?", {}, {"20/07/1969"}},
    };

    QStringList savedTexts;
    for (const TKind &kind : kinds) {
        QWidget *control = NewQuestion(FForm->findChild<QToolButton *>(QLatin1String(kind.Button)));
        QVERIFY(control);
        if (qobject_cast<TQAListbox *>(control))
            QVERIFY(SetProp("MultiSelect", "True"));

        bool finished = false;
        WhenModal(this, [&](QWidget *modal) {
            auto *wizard = qobject_cast<TForm_Wizard *>(modal);
            if (!wizard) {
                modal->close();
                return;
            }
            TypeInto(wizard->QAMaskEdit_Question, kind.Question);
            wizard->BitBtn_NextClick();
            if (!kind.Answers.isEmpty()) {
                wizard->QARichEdit_Answers->setFocus();
                wizard->QARichEdit_Answers->setPlainText(kind.Answers.join(QLatin1Char('\n')));
                wizard->BitBtn_NextClick();
                for (const QString &line : kind.Correct)
                    ClickListLine(wizard->QAListbox_Correct, line);
            } else if (wizard->QAMaskEdit_Correct->isVisible()) {
                TypeInto(wizard->QAMaskEdit_Correct, kind.Correct.first());
            } else if (wizard->QARichEdit_Correct->isVisible()) {
                wizard->QARichEdit_Correct->setPlainText(kind.Correct.first());
            } else {
                wizard->QADateTime_Correct->setDate(StrToDate(kind.Correct.first()));
            }
            wizard->BitBtn_NextClick(); // Finish
            finished = !wizard->Cancelled;
        });
        FForm->MenuItem_WizardClick();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY2(finished, kind.Button);

        QVERIFY(FForm->ToolButton_SaveClick());
        QVERIFY2(TDialogSeam::Shown().isEmpty(), qPrintable(TDialogSeam::LastText()));
        savedTexts << ComponentToText(control);

        TDialogSeam::SetNextAnswer(ResultNo); // already saved
        FForm->ToolButton_ClearClick();
        QVERIFY(!FForm->SelectedControl());
        TDialogSeam::ClearShown();
    }

    // Stored exactly as the question model writes them, in the order they were made.
    const QStringList stored =
        FDb->Column({"SELECT controldef.CONTROL, testdetail.SEQUENCE FROM testdetail, controldef",
                     "WHERE CONTROLID = controldef.ID", "AND TESTID = 2", "ORDER BY SEQUENCE"});
    QCOMPARE(stored, savedTexts);

    // The test on screen, as the teacher tries it: every answer right.
    TForm_TestWizard wizard(&FForm->ADOQuery, false);
    wizard.TestID = QStringLiteral("2");
    wizard.show();
    QVERIFY2(!wizard.TestUnavailable(), qPrintable(wizard.UnavailableReason()));
    int answered = 0;
    while (QWidget *control = wizard.CurrentControl()) {
        QCoreApplication::processEvents();
        if (auto *edit = qobject_cast<TQAMaskEdit *>(control)) {
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("ROME"));
        } else if (auto *combo = qobject_cast<TQACombobox *>(control)) {
            combo->setCurrentIndex(combo->findText(QStringLiteral("Jupiter")));
        } else if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
            radio->Button(1)->click();
        } else if (auto *list = qobject_cast<TQAListbox *>(control)) {
            ClickListLine(list, QStringLiteral("2"));
            ClickListLine(list, QStringLiteral("4"));
        } else if (auto *memo = qobject_cast<TQARichEdit *>(control)) {
            memo->setPlainText(QStringLiteral("blue"));
        } else if (auto *date = qobject_cast<TQADateTime *>(control)) {
            date->setDate(QDate(1969, 7, 20));
        }
        ++answered;
        wizard.BitBtn_NextClick();
    }
    QCOMPARE(answered, 6);
    QCOMPARE(wizard.CorrectCount, 6);
    QCOMPARE(wizard.IncorrectCount, 0);
    QCOMPARE(double(wizard.Grade()), 100.0);
    QCOMPARE(wizard.Label_Grade2->text(), QStringLiteral("100") + DecimalSeparator() + QStringLiteral("0"));
    // The authoring program writes no result.
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testresults"}), QStringList{"0"});
    SetShortDateFormat(QString());
}

QTEST_MAIN(TestQuestionCommands)
#include "tst_questioncommands.moc"
