#include "authoring/TestGrades.h"
#include "common/TestDatabase.h"
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

// Class 1 takes test 1 with three students; ADAMS has a result.
void Fill(TTestDatabase &db)
{
    db.Exec({"INSERT INTO testmaster (ID, NAME) VALUES (1, 'Algebra')"});
    db.Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'Room 5')"});
    const QStringList students{"ADAMS", "BAKER", "CLARK"};
    for (int i = 0; i < students.size(); ++i) {
        const QString sid = QStringLiteral("S0%1").arg(i + 1);
        db.Exec({QStringLiteral("INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (%1, ")
                     .arg(i + 1) +
                 QuotedStr(students.at(i)) + ", 'A', '', " + QuotedStr(sid) + ")"});
        db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, " + QuotedStr(sid) + ", 1)"});
    }
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S01', 1, 1, 50, 'FAILED')"});
}

void ClickRow(TStringGrid *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

class TestGradeEntry : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void enterStoresTypedGrade();
    void leavingRowWithTypedGradeAsks();
    void closingWithTypedGradeAsks();
    void badGradeMarkedAtOnce();

private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TForm_TestGrades> Open();
    QLineEdit *GradeEdit(TForm_TestGrades &form) { return form.SpinEdit_Grade->findChild<QLineEdit *>(); }
    void TypeGrade(TForm_TestGrades &form, const QString &text);
    QString Result(const QString &sid);
};

void TestGradeEntry::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestGradeEntry::init()
{
    FDb = std::make_unique<TTestDatabase>();
    Fill(*FDb);
    TDialogSeam::BeginScript();
}

void TestGradeEntry::cleanup()
{
    TDialogSeam::EndScript();
    FDb.reset();
}

std::unique_ptr<TForm_TestGrades> TestGradeEntry::Open()
{
    auto form = std::make_unique<TForm_TestGrades>(&FDb->Query());
    form->ClassKey = QStringLiteral("1");
    form->TestKey = QStringLiteral("1");
    form->show();
    return form;
}

void TestGradeEntry::TypeGrade(TForm_TestGrades &form, const QString &text)
{
    QLineEdit *edit = GradeEdit(form);
    form.SpinEdit_Grade->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QString TestGradeEntry::Result(const QString &sid)
{
    return FDb->Column({"SELECT GRADE || ':' || STATUS FROM testresults WHERE STUDENTID = " + QuotedStr(sid)})
        .join(QLatin1Char(' '));
}

void TestGradeEntry::enterStoresTypedGrade()
{
    auto form = Open();
    ClickRow(form->StringGrid, 2);
    TypeGrade(*form, "85");
    QTest::keyClick(GradeEdit(*form), Qt::Key_Return);
    QCOMPARE(Result("S02"), QStringLiteral("85:PASSED"));
    QCOMPARE(form->StringGrid->Cells(TForm_TestGrades::ColGrade, 2), QStringLiteral("85"));
    QCOMPARE(form->StringGrid->Cells(TForm_TestGrades::ColStatus, 2), QStringLiteral("PASSED"));
    // Stored, so moving on asks nothing.
    ClickRow(form->StringGrid, 3);
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QVERIFY(form->isVisible());
}

void TestGradeEntry::leavingRowWithTypedGradeAsks()
{
    auto form = Open();
    ClickRow(form->StringGrid, 1);
    TypeGrade(*form, "42");
    // Yes: stored for the student typed for, not for the one clicked.
    TDialogSeam::SetNextAnswer(ResultYes);
    ClickRow(form->StringGrid, 2);
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Confirmation);
    QVERIFY2(TDialogSeam::LastText().contains("ADAMS, A  (S01)"), qPrintable(TDialogSeam::LastText()));
    QCOMPARE(Result("S01"), QStringLiteral("42:FAILED"));
    QCOMPARE(Result("S02"), QString());
    QCOMPARE(form->StringGrid->Cells(TForm_TestGrades::ColGrade, 1), QStringLiteral("42"));
    QCOMPARE(form->StringGrid->Row(), 2);
    QCOMPARE(form->Edit_StudentName->Text(), QStringLiteral("BAKER, A  (S02)"));
    QCOMPARE(form->SpinEdit_Grade->value(), 0);

    // No: nothing stored, the clicked row is shown.
    TypeGrade(*form, "55");
    TDialogSeam::SetNextAnswer(ResultNo);
    ClickRow(form->StringGrid, 3);
    QCOMPARE(Result("S02"), QString());
    QCOMPARE(form->StringGrid->Row(), 3);
    QCOMPARE(form->Edit_StudentName->Text(), QStringLiteral("CLARK, A  (S03)"));

    // Cancel: back on the row typed for, the typing kept.
    TypeGrade(*form, "60");
    TDialogSeam::SetNextAnswer(ResultCancel);
    ClickRow(form->StringGrid, 1);
    QCOMPARE(form->StringGrid->Row(), 3);
    QCOMPARE(form->Edit_StudentName->Text(), QStringLiteral("CLARK, A  (S03)"));
    QCOMPARE(GradeEdit(*form)->text(), QStringLiteral("60"));
    QCOMPARE(Result("S03"), QString());
}

void TestGradeEntry::closingWithTypedGradeAsks()
{
    auto form = Open();
    ClickRow(form->StringGrid, 3);
    TypeGrade(*form, "77");
    TDialogSeam::SetNextAnswer(ResultCancel);
    QTest::mouseClick(form->BitBtn_Close, Qt::LeftButton);
    QVERIFY(form->isVisible());
    TDialogSeam::SetNextAnswer(ResultYes);
    QTest::mouseClick(form->BitBtn_Close, Qt::LeftButton);
    QVERIFY(!form->isVisible());
    QCOMPARE(Result("S03"), QStringLiteral("77:PASSED"));
}

void TestGradeEntry::badGradeMarkedAtOnce()
{
    auto form = Open();
    ClickRow(form->StringGrid, 2);
    QLineEdit *edit = GradeEdit(*form);
    const QColor normal = edit->palette().color(QPalette::Text);
    TypeGrade(*form, "15");
    QCOMPARE(form->NvComboBox_Status->Text(), QStringLiteral("FAILED"));
    QVERIFY(form->SpinEdit_Grade->toolTip().isEmpty());
    // "150": the status follows the whole grade, not its first two digits.
    QTest::keyClicks(edit, "0");
    QCOMPARE(edit->text(), QStringLiteral("150"));
    QCOMPARE(form->NvComboBox_Status->ItemIndex(), -1);
    QVERIFY(edit->palette().color(QPalette::Text) != normal);
    QVERIFY2(form->SpinEdit_Grade->toolTip().contains("0 to 100"), qPrintable(form->SpinEdit_Grade->toolTip()));
    // Not a number at all.
    TypeGrade(*form, "-");
    QCOMPARE(edit->text(), QStringLiteral("-"));
    QCOMPARE(form->NvComboBox_Status->ItemIndex(), -1);
    QVERIFY(edit->palette().color(QPalette::Text) != normal);
    // A good grade again takes the mark away.
    TypeGrade(*form, "70");
    QCOMPARE(form->NvComboBox_Status->Text(), QStringLiteral("PASSED"));
    QCOMPARE(edit->palette().color(QPalette::Text), normal);
    QVERIFY(form->SpinEdit_Grade->toolTip().isEmpty());
    // Enter on a bad grade stores nothing and says why.
    TypeGrade(*form, "150");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(Result("S02"), QString());
    QVERIFY(TDialogSeam::LastText().contains("0 to 100"));
}

QTEST_MAIN(TestGradeEntry)
#include "tst_gradeentry.moc"
