#include "authoring/SelectClass.h"
#include "authoring/SelectQuestion.h"
#include "authoring/SelectTest.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/QuestionControls.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"
#include "toolkit/StringGrid.h"

#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <functional>

using Corvella::TClassObject;
using Corvella::TForm_SelectClass;
using Corvella::TForm_SelectTest;

namespace {

QStringList Items(const QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// Runs step on the keyword search's results window once it is shown modally; closes
// any modal window left behind so that a failing step cannot hang the run.
void OnResultsWindow(std::function<void(TForm_SelectQuestion *)> step, bool *seen)
{
    *seen = false;
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [step, seen, poll](int triesLeft) {
        auto results = qobject_cast<TForm_SelectQuestion *>(QApplication::activeModalWidget());
        if (results && results->windowTitle() == QLatin1String("Find Question Results")) {
            *seen = true;
            step(results);
            if (results->isVisible())
                results->done(QDialog::Rejected);
            return;
        }
        if (triesLeft > 0)
            QTimer::singleShot(10, [poll, triesLeft] { (*poll)(triesLeft - 1); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(200); });
}

} // namespace

class TestSelectDialogs : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void questionListSortedWithRecords();
    void endKeyReachesLastOfLargeBank();
    void emptyQuestionBank();
    void hintFollowsItemAndExtentFitsWidest();
    void keywordPattern_data();
    void keywordPattern();
    void keywordSearchChoosesFirstMatch_data();
    void keywordSearchChoosesFirstMatch();
    void keywordSearchWithoutChoiceShowsListAgain();
    void keywordSearchEndsWithoutResults_data();
    void keywordSearchEndsWithoutResults();
    void classWindowFromList();
    void testWindowForClass();
    void testWindowEmptyClassAndFailures();

private:
    void AddQuestion(int id, const QString &question);
    std::unique_ptr<TTestDatabase> FDb;
};

void TestSelectDialogs::init()
{
    FDb = std::make_unique<TTestDatabase>();
    TDialogSeam::BeginScript();
}

void TestSelectDialogs::cleanup()
{
    const bool closed = CloseModalWindows();
    TDialogSeam::EndScript();
    FDb.reset();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestSelectDialogs::AddQuestion(int id, const QString &question)
{
    FDb->Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (" + QString::number(id) +
               ", 'QAMaskEdit_" + QString::number(id) + "', " + QuotedStr(question) + ", 'object " +
               QString::number(id) + "')"});
}

void TestSelectDialogs::questionListSortedWithRecords()
{
    AddQuestion(1, "cherry?");
    AddQuestion(2, "Banana?");
    AddQuestion(3, "apple?");
    TForm_SelectQuestion form(&FDb->Query());
    form.show();
    QCOMPARE(Items(form.QAListbox_Questions), QStringList({"apple?", "Banana?", "cherry?"}));
    QCOMPARE(form.QAListbox_Questions->ItemIndex(), 0);
    QVERIFY(form.Button_OK->isEnabled());
    QVERIFY(form.Button_OK->isDefault());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(form.ControlDef(i)->Question, Items(form.QAListbox_Questions).at(i));

    form.QAListbox_Questions->SetItemIndex(1);
    form.Button_OK->click();
    QVERIFY(!form.Cancelled);
    const TControlDef *def = form.SelectedControlDef();
    QVERIFY(def);
    QCOMPARE(def->ID, 2);
    QCOMPARE(def->Name, QStringLiteral("QAMaskEdit_2"));
    QCOMPARE(def->Control, QStringLiteral("object 2"));

    // Escape and the close box cancel.
    TForm_SelectQuestion again(&FDb->Query());
    again.show();
    again.close();
    QVERIFY(again.Cancelled);
}

void TestSelectDialogs::endKeyReachesLastOfLargeBank()
{
    // Far more questions than the list shows, stored in another order than they sort in.
    QStringList rows;
    for (int id = 1; id <= 600; ++id)
        rows << QStringLiteral("(%1, 'QAMaskEdit_%1', 'Question %2?', 'object %1')")
                    .arg(id)
                    .arg((id * 7) % 600, 3, 10, QLatin1Char('0'));
    FDb->Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES " + rows.join(QLatin1Char(','))});

    TForm_SelectQuestion form(&FDb->Query());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(form.QAListbox_Questions, Qt::Key_End);
    QVERIFY(form.QAListbox_Questions->verticalScrollBar()->value() > 0);
    QCOMPARE(form.QAListbox_Questions->count(), 600);
    QCOMPARE(form.CurrentText(), QStringLiteral("Question 599?"));
    QTest::keyClick(form.QAListbox_Questions, Qt::Key_Return);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.Cancelled);
    // 7 * 257 = 1799 = 2 * 600 + 599
    QCOMPARE(form.SelectedControlDef()->ID, 257);
    QCOMPARE(form.SelectedControlDef()->Control, QStringLiteral("object 257"));
}

void TestSelectDialogs::emptyQuestionBank()
{
    TForm_SelectQuestion form(&FDb->Query());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.QAListbox_Questions->count(), 0);
    QVERIFY(!form.Button_OK->isEnabled());
    QVERIFY(TDialogSeam::Shown().isEmpty());
    // A double click on the empty list ends it with nothing chosen.
    QTest::mouseDClick(form.QAListbox_Questions->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(!form.isVisible());
    QVERIFY(form.Cancelled);
    QVERIFY(!form.SelectedControlDef());

    // A failing listing is reported in the message dialog; the window still opens.
    FDb->Exec({"ALTER TABLE controldef RENAME TO controldef_gone"});
    TForm_SelectQuestion broken(&FDb->Query());
    broken.show();
    QVERIFY(broken.isVisible());
    QCOMPARE(ShownOf(TBoxKind::MessageDialog).size(), 1);
    QCOMPARE(ShownOf(TBoxKind::MessageDialog).first().DlgType, int(MsgError));
    QVERIFY(!broken.Button_OK->isEnabled());
}

void TestSelectDialogs::hintFollowsItemAndExtentFitsWidest()
{
    const QString longest = QString("Which of these ") + QString("very ").repeated(40) + "long words?";
    AddQuestion(1, "Short?");
    AddQuestion(2, longest);
    AddQuestion(3, "Tab\there?");
    TForm_SelectQuestion form(&FDb->Query());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TQAListbox *list = form.QAListbox_Questions;

    const QFontMetrics metrics(list->font());
    const int expected = metrics.size(Qt::TextExpandTabs, longest).width() + metrics.horizontalAdvance('x');
    QCOMPARE(FitListExtent(list), expected);
    QVERIFY(list->horizontalScrollBar()->maximum() > 0);
    QVERIFY(list->horizontalScrollBar()->maximum() >= expected - list->viewport()->width());

    form.QAListbox_QuestionsMouseMove(list->item(0));
    QCOMPARE(list->Hint(), list->item(0)->text());
    QCOMPARE(list->toolTip(), list->item(0)->text());
    form.QAListbox_QuestionsMouseMove(list->item(2));
    QCOMPARE(list->Hint(), longest);
    form.QAListbox_QuestionsMouseMove(nullptr);
    QCOMPARE(list->Hint(), list->item(2)->text());
}

void TestSelectDialogs::keywordPattern_data()
{
    QTest::addColumn<QString>("keywords");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("one word") << "fox"
                              << "%fox%";
    QTest::newRow("blanks") << "red  fox"
                            << "%red%%fox%";
    QTest::newRow("already framed") << "%fox%"
                                    << "%fox%";
    QTest::newRow("percent at one end") << "50%"
                                        << "%50%";
    QTest::newRow("apostrophe kept") << "it's"
                                     << "%it's%";
    QTest::newRow("empty") << ""
                           << "%";
}

void TestSelectDialogs::keywordPattern()
{
    QFETCH(QString, keywords);
    QFETCH(QString, pattern);
    QCOMPARE(TForm_SelectQuestion::KeywordPattern(keywords), pattern);
}

void TestSelectDialogs::keywordSearchChoosesFirstMatch_data()
{
    QTest::addColumn<QString>("keywords");
    QTest::addColumn<bool>("cancelResults");
    QTest::newRow("apostrophe, chosen by OK") << "what's" << false;
    QTest::newRow("percent, highlighted then Cancel") << "50% of" << true;
    QTest::newRow("other letter case") << "WHAT'S 50" << false;
}

void TestSelectDialogs::keywordSearchChoosesFirstMatch()
{
    QFETCH(QString, keywords);
    QFETCH(bool, cancelResults);
    AddQuestion(1, "Name a prime.");
    AddQuestion(2, "What's 50% of 10?");
    AddQuestion(3, "What's 50% of 10?"); // the same wording twice
    AddQuestion(4, "What is 5 of 10?");
    TForm_SelectQuestion form(&FDb->Query());
    TDialogSeam::SetNextAnswer(ResultOK, keywords);
    QStringList offered;
    bool seen = false;
    OnResultsWindow(
        [&](TForm_SelectQuestion *results) {
            offered = Items(results->QAListbox_Questions);
            QCOMPARE(results->windowTitle(), QStringLiteral("Find Question Results"));
            QVERIFY(!results->BitBtn_Find->isVisible());
            QVERIFY(!form.isVisible());
            // Nothing is chosen for the user.
            QVERIFY(!results->Button_OK->isEnabled());
            results->QAListbox_Questions->SetItemIndex(results->QAListbox_Questions->count() - 1);
            if (cancelResults)
                results->Button_Cancel->click();
            else
                results->Button_OK->click();
        },
        &seen);
    // The search runs from the question window's own modal showing, as the main window opens it.
    QTimer::singleShot(0, &form, [&form] { form.BitBtn_FindClick(); });
    QCOMPARE(form.exec(), int(QDialog::Accepted));
    QVERIFY(seen);

    const TShownBox input = ShownOf(TBoxKind::Input).value(0);
    QCOMPARE(input.Caption, QStringLiteral("Find question using keywords"));
    QCOMPARE(input.Text, QStringLiteral("Enter keywords:"));
    QCOMPARE(offered, QStringList({"What's 50% of 10?", "What's 50% of 10?"}));
    // The first of the two equal items is chosen, and the window closes as by OK.
    QVERIFY(!form.isVisible());
    QVERIFY(!form.Cancelled);
    QCOMPARE(form.QAListbox_Questions->ItemIndex(), Items(form.QAListbox_Questions).indexOf("What's 50% of 10?"));
    QCOMPARE(form.SelectedControlDef()->Question, QStringLiteral("What's 50% of 10?"));
}

void TestSelectDialogs::keywordSearchWithoutChoiceShowsListAgain()
{
    AddQuestion(1, "Alpha one");
    AddQuestion(2, "Beta one");
    AddQuestion(3, "Gamma");
    TForm_SelectQuestion form(&FDb->Query());
    TDialogSeam::SetNextAnswer(ResultOK, "one");
    bool seen = false;
    OnResultsWindow(
        [&](TForm_SelectQuestion *results) {
            QCOMPARE(results->QAListbox_Questions->count(), 2);
            AddQuestion(4, "Added meanwhile"); // must not show up: the list is not read again
            results->close();
        },
        &seen);
    bool stillShowing = false;
    QStringList items;
    int selected = -1;
    QTimer::singleShot(0, &form, [&] {
        form.QAListbox_Questions->SetItemIndex(2);
        form.BitBtn_FindClick();
        items = Items(form.QAListbox_Questions);
        selected = form.QAListbox_Questions->ItemIndex();
        // The window's own modal showing goes on after the search.
        QTimer::singleShot(20, &form, [&] {
            stillShowing = form.isVisible() && QApplication::activeModalWidget() == &form;
            form.Button_CancelClick();
        });
    });
    form.exec();
    QVERIFY(seen);
    QVERIFY(stillShowing);
    QCOMPARE(items, QStringList({"Alpha one", "Beta one", "Gamma"}));
    QCOMPARE(selected, 2);
}

void TestSelectDialogs::keywordSearchEndsWithoutResults_data()
{
    QTest::addColumn<int>("inputAnswer");
    QTest::addColumn<bool>("breakTable");
    QTest::addColumn<int>("errorBoxes");
    QTest::addColumn<int>("notices");
    QTest::newRow("input cancelled") << int(ResultCancel) << false << 0 << 0;
    QTest::newRow("nothing found") << int(ResultOK) << false << 0 << 1;
    QTest::newRow("search fails") << int(ResultOK) << true << 1 << 1;
}

void TestSelectDialogs::keywordSearchEndsWithoutResults()
{
    QFETCH(int, inputAnswer);
    QFETCH(bool, breakTable);
    QFETCH(int, errorBoxes);
    QFETCH(int, notices);
    AddQuestion(1, "Alpha");
    TForm_SelectQuestion form(&FDb->Query());
    form.show();
    if (breakTable)
        FDb->Exec({"ALTER TABLE controldef RENAME TO controldef_gone"});
    TDialogSeam::SetNextAnswer(inputAnswer, "zebra");
    form.BitBtn_FindClick();

    QVERIFY(form.isVisible());
    QCOMPARE(Items(form.QAListbox_Questions), QStringList({"Alpha"}));
    const QList<TShownBox> errors = ShownOf(TBoxKind::Error);
    QCOMPARE(errors.size(), errorBoxes);
    if (errorBoxes > 0) {
        // The engine's text, a line break and the statement.
        QVERIFY2(errors.first().Text.contains("no such table"), qPrintable(errors.first().Text));
        QVERIFY(errors.first().Text.contains("\nSELECT QUESTION FROM controldef WHERE QUESTION LIKE'%zebra%'"));
    }
    const QList<TShownBox> messages = ShownOf(TBoxKind::Message);
    QCOMPARE(messages.size(), notices);
    if (notices > 0)
        QCOMPARE(messages.first().Text, QStringLiteral("No questions were found that matched the keywords!"));
}

void TestSelectDialogs::classWindowFromList()
{
    TForm_SelectClass form;
    form.FromList = true;
    form.ClassList = {
        {"zoology", "ZOO", "Ms Z", "4"}, {"Algebra", "MAT", "Mr A", "2"}, {"biology", "BIO", "Dr B", "7"}};
    form.show();
    QCOMPARE(Items(form.QAListbox_Classes), QStringList({"Algebra", "biology", "zoology"}));
    QCOMPARE(form.QAListbox_Classes->ItemIndex(), 0);
    QVERIFY(form.Button_OK->isEnabled());
    form.QAListbox_Classes->SetItemIndex(2);
    form.Button_OK->click();
    QVERIFY(!form.Cancelled);
    QCOMPARE(QStringList({form.ResultName, form.ResultCourse, form.ResultTeacher, form.ResultChapter, form.ResultID}),
             QStringList({"zoology", "ZOO", "Ms Z", "4", "0"}));

    // Cancel leaves the results empty.
    TForm_SelectClass cancelled;
    cancelled.FromList = true;
    cancelled.ClassList = form.ClassList;
    cancelled.show();
    cancelled.Button_Cancel->click();
    QVERIFY(cancelled.Cancelled);
    QCOMPARE(cancelled.ResultName + cancelled.ResultCourse + cancelled.ResultTeacher + cancelled.ResultChapter,
             QString());

    // With nothing to choose, OK stays disabled and a double click chooses nothing.
    TForm_SelectClass empty;
    empty.FromList = true;
    empty.show();
    QVERIFY(!empty.Button_OK->isEnabled());
    empty.Button_OKClick();
    QVERIFY(empty.Cancelled);
}

void TestSelectDialogs::testWindowForClass()
{
    FDb->Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'Algebra')"});
    FDb->Exec({"INSERT INTO classmaster (ID, NAME) VALUES (2, 'Biology')"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME) VALUES (10, 'quiz')"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME) VALUES (11, 'Final')"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME) VALUES (12, 'Cells')"});
    FDb->Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 1, 10, '1')"});
    FDb->Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (2, 1, 11, '2')"});
    FDb->Exec({"INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (3, 2, 12, '1')"});

    TForm_SelectTest form(&FDb->Query());
    form.ParentKey = "1";
    form.ParentName = "Algebra";
    form.show();
    QCOMPARE(form.Edit_ClassName->Text(), QStringLiteral("Algebra"));
    QVERIFY(form.Edit_ClassName->isReadOnly());
    TStringGrid *grid = form.StringGrid;
    QCOMPARE(grid->RowCount(), 3);
    QCOMPARE(grid->RowCells(1).mid(0, 3), QStringList({"11", "1", "Final"}));
    QCOMPARE(grid->RowCells(2).mid(0, 3), QStringList({"10", "2", "quiz"}));
    QCOMPARE(form.Edit_TestName->Text(), QStringLiteral("Final"));
    grid->SetRow(2);
    QCOMPARE(form.Edit_TestName->Text(), QStringLiteral("quiz"));
    // The close box counts as OK.
    form.close();
    QVERIFY(!form.Cancelled);
    QCOMPARE(form.ResultID, QStringLiteral("10"));
    QCOMPARE(form.ResultName, QStringLiteral("quiz"));

    // The gradebook's use.
    TForm_SelectTest picker(&FDb->Query());
    picker.ParentKey = "2";
    picker.PrepareForGradeBook();
    picker.show();
    QCOMPARE(picker.StringGrid->ColCount(), 3);
    QCOMPARE(picker.StringGrid->ColWidths(TForm_SelectTest::ColName), 460);
    QVERIFY(!picker.Panel_Top->isVisible());
    QVERIFY(picker.BitBtn_OK->isVisible() && picker.BitBtn_Cancel->isVisible() && !picker.BitBtn_Close->isVisible());
    picker.BitBtn_Cancel->click();
    QVERIFY(picker.Cancelled);
    QCOMPARE(picker.ResultID, QString());
}

void TestSelectDialogs::testWindowEmptyClassAndFailures()
{
    FDb->Exec({"INSERT INTO classmaster (ID, NAME) VALUES (1, 'Algebra')"});
    // A class without tests: one empty row; OK is Cancel.
    TForm_SelectTest form(&FDb->Query());
    form.ParentKey = "1";
    form.PrepareForGradeBook();
    form.show();
    QVERIFY(form.StringGrid->IsPlaceholder());
    QCOMPARE(form.StringGrid->Cells(TForm_SelectTest::ColRow, 1), QStringLiteral("1"));
    form.BitBtn_OK->click();
    QVERIFY(form.Cancelled);

    // A key that is no whole number never reaches a statement.
    TForm_SelectTest odd(&FDb->Query());
    odd.ParentKey = "1 OR 1=1";
    odd.show();
    QVERIFY(odd.StringGrid->IsPlaceholder());
    QVERIFY(TDialogSeam::Shown().isEmpty());

    // A failing listing is shown in a plain message box.
    FDb->Exec({"ALTER TABLE classtest RENAME TO classtest_gone"});
    TForm_SelectTest broken(&FDb->Query());
    broken.ParentKey = "1";
    broken.show();
    QCOMPARE(ShownOf(TBoxKind::Message).size(), 1);
    QVERIFY(ShownOf(TBoxKind::Message).first().Text.contains("classtest"));
    QVERIFY(broken.StringGrid->IsPlaceholder());
}

QTEST_MAIN(TestSelectDialogs)
#include "tst_selectdialogs.moc"
