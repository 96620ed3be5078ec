#include "authoring/TestGrades.h"
#include "common/GridText.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "toolkit/Convert.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

void AddResult(TTestDatabase &db, const QString &sid, int grade, const QString &status, const QString &extra = {})
{
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE, ANSWERS) VALUES (" +
             QuotedStr(sid) + QStringLiteral(", 1, 1, %1, ").arg(grade) + QuotedStr(status) + ", " +
             (extra.isEmpty() ? QStringLiteral("NULL, NULL") : extra) + ")"});
}

// Class 1 takes test 1; class 2 has no students.
void Fill(TTestDatabase &db)
{
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (1, 'Algebra', '', '', 2)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Room 5', '', '')"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (2, 'Empty', '', '')"});
    AddStudent(db, 1, "O'BRIEN", "ANN", "", "S01");
    AddStudent(db, 2, "ADAMS", "BOB", "C", "S02");
    AddStudent(db, 3, "MOORE", "CY", "", "S03");
    AddStudent(db, 4, "NASH", "DI", "", "S04");
    for (const char *sid : {"S01", "S02", "S03", "S04", "GONE"})
        AddMember(db, 1, QString::fromLatin1(sid));
    // Written by the testing program: date and transcript.
    AddResult(db, "S02", 50, "PASSED", "'2026-03-04', 'line 1\r\nline 2'");
    AddResult(db, "S03", 88, "MAYBE");
    AddResult(db, "GONE", 90, "PASSED");
}

} // namespace

class TestGradebook : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsStudentsWithResults();
    void gradeProposesStatus_data();
    void gradeProposesStatus();
    void clickShowsStoredStatus_data();
    void clickShowsStoredStatus();
    void updateInsertsThenUpdates();
    void updateKeepsDateAndAnswers();
    void gradeOutOfRangeRefused_data();
    void gradeOutOfRangeRefused();
    void classWithoutStudents();
    void failures();

private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TForm_TestGrades> Open(const QString &classID = QStringLiteral("1"));
    QStringList Results(const QString &sid);
    void TypeGrade(TForm_TestGrades &form, const QString &text);
};

void TestGradebook::initTestCase()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
    // Typed grades use the C locale's digits and minus sign.
    QLocale::setDefault(QLocale::c());
}

void TestGradebook::init()
{
    FDb = std::make_unique<TTestDatabase>();
    Fill(*FDb);
    TDialogSeam::BeginScript();
}

void TestGradebook::cleanup()
{
    const bool closed = CloseModalWindows();
    TDialogSeam::EndScript();
    FDb.reset();
    QVERIFY2(closed, "a modal window refused to close");
}

std::unique_ptr<TForm_TestGrades> TestGradebook::Open(const QString &classID)
{
    auto form = std::make_unique<TForm_TestGrades>(&FDb->Query());
    form->ClassKey = classID;
    form->TestKey = QStringLiteral("1");
    form->Edit_TestName->SetText(QStringLiteral("Algebra"));
    form->Edit_ClassName->SetText(QStringLiteral("Room 5"));
    form->show();
    return form;
}

QStringList TestGradebook::Results(const QString &sid)
{
    return FDb->Column({"SELECT GRADE || ':' || STATUS || ':' || IFNULL(TESTDATE, '-') || ':' || IFNULL(ANSWERS, '-') "
                        "FROM testresults WHERE STUDENTID = " +
                        QuotedStr(sid) + " ORDER BY SERIAL"});
}

void TestGradebook::TypeGrade(TForm_TestGrades &form, const QString &text)
{
    QLineEdit *edit = form.SpinEdit_Grade->findChild<QLineEdit *>();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void TestGradebook::listsStudentsWithResults()
{
    auto form = Open();
    QCOMPARE(form->windowTitle(), QStringLiteral("Edit Gradebook"));
    QCOMPARE(form->StringGrid->RowCells(0), QStringList({"ID", "Row", "Student Name", "Status", "Grade (%)"}));
    // Sorted by name; the blank before the middle initial stands even without one; the
    // deleted student's membership is not listed.
    QCOMPARE(GridColumn(form->StringGrid, 2),
             QStringList({"ADAMS, BOB C (S02)", "MOORE, CY  (S03)", "NASH, DI  (S04)", "O'BRIEN, ANN  (S01)"}));
    QCOMPARE(GridColumn(form->StringGrid, 0), QStringList({"S02", "S03", "S04", "S01"}));
    QCOMPARE(GridColumn(form->StringGrid, 3), QStringList({"PASSED", "MAYBE", "INCOMPLETE", "INCOMPLETE"}));
    QCOMPARE(GridColumn(form->StringGrid, 4), QStringList({"50", "88", "0", "0"}));
    QCOMPARE(GridColumn(form->StringGrid, 1), QStringList({"1", "2", "3", "4"}));
    QVERIFY(!form->BitBtn_OK->isVisibleTo(form.get()));
    QVERIFY(form->BitBtn_Close->isVisibleTo(form.get()));
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestGradebook::gradeProposesStatus_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("status");
    QTest::newRow("85") << "85"
                        << "PASSED";
    QTest::newRow("70") << "70"
                        << "PASSED";
    QTest::newRow("69") << "69"
                        << "FAILED";
    QTest::newRow("40") << "40"
                        << "FAILED";
    QTest::newRow("1") << "1"
                       << "FAILED";
    QTest::newRow("0") << "0"
                       << "INCOMPLETE";
    QTest::newRow("100") << "100"
                         << "PASSED";
}

void TestGradebook::gradeProposesStatus()
{
    QFETCH(QString, typed);
    QFETCH(QString, status);
    auto form = Open();
    form->StringGrid->SetRow(2); // stored "MAYBE": nothing selected
    QCOMPARE(form->NvComboBox_Status->ItemIndex(), -1);
    TypeGrade(*form, typed);
    QCOMPARE(form->SpinEdit_Grade->value(), typed.toInt());
    QCOMPARE(form->NvComboBox_Status->Text(), status);
    // Stepping proposes as well.
    form->SpinEdit_Grade->setValue(typed.toInt() == 69 ? 70 : 69);
    QCOMPARE(form->NvComboBox_Status->Text(), QString(typed.toInt() == 69 ? "PASSED" : "FAILED"));
}

void TestGradebook::clickShowsStoredStatus_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("student");
    QTest::addColumn<int>("grade");
    QTest::addColumn<int>("statusIndex");
    QTest::newRow("stored PASSED with 50") << 1 << "ADAMS, BOB C (S02)" << 50 << 1;
    QTest::newRow("stored status unknown") << 2 << "MOORE, CY  (S03)" << 88 << -1;
    QTest::newRow("no result") << 4 << "O'BRIEN, ANN  (S01)" << 0 << 0;
}

void TestGradebook::clickShowsStoredStatus()
{
    QFETCH(int, row);
    QFETCH(QString, student);
    QFETCH(int, grade);
    QFETCH(int, statusIndex);
    auto form = Open();
    form->StringGrid->SetRow(3);
    form->SpinEdit_Grade->setValue(33);
    // Leaving the row asks about the grade not stored; No drops it.
    TDialogSeam::SetNextAnswer(ResultNo);
    form->StringGrid->SetRow(row);
    QCOMPARE(form->Edit_StudentName->Text(), student);
    QCOMPARE(form->SpinEdit_Grade->value(), grade);
    QCOMPARE(form->NvComboBox_Status->ItemIndex(), statusIndex);
}

void TestGradebook::updateInsertsThenUpdates()
{
    auto form = Open();
    form->StringGrid->SetRow(4); // O'BRIEN: no result row yet
    TypeGrade(*form, "64");
    form->BitBtn_Update->click();
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QCOMPARE(Results("S01"), QStringList{"64:FAILED:-:-"});
    QCOMPARE(form->StringGrid->RowCells(4).mid(3), QStringList({"FAILED", "64"}));

    // The teacher overrides the proposal; the second Update changes the same row.
    TypeGrade(*form, "95");
    form->NvComboBox_Status->SelectItem("INCOMPLETE");
    form->BitBtn_Update->click();
    QCOMPARE(Results("S01"), QStringList{"95:INCOMPLETE:-:-"});
    QCOMPARE(form->StringGrid->RowCells(4).mid(3), QStringList({"INCOMPLETE", "95"}));

    // A row with a status not in the list stores an empty status.
    form->StringGrid->SetRow(2);
    form->BitBtn_Update->click();
    QCOMPARE(Results("S03"), QStringList{"88::-:-"});
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testresults"}), QStringList{"4"});
}

void TestGradebook::updateKeepsDateAndAnswers()
{
    const QStringList before = Results("S02");
    QCOMPARE(before.size(), 1);
    auto form = Open();
    form->StringGrid->SetRow(1);
    TypeGrade(*form, "45");
    form->BitBtn_Update->click();
    QStringList expected = before;
    expected[0].replace(QStringLiteral("50:PASSED"), QStringLiteral("45:FAILED"));
    QCOMPARE(Results("S02"), expected);
}

void TestGradebook::gradeOutOfRangeRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("101") << "101";
    QTest::newRow("250") << "250";
    QTest::newRow("-5") << "-5";
}

void TestGradebook::gradeOutOfRangeRefused()
{
    QFETCH(QString, typed);
    auto form = Open();
    form->StringGrid->SetRow(1);
    TypeGrade(*form, typed);
    // Typed as it stands, not cut to another number that would then be stored.
    QCOMPARE(form->SpinEdit_Grade->text(), typed);
    form->BitBtn_Update->click();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Message);
    QVERIFY(TDialogSeam::LastText().contains("from 0 to 100"));
    QCOMPARE(Results("S02").first().left(9), QStringLiteral("50:PASSED"));
    QCOMPARE(form->StringGrid->RowCells(1).mid(3), QStringList({"PASSED", "50"}));
    // The arrows keep to the range.
    form->SpinEdit_Grade->setValue(100);
    form->SpinEdit_Grade->stepBy(1);
    QCOMPARE(form->SpinEdit_Grade->value(), 100);
}

void TestGradebook::classWithoutStudents()
{
    auto form = Open("2");
    QCOMPARE(form->StringGrid->RowCount(), 2);
    QCOMPARE(form->StringGrid->RowCells(1), QStringList({"", "1", "", "INCOMPLETE", "0"}));
    TypeGrade(*form, "80");
    form->BitBtn_Update->click();
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testresults"}), QStringList{"3"});
    QCOMPARE(form->StringGrid->RowCells(1), QStringList({"", "1", "", "INCOMPLETE", "0"}));
}

void TestGradebook::failures()
{
    auto form = Open();
    TDbConnection readOnly;
    readOnly.SetConnectionString(FDb->Connection().ConnectionString());
    readOnly.SetReadOnly(true);
    readOnly.Open();
    TDbQuery query(&readOnly);
    form->Query = &query;
    form->StringGrid->SetRow(4);
    TypeGrade(*form, "77");
    form->BitBtn_Update->click();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Message);
    QCOMPARE(form->StringGrid->RowCells(4).mid(3), QStringList({"INCOMPLETE", "0"}));
    QVERIFY(Results("S01").isEmpty());
    form->Query = &FDb->Query();

    // A failing listing: a plain box, and the window opens all the same.
    FDb->Exec({"DROP TABLE testresults"});
    TDialogSeam::ClearShown();
    auto again = Open();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Message);
    QCOMPARE(again->StringGrid->RowCount(), 5);
    QCOMPARE(again->StringGrid->Cells(1, 4), QStringLiteral("4"));
}

QTEST_MAIN(TestGradebook)
#include "tst_gradebook.moc"
