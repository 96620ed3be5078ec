#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "question/QuestionControls.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

using Tamberlin::TForm_SelectClass;
using Tamberlin::TForm_SelectTest;

namespace {

const QString Student = QStringLiteral("O'Brien \"é\" 50%");

void AddClass(TTestDatabase &db, int id, const QString &name, const QStringList &students)
{
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER)",
             QStringLiteral("VALUES (%1, ").arg(id) + QuotedStr(name) + ", 'COURSE', 'TEACHER')"});
    int sequence = 0;
    for (const QString &student : students)
        db.Exec(
            {"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE)",
             QStringLiteral("VALUES (%1, ").arg(id) + QuotedStr(student) + QStringLiteral(", %1)").arg(++sequence)});
}

void AddResult(TTestDatabase &db, const QString &student, int testID, int classID, int grade, const QString &status)
{
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS)",
             "VALUES (" + QuotedStr(student) + QStringLiteral(", %1, %2, %3, ").arg(testID).arg(classID).arg(grade) +
                 QuotedStr(status) + ")"});
}

QStringList ListItems(const TForm_SelectClass &form)
{
    QStringList items;
    for (int i = 0; i < form.QAListbox_Classes->count(); ++i)
        items << form.QAListbox_Classes->item(i)->text();
    return items;
}

// The one database of the test-list cases: class 1 with four tests, class 2 with one.
void FillTests(TTestDatabase &db)
{
    AddClass(db, 1, QStringLiteral("GEOGRAPHY"), {Student, QStringLiteral("S02")});
    AddClass(db, 2, QStringLiteral("HISTORY"), {Student});
    AddClass(db, 3, QStringLiteral("EMPTY"), {Student});
    AddTest(db, 1, QStringLiteral("Gamma"), {1});
    AddTest(db, 2, QStringLiteral("alpha"), {1, 2});
    AddTest(db, 3, QStringLiteral("Beta"), {1});
    AddTest(db, 4, QStringLiteral("delta"), {1});
    AddResult(db, Student, 3, 1, 85, QStringLiteral("PASSED"));
    AddResult(db, Student, 4, 1, 40, QStringLiteral("FAILED"));
    AddResult(db, Student, 1, 1, 0, QStringLiteral("INCOMPLETE"));
    // Results that belong to someone else, or to the same test in another class.
    AddResult(db, QStringLiteral("S02"), 2, 1, 90, QStringLiteral("PASSED"));
    AddResult(db, Student, 2, 2, 75, QStringLiteral("PASSED"));
}

} // namespace

class TestSelectWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void classListIsSortedIgnoringCase();
    void classChoice_data();
    void classChoice();
    void classListWithoutClasses();
    void classListError();
    void classListHintsAndWidth();

    void testListRows_data();
    void testListRows();
    void testChoice_data();
    void testChoice();
    void classWithoutTests();
    void viewTest();
    void testListErrors_data();
    void testListErrors();
};

void TestSelectWindows::init()
{
    TDialogSeam::BeginScript();
}

void TestSelectWindows::cleanup()
{
    TDialogSeam::EndScript();
    const bool closed = CloseModalWindows();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestSelectWindows::classListIsSortedIgnoringCase()
{
    TTestDatabase db;
    // IDs out of name order, so neither the key order nor a case-sensitive order fits.
    AddClass(db, 1, QStringLiteral("zoology"), {Student});
    AddClass(db, 2, QStringLiteral("Algebra"), {Student});
    AddClass(db, 3, QStringLiteral("biology"), {Student, QStringLiteral("S02")});
    AddClass(db, 4, QStringLiteral("CHEMISTRY"), {Student});
    AddClass(db, 5, QStringLiteral("ART"), {QStringLiteral("S02")});
    AddClass(db, 6, QStringLiteral("anatomy"), {Student});

    TForm_SelectClass form(&db.Query());
    form.StudentID = Student.toUpper(); // the ID as the student typed it
    form.show();

    QCOMPARE(form.windowTitle(), QStringLiteral("Select Class "));
    QCOMPARE(ListItems(form), (QStringList{"Algebra", "anatomy", "biology", "CHEMISTRY", "zoology"}));
    // Each record stays beside its name.
    QCOMPARE(form.Classes.size(), 5);
    for (int i = 0; i < form.Classes.size(); ++i)
        QCOMPARE(form.Classes.at(i).Name, ListItems(form).at(i));
    QCOMPARE(form.Classes.at(0).ID, 2);
    QCOMPARE(form.Classes.at(4).ID, 1);
    QCOMPARE(form.Classes.at(0).Course, QStringLiteral("COURSE"));
    // The first class is chosen and OK offered.
    QCOMPARE(form.QAListbox_Classes->ItemIndex(), 0);
    QVERIFY(form.Button_OK->isEnabled());
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestSelectWindows::classChoice_data()
{
    QTest::addColumn<int>("how"); // 0 OK, 1 double click, 2 Cancel, 3 Escape, 4 close box
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("OK") << 0 << false;
    QTest::newRow("double click") << 1 << false;
    QTest::newRow("Cancel") << 2 << true;
    QTest::newRow("Escape") << 3 << true;
    QTest::newRow("close box") << 4 << true;
}

void TestSelectWindows::classChoice()
{
    QFETCH(int, how);
    QFETCH(bool, cancelled);

    TTestDatabase db;
    AddClass(db, 7, QStringLiteral("Béta's class"), {Student});
    AddClass(db, 12, QStringLiteral("ALPHA"), {Student});
    TForm_SelectClass form(&db.Query());
    form.StudentID = Student;
    form.show();
    QCOMPARE(form.QAListbox_Classes->count(), 2);

    form.QAListbox_Classes->SetItemIndex(1);
    QListWidgetItem *item = form.QAListbox_Classes->item(1);
    const QPoint centre = form.QAListbox_Classes->visualItemRect(item).center();
    switch (how) {
    case 0:
        QTest::mouseClick(form.Button_OK, Qt::LeftButton);
        break;
    case 1:
        QTest::mouseClick(form.QAListbox_Classes->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(form.QAListbox_Classes->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        break;
    case 2:
        QTest::mouseClick(form.Button_Cancel, Qt::LeftButton);
        break;
    case 3:
        QTest::keyClick(&form, Qt::Key_Escape);
        break;
    default:
        form.close();
    }

    QVERIFY(!form.isVisible());
    QCOMPARE(form.Cancelled, cancelled);
    if (!cancelled) {
        QCOMPARE(form.ClassID, QStringLiteral("7"));
        QCOMPARE(form.ClassName, QStringLiteral("Béta's class"));
    }
}

void TestSelectWindows::classListWithoutClasses()
{
    TTestDatabase db;
    AddClass(db, 1, QStringLiteral("OTHERS"), {QStringLiteral("S02")});
    TForm_SelectClass form(&db.Query());
    form.StudentID = QStringLiteral("S0%"); // no wildcard: matches nobody
    form.show();

    QCOMPARE(form.QAListbox_Classes->count(), 0);
    QVERIFY(!form.Button_OK->isEnabled());
    // A double click in the empty list closes it as cancelled.
    QTest::mouseClick(form.QAListbox_Classes->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseDClick(form.QAListbox_Classes->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(!form.isVisible());
    QVERIFY(form.Cancelled);
    QVERIFY(form.ClassID.isEmpty());
}

void TestSelectWindows::classListError()
{
    TTestDatabase db;
    AddClass(db, 1, QStringLiteral("GEOGRAPHY"), {Student});
    db.Exec({"DROP TABLE classdetail"});
    TForm_SelectClass form(&db.Query());
    form.StudentID = Student;
    form.show();

    QVERIFY(form.isVisible());
    QCOMPARE(form.QAListbox_Classes->count(), 0);
    QVERIFY(!form.Button_OK->isEnabled());
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().first();
    QCOMPARE(int(box.Kind), int(TBoxKind::MessageDialog));
    QCOMPARE(box.DlgType, int(MsgError));
    QCOMPARE(box.Buttons, int(BtnOK));
    QVERIFY2(box.Text.contains(QStringLiteral("classdetail")), qPrintable(box.Text));
    QVERIFY(!db.Query().Active());
}

void TestSelectWindows::classListHintsAndWidth()
{
    TTestDatabase db;
    const QString longName = QStringLiteral("A class whose name is far too long to fit\tinto the list") +
                             QString(120, QLatin1Char('W'));
    AddClass(db, 1, longName, {Student});
    AddClass(db, 2, QStringLiteral("B"), {Student});
    TForm_SelectClass form(&db.Query());
    form.StudentID = Student;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents();

    // The long name can be scrolled into view, the short one makes no difference.
    const int widest = form.FitListWidth();
    QVERIFY(widest > form.QAListbox_Classes->viewport()->width());
    QVERIFY(form.QAListbox_Classes->horizontalScrollBar()->maximum() > 0);

    form.QAListbox_ClassesMouseMove(form.QAListbox_Classes->item(0));
    QCOMPARE(form.QAListbox_Classes->toolTip(), longName);
    form.QAListbox_ClassesMouseMove(form.QAListbox_Classes->item(1));
    QCOMPARE(form.QAListbox_Classes->toolTip(), QStringLiteral("B"));
}

void TestSelectWindows::testListRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("testID");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<bool>("canTake");
    QTest::addColumn<bool>("canView");
    QTest::newRow("no result row") << 1 << "2"
                                   << "alpha"
                                   << "INCOMPLETE"
                                   << "N/A" << true << false;
    QTest::newRow("passed") << 2 << "3"
                            << "Beta"
                            << "PASSED"
                            << "85%" << false << true;
    QTest::newRow("failed") << 3 << "4"
                            << "delta"
                            << "FAILED"
                            << "40%" << false << true;
    QTest::newRow("stored incomplete") << 4 << "1"
                                       << "Gamma"
                                       << "INCOMPLETE"
                                       << "0%" << true << false;
}

void TestSelectWindows::testListRows()
{
    QFETCH(int, row);
    QFETCH(QString, testID);
    QFETCH(QString, name);
    QFETCH(QString, status);
    QFETCH(QString, grade);
    QFETCH(bool, canTake);
    QFETCH(bool, canView);

    TTestDatabase db;
    FillTests(db);
    TForm_SelectTest form(&db.Query());
    form.setWindowTitle(QStringLiteral("Select Test"));
    form.StudentID = Student;
    form.ClassID = QStringLiteral("1");
    form.ClassName = QStringLiteral("GEOGRAPHY");
    form.show();

    QCOMPARE(form.RowCount(), 5);
    const QStringList titles = {"ID", "Row", "Test Name", "Status", "Grade"};
    for (int column = 0; column < titles.size(); ++column)
        QCOMPARE(form.Cells(column, 0), titles.at(column));
    QVERIFY(form.StringGrid->isColumnHidden(TForm_SelectTest::ColID));
    QCOMPARE(form.Cells(TForm_SelectTest::ColRow, row), QString::number(row));
    QCOMPARE(form.Cells(TForm_SelectTest::ColID, row), testID);
    QCOMPARE(form.Cells(TForm_SelectTest::ColName, row), name);
    QCOMPARE(form.Cells(TForm_SelectTest::ColStatus, row), status);
    QCOMPARE(form.Cells(TForm_SelectTest::ColGrade, row), grade);

    // Clicking the row applies the row rule.
    const QRect cell = form.StringGrid->visualItemRect(form.StringGrid->item(row - 1, TForm_SelectTest::ColName));
    QTest::mouseClick(form.StringGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(form.SelectedRow(), row);
    QCOMPARE(form.BitBtn_OK->isEnabled(), canTake);
    QCOMPARE(form.Button_View->isEnabled(), canView);
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestSelectWindows::testChoice_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("how"); // 0 OK, 1 double click, 2 Cancel, 3 Escape
    QTest::addColumn<QString>("testID"); // empty: cancelled; "-": the window stays open
    QTest::newRow("OK on a test without result") << 1 << 0 << "2";
    QTest::newRow("OK on a stored incomplete") << 4 << 0 << "1";
    QTest::newRow("double click on a test without result") << 1 << 1 << "2";
    // A finished test is only viewed: a double click must not start it again over its result.
    QTest::newRow("double click on a passed test") << 2 << 1 << "-";
    QTest::newRow("Cancel") << 1 << 2 << "";
    QTest::newRow("Escape") << 1 << 3 << "";
}

void TestSelectWindows::testChoice()
{
    QFETCH(int, row);
    QFETCH(int, how);
    QFETCH(QString, testID);

    TTestDatabase db;
    FillTests(db);
    TForm_SelectTest form(&db.Query());
    form.StudentID = Student;
    form.ClassID = QStringLiteral("1");
    form.show();
    QCOMPARE(form.SelectedRow(), 1); // row 1 is chosen when shown
    QVERIFY(form.BitBtn_OK->isEnabled());

    form.SelectRow(row);
    form.StringGridClick();
    if (how == 0) {
        QTest::mouseClick(form.BitBtn_OK, Qt::LeftButton);
    } else if (how == 1) {
        const QRect cell = form.StringGrid->visualItemRect(form.StringGrid->item(row - 1, TForm_SelectTest::ColName));
        QTest::mouseClick(form.StringGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(form.StringGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    } else if (how == 2) {
        QTest::mouseClick(form.BitBtn_Cancel, Qt::LeftButton);
    } else {
        QTest::keyClick(&form, Qt::Key_Escape);
    }

    if (testID == QLatin1String("-")) {
        QVERIFY(form.isVisible());
        QVERIFY(!form.BitBtn_OK->isEnabled());
        return;
    }
    QVERIFY(!form.isVisible());
    QCOMPARE(form.Cancelled, testID.isEmpty());
    QCOMPARE(form.TestID, testID);
}

void TestSelectWindows::classWithoutTests()
{
    TTestDatabase db;
    FillTests(db);
    TForm_SelectTest form(&db.Query());
    form.StudentID = Student;
    form.ClassID = QStringLiteral("3");
    form.show();

    QCOMPARE(form.RowCount(), 2); // the title row and one empty row
    for (int column = 0; column < 5; ++column)
        QCOMPARE(form.Cells(column, 1), column == TForm_SelectTest::ColRow ? QStringLiteral("1") : QString());
    QVERIFY(!form.BitBtn_OK->isEnabled());
    QVERIFY(!form.Button_View->isEnabled());
    const QRect cell = form.StringGrid->visualRect(form.StringGrid->model()->index(0, TForm_SelectTest::ColName));
    QTest::mouseClick(form.StringGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(form.StringGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QVERIFY(form.isVisible());
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestSelectWindows::viewTest()
{
    TTestDatabase db;
    FillTests(db);
    TForm_SelectTest form(&db.Query());
    form.StudentID = Student;
    form.ClassID = QStringLiteral("2");
    form.show();
    // In the other class the same test has its own result.
    QCOMPARE(form.RowCount(), 2);
    QCOMPARE(form.Cells(TForm_SelectTest::ColStatus, 1), QStringLiteral("PASSED"));
    QCOMPARE(form.Cells(TForm_SelectTest::ColGrade, 1), QStringLiteral("75%"));
    QVERIFY(form.Button_View->isEnabled());

    QTest::mouseClick(form.Button_View, Qt::LeftButton);
    QVERIFY(form.isVisible());
    QCOMPARE(form.TestID, QStringLiteral("2"));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(int(TDialogSeam::Shown().first().Kind), int(TBoxKind::Message));
    QCOMPARE(TDialogSeam::LastText(), TForm_SelectTest::ViewNotAvailableMessage);

    QString viewed;
    form.OnViewTest = [&viewed](TForm_SelectTest *sender) { viewed = sender->TestID; };
    QTest::mouseClick(form.Button_View, Qt::LeftButton);
    QCOMPARE(viewed, QStringLiteral("2"));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
}

void TestSelectWindows::testListErrors_data()
{
    QTest::addColumn<QString>("classID");
    QTest::addColumn<QString>("dropTable");
    QTest::addColumn<QString>("errorMentions");
    QTest::addColumn<int>("namesListed");
    QTest::newRow("results unreadable") << "1"
                                        << "testresults"
                                        << "testresults" << 4;
    QTest::newRow("tests unreadable") << "1"
                                      << "testmaster"
                                      << "testmaster" << 0;
    QTest::newRow("class key not a number") << "1 OR 1=1"
                                            << ""
                                            << "1 OR 1=1" << 0;
}

void TestSelectWindows::testListErrors()
{
    QFETCH(QString, classID);
    QFETCH(QString, dropTable);
    QFETCH(QString, errorMentions);
    QFETCH(int, namesListed);

    TTestDatabase db;
    FillTests(db);
    if (!dropTable.isEmpty())
        db.Exec({"DROP TABLE " + dropTable});
    TForm_SelectTest form(&db.Query());
    form.StudentID = Student;
    form.ClassID = classID;
    form.show();

    QVERIFY(form.isVisible());
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(int(TDialogSeam::Shown().first().Kind), int(TBoxKind::Message));
    QVERIFY2(TDialogSeam::LastText().contains(errorMentions), qPrintable(TDialogSeam::LastText()));
    // What was filled before the failure stays; nothing can be taken or viewed.
    int listed = 0;
    for (int row = 1; row < form.RowCount(); ++row)
        listed += form.Cells(TForm_SelectTest::ColName, row).isEmpty() ? 0 : 1;
    QCOMPARE(listed, namesListed);
    QVERIFY(!form.BitBtn_OK->isEnabled());
    QVERIFY(!form.Button_View->isEnabled());
    QVERIFY(!db.Query().Active());
}

QTEST_MAIN(TestSelectWindows)
#include "tst_selectwindows.moc"
