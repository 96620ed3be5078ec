#include "authoring/ClassEdit.h"
#include "authoring/QuestionJoin.h"
#include "authoring/StudentEdit.h"
#include "authoring/StudentJoin.h"
#include "authoring/TestEdit.h"
#include "authoring/TestGrades.h"
#include "authoring/TestJoin.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

void ClickRow(TStringGrid *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void Type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QString Count(TTestDatabase &db, const QString &table, const QString &where)
{
    return db.Column({"SELECT COUNT(*) FROM " + table + " WHERE " + where}).value(0);
}

void AddStudent(TTestDatabase &db, int id, const QString &last, const QString &first, const QString &sid)
{
    db.Exec(
        {QStringLiteral("INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (%1, ").arg(id) +
         QuotedStr(last) + ", " + QuotedStr(first) + ", '', " + QuotedStr(sid) + ")"});
}

// Class 2 ("Room 9", the newest) has three students, two assigned tests and their
// results; test 2 ("Fractions", the newest) has two questions.
void Fill(TTestDatabase &db)
{
    db.Exec({"INSERT INTO testmaster (ID, NAME, COLUMNS) VALUES (1, 'Algebra', 2)"});
    db.Exec({"INSERT INTO testmaster (ID, NAME, COLUMNS) VALUES (2, 'Fractions', 2)"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION) VALUES (1, 'q1', 'One?')"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION) VALUES (2, 'q2', 'Two?')"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (2, 1, 1)"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (2, 2, 2)"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 2, 1)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'Room 5')"});
    db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (2, 'Room 9')"});
    AddStudent(db, 1, "ADAMS", "ANN", "S01");
    AddStudent(db, 2, "BAKER", "BOB", "S02");
    AddStudent(db, 3, "CLARK", "CY", "S03");
    for (const char *sid : {"S01", "S02", "S03"})
        db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (2, '" + QString::fromLatin1(sid) +
                 "', 1)"});
    db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, 'S01', 1)"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 2, 1, '1')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (2, 2, 2, '2')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (3, 1, 2, '1')"});
    for (const char *sid : {"S01", "S02", "S03"})
        db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('" +
                 QString::fromLatin1(sid) + "', 1, 2, 80, 'PASSED')"});
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S01', 2, 1, 90, 'PASSED')"});
}

} // namespace

class TestRecordIntegrity : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newClassDoesNotInheritDeletedClassMembers();
    void newTestDoesNotInheritDeletedTestQuestions();
    void newStudentDoesNotInheritDeletedStudentResults();
    void keepsMembersWhenHeaderDeleteFails();
    void keyStillReferredToIsNotReused();
    void studentIdUsedInOtherCaseIsRefused();
    void removingEmptyRowSaysThereIsNothing();
    void assigningWithoutTestSaysChooseOne();
    void windowsOpenOnFirstEditableField();
    void columnsShownAreColumnsStored();

private:
    std::unique_ptr<TTestDatabase> FDb;
};

void TestRecordIntegrity::init()
{
    FDb = std::make_unique<TTestDatabase>();
    Fill(*FDb);
    TDialogSeam::BeginScript();
    SetDbErrorReporter([](const QString &message) { SaveMsgDialog(message, MsgError, BtnOK); });
}

void TestRecordIntegrity::cleanup()
{
    SetDbErrorReporter(nullptr);
    TDialogSeam::EndScript();
    FDb.reset();
}

void TestRecordIntegrity::newClassDoesNotInheritDeletedClassMembers()
{
    TForm_ClassEdit form(&FDb->Query());
    form.show();
    ClickRow(form.StringGrid, 2);
    QCOMPARE(form.Edit_ClassTitle->Text(), QStringLiteral("Room 9"));

    // The question names what goes with the class.
    TDialogSeam::SetNextAnswer(ResultYes);
    QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
    const QString asked = TDialogSeam::LastText();
    QVERIFY2(asked.startsWith("Are you sure that you want to delete the \"Room 9\" class?"), qPrintable(asked));
    QVERIFY2(asked.contains("3 students, 2 assigned tests and 3 results"), qPrintable(asked));
    QCOMPARE(Count(*FDb, "classdetail", "CLASSID = 2"), QStringLiteral("0"));
    QCOMPARE(Count(*FDb, "classtest", "CLASSID = 2"), QStringLiteral("0"));
    QCOMPARE(Count(*FDb, "testresults", "CLASSID = 2"), QStringLiteral("0"));
    // The other class, the students and the tests stay.
    QCOMPARE(Count(*FDb, "classdetail", "CLASSID = 1"), QStringLiteral("1"));
    QCOMPARE(Count(*FDb, "studentmaster", "1=1"), QStringLiteral("3"));
    QCOMPARE(Count(*FDb, "testmaster", "1=1"), QStringLiteral("2"));

    Type(form.Edit_ClassTitle, "Room 12");
    QTest::mouseClick(form.BitBtn_Add, Qt::LeftButton);
    const QString newKey = form.StringGrid->Cells(TForm_ClassEdit::ColID, form.StringGrid->Row());
    QVERIFY(!newKey.isEmpty());
    form.close();

    // The new class starts empty in the windows that show its members and tests.
    TForm_StudentJoin students(&FDb->Query());
    students.SetParentKey(newKey);
    students.SetParentName("Room 12");
    students.show();
    QVERIFY(students.StringGrid->IsPlaceholder());
    students.close();
    TForm_TestJoin tests(&FDb->Query());
    tests.ParentKey = newKey;
    tests.ParentName = "Room 12";
    tests.show();
    QVERIFY(tests.StringGrid->IsPlaceholder());
    tests.close();
    QCOMPARE(Count(*FDb, "testresults", "CLASSID = " + newKey), QStringLiteral("0"));
}

void TestRecordIntegrity::newTestDoesNotInheritDeletedTestQuestions()
{
    TForm_TestEdit form(&FDb->Query());
    form.show();
    ClickRow(form.StringGrid, 2);
    QCOMPARE(form.Edit_TestTitle->Text(), QStringLiteral("Fractions"));
    TDialogSeam::SetNextAnswer(ResultYes);
    QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
    const QString asked = TDialogSeam::LastText();
    QVERIFY2(asked.startsWith("Are you sure that you want to delete the \"Fractions\" test?"), qPrintable(asked));
    QVERIFY2(asked.contains("2 questions, 2 class assignments and 1 result"), qPrintable(asked));
    // The questions stay in the bank; test 1 keeps its own.
    QCOMPARE(Count(*FDb, "controldef", "1=1"), QStringLiteral("2"));
    QCOMPARE(Count(*FDb, "testdetail", "TESTID = 1"), QStringLiteral("1"));

    Type(form.Edit_TestTitle, "Decimals");
    QTest::mouseClick(form.BitBtn_Add, Qt::LeftButton);
    const QString newKey = form.StringGrid->Cells(TForm_TestEdit::ColID, form.StringGrid->Row());
    form.close();
    TForm_QuestionJoin questions(&FDb->Query());
    questions.SetParentKey(newKey);
    questions.SetParentName("Decimals");
    questions.show();
    QVERIFY(questions.StringGrid->IsPlaceholder());
    questions.close();
    QCOMPARE(Count(*FDb, "classtest", "TESTID = " + newKey), QStringLiteral("0"));
}

void TestRecordIntegrity::newStudentDoesNotInheritDeletedStudentResults()
{
    TForm_StudentEdit form(&FDb->Query());
    form.show();
    ClickRow(form.StringGrid, 1);
    QCOMPARE(form.Edit_StudentID->Text(), QStringLiteral("S01"));
    // Answered No first: nothing goes.
    TDialogSeam::SetNextAnswer(ResultNo);
    QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
    QVERIFY2(TDialogSeam::LastText().contains("2 class places and 2 results"), qPrintable(TDialogSeam::LastText()));
    QCOMPARE(Count(*FDb, "classdetail", "STUDENTID = 'S01'"), QStringLiteral("2"));
    TDialogSeam::SetNextAnswer(ResultYes);
    QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);

    // A new student given the freed ID starts without classes and grades.
    Type(form.Edit_LastName, "DAVIS");
    Type(form.Edit_FirstName, "DAN");
    Type(form.Edit_StudentID, "S01");
    QTest::mouseClick(form.BitBtn_Add, Qt::LeftButton);
    QCOMPARE(Count(*FDb, "studentmaster", "STUDENTID = 'S01'"), QStringLiteral("1"));
    form.close();

    TForm_TestGrades grades(&FDb->Query());
    grades.ClassKey = "2";
    grades.TestKey = "1";
    grades.show();
    QCOMPARE(grades.StringGrid->RowCount(), 3); // BAKER and CLARK only
    for (int row = 1; row < grades.StringGrid->RowCount(); ++row)
        QVERIFY(!grades.StringGrid->Cells(TForm_TestGrades::ColName, row).contains("DAVIS"));
}

void TestRecordIntegrity::keepsMembersWhenHeaderDeleteFails()
{
    FDb->Exec(
        {"CREATE TRIGGER refuse BEFORE DELETE ON classmaster", "BEGIN SELECT RAISE(ABORT, 'delete refused'); END"});
    TForm_ClassEdit form(&FDb->Query());
    form.show();
    ClickRow(form.StringGrid, 2);
    TDialogSeam::SetNextAnswer(ResultYes);
    QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
    const QList<TShownBox> errors = ShownOf(TBoxKind::MessageDialog);
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().Text.contains("delete refused"));
    // One step: nothing of the class went, and the grid still shows it.
    QCOMPARE(Count(*FDb, "classdetail", "CLASSID = 2"), QStringLiteral("3"));
    QCOMPARE(Count(*FDb, "classtest", "CLASSID = 2"), QStringLiteral("2"));
    QCOMPARE(Count(*FDb, "testresults", "CLASSID = 2"), QStringLiteral("3"));
    QCOMPARE(form.StringGrid->RowCount(), 3);
    QCOMPARE(form.StringGrid->Cells(TForm_ClassEdit::ColName, 2), QStringLiteral("Room 9"));
}

void TestRecordIntegrity::keyStillReferredToIsNotReused()
{
    // A file from before: class 2 was deleted and left its rows behind.
    FDb->Exec({"DELETE FROM classmaster WHERE ID = 2"});
    FDb->Exec({"DELETE FROM testmaster WHERE ID = 2"});
    TForm_ClassEdit classes(&FDb->Query());
    classes.show();
    Type(classes.Edit_ClassTitle, "Room 12");
    QTest::mouseClick(classes.BitBtn_Add, Qt::LeftButton);
    QCOMPARE(classes.StringGrid->Cells(TForm_ClassEdit::ColID, classes.StringGrid->Row()), QStringLiteral("3"));
    classes.close();
    TForm_TestEdit tests(&FDb->Query());
    tests.show();
    Type(tests.Edit_TestTitle, "Decimals");
    QTest::mouseClick(tests.BitBtn_Add, Qt::LeftButton);
    QCOMPARE(tests.StringGrid->Cells(TForm_TestEdit::ColID, tests.StringGrid->Row()), QStringLiteral("3"));
}

void TestRecordIntegrity::studentIdUsedInOtherCaseIsRefused()
{
    TForm_StudentEdit form(&FDb->Query());
    form.show();
    // Adding "s01" beside "S01".
    Type(form.Edit_LastName, "EVANS");
    Type(form.Edit_FirstName, "EVE");
    Type(form.Edit_StudentID, "s01");
    QTest::mouseClick(form.BitBtn_Add, Qt::LeftButton);
    QCOMPARE(Count(*FDb, "studentmaster", "1=1"), QStringLiteral("3"));
    QCOMPARE(form.StringGrid->RowCount(), 4);
    QVERIFY2(TDialogSeam::LastText().contains("ADAMS, ANN (S01)"), qPrintable(TDialogSeam::LastText()));
    QVERIFY(TDialogSeam::LastText().contains("s01"));
    // What was typed stays, to be corrected.
    QCOMPARE(form.Edit_StudentID->Text(), QStringLiteral("s01"));

    // Changing BAKER's ID to one that CLARK has.
    ClickRow(form.StringGrid, 2);
    Type(form.Edit_StudentID, "s03");
    TDialogSeam::ClearShown();
    QTest::mouseClick(form.BitBtn_Update, Qt::LeftButton);
    QVERIFY2(TDialogSeam::LastText().contains("CLARK, CY (S03)"), qPrintable(TDialogSeam::LastText()));
    QCOMPARE(FDb->Column({"SELECT STUDENTID FROM studentmaster WHERE ID = 2"}), QStringList({"S02"}));
    QCOMPARE(form.StringGrid->Cells(TForm_StudentEdit::ColStudentID, 2), QStringLiteral("S02"));

    // A student keeps his own ID, whatever its letter case, when other fields change.
    Type(form.Edit_StudentID, "s02");
    Type(form.Edit_FirstName, "ROBERT");
    TDialogSeam::ClearShown();
    QTest::mouseClick(form.BitBtn_Update, Qt::LeftButton);
    QVERIFY(ShownOf(TBoxKind::Message).isEmpty());
    QCOMPARE(FDb->Column({"SELECT FIRSTNAME || ' ' || STUDENTID FROM studentmaster WHERE ID = 2"}),
             QStringList({"ROBERT s02"}));
}

void TestRecordIntegrity::removingEmptyRowSaysThereIsNothing()
{
    FDb->Exec({"DELETE FROM classdetail"});
    FDb->Exec({"DELETE FROM testdetail"});
    FDb->Exec({"DELETE FROM classtest"});
    const QString asked = "Are you sure that you want to delete \"?";
    {
        TForm_StudentJoin form(&FDb->Query());
        form.SetParentKey("2");
        form.SetParentName("Room 9");
        form.show();
        TDialogSeam::SetNextAnswer(ResultYes);
        QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
        QCOMPARE(ShownOf(TBoxKind::Confirmation).size(), 0);
        QVERIFY2(TDialogSeam::LastText().contains("no student"), qPrintable(TDialogSeam::LastText()));
        form.close();
    }
    {
        TForm_QuestionJoin form(&FDb->Query());
        form.SetParentKey("2");
        form.SetParentName("Fractions");
        form.show();
        TDialogSeam::ClearShown();
        QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
        QCOMPARE(ShownOf(TBoxKind::Confirmation).size(), 0);
        QVERIFY2(TDialogSeam::LastText().contains("no question"), qPrintable(TDialogSeam::LastText()));
        form.close();
    }
    {
        TForm_TestJoin form(&FDb->Query());
        form.ParentKey = "2";
        form.ParentName = "Room 9";
        form.show();
        TDialogSeam::ClearShown();
        QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
        QCOMPARE(ShownOf(TBoxKind::Confirmation).size(), 0);
        QVERIFY2(TDialogSeam::LastText().contains("no test"), qPrintable(TDialogSeam::LastText()));
        form.close();
    }
    {
        FDb->Exec({"DELETE FROM classmaster"});
        TForm_ClassEdit form(&FDb->Query());
        form.show();
        TDialogSeam::ClearShown();
        QTest::mouseClick(form.BitBtn_Remove, Qt::LeftButton);
        QCOMPARE(ShownOf(TBoxKind::Confirmation).size(), 0);
        QVERIFY2(TDialogSeam::LastText().contains("no class"), qPrintable(TDialogSeam::LastText()));
    }
    for (const TShownBox &box : TDialogSeam::Shown())
        QVERIFY(box.Text != asked);
}

void TestRecordIntegrity::assigningWithoutTestSaysChooseOne()
{
    FDb->Exec({"DELETE FROM classtest WHERE CLASSID = 1"});
    TForm_TestJoin form(&FDb->Query());
    form.ParentKey = "1";
    form.ParentName = "Room 5";
    form.show();
    QCOMPARE(form.NvComboBox_Test->ItemIndex(), -1); // a class without tests: none chosen yet
    QTest::mouseClick(form.BitBtn_Add, Qt::LeftButton);
    QCOMPARE(ShownOf(TBoxKind::MessageDialog).size(), 0);
    const QString said = TDialogSeam::LastText();
    QVERIFY2(!said.contains("syntax error"), qPrintable(said));
    QVERIFY2(said.contains("Choose the test"), qPrintable(said));
    QCOMPARE(Count(*FDb, "classtest", "CLASSID = 1"), QStringLiteral("0"));
    QVERIFY(form.StringGrid->IsPlaceholder());
}

void TestRecordIntegrity::windowsOpenOnFirstEditableField()
{
    auto focusOf = [](QWidget *form) -> QWidget * {
        form->show();
        QApplication::setActiveWindow(form);
        QTest::qWait(20);
        return form->focusWidget();
    };
    {
        TForm_QuestionJoin form(&FDb->Query());
        form.SetParentKey("2");
        QCOMPARE(focusOf(&form), form.NvComboBox_Question);
        form.close();
    }
    {
        TForm_StudentJoin form(&FDb->Query());
        form.SetParentKey("2");
        QCOMPARE(focusOf(&form), form.NvComboBox_Student);
        form.close();
    }
    {
        TForm_TestJoin form(&FDb->Query());
        form.ParentKey = "2";
        QCOMPARE(focusOf(&form), form.NvComboBox_Test);
        form.close();
    }
    {
        TForm_TestGrades form(&FDb->Query());
        form.ClassKey = "2";
        form.TestKey = "1";
        QWidget *focused = focusOf(&form);
        QVERIFY(focused == form.SpinEdit_Grade || form.SpinEdit_Grade->isAncestorOf(focused));
        form.close();
    }
    {
        TForm_StudentEdit form(&FDb->Query());
        QCOMPARE(focusOf(&form), form.Edit_LastName);
        form.close();
    }
}

void TestRecordIntegrity::columnsShownAreColumnsStored()
{
    TForm_TestEdit form(&FDb->Query());
    form.show();
    ClickRow(form.StringGrid, 1);
    QSpinBox *spin = form.SpinEdit_Columns;
    QLineEdit *spinEdit = spin->findChild<QLineEdit *>();
    Type(form.Edit_TestTitle, "Geometry");
    spin->setFocus();
    spinEdit->selectAll();
    QTest::keyClicks(spinEdit, "3");
    spinEdit->selectAll();
    QTest::keyClick(spinEdit, Qt::Key_Delete);
    QCOMPARE(spinEdit->text(), QString());
    form.BitBtn_Add->click();
    const QString stored = FDb->Column({"SELECT COLUMNS FROM testmaster WHERE NAME = 'Geometry'"}).value(0);
    QCOMPARE(stored, QStringLiteral("3"));
    QCOMPARE(spinEdit->text(), stored);
    QCOMPARE(form.StringGrid->Cells(TForm_TestEdit::ColColumns, form.StringGrid->Row()), stored);

    // When the store fails, the fields keep what was typed: the box still shows the
    // value that the next try will store, never an empty box.
    FDb->Exec({"CREATE TRIGGER refuse BEFORE UPDATE ON testmaster", "BEGIN SELECT RAISE(ABORT, 'refused'); END"});
    spin->setFocus();
    spinEdit->selectAll();
    QTest::keyClick(spinEdit, Qt::Key_Delete);
    form.BitBtn_Update->click();
    QCOMPARE(ShownOf(TBoxKind::MessageDialog).size(), 1);
    QCOMPARE(spinEdit->text(), QString::number(spin->value()));
    QCOMPARE(spinEdit->text(), QStringLiteral("3"));
}

QTEST_MAIN(TestRecordIntegrity)
#include "tst_recordintegrity.moc"
