#include "authoring/TestJoin.h"
#include "common/GridText.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

void Assign(TTestDatabase &db, int id, int classID, int testID, const QString &chapter)
{
    db.Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (%1, %2, %3, ")
                 .arg(id)
                 .arg(classID)
                 .arg(testID) +
             QuotedStr(chapter) + ")"});
}

// Tests inserted out of name order; class 1 has two assignments, class 2 none.
void Fill(TTestDatabase &db)
{
    AddTest(db, 1, QStringLiteral("Zoology"));
    AddTest(db, 2, QStringLiteral("Biology"));
    AddTest(db, 3, QStringLiteral("O'Hara's quiz"));
    AddClass(db, 1, QStringLiteral("Room 5"));
    AddClass(db, 2, QStringLiteral("Empty class"));
    Assign(db, 1, 1, 1, QStringLiteral("4"));
    Assign(db, 2, 1, 3, QStringLiteral("two"));
}

} // namespace

class TestTestJoin : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listsAssignments();
    void clickSetsTestAndChapter_data();
    void clickSetsTestAndChapter();
    void placeholderFilledAndChapterStoredAsText();
    void addWithoutTestIsRefused();
    void updateAndRemove();
    void failuresLeaveGrid();

private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TForm_TestJoin> Open(const QString &classID);
};

void TestTestJoin::init()
{
    FDb = std::make_unique<TTestDatabase>();
    Fill(*FDb);
    TDialogSeam::BeginScript();
    // As the main window routes failed ID look-ups.
    SetDbErrorReporter([](const QString &message) { SaveMsgDialog(message, MsgError, BtnOK); });
}

void TestTestJoin::cleanup()
{
    const bool closed = CloseModalWindows();
    SetDbErrorReporter(nullptr);
    TDialogSeam::EndScript();
    FDb.reset();
    QVERIFY2(closed, "a modal window refused to close");
}

std::unique_ptr<TForm_TestJoin> TestTestJoin::Open(const QString &classID)
{
    auto form = std::make_unique<TForm_TestJoin>(&FDb->Query());
    form->ParentKey = classID;
    form->ParentName = QStringLiteral("Room 5");
    form->show();
    return form;
}

void TestTestJoin::listsAssignments()
{
    auto form = Open("1");
    QCOMPARE(form->windowTitle(), QStringLiteral("Add Test to Class"));
    QCOMPARE(form->Edit_ClassDesc->Text(), QStringLiteral("Room 5"));
    QCOMPARE(form->StringGrid->RowCells(0), QStringList({"ID", "Row", "Test Name", "Chapter"}));
    // The test list keeps the engine's order, unsorted.
    QCOMPARE(form->NvComboBox_Test->ItemList(), QStringList({"Zoology", "Biology", "O'Hara's quiz"}));
    QCOMPARE(form->NvComboBox_Test->Codes(), QStringList({"1", "2", "3"}));
    // Assignments by test name within the class.
    QCOMPARE(GridColumn(form->StringGrid, 2), QStringList({"O'Hara's quiz", "Zoology"}));
    QCOMPARE(GridColumn(form->StringGrid, 0), QStringList({"2", "1"}));
    QCOMPARE(GridColumn(form->StringGrid, 3), QStringList({"two", "4"}));
    QCOMPARE(GridColumn(form->StringGrid, 1), QStringList({"1", "2"}));

    auto empty = Open("2");
    QCOMPARE(empty->StringGrid->RowCount(), 2);
    QCOMPARE(empty->StringGrid->RowCells(1), QStringList({"", "1", "", ""}));
    QCOMPARE(empty->SpinEdit_Chapter->value(), 1);
}

void TestTestJoin::clickSetsTestAndChapter_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("test");
    QTest::addColumn<int>("chapter");
    QTest::newRow("chapter not a whole number") << 1 << "O'Hara's quiz" << 1;
    QTest::newRow("whole number") << 2 << "Zoology" << 4;
}

void TestTestJoin::clickSetsTestAndChapter()
{
    QFETCH(int, row);
    QFETCH(QString, test);
    QFETCH(int, chapter);
    auto form = Open("1");
    form->SpinEdit_Chapter->setValue(77);
    form->StringGrid->SetRow(row == 1 ? 2 : 1);
    form->StringGrid->SetRow(row);
    QCOMPARE(form->NvComboBox_Test->Text(), test);
    QCOMPARE(form->SpinEdit_Chapter->value(), chapter);
}

void TestTestJoin::placeholderFilledAndChapterStoredAsText()
{
    auto form = Open("2");
    form->NvComboBox_Test->SelectCode("2");
    form->SpinEdit_Chapter->setValue(-12);
    form->BitBtn_Add->click();
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QCOMPARE(form->StringGrid->RowCount(), 2);
    QCOMPARE(form->StringGrid->RowCells(1), QStringList({"3", "1", "Biology", "-12"}));
    QCOMPARE(FDb->Column({"SELECT ID || ':' || CLASSID || ':' || TESTID || ':' || CHAPTER || ':' || typeof(CHAPTER) "
                          "FROM classtest WHERE CLASSID=2"}),
             QStringList{"3:2:2:-12:text"});

    // The same test again is a second assignment, appended.
    form->SpinEdit_Chapter->setValue(9);
    form->BitBtn_Add->click();
    QCOMPARE(GridColumn(form->StringGrid, 2), QStringList({"Biology", "Biology"}));
    QCOMPARE(GridColumn(form->StringGrid, 1), QStringList({"1", "2"}));
    QCOMPARE(form->StringGrid->Row(), 2);
    QCOMPARE(FDb->Column({"SELECT CHAPTER FROM classtest WHERE CLASSID=2 ORDER BY ID"}), QStringList({"-12", "9"}));
}

void TestTestJoin::addWithoutTestIsRefused()
{
    auto form = Open("1");
    form->NvComboBox_Test->SetItemIndex(-1);
    const QStringList before = GridColumn(form->StringGrid, 0);
    form->BitBtn_Add->click();
    // Said in plain words before any statement, not as the engine's refusal.
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Message);
    QVERIFY(TDialogSeam::Shown().first().Text.startsWith("Choose the test to assign"));
    QCOMPARE(GridColumn(form->StringGrid, 0), before);
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM classtest"}), QStringList{"2"});
}

void TestTestJoin::updateAndRemove()
{
    auto form = Open("1");
    form->StringGrid->SetRow(2);
    form->NvComboBox_Test->SelectCode("2");
    form->SpinEdit_Chapter->setValue(6);
    form->BitBtn_Update->click();
    QCOMPARE(form->StringGrid->RowCells(2), QStringList({"1", "2", "Biology", "6"}));
    QCOMPARE(FDb->Column({"SELECT TESTID || ':' || CHAPTER FROM classtest WHERE ID=1"}), QStringList{"2:6"});

    TDialogSeam::SetNextAnswer(ResultNo);
    form->BitBtn_Remove->click();
    QCOMPARE(TDialogSeam::LastText(), QStringLiteral("Are you sure that you want to delete the \"Biology\" test?"));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM classtest"}), QStringList{"2"});
    TDialogSeam::SetNextAnswer(ResultYes);
    form->BitBtn_Remove->click();
    QCOMPARE(FDb->Column({"SELECT ID FROM classtest"}), QStringList{"2"});
    QCOMPARE(GridColumn(form->StringGrid, 2), QStringList{"O'Hara's quiz"});
    TDialogSeam::SetNextAnswer(ResultYes);
    form->BitBtn_Remove->click();
    QVERIFY(form->StringGrid->IsPlaceholder());

    // Update on the placeholder would show an assignment that is not stored.
    TDialogSeam::ClearShown();
    form->NvComboBox_Test->SelectCode("1");
    form->BitBtn_Update->click();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Message);
    QCOMPARE(form->StringGrid->RowCells(1), QStringList({"", "1", "", ""}));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM classtest"}), QStringList{"0"});
}

void TestTestJoin::failuresLeaveGrid()
{
    auto form = Open("1");
    QList<QStringList> before;
    for (int row = 1; row < form->StringGrid->RowCount(); ++row)
        before << form->StringGrid->RowCells(row);
    TDbConnection readOnly;
    readOnly.SetConnectionString(FDb->Connection().ConnectionString());
    readOnly.SetReadOnly(true);
    readOnly.Open();
    TDbQuery query(&readOnly);
    form->Query = &query;

    form->NvComboBox_Test->SelectCode("2");
    form->BitBtn_Add->click();
    form->NvComboBox_Test->SelectCode("2");
    form->BitBtn_Update->click();
    TDialogSeam::SetNextAnswer(ResultYes);
    form->BitBtn_Remove->click();
    QCOMPARE(TDialogSeam::Shown().size(), 4);
    for (int i : {0, 1, 3})
        QCOMPARE(TDialogSeam::Shown().at(i).DlgType, int(MsgError));
    QList<QStringList> after;
    for (int row = 1; row < form->StringGrid->RowCount(); ++row)
        after << form->StringGrid->RowCells(row);
    QCOMPARE(after, before);
    form->Query = &FDb->Query();

    // The assignment listing fails on its own: a plain box, the test list stays.
    FDb->Exec({"DROP TABLE classtest"});
    TDialogSeam::ClearShown();
    auto again = Open("1");
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Message);
    QCOMPARE(again->NvComboBox_Test->Count(), 3);
    QVERIFY(again->StringGrid->IsPlaceholder());
}

QTEST_MAIN(TestTestJoin)
#include "tst_testjoin.moc"
