#include "authoring/Main.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "dialogs/HelpFiles.h"
#include "dialogs/HelpForm.h"
#include "dialogs/HelpMenu.h"
#include "toolkit/Application.h"
#include "toolkit/StdDialogs.h"

#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using Corvella::TForm_Main;

// The Help menu's "Contents..." and the help pages that ship with the program.
class TestHelpMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void contentsListsTheTopics();
    void laterCallsReuseTheWindowsAndTakeNewEntries();
    void displayOpensPageBesideProgram_data();
    void displayOpensPageBesideProgram();
    void shippedPagesAreComplete_data();
    void shippedPagesAreComplete();

private:
    std::unique_ptr<TTestDatabase> FDb;
};

namespace {

const QStringList SortedTitles{QStringLiteral("Corvella Help"), QStringLiteral("Creating Test Questions"),
                               QStringLiteral("Tamberlin Help")};

QStringList ListedTitles(const QListWidget *list)
{
    QStringList titles;
    for (int i = 0; i < list->count(); ++i)
        titles << list->item(i)->text();
    return titles;
}

QString ReadText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList Captures(const QString &text, const QString &pattern)
{
    QStringList found;
    const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
    for (auto it = re.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

} // namespace

void TestHelpMenu::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
}

void TestHelpMenu::init()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
}

void TestHelpMenu::cleanup()
{
    const bool closed = CloseModalWindows();
    FDb.reset();
    TDialogSeam::EndScript();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestHelpMenu::contentsListsTheTopics()
{
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    QVERIFY(!form.NvHelpFiles);
    TDialogSeam::ClearShown();
    form.MenuItem_Contents->trigger();

    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().first();
    QCOMPARE(box.Kind, TBoxKind::Window);
    QCOMPARE(box.Caption, QStringLiteral("Help Topics: Corvella Help"));
    QCOMPARE(box.Text, form.HelpFilesSettings.HelpFiles.join(QLatin1Char('\n')));

    QVERIFY(form.NvHelpFiles);
    QCOMPARE(form.NvHelpFiles->SubDirectory, QStringLiteral("Help"));
    QVERIFY(form.NvHelpFiles->HelpFilePath.isEmpty());
    QVERIFY(form.NvHelpFiles->ApplicationTitle.isEmpty());
    TForm_HelpMenu *menu = form.NvHelpFiles->HelpMenu();
    QVERIFY(menu);
    QCOMPARE(ListedTitles(menu->ListBox_Help), SortedTitles);
    QCOMPARE(menu->ListBox_Help->currentRow(), 0);
    QVERIFY(!form.NvHelpFiles->HelpForm()->isVisible());
}

void TestHelpMenu::laterCallsReuseTheWindowsAndTakeNewEntries()
{
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    form.MenuItem_Contents->trigger();
    TNvHelpFiles *help = form.NvHelpFiles;
    QVERIFY(help);
    TForm_HelpMenu *menu = help->HelpMenu();
    TForm_HelpForm *viewer = help->HelpForm();

    form.HelpFilesSettings.HelpFiles << QStringLiteral("Grading.htm=Answer Keys");
    form.HelpFilesSettings.SubDirectory = QStringLiteral("Docs");
    form.MenuItem_Contents->trigger();
    QCOMPARE(form.NvHelpFiles, help);
    QCOMPARE(help->HelpMenu(), menu);
    QCOMPARE(help->HelpForm(), viewer);
    QCOMPARE(ListedTitles(menu->ListBox_Help), QStringList{QStringLiteral("Answer Keys")} + SortedTitles);
    QCOMPARE(menu->SubDirectory, QStringLiteral("Docs"));
    QCOMPARE(viewer->SubDirectory, QStringLiteral("Docs"));
    QCOMPARE(TDialogSeam::Shown().size(), 2);
}

void TestHelpMenu::displayOpensPageBesideProgram_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("questions") << "Creating Test Questions"
                               << "CorvellaQuestionSetup.htm";
    QTest::newRow("corvella") << "Corvella Help"
                              << "HelpCorvella.htm";
    QTest::newRow("tamberlin") << "Tamberlin Help"
                               << "HelpTamberlin.htm";
}

void TestHelpMenu::displayOpensPageBesideProgram()
{
    QFETCH(QString, title);
    QFETCH(QString, fileName);
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    form.MenuItem_Contents->trigger();
    TForm_HelpMenu *menu = form.NvHelpFiles->HelpMenu();
    const QList<QListWidgetItem *> items = menu->ListBox_Help->findItems(title, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    menu->ListBox_Help->setCurrentItem(items.first());
    menu->BitBtn_Display->click();

    TForm_HelpForm *viewer = form.NvHelpFiles->HelpForm();
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->PagePath, TApplication::ProgramFolder() + QStringLiteral("Help/") + fileName);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Corvella Help :  ") + title);
    QCOMPARE(viewer->HTML->source(), QUrl::fromLocalFile(viewer->PagePath));
    viewer->MenuItem_ExitClick();
    QVERIFY(!viewer->isVisible());
}

void TestHelpMenu::shippedPagesAreComplete_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");
    for (const QString &entry : Corvella::THelpFilesSettings().HelpFiles) {
        QString fileName, title;
        SplitHelpEntry(entry, fileName, title);
        QTest::newRow(qPrintable(fileName)) << fileName << title;
    }
}

// Every page the menu offers exists in the help folder, carries its topic's title,
// and has no broken picture or jump in its table of contents.
void TestHelpMenu::shippedPagesAreComplete()
{
    QFETCH(QString, fileName);
    QFETCH(QString, title);
    const QString path = QFINDTESTDATA(QStringLiteral("../../help/") + fileName);
    QVERIFY2(!path.isEmpty(), qPrintable(fileName));
    const QString html = ReadText(path);
    QVERIFY(!html.isEmpty());

    THelpBrowser browser;
    browser.setSource(QUrl::fromLocalFile(path));
    QCOMPARE(browser.document()->metaInformation(QTextDocument::DocumentTitle), title);
    QVERIFY(!browser.toPlainText().contains(QStringLiteral("could not be found")));

    const QStringList images = Captures(html, QStringLiteral("<img\\b[^>]*\\bsrc=\"([^\"]+)\""));
    QCOMPARE(images.size(), int(Captures(html, QStringLiteral("<img\\b[^>]*\\balt=\"([^\"]+)\"")).size()));
    for (const QString &src : images) {
        const QVariant data = browser.loadResource(QTextDocument::ImageResource, QUrl(src));
        QImage image;
        if (data.canConvert<QByteArray>())
            image.loadFromData(data.toByteArray());
        if (image.isNull())
            image = data.value<QImage>();
        QVERIFY2(!image.isNull(), qPrintable(fileName + QStringLiteral(": ") + src));
    }

    const QStringList targets = Captures(html, QStringLiteral("<a\\b[^>]*\\bname=\"([^\"]+)\""));
    QVERIFY(targets.size() == QSet<QString>(targets.begin(), targets.end()).size());
    const QStringList jumps = Captures(html, QStringLiteral("<a\\b[^>]*\\bhref=\"#([^\"]+)\""));
    QVERIFY2(!jumps.isEmpty(), "a table of contents");
    for (const QString &jump : jumps)
        QVERIFY2(targets.contains(jump), qPrintable(fileName + QStringLiteral(": #") + jump));
}

QTEST_MAIN(TestHelpMenu)
#include "tst_helpmenu.moc"
