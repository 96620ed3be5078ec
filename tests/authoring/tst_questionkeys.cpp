// Saving a question when its table's keys, or its test's sequence numbers, have run out.

#include "authoring/Main.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "designer/ObjectInspector.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QToolButton>
#include <QtTest>

#include <memory>

using Corvella::TForm_Main;

class TestQuestionKeys : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Corvella")); }
    void init();
    void cleanup();
    void keepsQuestionWhenNoIdIsLeft();
    void refusesSequencePastLargest();

private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TForm_Main> FForm;
};

void TestQuestionKeys::init()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES(1, 'Science', '', '', 2)"});
    FForm = std::make_unique<TForm_Main>(ConnectionStringFor(FDb->Path()));
    FForm->show();
    QTRY_VERIFY(FForm->StartedUp());
    TDialogSeam::ClearShown();
}

void TestQuestionKeys::cleanup()
{
    const bool closed = CloseModalWindows();
    FForm.reset();
    FDb.reset();
    TDialogSeam::EndScript();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestQuestionKeys::keepsQuestionWhenNoIdIsLeft()
{
    FDb->Exec(
        {"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES(2147483647, 'QAMaskEdit_2147483647', 'Q', '')"});
    QVERIFY(FForm->NvComboBox_Test->SelectItem("Science"));
    FForm->ToolButton_MaskEdit->click();
    QWidget *control = FForm->SelectedControl();
    QVERIFY(control);
    TDialogSeam::SetNextAnswer(ResultYes); // save the question without text all the same
    QVERIFY(!FForm->ToolButton_SaveClick());
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(TDialogSeam::Shown().last().DlgType, int(MsgError));
    QCOMPARE(
        TDialogSeam::Shown().last().Text,
        QStringLiteral("No row can be added: controldef.ID has reached 2147483647, the largest number it can hold."));
    // Nothing stored under a wrapped key; the question stays as it was.
    QCOMPARE(FDb->Column({"SELECT ID FROM controldef"}), QStringList{"2147483647"});
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail"}), QStringList{"0"});
    QCOMPARE(FForm->SelectedControl(), control);
    QCOMPARE(FForm->PropertyValue("ID"), QStringLiteral("0"));
}

void TestQuestionKeys::refusesSequencePastLargest()
{
    FDb->Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES(1, 5, 2147483647)"});
    QVERIFY(FForm->NvComboBox_Test->SelectItem("Science"));
    FForm->ToolButton_MaskEdit->click();
    TDialogSeam::SetNextAnswer(ResultYes); // save the question without text all the same
    FForm->ToolButton_Save->click();

    // The question itself is stored; it is not appended to the test under a wrapped number.
    QCOMPARE(FDb->Column({"SELECT ID FROM controldef"}), QStringList{"1"});
    QCOMPARE(FDb->Column({"SELECT SEQUENCE FROM testdetail ORDER BY SERIAL"}), QStringList{"2147483647"});
    QVERIFY(!TDialogSeam::Shown().isEmpty());
    QCOMPARE(
        TDialogSeam::Shown().last().Text,
        QStringLiteral("No row can be added: testdetail.SEQUENCE has reached 2147483647, the largest number it can "
                       "hold."));
}

QTEST_MAIN(TestQuestionKeys)
#include "tst_questionkeys.moc"
