#include "authoring/Main.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "designer/ObjectInspector.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/GiftExchange.h"
#include "question/QuestionControls.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Corvella::TForm_Main;

// "Import Questions…" and "Export Test…" of Corvella's File menu, through the main window.
class TestGiftMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fileMenuKeepsItsCaptions();
    void importsIntoSelectedTest();
    void importCancelledChangesNothing();
    void importRefusesBinaryFile();
    void exportsSelectedTest();
    void exportAsksForTest();
    void importStoresWhatSaveStores_data();
    void importStoresWhatSaveStores();

private:
    QString WriteFile(const QString &name, const QByteArray &bytes);
    void SelectTest(const QString &name);

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<TForm_Main> FForm;
};

void TestGiftMenu::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
}

void TestGiftMenu::init()
{
    TDialogSeam::BeginScript();
    FDir = std::make_unique<QTemporaryDir>();
    FDb = std::make_unique<TTestDatabase>();
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES(1, 'Science', '', '', 2)"});
    FDb->Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES(2, 'History', '', '', 2)"});
    // Question 7 is stored without a text the programs can rebuild, at position 4 of Science.
    FDb->Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES(7, 'QAMaskEdit_7', 'Old', '')"});
    FDb->Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES(1, 7, 4)"});
    FForm = std::make_unique<TForm_Main>(ConnectionStringFor(FDb->Path()));
    FForm->show();
    QTRY_VERIFY(FForm->StartedUp());
    TDialogSeam::ClearShown();
}

void TestGiftMenu::cleanup()
{
    const bool closed = CloseModalWindows();
    FForm.reset();
    FDb.reset();
    FDir.reset();
    TDialogSeam::EndScript();
    QVERIFY2(closed, "a modal window refused to close");
}

QString TestGiftMenu::WriteFile(const QString &name, const QByteArray &bytes)
{
    const QString path = FDir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

void TestGiftMenu::SelectTest(const QString &name)
{
    FForm->NvComboBox_Test->SetItemIndex(FForm->NvComboBox_Test->findText(name));
}

void TestGiftMenu::fileMenuKeepsItsCaptions()
{
    QStringList captions;
    for (const QAction *action : FForm->MenuItem_File->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(captions, (QStringList{QStringLiteral("Import Questions\u2026"), QStringLiteral("Export Test\u2026"),
                                    QStringLiteral("-"), QStringLiteral("E&xit")}));
    emit FForm->MenuItem_File->aboutToShow();
    QVERIFY(FForm->MenuItem_ImportQuestions->isEnabled());
    QVERIFY(FForm->MenuItem_ExportTest->isEnabled());
}

void TestGiftMenu::importsIntoSelectedTest()
{
    const QString path = WriteFile(QStringLiteral("bank.gift"), "::q1::What's 2+2? {=4 ~%50%5 ~6}\r\n\r\n"
                                                                "Match {=a -> 1 =b -> 2}\r\n\r\n"
                                                                "Write about rivers. {}\r\n");
    SelectTest(QStringLiteral("Science"));
    TDialogSeam::SetNextAnswer(ResultOK, path);
    FForm->MenuItem_ImportQuestions->trigger();

    const QList<TShownBox> shown = TDialogSeam::Shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].Kind, TBoxKind::OpenFile);
    QCOMPARE(shown[0].Caption, QStringLiteral("Import Questions"));
    QCOMPARE(shown[1].Kind, TBoxKind::MessageDialog);
    QCOMPARE(shown[1].DlgType, int(MsgInformation));
    QCOMPARE(shown[1].Text,
             QStringLiteral("2 questions imported, 1 skipped. They were added to the test \"Science\".\r\n\r\n"
                            "line 1: QARadioGroup_8 \"What's 2+2?\" (partial-credit weights dropped)\r\n"
                            "line 3: skipped: a matching question has no kind here\r\n"
                            "line 5: QARichEdit_9 \"Write about rivers.\""));
    QCOMPARE(FDb->Column({"SELECT ID || '|' || NAME FROM controldef ORDER BY ID"}),
             (QStringList{"7|QAMaskEdit_7", "8|QARadioGroup_8", "9|QARichEdit_9"}));
    QCOMPARE(FDb->Column({"SELECT CONTROLID || ':' || SEQUENCE FROM testdetail WHERE TESTID = 1 ORDER BY SEQUENCE"}),
             (QStringList{"7:4", "8:5", "9:6"}));
    QCOMPARE(FForm->NvComboBox_Test->Text(), QStringLiteral("Science"));

    // Without a test chosen, the questions go into the bank only.
    FForm->NvComboBox_Test->SetItemIndex(-1);
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultOK, path);
    FForm->MenuItem_ImportQuestions->trigger();
    QVERIFY(TDialogSeam::LastText().startsWith(QStringLiteral("2 questions imported, 1 skipped.\r\n")));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"5"});
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM testdetail"}), QStringList{"3"});
}

void TestGiftMenu::importCancelledChangesNothing()
{
    TDialogSeam::SetNextAnswer(ResultCancel);
    FForm->MenuItem_ImportQuestions->trigger();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"1"});
}

void TestGiftMenu::importRefusesBinaryFile()
{
    const QString path = WriteFile(QStringLiteral("picture.gift"), QByteArray("\x89PNG\r\n\x1a\n\x00\x00", 10));
    TDialogSeam::SetNextAnswer(ResultOK, path);
    FForm->MenuItem_ImportQuestions->trigger();
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(TDialogSeam::Shown().last().DlgType, int(MsgError));
    QVERIFY2(TDialogSeam::LastText().contains(QStringLiteral("not a text file")), qPrintable(TDialogSeam::LastText()));
    QCOMPARE(FDb->Column({"SELECT COUNT(*) FROM controldef"}), QStringList{"1"});

    // The window goes on: the next file is read.
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultOK, WriteFile(QStringLiteral("good.gift"), "Q {T}\n"));
    FForm->MenuItem_ImportQuestions->trigger();
    QVERIFY(TDialogSeam::LastText().startsWith(QStringLiteral("1 question imported, 0 skipped.")));
}

void TestGiftMenu::exportsSelectedTest()
{
    TGiftImportResult result;
    QString error;
    QVERIFY(ImportGiftQuestions(FForm->ADOQuery, ReadGift(QStringLiteral("Which? {=a ~b}\n\nWhen? {#1914}")),
                                {QStringLiteral("2"), QString()}, result, &error));
    SelectTest(QStringLiteral("History"));
    const QString path = FDir->filePath(QStringLiteral("history.gift"));
    TDialogSeam::SetNextAnswer(ResultOK, path);
    FForm->MenuItem_ExportTest->trigger();

    const QList<TShownBox> shown = TDialogSeam::Shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].Kind, TBoxKind::SaveFile);
    QCOMPARE(shown[0].Caption, QStringLiteral("Export Test"));
    QCOMPARE(shown[0].Text, QStringLiteral("History.gift"));
    QCOMPARE(shown[1].DlgType, int(MsgInformation));
    QCOMPARE(shown[1].Text, QStringLiteral("2 questions of the test \"History\" exported to %1.").arg(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             QStringLiteral("::QARadioGroup_8::Which? {\n\t=a\n\t~b\n}\n\n::QAMaskEdit_9::When? {=1914}\n\n"));

    // A stored question that cannot be rebuilt is named in a warning; the rest is written.
    SelectTest(QStringLiteral("Science"));
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultOK, FDir->filePath(QStringLiteral("science.gift")));
    FForm->MenuItem_ExportTest->trigger();
    QCOMPARE(TDialogSeam::Shown().last().DlgType, int(MsgWarning));
    QVERIFY2(TDialogSeam::LastText().contains(QStringLiteral("Question 7 left out")),
             qPrintable(TDialogSeam::LastText()));

    // A file that cannot be written is reported, not claimed.
    SelectTest(QStringLiteral("History"));
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultOK, FDir->filePath(QStringLiteral("no/such/folder/x.gift")));
    FForm->MenuItem_ExportTest->trigger();
    QCOMPARE(TDialogSeam::Shown().last().DlgType, int(MsgError));
    QVERIFY(TDialogSeam::LastText().startsWith(QStringLiteral("The test could not be exported")));
}

void TestGiftMenu::exportAsksForTest()
{
    FForm->NvComboBox_Test->SetItemIndex(-1);
    FForm->MenuItem_ExportTest->trigger();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::LastText(), QStringLiteral("Choose the test to export in the test list first."));
}

void TestGiftMenu::importStoresWhatSaveStores_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("gift");
    QTest::newRow("short answer") << "ToolButton_MaskEdit"
                                  << "Capital of France? {=PARIS}";
    QTest::newRow("radio group") << "ToolButton_RadioGroup"
                                 << "Capital of France? {=Paris ~Rome ~Oslo}";
    QTest::newRow("list box") << "ToolButton_List"
                              << "Capital cities? {~%50%Paris ~%-100%Lyon ~%50%Rome}";
    QTest::newRow("essay") << "ToolButton_Memo"
                           << "Describe Paris. {}";
}

void TestGiftMenu::importStoresWhatSaveStores()
{
    QFETCH(QString, button);
    QFETCH(QString, gift);
    const TGiftQuestion q = ReadGift(gift).value(0);
    QVERIFY(q.SkipReason.isEmpty());

    // The teacher makes the same question in the main window and saves it.
    FForm->NvComboBox_Test->SetItemIndex(-1);
    FForm->findChild<QToolButton *>(button)->click();
    QWidget *control = FForm->SelectedControl();
    QVERIFY(control);
    TObjectInspector *inspector = FForm->ObjectInspector;
    QVERIFY(inspector->SetPropertyValue(inspector->FindPropertyRow(QStringLiteral("Question")), q.Question));
    if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        radio->SetAnswers(q.Answers);
        QVERIFY(inspector->SetPropertyValue(inspector->FindPropertyRow(QStringLiteral("CorrectAnswer")), q.Correct[0]));
    } else if (auto *list = qobject_cast<TQAListbox *>(control)) {
        QVERIFY(inspector->SetPropertyValue(inspector->FindPropertyRow(QStringLiteral("MultiSelect")),
                                            QStringLiteral("True")));
        list->SetAnswers(q.Answers);
        list->SetCorrectAnswers(q.Correct);
    } else if (qobject_cast<TQAMaskEdit *>(control)) {
        QVERIFY(inspector->SetPropertyValue(inspector->FindPropertyRow(QStringLiteral("CorrectAnswer")), q.Correct[0]));
    }
    inspector->RefreshInspector();
    emit FForm->MenuItem_Question->aboutToShow();
    QVERIFY(FForm->MenuItem_Save->isEnabled());
    FForm->MenuItem_Save->trigger();
    QVERIFY(FForm->StatusBar->currentMessage().startsWith(QStringLiteral("Saved")));
    const QString saved = FDb->Column({"SELECT CONTROL FROM controldef WHERE ID = 8"}).value(0);
    QVERIFY(!saved.isEmpty());

    TDialogSeam::SetNextAnswer(ResultOK, WriteFile(QStringLiteral("one.gift"), gift.toUtf8()));
    FForm->MenuItem_ImportQuestions->trigger();
    QCOMPARE(FDb->Column({"SELECT NAME || '|' || QUESTION FROM controldef WHERE ID = 9"}),
             QStringList{control->objectName().replace(QStringLiteral("_8"), QStringLiteral("_9")) + QLatin1Char('|') +
                         q.Question});
    QString imported = FDb->Column({"SELECT CONTROL FROM controldef WHERE ID = 9"}).value(0);
    imported.replace(QStringLiteral("_9: "), QStringLiteral("_8: "))
        .replace(QStringLiteral("ID = 9\r\n"), QStringLiteral("ID = 8\r\n"));
    QCOMPARE(imported, saved);
}

QTEST_MAIN(TestGiftMenu)
#include "tst_giftmenu.moc"
