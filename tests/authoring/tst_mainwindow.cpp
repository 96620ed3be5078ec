#include "authoring/Main.h"
#include "common/ModalWindows.h"
#include "common/TestDatabase.h"
#include "designer/ObjectInspector.h"
#include "designer/StretchHandle.h"
#include "dialogs/SplashAbout.h"
#include "toolkit/ModalResult.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

using Corvella::TForm_Main;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startUpFillsSortedTestList();
    void missingDatabaseLeavesWindowUsable();
    void databaseErrorsGoToMessageDialog();
    void menuCaptions_data();
    void menuCaptions();
    void toolButtons_data();
    void toolButtons();
    void controlBarLayout();
    void deleteKeyClearsTestChoice();
    void reloadKeepsChoiceByName_data();
    void reloadKeepsChoiceByName();
    void menuEnabling();
    void helpMenu();
    void controlMenuEntriesFollowSelection();
    void aboutBoxAndExit();
    void onlyTheInspectorDocksLeft();
    void designerIsDockedAndConfigured();

private:
    std::unique_ptr<TForm_Main> Start(const QString &connectionText);

    std::unique_ptr<TTestDatabase> FDb;
};

namespace {

QStringList Captions(const QMenu *menu)
{
    QStringList captions;
    for (const QAction *action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

QStringList BarContents(const QToolBar *bar)
{
    QStringList names;
    for (QAction *action : bar->actions()) {
        if (action->isSeparator())
            names << QStringLiteral("-");
        else if (QWidget *widget = bar->widgetForAction(action))
            names << widget->objectName();
    }
    return names;
}

} // namespace

void TestMainWindow::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
}

void TestMainWindow::init()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
    AddTest(*FDb, 1, "Science");
    AddTest(*FDb, 2, "algebra");
    AddTest(*FDb, 3, "Biology");
    AddTest(*FDb, 4, "Algebra");
    AddTest(*FDb, 5, "Zoology");
}

void TestMainWindow::cleanup()
{
    const bool closed = CloseModalWindows();
    FDb.reset();
    TDialogSeam::EndScript();
    QVERIFY2(closed, "a modal window refused to close");
}

std::unique_ptr<TForm_Main> TestMainWindow::Start(const QString &connectionText)
{
    auto form = std::make_unique<TForm_Main>(connectionText);
    form->show();
    [&] { QTRY_VERIFY(form->StartedUp()); }();
    return form;
}

void TestMainWindow::startUpFillsSortedTestList()
{
    auto form = Start(ConnectionStringFor(FDb->Path()));
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QVERIFY(form->ADOConnection.Connected());

    TNvComboBox *list = form->findChild<TNvComboBox *>("NvComboBox_Test");
    QVERIFY(list);
    QCOMPARE(list->ItemList(), (QStringList{"algebra", "Algebra", "Biology", "Science", "Zoology"}));
    QCOMPARE(list->Codes(), (QStringList{"2", "4", "3", "1", "5"}));
    QCOMPARE(list->ItemIndex(), -1);

    QVERIFY(form->NvSplashScreen->Showing());
    QCOMPARE(form->NvSplashScreen->Title, QStringLiteral("Corvella"));
    QCOMPARE(form->NvSplashScreen->Version, QStringLiteral("3.7.3"));
    QCOMPARE(form->NvSplashScreen->DisplayTime, 4000);
    QCOMPARE(form->windowTitle(), QStringLiteral("Corvella"));

    // At the starting size both tool bars and the test list share one row, none cut off.
    for (QWidget *last : {static_cast<QWidget *>(form->ToolButton_Wizard),
                          static_cast<QWidget *>(form->ToolButton_BeginTesting), static_cast<QWidget *>(list)}) {
        QVERIFY2(last->isVisible(), qPrintable(last->objectName()));
        QCOMPARE(last->parentWidget()->y(), form->ToolBar_Controls->y());
    }
}

void TestMainWindow::missingDatabaseLeavesWindowUsable()
{
    const QString missing = FDb->Folder() + QStringLiteral("/Nowhere/Corvella.mdb");
    QString engineText;
    try {
        TDbConnection probe;
        probe.SetConnectionString(ConnectionStringFor(missing));
        probe.Open();
    } catch (const EDatabaseError &e) {
        engineText = e.Message();
    }
    QVERIFY(!engineText.isEmpty());

    auto form = Start(ConnectionStringFor(missing));
    QVERIFY(!form->ADOConnection.Connected());
    QVERIFY(TDialogSeam::Shown().size() >= 1);
    const TShownBox first = TDialogSeam::Shown().first();
    QCOMPARE(first.Kind, TBoxKind::Message);
    QCOMPARE(first.Text, engineText);
    // The test list fails on its own afterwards, shown like any error nobody caught.
    for (int i = 1; i < TDialogSeam::Shown().size(); ++i)
        QCOMPARE(TDialogSeam::Shown()[i].Kind, TBoxKind::Error);

    QVERIFY(form->isVisible());
    QCOMPARE(form->NvComboBox_Test->Count(), 0);
    TDialogSeam::ClearShown();
    form->MenuItem_About->trigger();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().first().Kind, TBoxKind::Window);
}

void TestMainWindow::databaseErrorsGoToMessageDialog()
{
    auto form = Start(ConnectionStringFor(FDb->Path()));
    TDialogSeam::ClearShown();
    QVERIFY(NextID(form->ADOQuery, QStringLiteral("nosuchtable")).isEmpty());
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().first();
    QCOMPARE(box.Kind, TBoxKind::MessageDialog);
    QCOMPARE(box.DlgType, int(MsgError));
    QCOMPARE(box.Buttons, int(BtnOK));
    QVERIFY(box.Text.contains(QStringLiteral("nosuchtable")));
}

void TestMainWindow::menuCaptions_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("File") << "MenuItem_File"
                          << "&File" << QStringList{"Import Questions\u2026", "Export Test\u2026", "-", "E&xit"};
    QTest::newRow("Questions") << "MenuItem_Question"
                               << "Questions" << QStringList{"&Clear",    "-",         "New", "&Open...",
                                                             "&Save... ", "Delete...", "-",   "&Wizard..."};
    QTest::newRow("New") << "MenuItem_Controls"
                         << "New" << QStringList{"Editbox       (Short Answer)", "Combobox  (Multiple Choice)",
                                                 "Radiogroup (Multiple Choice)", "Listbox        (Multiple Choice)",
                                                 "Memo          (Essay)",        "DateTime    (Dates)"};
    QTest::newRow("Test") << "MenuItem_Test"
                          << "Test" << QStringList{"Edit...", "Add Questions...", "-", "Print Preview...", "Print...",
                                                   "-",       "Begin Testing..."};
    QTest::newRow("Students") << "MenuItem_Students"
                              << "Students" << QStringList{"Edit..."};
    QTest::newRow("Classes") << "MenuItem_Classes"
                             << "Classes" << QStringList{"Edit...", "-", "Add Students...", "Add Tests..."};
    QTest::newRow("GradeBook") << "MenuItem_GradeBook"
                               << "GradeBook" << QStringList{"Edit...", "Question Statistics..."};
    QTest::newRow("Help") << "MenuItem_Help"
                          << "Help" << QStringList{"Corvella Help...", "-", "About.."};
}

void TestMainWindow::menuCaptions()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, entries);

    TForm_Main form(ConnectionStringFor(FDb->Path()));
    QMenu *found = form.findChild<QMenu *>(menu);
    QVERIFY2(found, qPrintable(menu));
    emit found->aboutToShow();
    QCOMPARE(found->title(), title);
    QCOMPARE(Captions(found), entries);

    QStringList bar;
    for (const QAction *action : form.menuBar()->actions())
        bar << action->text();
    QCOMPARE(bar, (QStringList{"&File", "Questions", "Test", "Students", "Classes", "GradeBook", "Help"}));
}

void TestMainWindow::toolButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("check");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Clear") << "ToolButton_Clear"
                           << "Clear Question" << false << true;
    QTest::newRow("Open") << "ToolButton_Open"
                          << "Open Question" << false << true;
    QTest::newRow("Save") << "ToolButton_Save"
                          << "Save Question" << false << false;
    QTest::newRow("MaskEdit") << "ToolButton_MaskEdit"
                              << "Editbox (Short Answer)" << true << true;
    QTest::newRow("Combo") << "ToolButton_Combo"
                           << "Combobox (Mulitple Choice)" << true << true;
    QTest::newRow("RadioGroup") << "ToolButton_RadioGroup"
                                << "Radiogroup (Mulitple Choice)" << true << true;
    QTest::newRow("List") << "ToolButton_List"
                          << "Listbox (Mulitple Choice)" << true << true;
    QTest::newRow("Memo") << "ToolButton_Memo"
                          << "Memo (Essay)" << true << true;
    QTest::newRow("DateTime") << "ToolButton_DateTime"
                              << "DateTime (Dates)" << false << true;
    QTest::newRow("Wizard") << "ToolButton_Wizard"
                            << "Question Wizard" << false << false;
    QTest::newRow("Tests") << "ToolButton_Tests"
                           << "Create Test " << false << true;
    QTest::newRow("Join") << "ToolButton_Join"
                          << "Add Questions to Test" << false << true;
    QTest::newRow("PrintPreview") << "ToolButton_PrintPreview"
                                  << "Preview" << false << true;
    QTest::newRow("Print") << "ToolButton_Print"
                           << "Print" << false << true;
    QTest::newRow("BeginTesting") << "ToolButton_BeginTesting"
                                  << "Begin Testing" << false << true;
}

void TestMainWindow::toolButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QFETCH(bool, check);
    QFETCH(bool, enabled);

    TForm_Main form(ConnectionStringFor(FDb->Path()));
    QToolButton *button = form.findChild<QToolButton *>(name);
    QVERIFY2(button, qPrintable(name));
    QCOMPARE(button->toolTip(), hint);
    QCOMPARE(button->isCheckable(), check);
    QCOMPARE(button->isEnabled(), enabled);
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QVERIFY(!button->icon().isNull());
}

void TestMainWindow::controlBarLayout()
{
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    QCOMPARE(BarContents(form.ToolBar_Controls),
             (QStringList{"ToolButton_Clear", "ToolButton_Open", "ToolButton_Save", "-", "ToolButton_MaskEdit",
                          "ToolButton_Combo", "ToolButton_RadioGroup", "ToolButton_List", "ToolButton_Memo",
                          "ToolButton_DateTime", "-", "ToolButton_Wizard"}));
    QCOMPARE(BarContents(form.ToolBar_Standard),
             (QStringList{"ToolButton_Tests", "ToolButton_Join", "-", "ToolButton_PrintPreview", "ToolButton_Print",
                          "-", "ToolButton_BeginTesting"}));
    QCOMPARE(form.ToolBar_Controls->windowTitle(), QStringLiteral("Control ToolBar"));
    QCOMPARE(form.ToolBar_Standard->windowTitle(), QStringLiteral("Standard ToolBar"));
    for (QToolBar *bar : {form.ToolBar_Controls, form.ToolBar_Standard}) {
        QVERIFY(bar->isMovable());
        QVERIFY(bar->isFloatable());
        QCOMPARE(form.toolBarArea(bar), Qt::TopToolBarArea);
    }

    TNvComboBox *list = form.NvComboBox_Test;
    QCOMPARE(list->toolTip(), QStringLiteral("Save questions to test  (Press delete to clear)"));
    QCOMPARE(list->width(), 185);
    QVERIFY(!list->isEditable());
    QVERIFY(list->Sorted());
    QCOMPARE(form.toolBarArea(qobject_cast<QToolBar *>(list->parentWidget())), Qt::TopToolBarArea);
}

void TestMainWindow::deleteKeyClearsTestChoice()
{
    auto form = Start(ConnectionStringFor(FDb->Path()));
    TNvComboBox *list = form->NvComboBox_Test;
    list->SelectItem("Biology");
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(list->ItemIndex(), 0); // other keys keep their usual meaning
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(list->ItemIndex(), -1);
    QVERIFY(list->SelectedCode().isEmpty());
    QCOMPARE(list->Count(), 5);
}

void TestMainWindow::reloadKeepsChoiceByName_data()
{
    QTest::addColumn<QString>("choose"); // name to choose before the reload
    QTest::addColumn<QString>("chooseID"); // among equal names, the ID to choose
    QTest::addColumn<QStringList>("change");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedCode");

    QTest::newRow("unchanged name stays chosen") << "Biology"
                                                 << "3" << QStringList{} << "Biology"
                                                 << "3";
    QTest::newRow("other tests added") << "Science"
                                       << "1" << QStringList{"INSERT INTO testmaster (ID, NAME) VALUES(6, 'Art')"}
                                       << "Science"
                                       << "1";
    QTest::newRow("renamed: nothing chosen")
        << "Biology"
        << "3" << QStringList{"UPDATE testmaster SET NAME = 'Botany' WHERE ID = 3"} << ""
        << "";
    QTest::newRow("deleted: nothing chosen") << "Zoology"
                                             << "5" << QStringList{"DELETE FROM testmaster WHERE ID = 5"} << ""
                                             << "";
    QTest::newRow("equal names keep the chosen ID") << "Algebra"
                                                    << "4" << QStringList{} << "Algebra"
                                                    << "4";
    QTest::newRow("equal name left after delete")
        << "Algebra"
        << "4" << QStringList{"DELETE FROM testmaster WHERE ID = 4"} << "algebra"
        << "2";
    QTest::newRow("nothing chosen, empty-named test")
        << ""
        << "" << QStringList{"INSERT INTO testmaster (ID, NAME) VALUES(7, '')"} << ""
        << "";
}

void TestMainWindow::reloadKeepsChoiceByName()
{
    QFETCH(QString, choose);
    QFETCH(QString, chooseID);
    QFETCH(QStringList, change);
    QFETCH(QString, expectedText);
    QFETCH(QString, expectedCode);

    auto form = Start(ConnectionStringFor(FDb->Path()));
    TNvComboBox *list = form->NvComboBox_Test;
    if (!chooseID.isEmpty())
        QVERIFY(list->SelectCode(chooseID));
    QCOMPARE(list->Text(), choose);
    for (const QString &statement : change)
        FDb->Exec({statement});

    form->LoadTestList();
    QCOMPARE(list->Text(), expectedText);
    QCOMPARE(list->SelectedCode(), expectedCode);
    QCOMPARE(list->ItemIndex() >= 0, !expectedText.isEmpty());
    for (int i = 0; i < list->Count(); ++i) {
        const QStringList names =
            FDb->Column({QStringLiteral("SELECT NAME FROM testmaster WHERE ID = ") + list->Code(i)});
        QCOMPARE(names, QStringList{list->Items(i)});
    }
}

void TestMainWindow::menuEnabling()
{
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    const QList<QAction *> kinds{form.MenuItem_Editbox, form.MenuItem_Combobox, form.MenuItem_RadioGroup,
                                 form.MenuItem_ListBox, form.MenuItem_Memo,     form.MenuItem_DateTime};

    // Empty surface: nothing to save, delete or hand to the wizard.
    emit form.MenuItem_Question->aboutToShow();
    emit form.MenuItem_Controls->aboutToShow();
    QVERIFY(!form.MenuItem_Save->isEnabled());
    QVERIFY(!form.MenuItem_Delete->isEnabled());
    QVERIFY(!form.MenuItem_Wizard->isEnabled());
    QVERIFY(form.MenuItem_Clear->isEnabled());
    for (QAction *kind : kinds)
        QVERIFY(kind->isEnabled());

    // A question on the surface.
    form.EnableKindButtons(false);
    QVERIFY(form.ToolButton_Save->isEnabled());
    QVERIFY(form.ToolButton_Wizard->isEnabled());
    QVERIFY(form.ToolButton_Clear->isEnabled());
    QVERIFY(form.ToolButton_Open->isEnabled());
    QVERIFY(!form.ToolButton_DateTime->isEnabled());
    emit form.MenuItem_Question->aboutToShow();
    emit form.MenuItem_Controls->aboutToShow();
    QVERIFY(form.MenuItem_Save->isEnabled());
    QVERIFY(form.MenuItem_Delete->isEnabled());
    QVERIFY(form.MenuItem_Wizard->isEnabled());
    for (QAction *kind : kinds)
        QVERIFY(!kind->isEnabled());

    // The File menu carries the states of Open, Clear and Save across as well.
    form.ToolButton_Open->setEnabled(false);
    emit form.MenuItem_File->aboutToShow();
    QVERIFY(!form.MenuItem_Open->isEnabled());
    QVERIFY(form.MenuItem_Save->isEnabled());

    form.EnableKindButtons(true);
    emit form.MenuItem_File->aboutToShow();
    QVERIFY(!form.MenuItem_Save->isEnabled());
    QVERIFY(form.ToolButton_MaskEdit->isEnabled());
    QVERIFY(!form.ToolButton_Wizard->isEnabled());

    form.ToolButton_Memo->setChecked(true);
    form.ReleaseKindButtons();
    QVERIFY(!form.ToolButton_Memo->isChecked());
}

void TestMainWindow::helpMenu()
{
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    emit form.MenuItem_Help->aboutToShow();
    QCOMPARE(form.MenuItem_Contents->text(), QStringLiteral("Corvella Help..."));
    QVERIFY(form.MenuItem_Contents->isVisible());
    QVERIFY(form.MenuItem_HelpDivider->isVisible());

    form.HelpFilesSettings.HelpFiles.clear();
    emit form.MenuItem_Help->aboutToShow();
    QVERIFY(!form.MenuItem_Contents->isVisible());
    QVERIFY(!form.MenuItem_HelpDivider->isVisible());
    QVERIFY(form.MenuItem_About->isVisible());
}

void TestMainWindow::controlMenuEntriesFollowSelection()
{
    TForm_Main form(ConnectionStringFor(FDb->Path()));
    QMenu controlMenu;
    controlMenu.addAction("&Delete");
    controlMenu.addSeparator();
    controlMenu.addAction("Wizard");
    form.ObjectInspectorMenuPopup(&controlMenu, 0);
    for (QAction *item : controlMenu.actions())
        QVERIFY(!item->isVisible());
    form.ObjectInspectorMenuPopup(&controlMenu, 1);
    for (QAction *item : controlMenu.actions())
        QVERIFY(item->isVisible());
}

void TestMainWindow::aboutBoxAndExit()
{
    auto form = Start(ConnectionStringFor(FDb->Path()));
    TDialogSeam::ClearShown();
    form->MenuItem_About->trigger();
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    const TShownBox box = TDialogSeam::Shown().first();
    QCOMPARE(box.Kind, TBoxKind::Window);
    QCOMPARE(box.Caption, QStringLiteral("About Corvella"));
    QVERIFY(box.Text.contains(QStringLiteral("Corvella")));
    QVERIFY(box.Text.contains(QStringLiteral("3.7.3")));

    form->MenuItem_Exit->trigger();
    QVERIFY(!form->isVisible());
    QVERIFY(!form->NvSplashScreen->Showing());
}

void TestMainWindow::onlyTheInspectorDocksLeft()
{
    auto form = Start(ConnectionStringFor(FDb->Path()));
    QDockWidget *inspector = form->InspectorDock;
    QVERIFY(inspector);
    QCOMPARE(inspector, form->ObjectInspector->InspectorForm);
    QTRY_VERIFY(form->Panel_Design->x() > 100);
    QVERIFY(form->VSplitterVisible());
    QVERIFY(!(inspector->features() & QDockWidget::DockWidgetClosable));
    QVERIFY(!inspector->close());
    QVERIFY(inspector->isVisible());

    auto *other = new QDockWidget(QStringLiteral("Other"), form.get());
    form->addDockWidget(Qt::LeftDockWidgetArea, other);
    QTRY_VERIFY(form->dockWidgetArea(other) != Qt::LeftDockWidgetArea);
    QVERIFY(!(other->allowedAreas() & Qt::LeftDockWidgetArea));
    QCOMPARE(form->dockWidgetArea(inspector), Qt::LeftDockWidgetArea);

    inspector->setFloating(true);
    QTRY_COMPARE(form->Panel_Design->x(), 0);
    QVERIFY(!form->VSplitterVisible());
    QCOMPARE(form->Panel_LeftDockWidth(), 0);

    inspector->setFloating(false);
    QTRY_VERIFY(form->Panel_Design->x() > 100);
    QVERIFY(form->VSplitterVisible());
}

void TestMainWindow::designerIsDockedAndConfigured()
{
    auto form = Start(ConnectionStringFor(FDb->Path()));
    TObjectInspector *designer = form->ObjectInspector;
    QVERIFY(designer);
    QWidget *surface = designer->DesignSurface();
    QVERIFY(surface);
    QCOMPARE(surface->objectName(), QStringLiteral("Form_Design"));
    QCOMPARE(surface->parentWidget(), form->Panel_Design);
    QVERIFY(surface->isVisible());
    QTRY_COMPARE(surface->size(), form->Panel_Design->size());
    QVERIFY(!surface->isWindow());

    TInspector *inspector = designer->InspectorForm;
    QCOMPARE(static_cast<QDockWidget *>(inspector), form->InspectorDock);
    QCOMPARE(form->dockWidgetArea(inspector), Qt::LeftDockWidgetArea);
    QVERIFY(!inspector->isFloating());
    QVERIFY(inspector->isVisible());
    // At least 200, wider when the longest property name needs it.
    QVERIFY(inspector->width() >= 200);
    QCOMPARE(inspector->width(), form->InspectorDockWidth());
    QVERIFY(inspector->Panel_Top->isHidden());
    QVERIFY(inspector->Panel_Bottom->isHidden());
    QVERIFY(!inspector->close());

    QCOMPARE(designer->GridX(), 8);
    QCOMPARE(designer->GridY(), 8);
    QVERIFY(designer->SnapToGrid());
    QVERIFY(designer->DisplayGrid());
    QVERIFY(!designer->CutAndPaste());
    QVERIFY(!designer->ClearCutBufferOnPaste());
    QVERIFY(designer->AllowDeletes());
    QVERIFY(designer->BitMaskTags());
    QVERIFY(!designer->ShowDescriptions());
    QVERIFY(!designer->EmptySurfaceActions);
    QCOMPARE(designer->BitMaskProps(), (QStringList{"Color", "DragKind"}));
    QCOMPARE(designer->EditButtonProps(), (QStringList{"Course", "CorrectAnswer", "CorrectAnswers"}));
    QCOMPARE(designer->UnEditableProps(), QStringList{"ID"});
    QCOMPARE(designer->SupportedProps(),
             (QStringList{"Answers", "Chapter", "CharCase", "Columns", "CorrectAnswer", "CorrectAnswers", "Course",
                          "EditMask", "Font", "Height", "ID", "MultiSelect", "Question", "Sorted", "Width"}));
    QVERIFY(designer->StretchHandle);
    QVERIFY(designer->StretchHandle->SnapToGrid);
    QVERIFY(!designer->StretchHandle->CutAndPaste);

    // The control menu's "Wizard" entry, shown only with a question selected.
    QMenu *controlMenu = inspector->FDPopupMenu_Control;
    auto *wizardItem = controlMenu->findChild<QAction *>("FDSubMenuItem_Wizard");
    QVERIFY(wizardItem);
    QCOMPARE(wizardItem->text(), QStringLiteral("Wizard"));
    emit controlMenu->aboutToShow();
    for (QAction *item : controlMenu->actions())
        QVERIFY(!item->isVisible());
    form->ToolButton_MaskEdit->click();
    QCOMPARE(form->SelectedCount(), 1);
    emit controlMenu->aboutToShow();
    QVERIFY(wizardItem->isVisible());
    QVERIFY(TDialogSeam::Shown().isEmpty());

    // Closing detaches the surface and frees the designer.
    QPointer<QWidget> surfaceGuard = surface;
    TDialogSeam::SetNextAnswer(ResultNo); // the new question is not kept
    form->close();
    QVERIFY(!form->ObjectInspector);
    QVERIFY(surfaceGuard.isNull());
    QVERIFY(form->findChildren<TInspector *>().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
