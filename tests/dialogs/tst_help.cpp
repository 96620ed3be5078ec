#include "dialogs/HelpFiles.h"
#include "dialogs/HelpForm.h"
#include "dialogs/HelpMenu.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QFile>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList MainWindowEntries{QStringLiteral("CorvellaQuestionSetup.htm=Creating Test Questions"),
                                    QStringLiteral("HelpCorvella.htm=Corvella Help"),
                                    QStringLiteral("HelpTamberlin.htm=Tamberlin Help")};

void WritePage(const QString &path, const QString &body)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral("<html><body><p>%1</p></body></html>").arg(body).toUtf8());
}

QStringList ListedTitles(const TForm_HelpMenu &menu)
{
    QStringList titles;
    for (int i = 0; i < menu.ListBox_Help->count(); ++i)
        titles << menu.ListBox_Help->item(i)->text();
    return titles;
}

bool ChooseTopic(TForm_HelpMenu &menu, const QString &title)
{
    const QList<QListWidgetItem *> found = menu.ListBox_Help->findItems(title, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    menu.ListBox_Help->setCurrentItem(found.first());
    menu.BitBtn_DisplayClick();
    return true;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Corvella")); }
    void init() { TDialogSeam::BeginScript(); }
    void cleanup();

    void pagePath_data();
    void pagePath();
    void topicsOrder_data();
    void topicsOrder();
    void displayOpensPage();
    void missingPageSaysSo();
    void backFollowsHistory();
    void print();
    void windowsAreReused();
    void escapeClosesTheViewer();
};

void TestHelp::cleanup()
{
    TDialogSeam::EndScript();
}

void TestHelp::pagePath_data()
{
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    QTest::addColumn<QString>("helpFilePath");
    QTest::addColumn<QString>("subDirectory");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sub-folder beside the program") << ""
                                                   << "Help" << folder + "Help/CorvellaQuestionSetup.htm";
    QTest::newRow("HelpFilePath without separator") << "/srv/docs"
                                                    << "Help"
                                                    << "/srv/docsCorvellaQuestionSetup.htm";
    QTest::newRow("HelpFilePath with separator") << "/srv/docs/"
                                                 << "Help"
                                                 << "/srv/docs/CorvellaQuestionSetup.htm";
    QTest::newRow("blank HelpFilePath is ignored") << "   "
                                                   << "Help" << folder + "Help/CorvellaQuestionSetup.htm";
    QTest::newRow("blank sub-folder") << ""
                                      << "  " << folder + "CorvellaQuestionSetup.htm";
}

void TestHelp::pagePath()
{
    QFETCH(QString, helpFilePath);
    QFETCH(QString, subDirectory);
    QFETCH(QString, expected);
    QCOMPARE(HelpPagePath(helpFilePath, subDirectory, QStringLiteral("CorvellaQuestionSetup.htm")), expected);
}

void TestHelp::topicsOrder_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("main window's pages") << MainWindowEntries
                                         << QStringList{"Corvella Help", "Creating Test Questions", "Tamberlin Help"};
    QTest::newRow("letter case ignored") << QStringList{"z.htm=zeta", "a.htm=Beta", "b.htm=alpha"}
                                         << QStringList{"alpha", "Beta", "zeta"};
    QTest::newRow("entry without =") << QStringList{"b.htm=Second", "A first page"}
                                     << QStringList{"A first page", "Second"};
    QTest::newRow("split at the first =") << QStringList{"b.htm=x = y"} << QStringList{"x = y"};
    QTest::newRow("no pages") << QStringList{} << QStringList{};
}

void TestHelp::topicsOrder()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, listed);
    TNvHelpFiles help;
    help.HelpFiles = entries;
    help.ShowHelpTopics();
    TForm_HelpMenu *menu = help.HelpMenu();
    QVERIFY(menu);
    QCOMPARE(ListedTitles(*menu), listed);
    QCOMPARE(menu->ListBox_Help->currentRow(), listed.isEmpty() ? -1 : 0);
    QCOMPARE(menu->windowTitle(), QStringLiteral("Help Topics: Corvella Help"));
    // The titles stay in entry order, paired with their files.
    QCOMPARE(menu->Titles.size(), entries.size());
    for (int i = 0; i < entries.size(); ++i)
        QVERIFY(entries.at(i).endsWith(menu->Titles.at(i)));
}

// The main window's topics, of which only the question set-up page is written.
static void ShowTopicsWithOnePage(TNvHelpFiles &help, const QTemporaryDir &dir)
{
    WritePage(dir.filePath(QStringLiteral("CorvellaQuestionSetup.htm")), QStringLiteral("How to set up a question"));
    help.HelpFiles = MainWindowEntries;
    help.HelpFilePath = dir.path() + QLatin1Char('/');
    help.ShowHelpTopics();
}

void TestHelp::displayOpensPage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TNvHelpFiles help;
    ShowTopicsWithOnePage(help, dir);
    TForm_HelpMenu *menu = help.HelpMenu();
    TForm_HelpForm *viewer = help.HelpForm();
    QVERIFY(ChooseTopic(*menu, QStringLiteral("Creating Test Questions")));

    QVERIFY(viewer->isVisible());
    QVERIFY(!menu->isVisible());
    QVERIFY(viewer->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Corvella Help :  Creating Test Questions"));
    QCOMPARE(viewer->PagePath, dir.filePath(QStringLiteral("CorvellaQuestionSetup.htm")));
    QCOMPARE(viewer->HTML->source(), QUrl::fromLocalFile(viewer->PagePath));
    QVERIFY(viewer->HTML->toPlainText().contains(QStringLiteral("How to set up a question")));
    QVERIFY(!viewer->NavigationPending());

    // The application title given to the component wins over the program's title.
    help.ApplicationTitle = QStringLiteral("Teacher");
    help.ShowHelpTopics();
    QVERIFY(ChooseTopic(*menu, QStringLiteral("Creating Test Questions")));
    QCOMPARE(menu->windowTitle(), QStringLiteral("Help Topics: Teacher Help"));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Teacher Help :  Creating Test Questions"));

    viewer->MenuItem_ExitClick();
    QVERIFY(!viewer->isVisible());
}

void TestHelp::missingPageSaysSo()
{
    QTemporaryDir dir;
    TNvHelpFiles help;
    help.HelpFiles = QStringList{QStringLiteral("Nowhere.htm=Lost Page"), QStringLiteral("No file name")};
    help.HelpFilePath = dir.path() + QLatin1Char('/');
    help.ShowHelpTopics();
    TForm_HelpForm *viewer = help.HelpForm();

    QVERIFY(ChooseTopic(*help.HelpMenu(), QStringLiteral("Lost Page")));
    QVERIFY(viewer->HTML->toPlainText().contains(QStringLiteral("could not be found")));
    QVERIFY(viewer->HTML->toPlainText().contains(QStringLiteral("Nowhere.htm")));

    // An entry without a file name points at the folder itself: also a message.
    help.ShowHelpTopics();
    QVERIFY(ChooseTopic(*help.HelpMenu(), QStringLiteral("No file name")));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Corvella Help :  No file name"));
    QVERIFY(viewer->HTML->toPlainText().contains(QStringLiteral("could not be found")));
}

void TestHelp::backFollowsHistory()
{
    QTemporaryDir dir;
    WritePage(dir.filePath(QStringLiteral("a.htm")), QStringLiteral("Page A"));
    WritePage(dir.filePath(QStringLiteral("b.htm")), QStringLiteral("Page B"));
    TNvHelpFiles help;
    help.HelpFiles = QStringList{QStringLiteral("a.htm=First"), QStringLiteral("b.htm=Second")};
    help.HelpFilePath = dir.path() + QLatin1Char('/');
    help.ShowHelpTopics();
    TForm_HelpForm *viewer = help.HelpForm();

    QVERIFY(ChooseTopic(*help.HelpMenu(), QStringLiteral("First")));
    QVERIFY(!viewer->BitBtn_Back->isEnabled());
    viewer->MenuItem_BackClick(); // nothing to go back to: ignored
    QVERIFY(viewer->HTML->toPlainText().contains(QStringLiteral("Page A")));

    // Help Topics from the viewer hands the topics window the viewer's values.
    viewer->BitBtn_TopicsClick();
    QVERIFY(viewer->NavigationPending());
    QCOMPARE(ListedTitles(*help.HelpMenu()), (QStringList{"First", "Second"}));
    QVERIFY(ChooseTopic(*help.HelpMenu(), QStringLiteral("Second")));
    QVERIFY(viewer->HTML->toPlainText().contains(QStringLiteral("Page B")));
    QVERIFY(viewer->BitBtn_Back->isEnabled());

    viewer->MenuItem_BackClick();
    QVERIFY(viewer->HTML->toPlainText().contains(QStringLiteral("Page A")));
    QVERIFY(!viewer->BitBtn_Back->isEnabled());

    // Opening the page already shown does not add to the history.
    help.ShowHelpTopics();
    QVERIFY(ChooseTopic(*help.HelpMenu(), QStringLiteral("First")));
    QVERIFY(!viewer->BitBtn_Back->isEnabled());
}

void TestHelp::print()
{
    QTemporaryDir dir;
    WritePage(dir.filePath(QStringLiteral("a.htm")), QStringLiteral("Printed help page"));
    TNvHelpFiles help;
    help.HelpFiles = QStringList{QStringLiteral("a.htm=First")};
    help.HelpFilePath = dir.path() + QLatin1Char('/');
    help.ShowHelpTopics();
    TForm_HelpForm *viewer = help.HelpForm();
    QVERIFY(ChooseTopic(*help.HelpMenu(), QStringLiteral("First")));

    const QString cancelled = dir.filePath(QStringLiteral("cancelled.pdf"));
    TDialogSeam::ClearShown();
    TDialogSeam::SetNextAnswer(ResultCancel, cancelled);
    viewer->BitBtn_PrintClick();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Caption, QStringLiteral("Print"));
    QVERIFY(!QFile::exists(cancelled));

    const QString pdf = dir.filePath(QStringLiteral("topic.pdf"));
    TDialogSeam::SetNextAnswer(ResultOK, pdf);
    viewer->MenuItem_PrintTopic->trigger();
    QVERIFY(QFileInfo(pdf).size() > 0);
}

void TestHelp::windowsAreReused()
{
    TNvHelpFiles help;
    help.HelpFiles = MainWindowEntries;
    help.ShowHelpTopics();
    TForm_HelpMenu *menu = help.HelpMenu();
    TForm_HelpForm *viewer = help.HelpForm();
    help.HelpFiles = QStringList{QStringLiteral("x.htm=Only")};
    help.ShowHelpTopics();
    QCOMPARE(help.HelpMenu(), menu);
    QCOMPARE(help.HelpForm(), viewer);
    QCOMPARE(ListedTitles(*menu), QStringList{"Only"});
    QCOMPARE(TDialogSeam::Shown().size(), 2);
    QCOMPARE(TDialogSeam::Shown().last().Kind, TBoxKind::Window);
}

// Escape closes the viewer, as it closes the programs' other windows.
void TestHelp::escapeClosesTheViewer()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TNvHelpFiles help;
    ShowTopicsWithOnePage(help, dir);
    TForm_HelpForm *viewer = help.HelpForm();
    QVERIFY(ChooseTopic(*help.HelpMenu(), QStringLiteral("Creating Test Questions")));
    QVERIFY(viewer->isVisible());
    viewer->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(viewer));
    viewer->HTML->setFocus();
    QTest::keyClick(viewer->HTML, Qt::Key_Escape);
    QTRY_VERIFY(!viewer->isVisible());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
