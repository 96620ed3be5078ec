// The inspector in a teacher's hands: the Strings Editor, keyboard moves and sizes, numbers
// typed without Enter, refused values, the Input Mask Editor and the font dialog, each
// driven by keys and clicks into the real widgets.

#include "common/DesignerFixture.h"
#include "common/ModalWindows.h"
#include "common/Typing.h"
#include "designer/DesignForm.h"
#include "designer/EditMaskDialog.h"
#include "designer/ObjectInspector.h"
#include "designer/PropertyGrid.h"
#include "designer/PropertyInplaceEdit.h"
#include "designer/StretchHandle.h"
#include "designer/StringEdit.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <functional>
#include <memory>

class TestInspectorHands : public QObject, public TDesignerFixture {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stringsEditorAnswersReachTheChoices_data();
    void stringsEditorAnswersReachTheChoices();
    void stringsEditorOtherListsTakeTheLines();
    void rowsFollowKeyboardMovesSizesAndSelection();
    void keyboardSizingStopsAtTheMinimum();
    void numberTypedWithoutEnterIsAppliedWhenSurfaceIsClicked();
    void refusedNumberStaysSelectedForCorrecting();
    void inputMaskEditorOpensOnTheCurrentMask();
    void fontDialogFollowsTheEffectsRuleAndOffersColour();
    void rowsAreReadOutByName();
    void stringsEditorLetsTabLeave();

private:
    void Select(QWidget *control);
    void ClickValue(int row);
    int RowOf(const QString &name) const { return Designer->FindPropertyRow(name); }
    QString CellValue(int row) const
    {
        return row >= 0 && row < Grid->RowCount() ? Grid->Cells(Grid->ValueCol(), row) : QStringLiteral("(no row)");
    }
    QStringList RowNames() const;

    TInspector *Window = nullptr;
    TPropertyGrid *Grid = nullptr;
};

void TestInspectorHands::initTestCase()
{
    RegisterQuestionClasses();
}

void TestInspectorHands::init()
{
    TDialogSeam::BeginScript();
    CreateDesigner();
    // As the authoring program lists them: Answers opens the Strings Editor, the
    // correct answers go to the host.
    Designer->SetEditButtonProps({QStringLiteral("Course"), QStringLiteral("CorrectAnswer")});
    QVERIFY(ActivateDesigner());
    Window = Designer->InspectorForm;
    Grid = Window->PropertyGrid;
    Surface->setGeometry(0, 0, 640, 460);
    Surface->show();
    Window->setGeometry(700, 0, 260, 600);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window));
    TDialogSeam::ClearShown();
}

void TestInspectorHands::cleanup()
{
    const bool closed = CloseModalWindows();
    DestroyDesigner();
    TDialogSeam::EndScript();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestInspectorHands::Select(QWidget *control)
{
    // As the teacher does: a click on the control.
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), control);
}

void TestInspectorHands::ClickValue(int row)
{
    QVERIFY(row >= 0);
    Grid->SetTopRow(std::min(row, Grid->RowCount() - 1));
    const QRect rect = Grid->CellRect(Grid->ValueCol(), row);
    QVERIFY(!rect.isEmpty());
    QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, rect.center());
}

QStringList TestInspectorHands::RowNames() const
{
    QStringList names;
    for (int row = 0; row < Grid->RowCount(); ++row)
        names << Grid->Cells(0, row) + QLatin1Char('=') + CellValue(row);
    return names;
}

void TestInspectorHands::stringsEditorAnswersReachTheChoices_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("ctrlEnter");
    QTest::newRow("radio group, ellipsis button") << QStringLiteral("TQARadioGroup") << false;
    QTest::newRow("radio group, Ctrl+Enter") << QStringLiteral("TQARadioGroup") << true;
    QTest::newRow("list box, ellipsis button") << QStringLiteral("TQAListbox") << false;
    QTest::newRow("list box, Ctrl+Enter") << QStringLiteral("TQAListbox") << true;
}

void TestInspectorHands::stringsEditorAnswersReachTheChoices()
{
    QFETCH(QString, className);
    QFETCH(bool, ctrlEnter);
    QWidget *control = CreateComponent(className, Surface, Surface);
    QVERIFY(control);
    SetComponentName(control, QStringLiteral("Choices1"));
    control->setGeometry(20, 20, 185, 105);
    control->show();
    Designer->RouteMouseEvents();
    Select(control);

    const int row = RowOf(QStringLiteral("Answers"));
    QCOMPARE(CellValue(row), QStringLiteral("(TStrings)"));
    ClickValue(row);
    const QStringList typed{QStringLiteral("Europe"), QStringLiteral("Asia"), QStringLiteral("Africa")};
    WhenModal(this, [this, typed](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_StringEdit *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Strings Editor"));
        TypeLines(dialog->RichEdit_Strings, typed);
        QTest::mouseClick(dialog->Button_Ok, Qt::LeftButton);
    });
    TPropertyInplaceEdit *editor = Grid->PropertyEditor();
    if (ctrlEnter) {
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    } else {
        // The ellipsis button sits at the editor's right edge.
        QTest::mouseClick(editor, Qt::LeftButton, {}, QPoint(editor->width() - 4, editor->height() / 2));
    }
    QTRY_VERIFY(!QApplication::activeModalWidget());

    QCOMPARE(GetPropValue(control, QStringLiteral("Answers.Strings")), typed.join(QStringLiteral("\r\n")));
    // The choices the student sees follow the answers.
    QCOMPARE(GetPropValue(control, QStringLiteral("Items.Strings")), typed.join(QStringLiteral("\r\n")));
    if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        QStringList captions;
        for (QRadioButton *button : radio->findChildren<QRadioButton *>())
            captions << button->text();
        QCOMPARE(captions, typed);
    } else {
        auto *list = qobject_cast<TQAListbox *>(control);
        QVERIFY(list);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(1)->text(), QStringLiteral("Asia"));
    }
}

void TestInspectorHands::stringsEditorOtherListsTakeTheLines()
{
    // Every other list row goes the same way: through its setter.
    auto *list = Add<TQAListbox>(QStringLiteral("QAListbox1"), QRect(20, 20, 185, 105));
    list->SetMultiSelect(true);
    Select(list);
    const struct {
        const char *Row;
        QStringList Lines;
    } rows[] = {{"Items", {QStringLiteral("red"), QStringLiteral("green")}},
                {"CorrectAnswers", {QStringLiteral("green")}}};
    for (const auto &each : rows) {
        const QString name = QString::fromLatin1(each.Row);
        ClickValue(RowOf(name));
        const QStringList lines = each.Lines;
        WhenModal(this, [this, lines](QWidget *modal) {
            auto *dialog = qobject_cast<TForm_StringEdit *>(modal);
            QVERIFY(dialog);
            TypeLines(dialog->RichEdit_Strings, lines);
            QTest::mouseClick(dialog->Button_Ok, Qt::LeftButton);
        });
        QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(GetPropValue(list, name + QStringLiteral(".Strings")), lines.join(QStringLiteral("\r\n")));
    }
    QCOMPARE(list->count(), 2);

    auto *memo = Add<TQARichEdit>(QStringLiteral("QARichEdit1"), QRect(20, 200, 185, 89));
    Select(memo);
    ClickValue(RowOf(QStringLiteral("Lines")));
    WhenModal(this, [this](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_StringEdit *>(modal);
        QVERIFY(dialog);
        TypeLines(dialog->RichEdit_Strings, {QStringLiteral("first"), QStringLiteral("second")});
        QTest::mouseClick(dialog->Button_Ok, Qt::LeftButton);
    });
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(memo->Text(), QStringLiteral("first\r\nsecond"));
}

void TestInspectorHands::rowsFollowKeyboardMovesSizesAndSelection()
{
    auto *list = Add<TQAListbox>(QStringLiteral("QAListbox1"), QRect(16, 16, 121, 97));
    auto *combo = Add<TQACombobox>(QStringLiteral("QACombobox1"), QRect(16, 200, 145, 21));
    Select(list);
    QVERIFY(RowOf(QStringLiteral("MultiSelect")) >= 0);

    // Moves and sizes with the keyboard show at once in the rows.
    Handle->setFocus();
    QTest::keyClick(Handle, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(list->x(), 17);
    QCOMPARE(CellValue(RowOf(QStringLiteral("Left"))), QStringLiteral("17"));
    QTest::keyClick(Handle, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(CellValue(RowOf(QStringLiteral("Height"))), QStringLiteral("98"));

    // Down selects the combo box below: its rows, not the list box's.
    QTest::keyClick(Handle, Qt::Key_Down);
    QCOMPARE(Handle->SelectedControls(0), combo);
    QCOMPARE(RowOf(QStringLiteral("MultiSelect")), -1);
    QVERIFY(RowOf(QStringLiteral("DropDownCount")) >= 0);
    QCOMPARE(CellValue(RowOf(QStringLiteral("Top"))), QStringLiteral("200"));
    QStringList fresh = RowNames();
    Designer->RefreshInspector();
    QCOMPARE(fresh, RowNames());

    QTest::keyClick(Handle, Qt::Key_Up);
    QCOMPARE(Handle->SelectedControls(0), list);
    QCOMPARE(RowOf(QStringLiteral("DropDownCount")), -1);
    QVERIFY(RowOf(QStringLiteral("MultiSelect")) >= 0);
}

void TestInspectorHands::keyboardSizingStopsAtTheMinimum()
{
    auto *edit = Add<TQAListbox>(QStringLiteral("QAListbox1"), QRect(40, 40, 8, 8));
    Select(edit);
    Handle->setFocus();
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(Handle, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(Handle, Qt::Key_Up, Qt::ShiftModifier);
    }
    // As with the mouse: the handle keeps 5 x 5, the control 0 x 0, and both stay put.
    QCOMPARE(Handle->geometry(), QRect(38, 38, 5, 5));
    QCOMPARE(edit->geometry().topLeft(), QPoint(40, 40));
    QCOMPARE(edit->width(), 0);
    QCOMPARE(edit->height(), 0);
    QVERIFY(Handle->isVisible());
    QCOMPARE(Handle->SelectedCount(), 1);
    // And it grows back.
    QTest::keyClick(Handle, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(edit->width(), 1);
}

void TestInspectorHands::numberTypedWithoutEnterIsAppliedWhenSurfaceIsClicked()
{
    auto *edit = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(16, 16, 121, 21));
    Select(edit);
    ClickValue(RowOf(QStringLiteral("Width")));
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Grid->PropertyEditor(), QStringLiteral("150"));
    QCOMPARE(edit->width(), 121);
    // No Enter: the teacher clicks the surface.
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(400, 300));
    QCOMPARE(edit->width(), 150);
    QVERIFY(TDialogSeam::Shown().isEmpty());

    // The same with a click on the selected control instead.
    Select(edit);
    ClickValue(RowOf(QStringLiteral("Top")));
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Grid->PropertyEditor(), QStringLiteral("40"));
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(edit->y(), 40);
    QCOMPARE(CellValue(RowOf(QStringLiteral("Top"))), QStringLiteral("40"));
}

void TestInspectorHands::refusedNumberStaysSelectedForCorrecting()
{
    auto *edit = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(16, 16, 121, 21));
    Select(edit);
    const int row = RowOf(QStringLiteral("Width"));
    ClickValue(row);
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Grid->PropertyEditor(), QStringLiteral("x"));
    // The real message dialog, answered OK with a click: it takes the focus meanwhile.
    TDialogSeam::EndScript();
    QString shown;
    WhenModal(this, [&shown](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_SaveMsg *>(modal);
        QVERIFY(dialog);
        shown = dialog->Lines().join(QLatin1Char('\n'));
        QVERIFY(!dialog->Buttons.isEmpty());
        QTest::mouseClick(dialog->Buttons.first(), Qt::LeftButton);
    });
    ClickValue(RowOf(QStringLiteral("Top")));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(shown, QStringLiteral("\"x\" is not a valid integer value."));
    QCOMPARE(Grid->Row(), row);
    TPropertyInplaceEdit *editor = Grid->PropertyEditor();
    QTRY_COMPARE(editor->text(), QStringLiteral("x"));
    QCOMPARE(editor->selectedText(), QStringLiteral("x"));
    QCOMPARE(edit->width(), 121);
    // Typing over the selection corrects it.
    TDialogSeam::BeginScript();
    QTest::keyClicks(editor, QStringLiteral("90"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(edit->width(), 90);
}

void TestInspectorHands::inputMaskEditorOpensOnTheCurrentMask()
{
    auto *edit = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(16, 16, 121, 21));
    edit->SetEditMask(QStringLiteral("99999;1;"));
    Select(edit);
    ClickValue(RowOf(QStringLiteral("EditMask")));
    QString opened;
    WhenModal(this, [&opened](QWidget *modal) {
        auto *dialog = qobject_cast<TForm_Editmask *>(modal);
        QVERIFY(dialog);
        opened = dialog->Edit_InputMask->Text();
        QTest::mouseClick(dialog->BitBtn_Ok, Qt::LeftButton);
    });
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(opened, QStringLiteral("99999;1;"));
    // OK without a change keeps the mask.
    QCOMPARE(edit->EditMask(), QStringLiteral("99999;1;"));
}

void TestInspectorHands::fontDialogFollowsTheEffectsRuleAndOffersColour()
{
    auto *picker = Add<TQADateTime>(QStringLiteral("QADateTime1"), QRect(16, 100, 186, 21));
    auto *edit = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(16, 16, 121, 21));
    // The real font dialog this time.
    TDialogSeam::EndScript();
    const auto visibleEffects = [](QFontDialog *dialog) {
        int shown = 0;
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            shown += box->isVisibleTo(dialog) ? 1 : 0;
        return shown;
    };

    // A date picker: no strikeout, underline or colour.
    Select(picker);
    ClickValue(RowOf(QStringLiteral("Font")));
    int effects = -1;
    bool colour = true;
    WhenModal(this, [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFontDialog *>(modal);
        QVERIFY(dialog);
        effects = visibleEffects(dialog);
        auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("ComboBox_Color"));
        colour = combo && combo->isVisibleTo(dialog);
        dialog->reject();
    });
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(effects, 0);
    QVERIFY(!colour);

    // An edit box: effects and a colour, chosen by keys, applied with OK.
    Select(edit);
    ClickValue(RowOf(QStringLiteral("Font")));
    WhenModal(this, [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFontDialog *>(modal);
        QVERIFY(dialog);
        effects = visibleEffects(dialog);
        auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("ComboBox_Color"));
        QVERIFY(combo && combo->isVisibleTo(dialog));
        combo->setFocus();
        QTest::keyClicks(combo, QStringLiteral("clRed"));
        QCOMPARE(combo->currentText(), QStringLiteral("clRed"));
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    QTest::keyClick(Grid->PropertyEditor(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(effects >= 2);
    QCOMPARE(GetPropValue(edit, QStringLiteral("Font.Color")), QStringLiteral("clRed"));
}

// Going down the rows by keyboard, a screen reader hears each property's name, an
// editable text role and the value shown.
void TestInspectorHands::rowsAreReadOutByName()
{
    auto *edit = Add<TQAMaskEdit>(QStringLiteral("QAMaskEdit1"), QRect(16, 16, 121, 21));
    Select(edit);
    ClickValue(0);
    for (int row = 0; row < std::min(Grid->RowCount(), 8); ++row) {
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<TPropertyInplaceEdit *>(editor));
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(editor);
        QCOMPARE(face->text(QAccessible::Name), Grid->Cells(0, Grid->Row()).trimmed());
        QCOMPARE(face->role(), QAccessible::EditableText);
        QCOMPARE(face->textInterface()->text(0, face->textInterface()->characterCount()), CellValue(Grid->Row()));
        QTest::keyClick(editor, Qt::Key_Down);
    }
}

// Tab leaves the Strings Editor's text for its buttons; Ctrl+Tab types a tab.
void TestInspectorHands::stringsEditorLetsTabLeave()
{
    TForm_StringEdit dialog;
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.RichEdit_Strings->setFocus();
    QTest::keyClicks(dialog.RichEdit_Strings, QStringLiteral("a"));
    QTest::keyClick(dialog.RichEdit_Strings, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClicks(dialog.RichEdit_Strings, QStringLiteral("b"));
    QCOMPARE(dialog.RichEdit_Strings->toPlainText(), QStringLiteral("a\tb"));
    QTest::keyClick(dialog.RichEdit_Strings, Qt::Key_Tab);
    QVERIFY(!dialog.RichEdit_Strings->hasFocus());
    QCOMPARE(dialog.RichEdit_Strings->toPlainText(), QStringLiteral("a\tb"));
}

QTEST_MAIN(TestInspectorHands)
#include "tst_inspectorhands.moc"
