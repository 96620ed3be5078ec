#include "authoring/ClassEdit.h"
#include "authoring/StudentEdit.h"
#include "authoring/TestEdit.h"
#include "common/GridText.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "dialogs/SaveMsgDlg.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

enum TKind { TestWindow, ClassWindow, StudentWindow };

struct TWindowFacts {
    QString Table;
    QString NameColumn; // the table column shown in grid column 2
    QString Noun; // in the removal question
};

TWindowFacts Facts(TKind kind)
{
    switch (kind) {
    case TestWindow:
        return {"testmaster", "NAME", "test"};
    case ClassWindow:
        return {"classmaster", "NAME", "class"};
    case StudentWindow:
        break;
    }
    return {"studentmaster", "LASTNAME", "student"};
}

std::unique_ptr<TRecordEditForm> MakeForm(TKind kind, TDbQuery *query)
{
    switch (kind) {
    case TestWindow:
        return std::make_unique<TForm_TestEdit>(query);
    case ClassWindow:
        return std::make_unique<TForm_ClassEdit>(query);
    case StudentWindow:
        break;
    }
    return std::make_unique<TForm_StudentEdit>(query);
}

// The edit fields of the window's top panel, in their order.
QList<TMaskEdit *> EditFields(TRecordEditForm &form)
{
    return form.Panel_Top->findChildren<TMaskEdit *>(Qt::FindDirectChildrenOnly);
}

void TypeInto(TRecordEditForm &form, const QStringList &values)
{
    const QList<TMaskEdit *> edits = EditFields(form);
    for (int i = 0; i < values.size() && i < edits.size(); ++i) {
        edits.at(i)->clear();
        QTest::keyClicks(edits.at(i), values.at(i));
    }
}

QStringList FieldTexts(TRecordEditForm &form)
{
    QStringList texts;
    for (TMaskEdit *edit : EditFields(form))
        texts << edit->Text();
    return texts;
}

QList<QStringList> GridRows(const TStringGrid *grid)
{
    QList<QStringList> rows;
    for (int row = 1; row < grid->RowCount(); ++row)
        rows << grid->RowCells(row);
    return rows;
}

void AddKinds()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("tests") << int(TestWindow);
    QTest::newRow("classes") << int(ClassWindow);
    QTest::newRow("students") << int(StudentWindow);
}

// A student window whose ID look-up is followed at once by another program's insert.
class TRacingStudentEdit : public TForm_StudentEdit {
public:
    using TForm_StudentEdit::TForm_StudentEdit;
    std::function<void(const QString &id)> OtherCopy;

    QString NextID() override
    {
        const QString id = TForm_StudentEdit::NextID();
        if (OtherCopy && !id.isEmpty())
            OtherCopy(id);
        return id;
    }
};

} // namespace

class TestRecordEditors : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void placeholderFilledByFirstAdd_data() { AddKinds(); }
    void placeholderFilledByFirstAdd();
    void listingOrderAndApostrophes_data() { AddKinds(); }
    void listingOrderAndApostrophes();
    void updateWritesRowAndKeepsKey_data() { AddKinds(); }
    void updateWritesRowAndKeepsKey();
    void updateOnUnstoredRowStoresNothing();
    void removeRows_data() { AddKinds(); }
    void removeRows();
    void failingStatementLeavesGridAsItWas_data();
    void failingStatementLeavesGridAsItWas();
    void secondRowWithOneIdIsRefused();
    void pickingResults();
    void testWindowResults();
    void withQuestionsOnly();
    void upperCaseFieldsAndSid();
    void hintsFollowText();
    void resetPassword();

private:
    std::unique_ptr<TTestDatabase> FDb;
};

void TestRecordEditors::init()
{
    FDb = std::make_unique<TTestDatabase>();
    TDialogSeam::BeginScript();
    // As the main window routes them.
    SetDbErrorReporter([](const QString &message) { SaveMsgDialog(message, MsgError, BtnOK); });
}

void TestRecordEditors::cleanup()
{
    SetDbErrorReporter(nullptr);
    TDialogSeam::EndScript();
    FDb.reset();
}

void TestRecordEditors::placeholderFilledByFirstAdd()
{
    QFETCH(int, kind);
    const TWindowFacts facts = Facts(TKind(kind));
    auto form = MakeForm(TKind(kind), &FDb->Query());
    form->show();
    TStringGrid *grid = form->StringGrid;
    QCOMPARE(grid->RowCount(), 2);
    QCOMPARE(grid->Cells(1, 1), QStringLiteral("1"));
    QVERIFY(grid->IsPlaceholder());

    TypeInto(*form, {"FIRST"});
    form->BitBtn_Add->click();
    QCOMPARE(grid->RowCount(), 2);
    QCOMPARE(grid->Cells(0, 1), QStringLiteral("1"));
    QCOMPARE(grid->Cells(2, 1), QStringLiteral("FIRST"));

    TypeInto(*form, {"SECOND"});
    form->BitBtn_Add->click();
    QCOMPARE(grid->RowCount(), 3);
    QCOMPARE(GridColumn(grid, 0), QStringList({"1", "2"}));
    QCOMPARE(GridColumn(grid, 1), QStringList({"1", "2"}));
    QCOMPARE(grid->Row(), 2);
    QCOMPARE(FieldTexts(*form).first(), QStringLiteral("SECOND"));
    QCOMPARE(FDb->Column({"SELECT " + facts.NameColumn + " FROM " + facts.Table + " ORDER BY ID"}),
             QStringList({"FIRST", "SECOND"}));
    QVERIFY(ShownOf(TBoxKind::MessageDialog).isEmpty());
}

void TestRecordEditors::listingOrderAndApostrophes()
{
    QFETCH(int, kind);
    const TWindowFacts facts = Facts(TKind(kind));
    FDb->Exec({"INSERT INTO " + facts.Table + " (ID, " + facts.NameColumn + ") VALUES (1, 'zeta')"});
    FDb->Exec({"INSERT INTO " + facts.Table + " (ID, " + facts.NameColumn + ") VALUES (2, 'O''BRIEN')"});
    FDb->Exec({"INSERT INTO " + facts.Table + " (ID, " + facts.NameColumn + ") VALUES (3, 'alpha')"});
    auto form = MakeForm(TKind(kind), &FDb->Query());
    form->show();
    // Sorted without regard to letter case; no trailing empty row.
    QCOMPARE(GridColumn(form->StringGrid, 2), QStringList({"alpha", "O'BRIEN", "zeta"}));
    QCOMPARE(GridColumn(form->StringGrid, 0), QStringList({"3", "2", "1"}));
    QCOMPARE(form->StringGrid->Row(), 1);
    QCOMPARE(FieldTexts(*form).first(), kind == StudentWindow ? QStringLiteral("ALPHA") : QStringLiteral("alpha"));

    // A new row stays at the end until the window is shown again.
    TypeInto(*form, {"D'ARCY"});
    form->BitBtn_Add->click();
    QCOMPARE(GridColumn(form->StringGrid, 2), QStringList({"alpha", "O'BRIEN", "zeta", "D'ARCY"}));
    QCOMPARE(FDb->Column({"SELECT " + facts.NameColumn + " FROM " + facts.Table + " WHERE ID = 4"}),
             QStringList({"D'ARCY"}));
    form->hide();
    form->show();
    QCOMPARE(GridColumn(form->StringGrid, 2), QStringList({"alpha", "D'ARCY", "O'BRIEN", "zeta"}));
    QCOMPARE(GridColumn(form->StringGrid, 1), QStringList({"1", "2", "3", "4"}));
}

void TestRecordEditors::updateWritesRowAndKeepsKey()
{
    QFETCH(int, kind);
    const TWindowFacts facts = Facts(TKind(kind));
    FDb->Exec({"INSERT INTO " + facts.Table + " (ID, " + facts.NameColumn + ") VALUES (4, 'A')"});
    FDb->Exec({"INSERT INTO " + facts.Table + " (ID, " + facts.NameColumn + ") VALUES (9, 'B')"});
    auto form = MakeForm(TKind(kind), &FDb->Query());
    form->show();
    form->StringGrid->SetRow(2);
    TypeInto(*form, {"IT'S B", "SECOND"});
    form->BitBtn_Update->click();
    QCOMPARE(form->StringGrid->RowCells(2).mid(0, 4), QStringList({"9", "2", "IT'S B", "SECOND"}));
    QCOMPARE(form->StringGrid->RowCount(), 3);
    QCOMPARE(FDb->Column({"SELECT " + facts.NameColumn + " FROM " + facts.Table + " ORDER BY ID"}),
             QStringList({"A", "IT'S B"}));
    // Clicking the other row shows it; the typed values belong to row 2 only.
    form->StringGrid->SetRow(1);
    QCOMPARE(FieldTexts(*form).mid(0, 2), QStringList({"A", ""}));
}

void TestRecordEditors::updateOnUnstoredRowStoresNothing()
{
    TForm_ClassEdit form(&FDb->Query());
    form.show();
    TypeInto(form, {"Algebra", "Math"});
    form.BitBtn_Update->click();
    // Nothing is written, the grid does not pretend otherwise, and the typing stays.
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM classmaster"}), QStringList({"0"}));
    QVERIFY(form.StringGrid->IsPlaceholder());
    QCOMPARE(form.StringGrid->Cells(TForm_ClassEdit::ColName, 1), QString());
    QCOMPARE(FieldTexts(form).mid(0, 2), QStringList({"Algebra", "Math"}));
    QCOMPARE(ShownOf(TBoxKind::Message).size(), 1);
    form.BitBtn_Add->click();
    QCOMPARE(FDb->Column({"SELECT NAME FROM classmaster"}), QStringList({"Algebra"}));
}

void TestRecordEditors::removeRows()
{
    QFETCH(int, kind);
    const TWindowFacts facts = Facts(TKind(kind));
    for (int id = 1; id <= 3; ++id)
        FDb->Exec({"INSERT INTO " + facts.Table + " (ID, " + facts.NameColumn + ") VALUES (" + QString::number(id) +
                   ", 'N" + QString::number(id) + "')"});
    auto form = MakeForm(TKind(kind), &FDb->Query());
    form->show();
    TStringGrid *grid = form->StringGrid;
    const QString question = kind == StudentWindow
                                 ? QStringLiteral("Are you sure that you want to delete the selected student (N3)?")
                                 : "Are you sure that you want to delete the \"N3\" " + facts.Noun + "?";

    // No leaves everything as it was.
    grid->SetRow(3);
    TDialogSeam::SetNextAnswer(ResultNo);
    form->BitBtn_Remove->click();
    QCOMPARE(TDialogSeam::LastText(), question);
    QCOMPARE(grid->RowCount(), 4);
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM " + facts.Table}), QStringList({"3"}));

    // The last of several: the new last row becomes current and shows in the fields.
    TDialogSeam::SetNextAnswer(ResultYes);
    form->BitBtn_Remove->click();
    QCOMPARE(GridColumn(grid, 2), QStringList({"N1", "N2"}));
    QCOMPARE(grid->Row(), 2);
    QCOMPARE(FieldTexts(*form).first(), QStringLiteral("N2"));

    // A middle row: the following one moves up and becomes current; numbers close up.
    grid->SetRow(1);
    TDialogSeam::SetNextAnswer(ResultYes);
    form->BitBtn_Remove->click();
    QCOMPARE(GridColumn(grid, 2), QStringList({"N2"}));
    QCOMPARE(GridColumn(grid, 1), QStringList({"1"}));

    // The only row: an empty placeholder numbered 1 remains.
    TDialogSeam::SetNextAnswer(ResultYes);
    form->BitBtn_Remove->click();
    QVERIFY(grid->IsPlaceholder());
    QCOMPARE(grid->RowCells(1).join(QString()), QStringLiteral("1"));
    QCOMPARE(FieldTexts(*form).join(QString()), QString());
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM " + facts.Table}), QStringList({"0"}));

    // Removing the placeholder itself runs no statement and reports nothing.
    TDialogSeam::SetNextAnswer(ResultYes);
    form->BitBtn_Remove->click();
    QVERIFY(grid->IsPlaceholder());
    QVERIFY(ShownOf(TBoxKind::MessageDialog).isEmpty());
}

void TestRecordEditors::failingStatementLeavesGridAsItWas_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("sabotage");
    QTest::addColumn<QString>("engineText");
    QTest::newRow("insert") << "BitBtn_Add"
                            << QStringList{"CREATE TRIGGER refuse BEFORE INSERT ON classmaster",
                                           "BEGIN SELECT RAISE(ABORT, 'insert refused'); END"}
                            << "insert refused";
    QTest::newRow("update") << "BitBtn_Update"
                            << QStringList{"CREATE TRIGGER refuse BEFORE UPDATE ON classmaster",
                                           "BEGIN SELECT RAISE(ABORT, 'update refused'); END"}
                            << "update refused";
    QTest::newRow("delete") << "BitBtn_Remove"
                            << QStringList{"CREATE TRIGGER refuse BEFORE DELETE ON classmaster",
                                           "BEGIN SELECT RAISE(ABORT, 'delete refused'); END"}
                            << "delete refused";
    QTest::newRow("new ID") << "BitBtn_Add" << QStringList{"ALTER TABLE classmaster RENAME TO classmaster_gone"}
                            << "no such table";
}

void TestRecordEditors::failingStatementLeavesGridAsItWas()
{
    QFETCH(QString, button);
    QFETCH(QStringList, sabotage);
    QFETCH(QString, engineText);
    FDb->Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Biology', 'BIO', 'Ms Ash')"});
    FDb->Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (2, 'Chemistry', 'CHE', 'Mr Oak')"});
    TForm_ClassEdit form(&FDb->Query());
    form.show();
    form.StringGrid->SetRow(2);
    const QList<QStringList> before = GridRows(form.StringGrid);
    FDb->Exec(sabotage);

    TypeInto(form, {"Typed", "Course"});
    TDialogSeam::SetNextAnswer(ResultYes); // the removal question
    form.findChild<QPushButton *>(button)->click();

    const QList<TShownBox> reports = ShownOf(TBoxKind::MessageDialog);
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.first().DlgType, int(MsgError));
    QCOMPARE(reports.first().Buttons, int(BtnOK));
    QVERIFY2(reports.first().Text.contains(engineText), qPrintable(reports.first().Text));
    QCOMPARE(GridRows(form.StringGrid), before);
    QCOMPARE(form.StringGrid->Row(), 2);
    if (button != "BitBtn_Remove") // the typing survives, ready to be stored again
        QCOMPARE(FieldTexts(form).mid(0, 2), QStringList({"Typed", "Course"}));
    if (!engineText.startsWith("no such"))
        QCOMPARE(FDb->Column({"SELECT NAME FROM classmaster ORDER BY ID"}), QStringList({"Biology", "Chemistry"}));
}

void TestRecordEditors::secondRowWithOneIdIsRefused()
{
    // Another copy of the program, on its own connection, tries to store its new row
    // between this window's ID look-up and its insert, with the same next ID.
    TDbConnection otherCopy;
    otherCopy.SetConnectionString(ConnectionStringFor(FDb->Path()));
    otherCopy.SetBusyTimeout(200);
    otherCopy.Open();
    TDbQuery otherQuery(&otherCopy);
    const auto otherInsert = [&otherQuery](const QString &id) {
        otherQuery.Clear();
        otherQuery.Add("INSERT INTO studentmaster (ID, LASTNAME, STUDENTID) VALUES (" + id + ", 'OTHER', 'X1')");
        otherQuery.ExecSQL();
    };
    QString otherFailure;
    TRacingStudentEdit form(&FDb->Query());
    form.OtherCopy = [&](const QString &id) {
        try {
            otherInsert(id);
        } catch (const EDatabaseError &e) {
            otherFailure = e.Message();
        }
    };
    form.show();
    TypeInto(form, {"Mine", "Anna", "", "S1"});
    form.BitBtn_Add->click();

    // The look-up and the insert are one step: the other copy had to wait for it.
    QVERIFY2(otherFailure.contains("locked"), qPrintable(otherFailure));
    QCOMPARE(FDb->Column({"SELECT ID || ' ' || LASTNAME FROM studentmaster"}), QStringList({"1 MINE"}));
    QVERIFY(ShownOf(TBoxKind::MessageDialog).isEmpty());
    QCOMPARE(form.StringGrid->Cells(TForm_StudentEdit::ColID, 1), QStringLiteral("1"));

    // Its late row with the same ID is refused by the table's key.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, otherInsert("1"));
    QCOMPARE(FDb->Column({"SELECT ID || ' ' || LASTNAME FROM studentmaster ORDER BY ID"}), QStringList({"1 MINE"}));
}

void TestRecordEditors::pickingResults()
{
    // An empty table: OK on the placeholder is Cancel.
    {
        TForm_ClassEdit form(&FDb->Query());
        form.SetPicking(true);
        form.show();
        QVERIFY(!form.Panel_Top->isVisible());
        QVERIFY(form.BitBtn_OK->isVisible() && form.BitBtn_Cancel->isVisible());
        QVERIFY(!form.BitBtn_Close->isVisible());
        form.BitBtn_OK->click();
        QVERIFY(form.Cancelled);
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }
    FDb->Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (5, 'Art', 'ART1', 'Mr Pine')"});
    FDb->Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (6, 'Music', 'MUS', 'Ms Reed')"});
    // The close box counts as OK.
    {
        TForm_ClassEdit form(&FDb->Query());
        form.SetPicking(true);
        form.show();
        form.StringGrid->SetRow(2);
        form.close();
        QVERIFY(!form.Cancelled);
        QCOMPARE(QStringList({form.ResultID, form.ResultName, form.ResultCourse, form.ResultTeacher}),
                 QStringList({"6", "Music", "MUS", "Ms Reed"}));
    }
    // Cancel hands back nothing.
    {
        TForm_ClassEdit form(&FDb->Query());
        form.SetPicking(true);
        form.show();
        form.BitBtn_Cancel->click();
        QVERIFY(form.Cancelled);
        QCOMPARE(form.ResultID, QString());
    }
    // A double click chooses in picking mode and does nothing while editing.
    for (const bool picking : {true, false}) {
        TForm_ClassEdit form(&FDb->Query());
        form.SetPicking(picking);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect cell = form.StringGrid->visualRect(form.StringGrid->model()->index(0, TForm_ClassEdit::ColName));
        QTest::mouseDClick(form.StringGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QCOMPARE(form.isVisible(), !picking);
        QCOMPARE(form.ResultName, picking ? QStringLiteral("Art") : QString());
    }
}

void TestRecordEditors::testWindowResults()
{
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (1, 'A', 's', 'i', 3)"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (2, 'B', '', '', 'x')"});
    TForm_TestEdit form(&FDb->Query());
    form.SetPicking(true);
    form.Panel_Key->show();
    form.show();
    QCOMPARE(form.SpinEdit_Columns->value(), 3);
    // A COLUMNS cell without a whole number gives 2, in the spin box and the result.
    form.StringGrid->SetRow(2);
    QCOMPARE(form.SpinEdit_Columns->value(), 2);
    form.StringGrid->SetRow(1);
    form.CheckBox_Key->setChecked(true);
    form.BitBtn_OK->click();
    QVERIFY(!form.Cancelled);
    QCOMPARE(QStringList({form.ResultID, form.ResultName, form.ResultSubtitle, form.ResultInstructions}),
             QStringList({"1", "A", "s", "i"}));
    QCOMPARE(form.ResultColumns, 3);
    QVERIFY(form.PrintKey);

    TForm_TestEdit second(&FDb->Query());
    second.SetPicking(true);
    second.show();
    second.StringGrid->SetRow(2);
    second.BitBtn_OK->click();
    QCOMPARE(second.ResultColumns, 2);
    QVERIFY(!second.PrintKey);

    // The editing window writes the spin box's value.
    TForm_TestEdit editor(&FDb->Query());
    editor.show();
    editor.SpinEdit_Columns->setValue(1);
    editor.BitBtn_Update->click();
    QCOMPARE(FDb->Column({"SELECT COLUMNS FROM testmaster WHERE ID = 1"}), QStringList({"1"}));
    QCOMPARE(editor.StringGrid->Cells(TForm_TestEdit::ColColumns, 1), QStringLiteral("1"));
}

void TestRecordEditors::withQuestionsOnly()
{
    FDb->Exec({"INSERT INTO testmaster (ID, NAME) VALUES (1, 'Empty')"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME) VALUES (2, 'Full')"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME) VALUES (3, 'One')"});
    for (const char *values : {"(2, 7, 1)", "(2, 8, 2)", "(2, 7, 3)", "(3, 9, 1)"})
        FDb->Exec({QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES ") + values});
    TForm_TestEdit form(&FDb->Query());
    form.WithQuestionsOnly = true;
    form.show();
    QCOMPARE(GridColumn(form.StringGrid, TForm_TestEdit::ColName), QStringList({"Full", "One"}));
    QCOMPARE(GridColumn(form.StringGrid, TForm_TestEdit::ColID), QStringList({"2", "3"}));

    TForm_TestEdit all(&FDb->Query());
    all.show();
    QCOMPARE(GridColumn(all.StringGrid, TForm_TestEdit::ColName), QStringList({"Empty", "Full", "One"}));
}

void TestRecordEditors::upperCaseFieldsAndSid()
{
    TForm_StudentEdit form(&FDb->Query());
    form.show();
    QTest::keyClicks(form.Edit_LastName, "o'neil");
    // Non-ASCII letters too.
    QTest::sendKeyEvent(QTest::Click, form.Edit_FirstName, Qt::Key_unknown, QString::fromUtf8("\xc3\xa9"),
                        Qt::NoModifier);
    QTest::keyClicks(form.Edit_FirstName, "mile");
    QTest::keyClicks(form.Edit_Middle, "qz");
    QTest::keyClicks(form.Edit_StudentID, "abC12345678");
    form.BitBtn_Add->click();
    QCOMPARE(
        FDb->Column({"SELECT LASTNAME || '|' || FIRSTNAME || '|' || MIDDLE || '|' || STUDENTID FROM studentmaster"}),
        QStringList({QString::fromUtf8("O'NEIL|\xc3\x89MILE|Q|abC1234567")}));
    QCOMPARE(form.StringGrid->RowCells(1).mid(2),
             QStringList({"O'NEIL", QString::fromUtf8("\xc3\x89MILE"), "Q", "abC1234567"}));
    // The student window never writes a password.
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM studentmaster WHERE PWORD IS NULL"}), QStringList({"1"}));
}

void TestRecordEditors::hintsFollowText()
{
    TForm_ClassEdit form(&FDb->Query());
    form.show();
    const auto moveOver = [](QWidget *widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    };
    form.Edit_ClassTitle->SetText("A very long class name that does not fit");
    form.Edit_Teacher->SetText("Teacher text");
    moveOver(form.Edit_ClassTitle);
    moveOver(form.Edit_Teacher);
    QCOMPARE(form.Edit_ClassTitle->toolTip(), QStringLiteral("A very long class name that does not fit"));
    QCOMPARE(form.Edit_Teacher->toolTip(), QString());
    form.Edit_ClassTitle->SetText("Shorter");
    moveOver(form.Edit_ClassTitle);
    QCOMPARE(form.Edit_ClassTitle->toolTip(), QStringLiteral("Shorter"));
}

void TestRecordEditors::resetPassword()
{
    FDb->Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, PWORD)",
               "VALUES (1, 'ADAMS', 'ANN', '', 'S1', 'A1B2')"});
    FDb->Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, PWORD)",
               "VALUES (2, 'BAKER', 'BOB', '', 'S2', 'C3D4')"});
    TForm_StudentEdit form(&FDb->Query());
    form.show();
    form.StringGrid->SetRow(2);

    TDialogSeam::SetNextAnswer(ResultNo);
    form.BitBtn_ResetPassword->click();
    const QList<TShownBox> asked = ShownOf(TBoxKind::Confirmation);
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().Text.contains("BAKER, BOB (S2)"), qPrintable(asked.first().Text));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM studentmaster WHERE PWORD IS NULL"}), QStringList({"0"}));

    TDialogSeam::SetNextAnswer(ResultYes);
    form.BitBtn_ResetPassword->click();
    QCOMPARE(FDb->Column({"SELECT STUDENTID FROM studentmaster WHERE PWORD IS NULL"}), QStringList({"S2"}));
    QCOMPARE(FDb->Column({"SELECT PWORD FROM studentmaster WHERE ID = 1"}), QStringList({"A1B2"}));

    // A failing reset is reported as the other statements are.
    FDb->Exec({"CREATE TRIGGER refuse BEFORE UPDATE ON studentmaster BEGIN SELECT RAISE(ABORT, 'locked'); END"});
    form.StringGrid->SetRow(1);
    TDialogSeam::SetNextAnswer(ResultYes);
    form.BitBtn_ResetPassword->click();
    QCOMPARE(ShownOf(TBoxKind::MessageDialog).size(), 1);
    QCOMPARE(ShownOf(TBoxKind::MessageDialog).first().DlgType, int(MsgError));
    QCOMPARE(FDb->Column({"SELECT PWORD FROM studentmaster WHERE ID = 1"}), QStringList({"A1B2"}));

    // A row that is not stored asks nothing.
    TForm_StudentEdit empty(&FDb->Query());
    empty.StringGrid->ClearRows();
    TDialogSeam::ClearShown();
    empty.BitBtn_ResetPassword->click();
    QVERIFY(ShownOf(TBoxKind::Confirmation).isEmpty());
}

QTEST_MAIN(TestRecordEditors)
#include "tst_recordeditors.moc"
