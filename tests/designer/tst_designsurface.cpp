// The design surface and the designer component: activation, creating and naming
// controls by click, the rubber band, live controls selected instead of used,
// deleting, grid dots, the preview copy and the property rows the host works over.

// Mouse input goes through the window, so it lands on the widget under the pointer.
#define QTEST_QPA_MOUSE_HANDLING

#include "common/DesignerFixture.h"
#include "designer/DesignForm.h"
#include "designer/ObjectInspector.h"
#include "designer/PropertyGrid.h"
#include "designer/StretchHandle.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/StdDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include <memory>

class TestDesignSurface : public QObject, public TDesignerFixture {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void activateNeedsTemplate();
    void activateBuildsSurfaceFromTemplate();
    void createByClickNamesControls_data();
    void createByClickNamesControls();
    void lowestFreeNumberIsReused();
    void createControlThenClearSurface_data();
    void createControlThenClearSurface();
    void pendingCreationIsConsumedUnlessRepeated();
    void rubberBandSelects_data();
    void rubberBandSelects();
    void liveControlsAreSelectedNotUsed();
    void shiftClickExtendsAndShrinksSelection();
    void rightClickOnEmptySurface_data();
    void rightClickOnEmptySurface();
    void deleting_data();
    void deleting();
    void clipboardKeysRaiseTheirEvents();
    void gridDots();
    void previewIsAnIndependentCopy();
    void propertyRows();
    void setPropertyValueAppliesOrRestores();
    void propertyDescriptionsMerge();

private:
    QWidget *CreateByClick(const QString &className, const QPoint &at);

    QList<QWidget *> Created;
};

void TestDesignSurface::initTestCase()
{
    RegisterQuestionClasses();
    TDialogSeam::BeginScript();
}

void TestDesignSurface::init()
{
    CreateDesigner();
    Designer->SetGridX(8);
    Designer->SetGridY(8);
    Designer->OnCreateControl = [this](TObjectInspector *, QWidget *control) { Created << control; };
    QVERIFY(ActivateDesigner());
    QVERIFY(ShowSurface());
}

void TestDesignSurface::cleanup()
{
    DestroyDesigner();
    Created.clear();
    TDialogSeam::ClearShown();
}

QWidget *TestDesignSurface::CreateByClick(const QString &className, const QPoint &at)
{
    QString text;
    Designer->BeginCreateControl(className, text);
    if (text.isEmpty())
        return nullptr;
    const int before = Created.size();
    QTest::mouseClick(Surface, Qt::LeftButton, {}, at);
    return Created.size() > before ? Created.last() : nullptr;
}

void TestDesignSurface::activateNeedsTemplate()
{
    TObjectInspector bare;
    TDialogSeam::ClearShown();
    QVERIFY(!bare.Activate());
    QCOMPARE(TDialogSeam::LastText(), QStringLiteral("There is no form assigned to the Object Inspector!"));
    QCOMPARE(bare.DesignSurface(), nullptr);

    TDesignForm designForm;
    TDialogSeam::ClearShown();
    QVERIFY(!designForm.BuildSurface());
    QCOMPARE(TDialogSeam::LastText(), QStringLiteral("There is no form assigned to the Design Form!"));
}

void TestDesignSurface::activateBuildsSurfaceFromTemplate()
{
    QCOMPARE(Surface->objectName(), QStringLiteral("Form_Design"));
    QVERIFY(Surface != Template.get());
    QCOMPARE(Surface->size(), QSize(688, 453));
    QCOMPARE(ComponentOwner(Handle), Surface);
    QVERIFY(Handle->isHidden());
    QVERIFY(Designer->InspectorForm);
    QCOMPARE(Designer->InspectorForm->ComboBox_Object->currentText(), QStringLiteral("Form_Design"));

    // Activating again builds a fresh surface; the old one goes with its handle.
    QPointer<QWidget> old = Surface;
    QPointer<TStretchHandle> oldHandle = Handle;
    QVERIFY(Designer->Activate());
    QVERIFY(old.isNull());
    QVERIFY(oldHandle.isNull());
    QVERIFY(Designer->DesignSurface());
    Surface = Designer->DesignSurface();
}

void TestDesignSurface::createControlThenClearSurface_data()
{
    QTest::addColumn<QString>("className");
    for (const char *name :
         {"TQAMaskEdit", "TQACombobox", "TQADateTime", "TQARadioGroup", "TQAListbox", "TQARichEdit", "TNoSuchKind"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestDesignSurface::createControlThenClearSurface()
{
    QFETCH(QString, className);
    const bool known = className != QLatin1String("TNoSuchKind");
    QWidget *kept = CreateByClick(QStringLiteral("TQAMaskEdit"), QPoint(300, 200));
    QVERIFY(kept);
    TDialogSeam::ClearShown();

    QWidget *control = Designer->CreateControl(className, QPoint(40, 48));
    QCOMPARE(control != nullptr, known);
    QVERIFY(Designer->CreateText().isEmpty());
    if (known) {
        QCOMPARE(ComponentClassName(control), className);
        QCOMPARE(control->pos(), QPoint(40, 48));
        QVERIFY(control->isVisible());
        QCOMPARE(Created.last(), control);
        QCOMPARE(Designer->SelectedCount(), 1);
        QCOMPARE(Designer->SelectedControl(), control);
        QVERIFY(Designer->InspectorForm->ComboBox_Object->findText(control->objectName()) >= 0);
        QCOMPARE(Designer->DesignedControls(), (QList<QWidget *>{kept, control}));
        QVERIFY(TDialogSeam::Shown().isEmpty());
    } else {
        QCOMPARE(TDialogSeam::Shown().size(), 1);
        QCOMPARE(Designer->DesignedControls(), QList<QWidget *>{kept});
    }

    // Selected or not, every control goes, and the rows show the surface again.
    const QPointer<QWidget> keptGuard = kept;
    Designer->ClearSurface();
    QVERIFY(!keptGuard);
    QVERIFY(Designer->DesignedControls().isEmpty());
    QCOMPARE(Designer->SelectedCount(), 0);
    QCOMPARE(Designer->InspectorForm->ComboBox_Object->count(), 1);
    QCOMPARE(Designer->InspectorForm->ComboBox_Object->currentText(), QStringLiteral("Form_Design"));
}

void TestDesignSurface::createByClickNamesControls_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("edit box") << "TQAMaskEdit"
                              << "QAMaskEdit1"
                              << "QAMaskEdit2";
    QTest::newRow("list box") << "TQAListbox"
                              << "QAListbox1"
                              << "QAListbox2";
    QTest::newRow("date, class name in other case") << "tqadatetime"
                                                    << "QADateTime1"
                                                    << "QADateTime2";
}

void TestDesignSurface::createByClickNamesControls()
{
    QFETCH(QString, className);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QWidget *one = CreateByClick(className, QPoint(40, 48));
    QVERIFY(one);
    QCOMPARE(one->objectName(), first);
    QCOMPARE(one->pos(), QPoint(40, 48));
    QCOMPARE(one->parentWidget(), Surface);
    QCOMPARE(ComponentOwner(one), Surface);
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), one);
    QVERIFY(Designer->CreateText().isEmpty());

    QWidget *two = CreateByClick(className, QPoint(300, 200));
    QVERIFY(two);
    QCOMPARE(two->objectName(), second);
    QCOMPARE(Handle->SelectedControls(0), two);
    QCOMPARE(Designer->InspectorForm->ComboBox_Object->findText(second) >= 0, true);
}

void TestDesignSurface::lowestFreeNumberIsReused()
{
    QWidget *one = CreateByClick(QStringLiteral("TQAMaskEdit"), QPoint(40, 48));
    CreateByClick(QStringLiteral("TQAMaskEdit"), QPoint(40, 148));
    Handle->ClearSelection();
    Designer->SelectControl(one);
    Designer->InspectorForm->FDSubMenuItem_Delete->trigger();
    QWidget *again = CreateByClick(QStringLiteral("TQAMaskEdit"), QPoint(300, 48));
    QVERIFY(again);
    QCOMPARE(again->objectName(), QStringLiteral("QAMaskEdit1"));
    QWidget *third = CreateByClick(QStringLiteral("TQAMaskEdit"), QPoint(300, 148));
    QCOMPARE(third->objectName(), QStringLiteral("QAMaskEdit3"));
}

void TestDesignSurface::pendingCreationIsConsumedUnlessRepeated()
{
    QVERIFY(CreateByClick(QStringLiteral("TQACombobox"), QPoint(40, 48)));
    // Nothing armed any more: a click on the empty surface creates nothing.
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(300, 300));
    QCOMPARE(Created.size(), 1);

    Designer->RepeatCreate = true;
    QVERIFY(CreateByClick(QStringLiteral("TQACombobox"), QPoint(40, 148)));
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(300, 300));
    QCOMPARE(Created.size(), 3);
    QCOMPARE(Created.last()->objectName(), QStringLiteral("QACombobox3"));
    Designer->SetCreateText(QString());
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(400, 400));
    QCOMPARE(Created.size(), 3);

    // An unknown class arms nothing and says so.
    QString text = QStringLiteral("left alone?");
    Designer->BeginCreateControl(QStringLiteral("TNoSuchControl"), text);
    QVERIFY(text.isEmpty());
    QVERIFY(Designer->CreateText().isEmpty());
}

void TestDesignSurface::rubberBandSelects_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QStringList>("expected");
    // A (20,20), B (100,20), C (20,100); Inner at (5,5) inside a panel at (200,200).
    QTest::newRow("top-left to bottom-right") << QPoint(10, 10) << QPoint(110, 60) << QStringList{"A", "B"};
    QTest::newRow("bottom-right to top-left") << QPoint(110, 60) << QPoint(10, 10) << QStringList{"A", "B"};
    QTest::newRow("corners on the edges count") << QPoint(19, 19) << QPoint(100, 100) << QStringList{"A", "B", "C"};
    QTest::newRow("zero width selects nothing") << QPoint(10, 10) << QPoint(10, 300) << QStringList{};
    QTest::newRow("controls in a panel never") << QPoint(150, 150) << QPoint(400, 400) << QStringList{"Panel1"};
}

void TestDesignSurface::rubberBandSelects()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QStringList, expected);
    auto *panel = new QFrame(Surface);
    InsertComponent(Surface, panel);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(200, 200, 150, 100);
    panel->show();
    AddEdit(QStringLiteral("A"), QRect(20, 20, 60, 20));
    AddEdit(QStringLiteral("B"), QRect(100, 20, 60, 20));
    AddEdit(QStringLiteral("C"), QRect(20, 100, 60, 20));
    AddEdit(QStringLiteral("Inner"), QRect(5, 5, 60, 20), panel);

    QTest::mousePress(Surface, Qt::LeftButton, {}, from);
    QVERIFY(Designer->RubberBandActive());
    QTest::mouseMove(Surface, (from + to) / 2);
    QTest::mouseMove(Surface, to);
    QCOMPARE(Designer->RubberBand()->geometry(),
             QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                   QSize(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()))));
    QVERIFY(Designer->RubberBand()->isVisible());
    QTest::mouseRelease(Surface, Qt::LeftButton, {}, to);

    QVERIFY(!Designer->RubberBandActive());
    QVERIFY(Designer->RubberBand()->isHidden());
    QStringList selected;
    for (int i = 0; i < Handle->SelectedCount(); ++i)
        selected << Handle->SelectedControls(i)->objectName();
    selected.sort();
    QCOMPARE(selected, expected);
}

void TestDesignSurface::liveControlsAreSelectedNotUsed()
{
    auto *list = new TQAListbox(Surface, Surface);
    SetComponentName(list, QStringLiteral("QAListbox1"));
    list->SetAnswers(QStringList{QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue")});
    list->SetBounds(40, 40, 150, 90);
    list->show(); // controls the host puts on the surface are routed without being asked
    auto *edit = new TQAMaskEdit(Surface, Surface);
    SetComponentName(edit, QStringLiteral("QAMaskEdit1"));
    edit->SetBounds(250, 40, 120, 22);
    edit->show();

    // A click on the first item (the list's inner viewport) selects the list box itself.
    QWidget *viewport = list->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(10, 5));
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), list);
    QCOMPARE(list->currentRow(), -1);
    QCOMPARE(list->selectedItems().size(), 0);

    // A click into the edit box selects it; typing does not reach its text.
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(260, 50));
    QCOMPARE(Handle->SelectedControls(0), edit);
    QVERIFY(!edit->hasFocus());
    QTest::keyClicks(Handle, QStringLiteral("abc"));
    QVERIFY(edit->text().isEmpty());
}

void TestDesignSurface::shiftClickExtendsAndShrinksSelection()
{
    TQAMaskEdit *a = AddEdit(QStringLiteral("A"), QRect(20, 20, 60, 20));
    TQAMaskEdit *b = AddEdit(QStringLiteral("B"), QRect(200, 20, 60, 20));
    TQAMaskEdit *c = AddEdit(QStringLiteral("C"), QRect(20, 200, 60, 20));
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseClick(Surface, Qt::LeftButton, Qt::ShiftModifier, QPoint(210, 30));
    QTest::mouseClick(Surface, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 210));
    QCOMPARE(Handle->SelectedCount(), 3);
    // Shift+click on a selected control takes it out; the others keep their order.
    QTest::mouseClick(Surface, Qt::LeftButton, Qt::ShiftModifier, QPoint(210, 30));
    QCOMPARE(Handle->SelectedCount(), 2);
    QCOMPARE(Handle->SelectedControls(0), a);
    QCOMPARE(Handle->SelectedControls(1), c);
    // A plain click on another control selects it alone.
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(210, 30));
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), b);
}

void TestDesignSurface::rightClickOnEmptySurface_data()
{
    QTest::addColumn<bool>("emptySurfaceActions");
    QTest::newRow("actions on: clears and opens the menu") << true;
    QTest::newRow("actions off (authoring program): nothing") << false;
}

void TestDesignSurface::rightClickOnEmptySurface()
{
    QFETCH(bool, emptySurfaceActions);
    Designer->EmptySurfaceActions = emptySurfaceActions;
    int popups = 0;
    Designer->OnMenuPopup = [&](TObjectInspector *) { ++popups; };
    TQAMaskEdit *edit = AddEdit(QStringLiteral("A"), QRect(20, 20, 60, 20));
    Designer->SelectControl(edit);
    if (emptySurfaceActions && QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // A popup menu asks for raise and a keyboard grab, which this platform declines.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^This plugin does not support")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^This plugin does not support")));
    }
    QTest::mouseClick(Surface, Qt::RightButton, {}, QPoint(300, 300));
    QMenu *menu = Designer->InspectorForm->FDPopupMenu_Control;
    QCOMPARE(Handle->SelectedCount(), emptySurfaceActions ? 0 : 1);
    QCOMPARE(popups, emptySurfaceActions ? 1 : 0);
    QCOMPARE(menu->isVisible(), emptySurfaceActions);
    if (emptySurfaceActions) // nothing selected: nothing to delete or align
        QVERIFY(!Designer->InspectorForm->FDSubMenuItem_Delete->isEnabled());
    menu->hide();
}

void TestDesignSurface::deleting_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<bool>("allow");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QString>("selectedAfter");
    QTest::newRow("key, allowed") << true << true << QStringList{"First", "Second"} << "Second";
    QTest::newRow("key, refused") << true << false << QStringList{"First", "Second", "Third"} << "Third";
    QTest::newRow("menu, allowed") << false << true << QStringList{"First", "Second"} << "";
    QTest::newRow("menu, refused") << false << false << QStringList{"First", "Second", "Third"} << "Third";
}

void TestDesignSurface::deleting()
{
    QFETCH(bool, byKey);
    QFETCH(bool, allow);
    QFETCH(QStringList, remaining);
    QFETCH(QString, selectedAfter);
    AddEdit(QStringLiteral("First"), QRect(20, 20, 60, 20));
    AddEdit(QStringLiteral("Second"), QRect(20, 80, 60, 20));
    TQAMaskEdit *third = AddEdit(QStringLiteral("Third"), QRect(20, 140, 60, 20));
    QStringList events;
    Designer->OnBeforeDelete = [&](TObjectInspector *sender, bool &canDelete) {
        QCOMPARE(sender, Designer.get());
        QVERIFY(canDelete);
        events << QStringLiteral("before");
        canDelete = allow;
    };
    Designer->OnDelete = [&](TObjectInspector *, bool &success) {
        QVERIFY(success);
        events << QStringLiteral("after");
    };
    Designer->SelectControl(third);
    if (byKey)
        QTest::keyClick(Handle, Qt::Key_Delete);
    else
        Designer->InspectorForm->FDSubMenuItem_Delete->trigger();

    QCOMPARE(events, (allow ? QStringList{"before", "after"} : QStringList{"before"}));
    QStringList names;
    for (QObject *component : OwnedComponents(Surface))
        if (qobject_cast<TQAMaskEdit *>(component))
            names << component->objectName();
    QCOMPARE(names, remaining);
    QCOMPARE(Handle->SelectedCount() == 1 ? Handle->SelectedControls(0)->objectName() : QString(), selectedAfter);

    // With deletes switched off nothing is asked and nothing goes.
    events.clear();
    Designer->SetAllowDeletes(false);
    Designer->SelectControl(qobject_cast<QWidget *>(FindComponent(Surface, QStringLiteral("First"))));
    QTest::keyClick(Handle, Qt::Key_Delete);
    QVERIFY(events.isEmpty());
    QVERIFY(FindComponent(Surface, QStringLiteral("First")));
}

void TestDesignSurface::clipboardKeysRaiseTheirEvents()
{
    QWidget *original = CreateByClick(QStringLiteral("TQAMaskEdit"), QPoint(40, 48));
    QVERIFY(original);
    QStringList events;
    bool allowPaste = false;
    Designer->OnBeforeCopy = [&](TObjectInspector *, bool &) { events << QStringLiteral("copy"); };
    Designer->OnBeforePaste = [&](TObjectInspector *, bool &canPaste) {
        events << QStringLiteral("paste");
        canPaste = allowPaste;
    };

    // Switched off (as in the authoring program): the keys do nothing at all.
    Designer->SetCutAndPaste(false);
    QTest::keyClick(Handle, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(Handle, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(events.isEmpty());

    Designer->SetCutAndPaste(true);
    QTest::keyClick(Handle, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(Handle, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Created.size(), 1); // the refused paste made nothing
    allowPaste = true;
    QTest::keyClick(Handle, Qt::Key_V, Qt::ControlModifier);
    // Each key press asks once, also when the surface previews the keys of the handle.
    QCOMPARE(events, (QStringList{"copy", "paste", "paste"}));
    QCOMPARE(Created.size(), 2);
    QCOMPARE(ComponentOwner(Created.last()), Surface);
    QVERIFY(Created.last() != original);
    QCOMPARE(Created.last()->objectName(), QStringLiteral("QAMaskEdit2"));
}

void TestDesignSurface::gridDots()
{
    const QColor background = Surface->grab().toImage().pixelColor(4, 4);
    QVERIFY(background != QColor(Qt::black));
    Designer->SetDisplayGrid(true);
    QImage image = Surface->grab().toImage();
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(image.pixelColor(8, 16), QColor(Qt::black));
    QCOMPARE(image.pixelColor(680, 448), QColor(Qt::black));
    QCOMPARE(image.pixelColor(4, 4), background);
    QCOMPARE(image.pixelColor(9, 16), background);

    Designer->SetGridX(16);
    image = Surface->grab().toImage();
    QCOMPARE(image.pixelColor(8, 16), background);
    QCOMPARE(image.pixelColor(16, 16), QColor(Qt::black));

    Designer->SetDisplayGrid(false);
    image = Surface->grab().toImage();
    QCOMPARE(image.pixelColor(16, 16), background);
}

void TestDesignSurface::previewIsAnIndependentCopy()
{
    QWidget *edit = CreateByClick(QStringLiteral("TQAMaskEdit"), QPoint(40, 48));
    auto *radio = qobject_cast<TQARadioGroup *>(CreateByClick(QStringLiteral("TQARadioGroup"), QPoint(200, 100)));
    QVERIFY(edit && radio);
    radio->SetAnswers(QStringList{QStringLiteral("yes"), QStringLiteral("no")});
    radio->SetQuestion(QStringLiteral("Agreed?"));

    std::unique_ptr<QWidget> preview(Designer->CreatePreviewForm());
    QVERIFY(preview);
    QCOMPARE(preview->objectName(), QStringLiteral("Form_Preview"));
    QVERIFY(preview->isHidden());
    QCOMPARE(preview->findChildren<TStretchHandle *>().size(), 0);
    auto *copy = preview->findChild<TQARadioGroup *>(QStringLiteral("QARadioGroup1"));
    QVERIFY(copy);
    QVERIFY(copy != radio);
    QCOMPARE(copy->Question(), QStringLiteral("Agreed?"));
    QCOMPARE(copy->Answers()->Lines(), (QStringList{QStringLiteral("yes"), QStringLiteral("no")}));
    QCOMPARE(copy->geometry(), radio->geometry());
    QVERIFY(preview->findChild<TQAMaskEdit *>(QStringLiteral("QAMaskEdit1")));

    copy->SetQuestion(QStringLiteral("changed"));
    QCOMPARE(radio->Question(), QStringLiteral("Agreed?"));
}

void TestDesignSurface::propertyRows()
{
    Designer->SetSupportedProps({"Answers", "Chapter", "CharCase", "Columns", "CorrectAnswer", "CorrectAnswers",
                                 "Course", "EditMask", "Font", "Height", "ID", "MultiSelect", "Question", "Sorted",
                                 "Width"});
    Designer->SetUnEditableProps({"ID"});
    Designer->RefreshInspector();
    // Nothing selected: the surface's own rows.
    QStringList names;
    for (int i = 0; i < Designer->PropertyList().Count(); ++i)
        names << Designer->PropertyList().Row(i).Name;
    QCOMPARE(names, (QStringList{"Font", "Height", "Width"}));

    TQAMaskEdit *edit = AddEdit(QStringLiteral("QAMaskEdit1"), QRect(20, 20, 100, 20));
    Designer->SelectControl(edit);
    names.clear();
    for (int i = 0; i < Designer->PropertyList().Count(); ++i)
        names << Designer->PropertyList().Row(i).Name;
    QCOMPARE(names,
             (QStringList{"CharCase", "CorrectAnswer", "EditMask", "Font", "Height", "ID", "Question", "Width"}));
    QCOMPARE(Designer->FindPropertyRow(QStringLiteral("id")), -1);
    const int idRow = Designer->FindPropertyRow(QStringLiteral("ID"));
    QVERIFY(idRow >= 0);
    QCOMPARE(Designer->PropertyList().Row(idRow).EditMode, emNoEdit);
    QCOMPARE(Designer->PropertyList().Row(Designer->FindPropertyRow("Font")).Value, QStringLiteral("(TFont)"));

    QString value = QStringLiteral("untouched");
    Designer->GetPropertyValue(Designer->PropertyList().Count(), value);
    Designer->GetPropertyValue(-1, value);
    QCOMPARE(value, QStringLiteral("untouched"));
    Designer->GetPropertyValue(Designer->FindPropertyRow("Width"), value);
    QCOMPARE(value, QStringLiteral("100"));

    // Two controls: only common properties, empty where the values differ.
    TQAMaskEdit *wide = AddEdit(QStringLiteral("QAMaskEdit2"), QRect(20, 80, 120, 20));
    Designer->SelectControl(wide);
    Designer->GetPropertyValue(Designer->FindPropertyRow("Width"), value);
    QCOMPARE(value, QString());
    Designer->GetPropertyValue(Designer->FindPropertyRow("Height"), value);
    QCOMPARE(value, QStringLiteral("20"));

    // Supported "Width" and "Height" with "Width" unsupported lists only "Height".
    Designer->SetSupportedProps({"Width", "Height"});
    Designer->SetUnSupportedProps({"width"});
    Designer->RefreshInspector();
    QCOMPARE(Designer->PropertyList().Count(), 1);
    QCOMPARE(Designer->PropertyList().Row(0).Name, QStringLiteral("Height"));
}

void TestDesignSurface::setPropertyValueAppliesOrRestores()
{
    Designer->SetSupportedProps({"Width", "Height", "Question", "CharCase"});
    TQAMaskEdit *a = AddEdit(QStringLiteral("A"), QRect(20, 20, 100, 20));
    TQAMaskEdit *b = AddEdit(QStringLiteral("B"), QRect(20, 80, 120, 20));
    Designer->SelectControl(a);
    Designer->SelectControl(b);
    const int width = Designer->FindPropertyRow(QStringLiteral("Width"));
    QVERIFY(Designer->SetPropertyValue(width, QStringLiteral("90")));
    QCOMPARE(a->width(), 90);
    QCOMPARE(b->width(), 90);
    // The handle was re-fitted around the new bounds.
    QCOMPARE(Handle->geometry(), QRect(QPoint(18, 18), QPoint(20 + 90 + 2, 80 + 20 + 2)));
    QString name;
    Designer->SelectedPropertyName(name);
    QCOMPARE(name, QStringLiteral("Width"));

    const int charCase = Designer->FindPropertyRow(QStringLiteral("CharCase"));
    QVERIFY(!Designer->SetPropertyValue(charCase, QStringLiteral("ecNoSuchCase")));
    QString value;
    Designer->GetPropertyValue(charCase, value);
    QCOMPARE(value, QStringLiteral("ecNormal"));
    QVERIFY(!Designer->SetPropertyValue(Designer->PropertyList().Count(), QStringLiteral("1")));
    QVERIFY(!Designer->SetPropertyValue(-1, QStringLiteral("1")));

    // Nothing selected: the surface itself takes the value.
    Handle->ClearSelection();
    Designer->RefreshInspector();
    QVERIFY(Designer->SetPropertyValue(Designer->FindPropertyRow(QStringLiteral("Width")), QStringLiteral("600")));
    QCOMPARE(Surface->width(), 600);
}

void TestDesignSurface::propertyDescriptionsMerge()
{
    Designer->SetPropertyDescriptions(
        {QStringLiteral("Align=first"), QStringLiteral("Width=how wide"), QStringLiteral("ALIGN=later")});
    TInspector *window = Designer->InspectorForm;
    QCOMPARE(window->DescriptionNames, (QStringList{QStringLiteral("Align"), QStringLiteral("Width")}));
    QCOMPARE(window->DescriptionTexts, (QStringList{QStringLiteral("later"), QStringLiteral("how wide")}));
    window->ShowDescription(QStringLiteral("width"));
    QCOMPARE(window->Label_Desc->text(), QStringLiteral("how wide"));
}

QTEST_MAIN(TestDesignSurface)
#include "tst_designsurface.moc"
