// Editing properties through the inspector's grid as the teacher does it: clicking
// rows, typing, Enter, pick lists, the T/F keys, the ellipsis button and the checks
// made when a cell is left.

#include "common/ColorNames.h"
#include "common/DesignerFixture.h"
#include "common/ModalWindows.h"
#include "designer/DesignForm.h"
#include "designer/EditMaskDialog.h"
#include "designer/ObjectInspector.h"
#include "designer/PropertyGrid.h"
#include "designer/StretchHandle.h"
#include "designer/StringEdit.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include <functional>
#include <memory>

class TestPropertyEdit : public QObject, public TDesignerFixture {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void severalControlsShareCommonRows();
    void surfaceRowsWhenNothingSelected();
    void supportedListsFilterRows();
    void colorRows_data();
    void colorRows();
    void colorPickListAppliesAndCancelKeepsValue();
    void tagBitsLockRows_data();
    void tagBitsLockRows();
    void invalidNumberKeepsRow_data();
    void invalidNumberKeepsRow();
    void booleanKeyAppliesAtOnce_data();
    void booleanKeyAppliesAtOnce();
    void stringRowsFollowTyping();
    void specialRowsFollowKind_data();
    void specialRowsFollowKind();
    void editMaskEllipsis();
    void stringsEllipsis_data();
    void stringsEllipsis();
    void editButtonPropsGoToHost();
    void fontEllipsis_data();
    void fontEllipsis();

private:
    void Select(const QList<QWidget *> &controls);
    int RowOf(const QString &name) const;
    QString CellValue(int row) const;
    TPropEditMode ModeOf(const QString &name) const;
    void ClickValue(int row);

    TInspector *Window = nullptr;
    TPropertyGrid *Grid = nullptr;
    int EditButtonEvents = 0;
};

void TestPropertyEdit::initTestCase()
{
    RegisterQuestionClasses();
    TDialogSeam::BeginScript();
}

void TestPropertyEdit::init()
{
    CreateDesigner();
    Designer->SetBitMaskProps({QStringLiteral("Color"), QStringLiteral("DragKind")});
    EditButtonEvents = 0;
    Designer->OnEditButtonClick = [this](TObjectInspector *) { ++EditButtonEvents; };
    QVERIFY(ActivateDesigner());
    Window = Designer->InspectorForm;
    Grid = Window->PropertyGrid;
    Surface->move(0, 0);
    Surface->show();
    Window->setGeometry(700, 0, 260, 600);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window));
    TDialogSeam::ClearShown();
}

void TestPropertyEdit::cleanup()
{
    const bool closed = CloseModalWindows();
    DestroyDesigner();
    // Drops answers a failed test left queued.
    TDialogSeam::BeginScript();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestPropertyEdit::Select(const QList<QWidget *> &controls)
{
    Handle->ClearSelection();
    for (QWidget *control : controls)
        Handle->Attach(control);
    Designer->RefreshInspector();
}

int TestPropertyEdit::RowOf(const QString &name) const
{
    return Designer->FindPropertyRow(name);
}

QString TestPropertyEdit::CellValue(int row) const
{
    return Grid->Cells(Grid->ValueCol(), row);
}

TPropEditMode TestPropertyEdit::ModeOf(const QString &name) const
{
    const int row = RowOf(name);
    return row < 0 ? emSimple : Grid->PropValues()->Items(row)->EditMode();
}

void TestPropertyEdit::ClickValue(int row)
{
    QVERIFY(row >= 0);
    Grid->SetTopRow(std::min(row, Grid->RowCount() - 1));
    const QRect rect = Grid->CellRect(Grid->ValueCol(), row);
    QVERIFY(!rect.isEmpty());
    QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, rect.center());
}

void TestPropertyEdit::severalControlsShareCommonRows()
{
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    auto *b = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit2"), QRect(10, 50, 120, 21));
    auto *c = Add<TQACombobox>(QStringLiteral("QACombobox1"), QRect(10, 90, 120, 21));
    Select({a, b, c});
    QVERIFY(RowOf(QStringLiteral("Width")) >= 0);
    QCOMPARE(RowOf(QStringLiteral("EditMask")), -1); // the combo box has none
    QCOMPARE(RowOf(QStringLiteral("Answers")), -1); // the edit boxes have none

    Select({a, b});
    const int width = RowOf(QStringLiteral("Width"));
    QCOMPARE(CellValue(width), QString());
    QCOMPARE(CellValue(RowOf(QStringLiteral("Left"))), QStringLiteral("10"));

    // Leaving the empty row changes nothing and asks nothing.
    ClickValue(width);
    QCOMPARE(Grid->Row(), width);
    ClickValue(RowOf(QStringLiteral("Left")));
    QCOMPARE(Grid->Row(), RowOf(QStringLiteral("Left")));
    QCOMPARE(TDialogSeam::Shown().size(), 0);
    QCOMPARE(a->width(), 100);
    QCOMPARE(b->width(), 120);

    QSignalSpy edits(Grid, &TCustomPrGrid::OnSetEditText);
    ClickValue(width);
    QTest::keyClicks(Grid->PropertyEditor(), QStringLiteral("90"));
    QCOMPARE(edits.size(), 2);
    QCOMPARE(a->width(), 100); // typing alone applies nothing
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return);
    QCOMPARE(a->width(), 90);
    QCOMPARE(b->width(), 90);
    QCOMPARE(CellValue(width), QStringLiteral("90"));
    // The refreshed rows came back without raising edits.
    QCOMPARE(edits.size(), 2);
    QCOMPARE(TDialogSeam::Shown().size(), 0);
}

void TestPropertyEdit::surfaceRowsWhenNothingSelected()
{
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    Select({});
    QVERIFY(RowOf(QStringLiteral("Caption")) >= 0); // the surface's own
    QCOMPARE(RowOf(QStringLiteral("EditMask")), -1); // not the control's
    QCOMPARE(RowOf(QStringLiteral("KeyPreview")), -1); // never listed
    for (const char *name : {"Align", "Enabled", "Visible"})
        QCOMPARE(ModeOf(QLatin1String(name)), emNoEdit);
    QCOMPARE(ModeOf(QStringLiteral("Width")), emSimple);
    QCOMPARE(ModeOf(QStringLiteral("Color")), emPickList);
    QVERIFY(!Designer->PropertyList().IsEditable(QStringLiteral("Name"), {}));

    // Typing into a surface row sets the surface.
    ClickValue(RowOf(QStringLiteral("Caption")));
    QTest::keyClicks(Grid->PropertyEditor(), QStringLiteral("Q1"));
    QCOMPARE(GetPropValue(Surface, QStringLiteral("Caption")), QStringLiteral("Q1"));

    Select({a});
    QCOMPARE(ModeOf(QStringLiteral("Enabled")), emPickList);
    QCOMPARE(ModeOf(QStringLiteral("Visible")), emPickList);
    QVERIFY(!Designer->PropertyList().IsEditable(QStringLiteral("Name"), {a}));
}

void TestPropertyEdit::supportedListsFilterRows()
{
    Designer->SetSupportedProps({QStringLiteral("Font"), QStringLiteral("Height"), QStringLiteral("Width")});
    Select({});
    QStringList names;
    for (int i = 0; i < Designer->PropertyList().Count(); ++i)
        names << Designer->PropertyList().Row(i).Name;
    QCOMPARE(names, (QStringList{QStringLiteral("Font"), QStringLiteral("Height"), QStringLiteral("Width")}));
    QCOMPARE(CellValue(0), QStringLiteral("(TFont)"));
    QCOMPARE(ModeOf(QStringLiteral("Font")), emEllipsis);

    Designer->SetSupportedProps({QStringLiteral("width"), QStringLiteral("Height")});
    Designer->SetUnSupportedProps({QStringLiteral("Width")});
    Select({});
    QCOMPARE(Designer->PropertyList().Count(), 1);
    QCOMPARE(Designer->PropertyList().Row(0).Name, QStringLiteral("Height"));
}

void TestPropertyEdit::colorRows_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("shown");
    QTest::newRow("silver") << 12632256 << QStringLiteral("clSilver");
    QTest::newRow("red") << 255 << QStringLiteral("clRed");
    QTest::newRow("system colour") << int(clBtnFace) << QStringLiteral("clBtnFace");
    QTest::newRow("last entry") << int(clInfoBk) << QStringLiteral("clInfoBk");
    QTest::newRow("not in the table") << 12345 << QStringLiteral("12345");
}

void TestPropertyEdit::colorRows()
{
    QFETCH(int, color);
    QFETCH(QString, shown);
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    a->SetColor(color);
    Select({a});
    const int row = RowOf(QStringLiteral("Color"));
    QCOMPARE(CellValue(row), shown);
    QCOMPARE(Grid->PropValues()->Items(row)->PropertyType(), QStringLiteral("TColor"));
    QCOMPARE(*Grid->PropValues()->Items(row)->PickList(), ColorNames());
    QCOMPARE(TPropertyList::IdentifierToColor(shown), shown.startsWith(QLatin1String("cl")) ? color : clWindow);
    QCOMPARE(TPropertyList::ColorToIdentifier(color), shown);
}

void TestPropertyEdit::colorPickListAppliesAndCancelKeepsValue()
{
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    a->SetColor(12345);
    Select({a});
    const int row = RowOf(QStringLiteral("Color"));
    ClickValue(row);
    TPropertyInplaceEdit *editor = Grid->PropertyEditor();

    // Opening and cancelling the list must not turn an unnamed colour into clWindow.
    QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(editor->ListVisible());
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!editor->ListVisible());
    QCOMPARE(a->Color(), 12345);

    QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClicks(editor, QStringLiteral("clR"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(a->Color(), clRed);
    QCOMPARE(CellValue(row), QStringLiteral("clRed"));
}

void TestPropertyEdit::tagBitsLockRows_data()
{
    QTest::addColumn<bool>("bitMaskTags");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("editable");
    QTest::newRow("1024 locks DragKind") << true << 1024 << QStringLiteral("DragKind") << false;
    QTest::newRow("1024 leaves Color") << true << 1024 << QStringLiteral("Color") << true;
    QTest::newRow("512 locks Color") << true << 512 << QStringLiteral("Color") << false;
    QTest::newRow("1 locks Visible") << true << 1 << QStringLiteral("Visible") << false;
    QTest::newRow("1 leaves Enabled") << true << 1 << QStringLiteral("Enabled") << true;
    QTest::newRow("2 locks Enabled") << true << 2 << QStringLiteral("Enabled") << false;
    QTest::newRow("4 locks ReadOnly") << true << 4 << QStringLiteral("ReadOnly") << false;
    QTest::newRow("bits ignored when off") << false << 1024 + 1 << QStringLiteral("DragKind") << true;
}

void TestPropertyEdit::tagBitsLockRows()
{
    QFETCH(bool, bitMaskTags);
    QFETCH(int, tag);
    QFETCH(QString, name);
    QFETCH(bool, editable);
    Designer->SetBitMaskTags(bitMaskTags);
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    auto *b = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit2"), QRect(10, 50, 100, 21));
    a->Tag = tag;
    Select({a});
    const TPropEditMode open = name == QLatin1String("Color") || name == QLatin1String("DragKind") ||
                                       name == QLatin1String("Visible") || name == QLatin1String("Enabled") ||
                                       name == QLatin1String("ReadOnly")
                                   ? emPickList
                                   : emSimple;
    QCOMPARE(ModeOf(name), editable ? open : emNoEdit);
    // One locked control among several locks the row for all.
    Select({b, a});
    QCOMPARE(ModeOf(name), editable ? open : emNoEdit);
    Select({b});
    QCOMPARE(ModeOf(name), open);
}

void TestPropertyEdit::invalidNumberKeepsRow_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("integer") << QStringLiteral("TQAMaskEdit") << QStringLiteral("Width") << QStringLiteral("abc")
                             << QStringLiteral("\"abc\" is not a valid integer value.");
    QTest::newRow("integer out of range")
        << QStringLiteral("TQAMaskEdit") << QStringLiteral("Width") << QStringLiteral("99999999999")
        << QStringLiteral("\"99999999999\" is not a valid integer value.");
    QTest::newRow("float") << QStringLiteral("TQADateTime") << QStringLiteral("DateAnswer") << QStringLiteral("x1")
                           << QStringLiteral("\"x1\" is not a valid floating point value.");
}

void TestPropertyEdit::invalidNumberKeepsRow()
{
    QFETCH(QString, className);
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QWidget *control = CreateComponent(className, Surface, Surface);
    QVERIFY(control);
    SetComponentName(control, QStringLiteral("Control1"));
    control->show();
    Select({control});
    const int row = RowOf(name);
    const QString before = GetPropValue(control, name);
    ClickValue(row);
    QTest::keyClicks(Grid->PropertyEditor(), typed);
    // Enter with an invalid text does nothing; the message comes on leaving.
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return);
    QCOMPARE(TDialogSeam::Shown().size(), 0);
    ClickValue(RowOf(QStringLiteral("Top")));
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::LastText(), message);
    QCOMPARE(TDialogSeam::Shown().last().DlgType, int(MsgWarning));
    QCOMPARE(Grid->Row(), row);
    QCOMPARE(GetPropValue(control, name), before);

    // A valid text is applied when the row is left.
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Grid->PropertyEditor(), QStringLiteral("42"));
    ClickValue(RowOf(QStringLiteral("Top")));
    QCOMPARE(Grid->Row(), RowOf(QStringLiteral("Top")));
    QCOMPARE(GetPropValue(control, name), QStringLiteral("42"));
    QCOMPARE(Window->Label_Property->text(), QStringLiteral("Top"));
}

void TestPropertyEdit::booleanKeyAppliesAtOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("tag");
    QTest::newRow("T") << QStringLiteral("ReadOnly") << QStringLiteral("T") << QStringLiteral("True") << 0;
    QTest::newRow("t") << QStringLiteral("ReadOnly") << QStringLiteral("t") << QStringLiteral("True") << 0;
    QTest::newRow("f") << QStringLiteral("AutoSelect") << QStringLiteral("f") << QStringLiteral("False") << 0;
    QTest::newRow("other keys do nothing")
        << QStringLiteral("AutoSelect") << QStringLiteral("x") << QStringLiteral("True") << 0;
    QTest::newRow("locked row ignores F")
        << QStringLiteral("Visible") << QStringLiteral("f") << QStringLiteral("True") << 1;
}

void TestPropertyEdit::booleanKeyAppliesAtOnce()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(int, tag);
    Designer->SetBitMaskTags(true);
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    a->Tag = tag;
    Select({a});
    const int row = RowOf(name);
    ClickValue(row);
    QTest::keyClicks(Grid->PropertyEditor(), key);
    QCOMPARE(GetPropValue(a, name), expected);
    QCOMPARE(CellValue(row), expected);
}

void TestPropertyEdit::stringRowsFollowTyping()
{
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    auto *b = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit2"), QRect(10, 50, 100, 21));
    Select({a});
    ClickValue(RowOf(QStringLiteral("Hint")));
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_X);
    QCOMPARE(a->Hint(), QStringLiteral("x"));
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Y);
    QCOMPARE(a->Hint(), QStringLiteral("xy"));

    b->SetHint(QStringLiteral("other"));
    Select({a, b});
    const int row = RowOf(QStringLiteral("Hint"));
    QCOMPARE(CellValue(row), QString());
    ClickValue(row);
    // Keys that do not edit must not wipe the differing values.
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Home);
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Shift);
    QCOMPARE(a->Hint(), QStringLiteral("xy"));
    QCOMPARE(b->Hint(), QStringLiteral("other"));
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Backspace);
    QCOMPARE(a->Hint(), QString());
    QCOMPARE(b->Hint(), QString());
    QTest::keyClicks(Grid->PropertyEditor(), QStringLiteral("same"));
    QCOMPARE(a->Hint(), QStringLiteral("same"));
    QCOMPARE(b->Hint(), QStringLiteral("same"));
}

void TestPropertyEdit::specialRowsFollowKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("dateMode");
    QTest::newRow("date") << QStringLiteral("dtkDate") << int(emPickList);
    QTest::newRow("time") << QStringLiteral("dtkTime") << int(emNoEdit);
}

void TestPropertyEdit::specialRowsFollowKind()
{
    QFETCH(QString, kind);
    QFETCH(int, dateMode);
    QWidget *picker = CreateComponent(QStringLiteral("TQADateTime"), Surface, Surface);
    SetComponentName(picker, QStringLiteral("QADateTime1"));
    picker->show();
    SetPropValue(picker, QStringLiteral("Kind"), kind);
    Select({picker});
    ClickValue(RowOf(QStringLiteral("DateMode")));
    QCOMPARE(int(ModeOf(QStringLiteral("DateMode"))), dateMode);
    QCOMPARE(int(Grid->PropertyEditor()->EditStyle()), dateMode);
}

void TestPropertyEdit::editMaskEllipsis()
{
    auto *a = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(10, 10, 100, 21));
    Select({a});
    const int row = RowOf(QStringLiteral("EditMask"));
    QCOMPARE(ModeOf(QStringLiteral("EditMask")), emEllipsis);
    ClickValue(row);
    WhenModal(this, [](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_Editmask *>(modal);
        QVERIFY(dialog);
        QTableWidget *samples = dialog->StringGrid_SampleMask;
        const QRect cell = samples->visualItemRect(samples->item(2, 0));
        QTest::mouseClick(samples->viewport(), Qt::LeftButton, {}, cell.center());
        dialog->BitBtn_Ok->click();
    });
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(a->EditMask(), QStringLiteral("99999;1;"));
    QCOMPARE(CellValue(row), QStringLiteral("99999;1;"));
    QCOMPARE(EditButtonEvents, 1);

    // Cancelled: nothing changes.
    WhenModal(this, [](QWidget *modal) { qobject_cast<TForm_Editmask *>(modal)->BitBtn_Cancel->click(); });
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(a->EditMask(), QStringLiteral("99999;1;"));
}

void TestPropertyEdit::stringsEllipsis_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
}

void TestPropertyEdit::stringsEllipsis()
{
    QFETCH(bool, ok);
    auto *combo = Add<TQACombobox>(QStringLiteral("QACombobox1"), QRect(10, 10, 120, 21));
    SetPropValue(combo, QStringLiteral("Answers.Strings"), QStringLiteral("one"));
    Select({combo});
    const int row = RowOf(QStringLiteral("Answers"));
    QCOMPARE(CellValue(row), QStringLiteral("(TStrings)"));
    ClickValue(row);
    WhenModal(this, [ok](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_StringEdit *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->RichEdit_Strings->toPlainText(), QStringLiteral("one"));
        dialog->RichEdit_Strings->setPlainText(QStringLiteral("alpha\nbeta\n"));
        if (ok)
            dialog->Button_Ok->click();
        else
            dialog->close();
    });
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(GetPropValue(combo, QStringLiteral("Answers.Strings")),
             ok ? QStringLiteral("alpha\r\nbeta") : QStringLiteral("one"));
}

void TestPropertyEdit::editButtonPropsGoToHost()
{
    Designer->SetEditButtonProps({QStringLiteral("Answers"), QStringLiteral("CorrectAnswer")});
    auto *combo = Add<TQACombobox>(QStringLiteral("QACombobox1"), QRect(10, 10, 120, 21));
    SetPropValue(combo, QStringLiteral("Answers.Strings"), QStringLiteral("one"));
    Select({combo});
    QCOMPARE(ModeOf(QStringLiteral("CorrectAnswer")), emEllipsis);
    ClickValue(RowOf(QStringLiteral("Answers")));
    // No strings editor: a modal window here would never close and time the test out.
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(EditButtonEvents, 1);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(GetPropValue(combo, QStringLiteral("Answers.Strings")), QStringLiteral("one"));
}

void TestPropertyEdit::fontEllipsis_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("effects");
    QTest::newRow("edit box") << QStringLiteral("TQAMaskEdit") << true;
    QTest::newRow("date picker") << QStringLiteral("TQADateTime") << false;
}

void TestPropertyEdit::fontEllipsis()
{
    QFETCH(QString, className);
    QFETCH(bool, effects);
    QWidget *first = CreateComponent(className, Surface, Surface);
    QWidget *second = CreateComponent(QStringLiteral("TQAMaskEdit"), Surface, Surface);
    SetComponentName(first, QStringLiteral("First1"));
    SetComponentName(second, QStringLiteral("Second1"));
    Select({first, second});
    const int row = RowOf(QStringLiteral("Font"));
    QCOMPARE(CellValue(row), QStringLiteral("(TFont)"));
    ClickValue(row);
    QFont chosen(QStringLiteral("Courier New"));
    chosen.setPixelSize(20);
    chosen.setBold(true);
    TDialogSeam::SetNextAnswer(ResultOK, chosen.toString());
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().last().Caption, QStringLiteral("Font"));
    QCOMPARE(Window->FontDialog.Effects, effects);
    for (QWidget *control : {first, second}) {
        QCOMPARE(GetPropValue(control, QStringLiteral("Font.Name")), QStringLiteral("Courier New"));
        QCOMPARE(GetPropValue(control, QStringLiteral("Font.Style")), QStringLiteral("[fsBold]"));
    }

    // Cancelled: the fonts stay.
    TDialogSeam::SetNextAnswer(ResultCancel);
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(GetPropValue(second, QStringLiteral("Font.Name")), QStringLiteral("Courier New"));
}

QTEST_MAIN(TestPropertyEdit)
#include "tst_propertyedit.moc"
