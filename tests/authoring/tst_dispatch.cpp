#include "authoring/ClassEdit.h"
#include "authoring/Main.h"
#include "authoring/QuestionJoin.h"
#include "authoring/SelectTest.h"
#include "authoring/StudentJoin.h"
#include "authoring/TestGrades.h"
#include "authoring/TestJoin.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "report/Preview.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Corvella::TForm_Main;

// What the script does with each modal window in turn.
// Preview: the questions-in-test window's Preview, then Close.
enum class TStep { Pick, Cancel, Close, Preview };
Q_DECLARE_METATYPE(QList<TStep>)

class TestDispatch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandOpensItsWindows_data();
    void commandOpensItsWindows();
    void pickedTestAndClassAreKept();
    void testWindowReloadsTestList();
    void printSenders();
    void startUpRoutesPreviews();

private:
    std::unique_ptr<TForm_Main> Start();
    // Runs the command, answering its modal windows with the steps; returns each
    // window's description in the order they came up.
    QStringList Run(TForm_Main &form, const QString &command, const QList<TStep> &steps);

    std::unique_ptr<TTestDatabase> FDb;
};

namespace {

QString Buttons(const QWidget *window)
{
    QStringList shown;
    for (const char *name : {"BitBtn_OK", "BitBtn_Cancel", "BitBtn_Close"}) {
        const QPushButton *button = window->findChild<QPushButton *>(QLatin1String(name));
        if (button && button->isVisibleTo(window))
            shown << QString::fromLatin1(name).mid(7);
    }
    return shown.join(QLatin1Char(' '));
}

// The window's class and what the main window set on it.
QString Describe(QWidget *window)
{
    QStringList parts{QString::fromLatin1(window->metaObject()->className())};
    if (qobject_cast<TRecordEditForm *>(window)) {
        parts << window->windowTitle() << Buttons(window);
    } else if (auto *join = qobject_cast<TMembershipForm *>(window)) {
        parts << Buttons(window) << join->ParentKey << join->ParentName;
    } else if (auto *testJoin = qobject_cast<TForm_TestJoin *>(window)) {
        parts << Buttons(window) << testJoin->ParentKey << testJoin->ParentName;
    } else if (auto *select = qobject_cast<Corvella::TForm_SelectTest *>(window)) {
        parts << window->windowTitle() << Buttons(window) << select->ParentKey << select->ParentName;
    } else if (auto *grades = qobject_cast<TForm_TestGrades *>(window)) {
        parts << grades->TestKey << grades->ClassKey << grades->Edit_TestName->text() << grades->Edit_ClassName->text();
    }
    return parts.join(QLatin1Char('|'));
}

void Answer(QWidget *window, TStep step)
{
    if (auto *join = qobject_cast<TForm_QuestionJoin *>(window); join && step == TStep::Preview)
        join->BitBtn_Preview->click();
    const char *name = step == TStep::Pick ? "BitBtn_OK" : step == TStep::Cancel ? "BitBtn_Cancel" : "BitBtn_Close";
    if (QPushButton *button = window->findChild<QPushButton *>(QLatin1String(name)))
        button->click();
    else
        window->close();
}

} // namespace

void TestDispatch::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
}

void TestDispatch::init()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
    FDb->Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS)"),
               QStringLiteral("VALUES(1, 'Science', 'Unit 1', 'Answer all', 3)")});
    FDb->Exec({QStringLiteral("INSERT INTO classmaster (ID, NAME, COURSE, TEACHER)"),
               QStringLiteral("VALUES(7, 'Biology 101', 'BIO', 'Smith')")});
    FDb->Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES(1, 7, 1, '4')")});
}

void TestDispatch::cleanup()
{
    const bool closed = CloseModalWindows();
    FDb.reset();
    TDialogSeam::EndScript();
    QVERIFY2(closed, "a modal window refused to close");
}

std::unique_ptr<TForm_Main> TestDispatch::Start()
{
    auto form = std::make_unique<TForm_Main>(ConnectionStringFor(FDb->Path()));
    form->show();
    [&] { QTRY_VERIFY(form->StartedUp()); }();
    TDialogSeam::ClearShown();
    return form;
}

QStringList TestDispatch::Run(TForm_Main &form, const QString &command, const QList<TStep> &steps)
{
    QStringList seen;
    QPointer<QWidget> answered;
    QTimer closer;
    closer.setInterval(0);
    connect(&closer, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == answered)
            return;
        answered = modal;
        seen << Describe(modal);
        // Windows beyond the script are closed, never left waiting. Answered from a fresh
        // event, so that the window the answer opens finds this timer running again.
        const TStep step = seen.size() <= steps.size() ? steps.at(seen.size() - 1) : TStep::Close;
        QTimer::singleShot(0, modal, [modal, step] { Answer(modal, step); });
    });
    closer.start();
    if (QAction *item = form.findChild<QAction *>(command))
        item->trigger();
    else if (QToolButton *button = form.findChild<QToolButton *>(command))
        button->click();
    else
        qWarning("no command %s", qPrintable(command));
    closer.stop();
    return seen;
}

void TestDispatch::commandOpensItsWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<TStep>>("steps");
    QTest::addColumn<QStringList>("windows");

    const QString testPicker = QStringLiteral("TForm_TestEdit|Add Questions to Test |OK Cancel");
    const QString classPicker = QStringLiteral("TForm_ClassEdit|Select Class|OK Cancel");
    const QString testSelect = QStringLiteral("Corvella::TForm_SelectTest|Select Test|OK Cancel|7|Biology 101");

    for (const char *command : {"ToolButton_Tests", "MenuItem_EditTest"})
        QTest::newRow(command) << QString::fromLatin1(command) << QList<TStep>{TStep::Close}
                               << QStringList{QStringLiteral("TForm_TestEdit|Create Test|Close")};
    QTest::newRow("students") << QStringLiteral("MenuItem_EditStudents") << QList<TStep>{TStep::Close}
                              << QStringList{QStringLiteral("TForm_StudentEdit|Edit Students|Close")};
    QTest::newRow("classes") << QStringLiteral("MenuItem_NewClass") << QList<TStep>{TStep::Close}
                             << QStringList{QStringLiteral("TForm_ClassEdit|Edit Classes|Close")};
    for (const char *command : {"ToolButton_Join", "MenuItem_AddQuestions"}) {
        QTest::addRow("%s picked", command)
            << QString::fromLatin1(command) << QList<TStep>{TStep::Pick, TStep::Close}
            << QStringList{testPicker, QStringLiteral("TForm_QuestionJoin|Close|1|Science")};
        QTest::addRow("%s cancelled", command)
            << QString::fromLatin1(command) << QList<TStep>{TStep::Cancel} << QStringList{testPicker};
    }
    QTest::newRow("add students") << QStringLiteral("MenuItem_AddStudents") << QList<TStep>{TStep::Pick, TStep::Close}
                                  << QStringList{classPicker, QStringLiteral("TForm_StudentJoin|Close|7|Biology 101")};
    QTest::newRow("add students cancelled")
        << QStringLiteral("MenuItem_AddStudents") << QList<TStep>{TStep::Cancel} << QStringList{classPicker};
    QTest::newRow("add tests") << QStringLiteral("MenuItem_AddTests") << QList<TStep>{TStep::Pick, TStep::Close}
                               << QStringList{classPicker, QStringLiteral("TForm_TestJoin|Close|7|Biology 101")};
    QTest::newRow("add tests cancelled") << QStringLiteral("MenuItem_AddTests") << QList<TStep>{TStep::Cancel}
                                         << QStringList{classPicker};
    QTest::newRow("gradebook") << QStringLiteral("MenuItem_EditGradebook")
                               << QList<TStep>{TStep::Pick, TStep::Pick, TStep::Close}
                               << QStringList{classPicker, testSelect,
                                              QStringLiteral("TForm_TestGrades|1|7|Science|Biology 101")};
    QTest::newRow("gradebook test cancelled")
        << QStringLiteral("MenuItem_EditGradebook") << QList<TStep>{TStep::Pick, TStep::Cancel}
        << QStringList{classPicker, testSelect};
    QTest::newRow("gradebook class cancelled")
        << QStringLiteral("MenuItem_EditGradebook") << QList<TStep>{TStep::Cancel} << QStringList{classPicker};
    for (const char *command : {"ToolButton_PrintPreview", "MenuItem_PrintPreview"})
        QTest::newRow(command) << QString::fromLatin1(command) << QList<TStep>{TStep::Cancel}
                               << QStringList{QStringLiteral("TForm_TestEdit|Preview Test|OK Cancel")};
    for (const char *command : {"ToolButton_Print", "MenuItem_Print"})
        QTest::newRow(command) << QString::fromLatin1(command) << QList<TStep>{TStep::Cancel}
                               << QStringList{QStringLiteral("TForm_TestEdit|Print Test|OK Cancel")};
}

void TestDispatch::commandOpensItsWindows()
{
    QFETCH(QString, command);
    QFETCH(QList<TStep>, steps);
    QFETCH(QStringList, windows);
    auto form = Start();
    QCOMPARE(Run(*form, command, steps), windows);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(TDialogSeam::Shown().size(), 0);
}

void TestDispatch::pickedTestAndClassAreKept()
{
    auto form = Start();
    Run(*form, QStringLiteral("ToolButton_Join"), {TStep::Pick, TStep::Close});
    QCOMPARE(form->CurrentTest.ID, 1);
    QCOMPARE(form->CurrentTest.Name, QStringLiteral("Science"));
    QCOMPARE(form->CurrentTest.Subtitle, QStringLiteral("Unit 1"));
    QCOMPARE(form->CurrentTest.Instructions, QStringLiteral("Answer all"));
    QCOMPARE(form->CurrentTest.Columns, 3);
    // The questions-in-test window's preview prints this test.
    QCOMPARE(form->Printout.Job.TestID, QStringLiteral("1"));
    QCOMPARE(form->Printout.Job.TestTitle, QStringLiteral("Science"));
    QCOMPARE(form->Printout.Job.SubTitle, QStringLiteral("Unit 1"));
    QCOMPARE(form->Printout.Job.Instructions, QStringLiteral("Answer all"));
    QCOMPARE(form->Printout.Job.Columns, 3);

    // A cancelled pick leaves both as they were.
    Run(*form, QStringLiteral("ToolButton_Join"), {TStep::Cancel});
    QCOMPARE(form->CurrentTest.ID, 1);
    Run(*form, QStringLiteral("MenuItem_AddStudents"), {TStep::Cancel});
    QCOMPARE(form->CurrentClass.ID, 0);

    Run(*form, QStringLiteral("MenuItem_AddTests"), {TStep::Pick, TStep::Close});
    QCOMPARE(form->CurrentClass.ID, 7);
    QCOMPARE(form->CurrentClass.Name, QStringLiteral("Biology 101"));
    QCOMPARE(form->CurrentClass.Course, QStringLiteral("BIO"));
    QCOMPARE(form->CurrentClass.Teacher, QStringLiteral("Smith"));
}

void TestDispatch::testWindowReloadsTestList()
{
    auto form = Start();
    QCOMPARE(form->NvComboBox_Test->ItemList(), QStringList{QStringLiteral("Science")});
    FDb->Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, COLUMNS) VALUES(2, 'Algebra', 2)")});
    Run(*form, QStringLiteral("ToolButton_Tests"), {TStep::Close});
    QCOMPARE(form->NvComboBox_Test->ItemList(), (QStringList{QStringLiteral("Algebra"), QStringLiteral("Science")}));
}

void TestDispatch::printSenders()
{
    // The print and preview commands ask for the test (commandOpensItsWindows); the Preview
    // of the questions-in-test window prints the test picked for it without asking again.
    auto form = Start();
    const QStringList windows = Run(*form, QStringLiteral("ToolButton_Join"), {TStep::Pick, TStep::Preview});
    QCOMPARE(windows, (QStringList{QStringLiteral("TForm_TestEdit|Add Questions to Test |OK Cancel"),
                                   QStringLiteral("TForm_QuestionJoin|Close|1|Science")}));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Window);
    QCOMPARE(TDialogSeam::Shown().first().Text, QStringLiteral("Science"));
}

void TestDispatch::startUpRoutesPreviews()
{
    TNvPrintPreview::Reset();
    QVERIFY(!TNvPrintPreview::Executed());
    auto form = Start();
    QVERIFY(form->NvPrintPreview);
    QVERIFY(TNvPrintPreview::Executed());
    QVERIFY(TNvPrintPreview::GlobalEnablePrint());
}

QTEST_MAIN(TestDispatch)
#include "tst_dispatch.moc"
