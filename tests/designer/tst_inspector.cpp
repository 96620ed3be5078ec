// The inspector window and its dialogs: the component box, the description pane, the
// control popup menu, the name column, and the "Align", "Strings Editor" and "Input
// Mask Editor" dialogs.

#include "common/ModalWindows.h"
#include "designer/AlignDialog.h"
#include "designer/DesignForm.h"
#include "designer/EditMaskDialog.h"
#include "designer/ObjectInspector.h"
#include "designer/PropertyGrid.h"
#include "designer/StretchHandle.h"
#include "designer/StringEdit.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/MaskEdit.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/StdDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include <memory>

class TestInspector : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowLayout();
    void componentBoxSelects();
    void descriptionFollowsCurrentRow();
    void popupMenuStates_data();
    void popupMenuStates();
    void pageCommands();
    void bringToFrontAndSendToBack();
    void nameColumnResizing_data();
    void nameColumnResizing();
    void resizeKeepsValueColumn();
    void closeOnlyHides();
    void deactivationSkipsTheLeaveCheck();
    void alignDialog_data();
    void alignDialog();
    void stringEditor_data();
    void stringEditor();
    void editMaskSamples_data();
    void editMaskSamples();
    void editMaskTypedMask();

private:
    TQAMaskEdit *AddEdit(const QString &name, const QRect &bounds);
    void Select(const QList<QWidget *> &controls);

    std::unique_ptr<TForm_DesignForm> Template;
    std::unique_ptr<TObjectInspector> Designer;
    QWidget *Surface = nullptr;
    TStretchHandle *Handle = nullptr;
    TInspector *Window = nullptr;
};

void TestInspector::initTestCase()
{
    RegisterQuestionClasses();
    // The "/" of a mask is the date separator of the short date format.
    SetShortDateFormat(QStringLiteral("MM/dd/yyyy"));
    TDialogSeam::BeginScript();
}

void TestInspector::init()
{
    Template = std::make_unique<TForm_DesignForm>();
    Designer = std::make_unique<TObjectInspector>();
    Designer->TemplateForm = Template.get();
    Designer->SetPropertyDescriptions({QStringLiteral("Width=How wide the control is")});
    QVERIFY(Designer->Activate());
    Surface = Designer->DesignSurface();
    Handle = Designer->StretchHandle;
    Window = Designer->InspectorForm;
    Surface->move(0, 0);
    Surface->show();
    Window->setGeometry(700, 0, 230, 600);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window));
}

void TestInspector::cleanup()
{
    const bool closed = CloseModalWindows();
    Designer.reset();
    Template.reset();
    TDialogSeam::BeginScript();
    QVERIFY2(closed, "a modal window refused to close");
}

TQAMaskEdit *TestInspector::AddEdit(const QString &name, const QRect &bounds)
{
    auto *edit = new TQAMaskEdit(Surface, Surface);
    SetComponentName(edit, name);
    edit->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    edit->show();
    Designer->RouteMouseEvents();
    return edit;
}

void TestInspector::Select(const QList<QWidget *> &controls)
{
    Handle->ClearSelection();
    for (QWidget *control : controls)
        Handle->Attach(control);
    Designer->RefreshInspector();
}

void TestInspector::windowLayout()
{
    QCOMPARE(Window->windowTitle(), QStringLiteral("Object Inspector"));
    QCOMPARE(Window->PageControl->tabText(0), QStringLiteral("Properties"));
    QCOMPARE(Window->ComboBox_Object->currentText(), QStringLiteral("Form_Design"));
    QCOMPARE(Window->PropertyGrid->ColCount(), 2);
    QCOMPARE(Window->PropertyGrid->FixedCols(), 1);
    QCOMPARE(Window->PropertyGrid->ColWidths(0), 85);
    QStringList captions;
    for (QAction *action : Window->FDPopupMenu_Control->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(captions, (QStringList{"Ne&w Page ", "Ne&xt Page", "&Previous Page", "-", "Wizard", "&Align", "-", "&Cut",
                                    "C&opy", "&Paste", "-", "&Delete", "-", "&Bring To Front", "&Send To Back"}));
}

void TestInspector::componentBoxSelects()
{
    auto *a = AddEdit(QStringLiteral("QAMaskEdit2"), QRect(10, 10, 100, 21));
    auto *b = AddEdit(QStringLiteral("QAMaskEdit1"), QRect(10, 50, 100, 21));
    b->Tag = -1; // the designer's own objects are never offered
    Window->RebuildComponentBox();
    QStringList entries;
    for (int i = 0; i < Window->ComboBox_Object->count(); ++i)
        entries << Window->ComboBox_Object->itemText(i);
    QCOMPARE(entries, (QStringList{QStringLiteral("Form_Design"), QStringLiteral("QAMaskEdit2")}));

    Window->ComboBox_Object->setCurrentText(QStringLiteral("QAMaskEdit2"));
    QCOMPARE(Handle->Selection(), (QList<QWidget *>{a}));
    QVERIFY(Designer->FindPropertyRow(QStringLiteral("EditMask")) >= 0);

    Window->ComboBox_Object->setCurrentText(QStringLiteral("Form_Design"));
    QCOMPARE(Handle->SelectedCount(), 0);
    QCOMPARE(Designer->FindPropertyRow(QStringLiteral("EditMask")), -1);

    // With several selected the box shows no entry; choosing one keeps only that one.
    auto *c = AddEdit(QStringLiteral("QAMaskEdit3"), QRect(10, 90, 100, 21));
    Window->RebuildComponentBox();
    Select({a, c});
    QCOMPARE(Window->ComboBox_Object->currentIndex(), -1);
    Window->ComboBox_Object->setCurrentText(QStringLiteral("QAMaskEdit3"));
    QCOMPARE(Handle->Selection(), (QList<QWidget *>{c}));
}

void TestInspector::descriptionFollowsCurrentRow()
{
    auto *a = AddEdit(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    Select({a});
    TPropertyGrid *grid = Window->PropertyGrid;
    const int width = Designer->FindPropertyRow(QStringLiteral("Width"));
    grid->SetTopRow(width);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(1, width).center());
    QCOMPARE(Window->Label_Property->text(), QStringLiteral("Width"));
    QCOMPARE(Window->Label_Desc->text(), QStringLiteral("How wide the control is"));
    // A click in the name column selects that row too.
    const int top = Designer->FindPropertyRow(QStringLiteral("Top"));
    grid->SetTopRow(top);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, top).center() - QPoint(20, 0));
    QCOMPARE(grid->Row(), top);
    QCOMPARE(Window->Label_Property->text(), QStringLiteral("Top"));
    QCOMPARE(Window->Label_Desc->text(), QString());
}

void TestInspector::popupMenuStates_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("pageControl");
    QTest::addColumn<bool>("alignEnabled");
    QTest::addColumn<bool>("frontVisible");
    QTest::addColumn<bool>("pagesVisible");
    QTest::newRow("nothing") << 0 << false << false << false << false;
    QTest::newRow("one") << 1 << false << false << true << false;
    QTest::newRow("two") << 2 << false << true << false << false;
    QTest::newRow("a page control") << 1 << true << false << true << true;
}

void TestInspector::popupMenuStates()
{
    QFETCH(int, selected);
    QFETCH(bool, pageControl);
    QFETCH(bool, alignEnabled);
    QFETCH(bool, frontVisible);
    QFETCH(bool, pagesVisible);
    int popups = 0;
    Designer->OnMenuPopup = [&popups](TObjectInspector *) { ++popups; };
    QList<QWidget *> controls;
    if (pageControl) {
        auto *pages = new QTabWidget(Surface);
        InsertComponent(Surface, pages);
        SetComponentName(pages, QStringLiteral("PageControl1"));
        pages->addTab(new QWidget, QStringLiteral("One"));
        controls << pages;
    } else {
        for (int i = 0; i < selected; ++i)
            controls << AddEdit(QStringLiteral("QAMaskEdit%1").arg(i + 1), QRect(10, 10 + 40 * i, 100, 21));
    }
    Select(controls);
    emit Window->FDPopupMenu_Control->aboutToShow();
    QCOMPARE(popups, 1);
    QCOMPARE(Window->FDSubMenuItem_Align->isEnabled(), alignEnabled);
    QCOMPARE(Window->FDSubMenuItem_Delete->isEnabled(), selected > 0);
    QCOMPARE(Window->FDSubMenuItem_Cut->isEnabled(), selected > 0); // CutAndPaste is on by default
    QCOMPARE(Window->FDSubMenuItem_BringToFront->isVisible(), frontVisible);
    QCOMPARE(Window->FDSubMenuItem_SendToBack->isVisible(), frontVisible);
    QCOMPARE(Window->FDSubMenuItem_NewPage->isVisible(), pagesVisible);
    QCOMPARE(Window->FDSubMenuItem_NextPage->isVisible(), pagesVisible);
    QCOMPARE(Window->FDSubMenuItem_PreviousPage->isVisible(), pagesVisible);
    QCOMPARE(Window->FDN2->isVisible(), pagesVisible);

    Designer->SetCutAndPaste(false);
    emit Window->FDPopupMenu_Control->aboutToShow();
    QVERIFY(!Window->FDSubMenuItem_Cut->isEnabled());
    QVERIFY(!Window->FDSubMenuItem_Copy->isEnabled());
    QVERIFY(!Window->FDSubMenuItem_Paste->isEnabled());
}

void TestInspector::pageCommands()
{
    auto *pages = new QTabWidget(Surface);
    InsertComponent(Surface, pages);
    SetComponentName(pages, QStringLiteral("PageControl1"));
    pages->setGeometry(10, 10, 300, 200);
    pages->show();
    QWidget *first = new QWidget;
    pages->addTab(first, QStringLiteral("One"));
    QList<QWidget *> created;
    Designer->OnCreateControl = [&created](TObjectInspector *, QWidget *control) { created << control; };
    Select({pages});
    Window->FDSubMenuItem_NewPage->trigger();
    QCOMPARE(pages->count(), 2);
    QCOMPARE(created.size(), 1);
    QCOMPARE(pages->currentWidget(), created.first());
    QCOMPARE(Handle->Selection(), (QList<QWidget *>{created.first()}));
    QVERIFY(!created.first()->objectName().isEmpty());
    QVERIFY(Window->ComboBox_Object->findText(created.first()->objectName()) >= 0);

    // The selected tab page leads to its page control.
    Window->FDSubMenuItem_NextPage->trigger();
    QCOMPARE(pages->currentIndex(), 0);
    Select({first});
    Window->FDSubMenuItem_PreviousPage->trigger();
    QCOMPARE(pages->currentIndex(), 1);
}

void TestInspector::bringToFrontAndSendToBack()
{
    auto *a = AddEdit(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    auto *b = AddEdit(QStringLiteral("QAMaskEdit2"), QRect(20, 15, 100, 21));
    const auto order = [this, a, b] {
        const QObjectList children = Surface->children();
        return children.indexOf(a) < children.indexOf(b);
    };
    QVERIFY(order());
    Select({a});
    Window->FDSubMenuItem_BringToFront->trigger();
    QVERIFY(!order());
    Window->FDSubMenuItem_SendToBack->trigger();
    QVERIFY(order());
}

void TestInspector::nameColumnResizing_data()
{
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("expected");
    QTest::newRow("50 is too narrow") << 50 << 85;
    QTest::newRow("70 is the least") << 70 << 70;
    QTest::newRow("100") << 100 << 100;
    QTest::newRow("too close to the right edge") << -60 << 85;
}

void TestInspector::nameColumnResizing()
{
    QFETCH(int, to);
    QFETCH(int, expected);
    TPropertyGrid *grid = Window->PropertyGrid;
    QWidget *view = grid->viewport();
    const int x = to < 0 ? grid->width() + to : to;
    // Away from the current row, which the editor covers.
    QVERIFY(grid->RowCount() > 2);
    const int y = grid->CellRect(0, 2).center().y();
    QTest::mouseMove(view, QPoint(40, y));
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(view, QPoint(86, y));
    QCOMPARE(view->cursor().shape(), Qt::SplitHCursor);
    const int row = grid->Row();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(86, y));
    QVERIFY(Window->ResizingNameCol());
    QCOMPARE(grid->Row(), row); // starting to resize does nothing else
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), view->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(x, y));
    QVERIFY(!Window->ResizingNameCol());
    QCOMPARE(grid->ColWidths(0), expected);
    QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
}

void TestInspector::resizeKeepsValueColumn()
{
    TPropertyGrid *grid = Window->PropertyGrid;
    for (int width : {200, 180, 155}) {
        Window->resize(width, 600);
        QTRY_COMPARE(Window->ComboBox_Object->width(), grid->width());
        // The value column keeps 70 pixels, unless the name column is down to 70 itself.
        QVERIFY(grid->ColWidths(1) >= 70 || grid->ColWidths(0) == 70);
        QVERIFY(grid->ColWidths(0) <= 85);
    }
    QVERIFY(grid->ColWidths(0) < 85);
}

void TestInspector::closeOnlyHides()
{
    QPointer<TInspector> guard(Window);
    Window->close();
    QVERIFY(guard);
    QVERIFY(Window->isHidden());
    Designer->ShowInspector();
    QVERIFY(Window->isVisible());
}

void TestInspector::deactivationSkipsTheLeaveCheck()
{
    auto *a = AddEdit(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    Select({a});
    TPropertyGrid *grid = Window->PropertyGrid;
    const int width = Designer->FindPropertyRow(QStringLiteral("Width"));
    const int top = Designer->FindPropertyRow(QStringLiteral("Top"));
    Window->FormActivate();
    grid->SetRow(width);
    grid->SetEditText(grid->ValueCol(), width, QStringLiteral("abc"));
    Window->FormDeactivate();
    QCOMPARE(grid->Cells(grid->ValueCol(), width), QStringLiteral("100"));
    grid->SetEditText(grid->ValueCol(), width, QStringLiteral("abc"));
    grid->SetRow(top);
    QCOMPARE(grid->Row(), top);
    QCOMPARE(TDialogSeam::Shown().size(), 0);

    Window->FormActivate();
    grid->SetRow(width);
    grid->SetEditText(grid->ValueCol(), width, QStringLiteral("abc"));
    grid->SetRow(top);
    QCOMPARE(grid->Row(), width);
    QCOMPARE(TDialogSeam::Shown().size(), 1);
}

void TestInspector::alignDialog_data()
{
    QTest::addColumn<int>("horz");
    QTest::addColumn<int>("vert");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<QPoint>>("expected");
    const QList<QPoint> unchanged{{10, 10}, {50, 60}, {90, 140}};
    QTest::newRow("left sides and tops") << 1 << 1 << true << QList<QPoint>{{10, 10}, {10, 10}, {10, 10}};
    QTest::newRow("left sides only") << 1 << 0 << true << QList<QPoint>{{10, 10}, {10, 60}, {10, 140}};
    QTest::newRow("cancelled") << 1 << 1 << false << unchanged;
    QTest::newRow("no change") << 0 << 0 << true << unchanged;
}

void TestInspector::alignDialog()
{
    QFETCH(int, horz);
    QFETCH(int, vert);
    QFETCH(bool, ok);
    QFETCH(QList<QPoint>, expected);
    QList<QWidget *> controls{AddEdit(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 60, 21)),
                              AddEdit(QStringLiteral("QAMaskEdit2"), QRect(50, 60, 60, 21)),
                              AddEdit(QStringLiteral("QAMaskEdit3"), QRect(90, 140, 60, 21))};
    Select(controls);
    TForm_Align dialog(Handle);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Align"));
    QCOMPARE(dialog.RadioGroup_Vert->Items()->Lines(),
             (QStringList{"No Change", "Tops", "Space Equally", "Center In Window"}));
    QTimer::singleShot(0, &dialog, [&] {
        QCOMPARE(dialog.RadioGroup_Horz->ItemIndex(), 0);
        dialog.RadioGroup_Horz->Button(horz)->click();
        dialog.RadioGroup_Vert->Button(vert)->click();
        (ok ? dialog.BitBtn_OK : dialog.BitBtn_Cancel)->click();
    });
    QCOMPARE(dialog.exec(), ok ? int(ResultOK) : int(ResultCancel));
    for (int i = 0; i < controls.size(); ++i)
        QCOMPARE(controls.at(i)->pos(), expected.at(i));
    // Shown again, both groups start at "No Change".
    QTimer::singleShot(0, &dialog, [&] {
        QCOMPARE(dialog.RadioGroup_Horz->ItemIndex(), 0);
        QCOMPARE(dialog.RadioGroup_Vert->ItemIndex(), 0);
        dialog.close();
    });
    QCOMPARE(dialog.exec(), int(ResultCancel));
}

void TestInspector::stringEditor_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("kept") << QStringList{"a", "b"} << QString() << QStringList{"a", "b"};
    QTest::newRow("empty line inside") << QStringList{"a", "", "c"} << QString() << QStringList{"a", "", "c"};
    QTest::newRow("typed") << QStringList{} << QStringLiteral("x\ny") << QStringList{"x", "y"};
    QTest::newRow("emptied") << QStringList{"a"} << QStringLiteral("") << QStringList{};
}

void TestInspector::stringEditor()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    TForm_StringEdit dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Strings Editor"));
    dialog.SetLines(lines);
    QTimer::singleShot(0, &dialog, [&] {
        QTRY_VERIFY(dialog.RichEdit_Strings->hasFocus());
        if (!typed.isNull() && QTest::currentDataTag() != QLatin1String("kept"))
            dialog.RichEdit_Strings->setPlainText(typed);
        dialog.Button_Ok->click();
    });
    QCOMPARE(dialog.exec(), int(ResultOK));
    QCOMPARE(dialog.Lines(), expected);

    // Closed with the close box or Cancel: cancelled.
    QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
    dialog.exec();
    QCOMPARE(dialog.ModalResult(), int(ResultCancel));
    QTimer::singleShot(0, &dialog, [&] { dialog.Button_Cancel->click(); });
    QCOMPARE(dialog.exec(), int(ResultCancel));
}

void TestInspector::editMaskSamples_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sample");
    QTest::newRow("Phone") << 0 << "Phone"
                           << "!\\(999\\)999-9999;1;"
                           << "1234567890"
                           << "(123)456-7890";
    QTest::newRow("Social Security") << 1 << "Social Security"
                                     << "999\\-99\\-9999;1;"
                                     << "123456789"
                                     << "123-45-6789";
    QTest::newRow("Short Zip Code") << 2 << "Short Zip Code"
                                    << "99999;1;"
                                    << "12345"
                                    << "12345";
    QTest::newRow("Long Zip Code") << 3 << "Long Zip Code"
                                   << "99999\\-9999;1;"
                                   << "123456789"
                                   << "12345-6789";
    QTest::newRow("Date") << 4 << "Date"
                          << "!99/99/9999;1;"
                          << "01012000"
                          << "01/01/2000";
    QTest::newRow("Long Time") << 5 << "Long Time"
                               << "!99:99:99>ll;1;"
                               << "012334pm"
                               << "01:23:34PM";
    QTest::newRow("Short Time") << 6 << "Short Time"
                                << "!99:99;1;"
                                << "0123"
                                << "01:23";
}

void TestInspector::editMaskSamples()
{
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(QString, mask);
    QFETCH(QString, typed);
    QFETCH(QString, sample);
    TForm_Editmask dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Input Mask Editor"));
    QTimer::singleShot(0, &dialog, [&] {
        QTableWidget *grid = dialog.StringGrid_SampleMask;
        QCOMPARE(grid->rowCount(), 7);
        QCOMPARE(dialog.Edit_InputMask->Text(), QString());
        QCOMPARE(grid->item(row, 0)->text(), name);
        QCOMPARE(grid->item(row, 1)->text(), sample);
        if (row > 0) {
            // Keys move through the samples too.
            grid->setCurrentCell(row - 1, 0);
            QTest::keyClick(grid, Qt::Key_Down);
        } else {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
        }
        QCOMPARE(dialog.Edit_InputMask->Text(), mask);
        dialog.BitBtn_Ok->click();
    });
    QCOMPARE(dialog.exec(), int(ResultOK));
    QCOMPARE(dialog.InputMask, mask);

    // The mask works in the question's edit box: typing the digits gives the sample.
    TMaskEdit edit;
    edit.SetEditMask(mask);
    edit.show();
    edit.setFocus();
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.Text(), sample);
}

void TestInspector::editMaskTypedMask()
{
    TForm_Editmask dialog;
    QTimer::singleShot(0, &dialog, [&] {
        QTest::keyClicks(dialog.Edit_InputMask, QStringLiteral("000;0;_"));
        dialog.BitBtn_Ok->click();
    });
    QCOMPARE(dialog.exec(), int(ResultOK));
    QCOMPARE(dialog.InputMask, QStringLiteral("000;0;_"));

    // OK without anything chosen: the mask it was opened on, here none.
    dialog.InputMask.clear();
    QTimer::singleShot(0, &dialog, [&] { dialog.BitBtn_Ok->click(); });
    QCOMPARE(dialog.exec(), int(ResultOK));
    QCOMPARE(dialog.InputMask, QString());

    QTimer::singleShot(0, &dialog, [&] { dialog.BitBtn_Cancel->click(); });
    QCOMPARE(dialog.exec(), int(ResultCancel));
}

QTEST_MAIN(TestInspector)
#include "tst_inspector.moc"
