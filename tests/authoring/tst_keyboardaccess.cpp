// The authoring program's windows driven by keyboard alone and read as a screen reader
// reads them: Tab order, no focus trap, names and roles, menu keys and shortcuts.

#include "authoring/ClassEdit.h"
#include "authoring/Main.h"
#include "authoring/QuestionJoin.h"
#include "authoring/SelectTest.h"
#include "authoring/StudentEdit.h"
#include "authoring/StudentJoin.h"
#include "authoring/TestEdit.h"
#include "authoring/TestGrades.h"
#include "authoring/TestJoin.h"
#include "common/KeyboardWalk.h"
#include "common/Rendered.h"
#include "common/TestDatabase.h"
#include "question/QuestionControls.h"
#include "toolkit/MenuKeys.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using Corvella::TForm_Main;

namespace {

using TMaker = std::function<TRecordsForm *(TDbQuery *)>;

void Fill(TTestDatabase &db)
{
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (1, 'Algebra', '', '', 2)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Room 5', '', '')"});
    db.Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 1, 1, 1)"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (1, 'QAMaskEdit_1', 'Two and two?', '')"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 1, 1)"});
    const QStringList names{"ADAMS", "BAKER", "CLARK", "DAVIS", "EVANS"};
    for (int i = 0; i < names.size(); ++i) {
        db.Exec({QStringLiteral("INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) "
                                "VALUES (%1, '%2', 'ANN', 'B', 'S%1')")
                     .arg(i + 1)
                     .arg(names.at(i))});
        db.Exec({QStringLiteral("INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, 'S%1', %1)")
                     .arg(i + 1)});
    }
}

bool IsPushButton(QWidget *widget)
{
    return qobject_cast<QAbstractButton *>(widget) && !qobject_cast<QAbstractButton *>(widget)->isCheckable();
}

} // namespace

class TestKeyboardAccess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void recordWindowsByTab_data();
    void recordWindowsByTab();
    void iconButtonsSayWhatTheyDo();
    void mainWindowMenuKeysAndShortcuts();

private:
    std::unique_ptr<TTestDatabase> FDb;
};

void TestKeyboardAccess::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
    InstallMenuKeys();
}

void TestKeyboardAccess::init()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
    Fill(*FDb);
}

void TestKeyboardAccess::cleanup()
{
    while (QWidget *modal = QApplication::activeModalWidget())
        modal->close();
    FDb.reset();
    TDialogSeam::EndScript();
}

void TestKeyboardAccess::recordWindowsByTab_data()
{
    QTest::addColumn<TMaker>("make");
    QTest::newRow("tests") << TMaker([](TDbQuery *q) { return new TForm_TestEdit(q); });
    QTest::newRow("classes") << TMaker([](TDbQuery *q) { return new TForm_ClassEdit(q); });
    QTest::newRow("students") << TMaker([](TDbQuery *q) { return new TForm_StudentEdit(q); });
    QTest::newRow("questions in a test") << TMaker([](TDbQuery *q) {
        auto *form = new TForm_QuestionJoin(q);
        form->SetParentKey("1");
        form->SetParentName("Algebra");
        return form;
    });
    QTest::newRow("students in a class") << TMaker([](TDbQuery *q) {
        auto *form = new TForm_StudentJoin(q);
        form->SetParentKey("1");
        form->SetParentName("Room 5");
        return form;
    });
    QTest::newRow("tests of a class") << TMaker([](TDbQuery *q) {
        auto *form = new TForm_TestJoin(q);
        form->ParentKey = "1";
        form->ParentName = "Room 5";
        return form;
    });
    QTest::newRow("gradebook") << TMaker([](TDbQuery *q) {
        auto *form = new TForm_TestGrades(q);
        form->ClassKey = "1";
        form->TestKey = "1";
        return form;
    });
    QTest::newRow("select a test") << TMaker([](TDbQuery *q) {
        auto *form = new Corvella::TForm_SelectTest(q);
        form->ParentKey = "1";
        return form;
    });
}

// Fields first, then the buttons beside them, the grid as one stop, the bottom buttons
// last; every stop is named for a screen reader; Shift+Tab walks the same stops back.
void TestKeyboardAccess::recordWindowsByTab()
{
    QFETCH(TMaker, make);
    std::unique_ptr<TRecordsForm> form(make(&FDb->Query()));
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    const TTabWalk walk = WalkByTab(form.get());
    QVERIFY2(walk.Fault.isEmpty(), qPrintable(walk.Fault + " after " + walk.Names().join(", ")));
    const QStringList names = walk.Names();
    // The walk starts at the first field the user can change; the round is read from
    // the stop after the bottom panel's last button.
    QList<QWidget *> round = walk.Stops;
    const auto atBottom = [&form](QWidget *stop) { return form->Panel_Bottom->isAncestorOf(stop); };
    for (int i = 0; i < walk.Stops.size() && !(atBottom(round.last()) && !atBottom(round.first())); ++i)
        round.append(round.takeFirst());
    const int grid = round.indexOf(form->StringGrid);
    QVERIFY2(grid > 0, qPrintable(names.join(", ")));
    bool buttonSeen = false;
    for (int i = 0; i < grid; ++i) {
        QVERIFY2(!form->Panel_Bottom->isAncestorOf(round.at(i)), qPrintable(names.join(", ")));
        if (IsPushButton(round.at(i)))
            buttonSeen = true;
        else
            QVERIFY2(!buttonSeen, qPrintable("a field after the buttons: " + names.join(", ")));
    }
    QVERIFY2(grid < round.size() - 1, qPrintable(names.join(", ")));
    for (int i = grid + 1; i < round.size(); ++i)
        QVERIFY2(form->Panel_Bottom->isAncestorOf(round.at(i)), qPrintable(names.join(", ")));
    for (QWidget *stop : walk.Stops)
        QVERIFY2(AccessibleFault(stop).isEmpty(), qPrintable(AccessibleFault(stop)));

    // The arrows move inside the grid; Tab leaves it.
    form->StringGrid->setFocus();
    const int row = form->StringGrid->Row();
    QTest::keyClick(form->StringGrid, Qt::Key_Down);
    QVERIFY(form->StringGrid->hasFocus());
    QTest::keyClick(form->StringGrid, Qt::Key_Tab);
    QVERIFY(!form->StringGrid->hasFocus());
    if (form->StringGrid->RowCount() > 2)
        QCOMPARE(form->StringGrid->Row(), row + 1);

    walk.Stops.first()->setFocus();
    const TTabWalk back = WalkByTab(form.get(), true);
    QVERIFY2(back.Fault.isEmpty(), qPrintable(back.Fault));
    QCOMPARE(back.Stops.size(), walk.Stops.size());
}

// Buttons that show only an icon say to a screen reader what they do in their window.
void TestKeyboardAccess::iconButtonsSayWhatTheyDo()
{
    const auto names = [](QWidget &form) {
        QStringList spoken;
        for (auto *button : form.findChildren<QPushButton *>())
            if (button->text().isEmpty())
                spoken << button->objectName() + '=' + AccessibleName(button);
        spoken.sort();
        return spoken.join(", ");
    };
    TForm_TestEdit tests(&FDb->Query());
    QCOMPARE(names(tests), "BitBtn_Add=Add Test Header, BitBtn_Remove=Delete Test Header, "
                           "BitBtn_Update=Update Test Header");
    TForm_StudentJoin students(&FDb->Query());
    QCOMPARE(names(students), "BitBtn_Add=Add Student to Class, BitBtn_Find=Find Student, "
                              "BitBtn_Remove=Delete Student from Class, BitBtn_Update=Replace Student");
    QCOMPARE(AccessibleName(students.BitBtn_AddAll), "Add All Students to Class");
    TForm_QuestionJoin questions(&FDb->Query());
    QCOMPARE(names(questions), "BitBtn_Add=Add Question to Test, BitBtn_Find=Find Question, "
                               "BitBtn_Preview=Preview Question, BitBtn_Remove=Delete Question from Test, "
                               "BitBtn_Update=Replace Question");
    TForm_TestJoin classTests(&FDb->Query());
    QCOMPARE(names(classTests), "BitBtn_Add=Assign Test to Class, BitBtn_Remove=Remove Test from Class, "
                                "BitBtn_Update=Update Test of Class");
    TForm_TestGrades grades(&FDb->Query());
    QCOMPARE(names(grades), "BitBtn_Update=Update Grade");
    QCOMPARE(AccessibleRole(grades.BitBtn_Update), int(QAccessible::Button));
}

// F10 and Alt alone enter the menu bar on its first menu; the usual shortcuts run the
// commands and stand in the menus; Tab walks the main window without a trap.
void TestKeyboardAccess::mainWindowMenuKeysAndShortcuts()
{
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    form.show();
    QTRY_VERIFY(form.StartedUp());
    // The splash screen has the focus for a moment.
    QTRY_VERIFY_WITH_TIMEOUT((form.activateWindow(), QApplication::activeWindow() == &form), 10000);
    QMenuBar *bar = form.menuBar();

    form.NvComboBox_Test->setFocus();
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key_F10);
    QTRY_COMPARE(bar->activeAction(), form.MenuItem_File->menuAction());
    // Drawn lit at once, before any arrow key.
    const QRect file = bar->actionGeometry(form.MenuItem_File->menuAction());
    QTRY_VERIFY(PixelsNear(bar, file, bar->palette().color(QPalette::Highlight)) > file.width() * file.height() / 3);
    QTest::keyClick(bar, Qt::Key_Escape);
    QTRY_VERIFY(!bar->activeAction());
    focus = QApplication::focusWidget();
    QTest::keyClick(focus, Qt::Key_Alt);
    QTRY_COMPARE(bar->activeAction(), form.MenuItem_File->menuAction());
    QTest::keyClick(bar, Qt::Key_Escape);
    QTRY_VERIFY(!bar->activeAction());

    QCOMPARE(form.MenuItem_Save->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(form.MenuItem_Open->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(form.MenuItem_Print->shortcut(), QKeySequence(QKeySequence::Print));
    QCOMPARE(form.MenuItem_Contents->shortcut(), QKeySequence(QKeySequence::HelpContents));
    // Ctrl+N makes a new edit box question; its handle then takes part in the walk.
    QVERIFY(!form.DesignSurface()->findChild<TQAMaskEdit *>());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY(form.DesignSurface()->findChild<TQAMaskEdit *>());
    if (!QApplication::focusWidget())
        form.NvComboBox_Test->setFocus();

    const TTabWalk walk = WalkByTab(&form);
    QVERIFY2(walk.Fault.isEmpty(), qPrintable(walk.Fault + " after " + walk.Names().join(", ")));
    QCOMPARE(AccessibleName(form.NvComboBox_Test), QStringLiteral("Test List"));
    QVERIFY2(walk.Names().contains("NvComboBox_Test"), qPrintable(walk.Names().join(", ")));
    QVERIFY2(walk.Names().contains("PropertyInplaceEdit"), qPrintable(walk.Names().join(", ")));
    // The selection's handle is the stop of the question; the live control is no stop of its own.
    auto *question = form.DesignSurface()->findChild<TQAMaskEdit *>();
    QVERIFY(question->isVisible());
    for (QWidget *stop : walk.Stops)
        QVERIFY2(stop != question && !question->isAncestorOf(stop), qPrintable(walk.Names().join(", ")));
    QWidget *handle = walk.Stops.value(walk.Names().indexOf("Form_Design"));
    QVERIFY(handle);
    QCOMPARE(AccessibleName(handle), question->objectName());
    QCOMPARE(AccessibleRole(handle), int(QAccessible::Grip));
    for (QWidget *stop : walk.Stops)
        QVERIFY2(AccessibleFault(stop).isEmpty(), qPrintable(AccessibleFault(stop)));
}

QTEST_MAIN(TestKeyboardAccess)
#include "tst_keyboardaccess.moc"
