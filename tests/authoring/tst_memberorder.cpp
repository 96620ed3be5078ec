#include "authoring/QuestionJoin.h"
#include "common/GridText.h"
#include "common/TestDatabase.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {

void MoveMouse(QWidget *viewport, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, viewport->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
}

} // namespace

class TestMemberOrder : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pickSurvivesRowClick();
    void storedOrderFollowsGridAfterRemoveAndAdd();
    void ctrlArrowsMoveCurrentRow();
    void dragScrollsAtGridEdge();

private:
    // Test 1 holds the first `members` of `questions` questions "Q001?" … in order.
    void Fill(int questions, int members);
    // The questions of test 1 in the order the test presents and prints them.
    QStringList StoredOrder();
    std::unique_ptr<TForm_QuestionJoin> Open();

    std::unique_ptr<TTestDatabase> FDb;
};

void TestMemberOrder::init()
{
    FDb = std::make_unique<TTestDatabase>();
    TDialogSeam::BeginScript();
}

void TestMemberOrder::cleanup()
{
    TDialogSeam::EndScript();
    FDb.reset();
}

void TestMemberOrder::Fill(int questions, int members)
{
    FDb->Exec({"INSERT INTO testmaster (ID, NAME) VALUES (1, 'Algebra')"});
    FDb->Exec({"BEGIN"});
    for (int i = 1; i <= questions; ++i) {
        FDb->Exec({QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION) VALUES (%1, 'q%1', 'Q%2?')")
                       .arg(i)
                       .arg(i, 3, 10, QLatin1Char('0'))});
        if (i <= members)
            FDb->Exec(
                {QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, %1, %1)").arg(i)});
    }
    FDb->Exec({"COMMIT"});
}

QStringList TestMemberOrder::StoredOrder()
{
    return FDb->Column({"SELECT QUESTION FROM testdetail, controldef WHERE TESTID = 1 AND CONTROLID = controldef.ID",
                        "ORDER BY SEQUENCE, SERIAL"});
}

std::unique_ptr<TForm_QuestionJoin> TestMemberOrder::Open()
{
    auto form = std::make_unique<TForm_QuestionJoin>(&FDb->Query());
    form->SetParentKey("1");
    form->SetParentName("Algebra");
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qWarning("window not exposed");
    return form;
}

void TestMemberOrder::pickSurvivesRowClick()
{
    Fill(4, 3);
    auto form = Open();
    TNvComboBox *combo = form->NvComboBox_Question;
    // The teacher picks the last question, then clicks the row after which it belongs.
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_End);
    QCOMPARE(combo->Text(), QStringLiteral("Q004?"));
    QTest::mouseClick(form->StringGrid->viewport(), Qt::LeftButton, {}, CellCentre(form->StringGrid, 2, 2));
    QCOMPARE(form->StringGrid->Row(), 2);
    QCOMPARE(combo->Text(), QStringLiteral("Q004?"));
    QTest::mouseClick(form->BitBtn_Add, Qt::LeftButton);
    // The question picked is added, with no question about a duplicate.
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QCOMPARE(GridColumn(form->StringGrid, 2), QStringList({"Q001?", "Q002?", "Q003?", "Q004?"}));
    // Stored where it is shown, while the window is still open (as its preview reads it).
    QCOMPARE(StoredOrder(), GridColumn(form->StringGrid, 2));
    // Once used, the pick gives way to the row clicked again.
    QTest::mouseClick(form->StringGrid->viewport(), Qt::LeftButton, {}, CellCentre(form->StringGrid, 2, 1));
    QCOMPARE(combo->Text(), QStringLiteral("Q001?"));
}

void TestMemberOrder::storedOrderFollowsGridAfterRemoveAndAdd()
{
    Fill(5, 3);
    auto form = Open();
    TStringGrid *grid = form->StringGrid;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 2, 1));
    TDialogSeam::SetNextAnswer(ResultYes);
    QTest::mouseClick(form->BitBtn_Remove, Qt::LeftButton);
    QCOMPARE(GridColumn(grid, 2), QStringList({"Q002?", "Q003?"}));
    QCOMPARE(StoredOrder(), GridColumn(grid, 2));
    // Current row 1: the new question still goes in at the end, in the grid and stored.
    form->NvComboBox_Question->setFocus();
    QTest::keyClick(form->NvComboBox_Question, Qt::Key_End);
    QTest::mouseClick(form->BitBtn_Add, Qt::LeftButton);
    QCOMPARE(GridColumn(grid, 2), QStringList({"Q002?", "Q003?", "Q005?"}));
    QCOMPARE(StoredOrder(), GridColumn(grid, 2));
}

void TestMemberOrder::ctrlArrowsMoveCurrentRow()
{
    Fill(3, 3);
    auto form = Open();
    TStringGrid *grid = form->StringGrid;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 2, 1));
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(GridColumn(grid, 2), QStringList({"Q002?", "Q003?", "Q001?"}));
    QCOMPARE(GridColumn(grid, 1), QStringList({"1", "2", "3"}));
    QCOMPARE(grid->Row(), 3);
    QCOMPARE(StoredOrder(), GridColumn(grid, 2));
    // At the end it stays; up again.
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(GridColumn(grid, 2), QStringList({"Q002?", "Q001?", "Q003?"}));
    QCOMPARE(grid->Row(), 2);
    QCOMPARE(StoredOrder(), GridColumn(grid, 2));
    // Plain arrows still only move the current row.
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(grid->Row(), 1);
    QCOMPARE(GridColumn(grid, 2), QStringList({"Q002?", "Q001?", "Q003?"}));
}

void TestMemberOrder::dragScrollsAtGridEdge()
{
    Fill(100, 100);
    auto form = Open();
    TStringGrid *grid = form->StringGrid;
    QWidget *viewport = grid->viewport();
    QVERIFY(grid->rowAt(viewport->height() - 1) < 40); // row 50 is out of sight

    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 1, 1));
    const QPoint edge(CellCentre(grid, 1, 1).x(), viewport->height() - 2);
    MoveMouse(viewport, edge);
    // Held at the lower edge, the grid scrolls on until row 50 comes into sight.
    QTRY_VERIFY_WITH_TIMEOUT(grid->rowAt(viewport->height() - 20) >= 52, 15000);
    const QPoint target = CellCentre(grid, 1, 50);
    QVERIFY(viewport->rect().contains(target));
    MoveMouse(viewport, target);
    const int scrolled = grid->verticalScrollBar()->value();
    QTest::qWait(200);
    QCOMPARE(grid->verticalScrollBar()->value(), scrolled); // away from the edge it stops
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, target);

    QCOMPARE(grid->Cells(2, 50), QStringLiteral("Q001?"));
    QCOMPARE(grid->Cells(2, 1), QStringLiteral("Q002?"));
    QCOMPARE(StoredOrder().indexOf("Q001?"), 49);
}

QTEST_MAIN(TestMemberOrder)
#include "tst_memberorder.moc"
