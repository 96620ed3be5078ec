#include "common/ColorNames.h"
#include "designer/PropertyGrid.h"

#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

enum { RowCaption, RowColor, RowEnabled, RowFont, RowName, RowWidth, RowAlignment, RowCount_ };

struct TRowDef {
    const char *Label;
    const char *Type;
    TPropEditMode Mode;
    const char *Value;
};

const TRowDef Rows[RowCount_] = {
    {"Caption", "String", emSimple, "Hello"},
    {"Color", "TColor", emPickList, "clBtnFace"},
    {"Enabled", "Boolean", emPickList, "True"},
    {"Font", "TFont", emEllipsis, "(TFont)"},
    {"Name", "String", emNoEdit, "QAMaskEdit1"},
    {"Width", "Integer", emSimple, "100"},
    {"Alignment", "TAlignment", emPickList, "taLeftJustify"},
};

// A grid set up as the inspector sets it up, with one row of each kind.
struct TInspectorWindow {
    QWidget Window;
    TPropertyGrid *Grid;
    qint64 Clock = 0;

    TInspectorWindow()
    {
        Window.resize(230, 300);
        auto *layout = new QVBoxLayout(&Window);
        layout->setContentsMargins(0, 0, 0, 0);
        Grid = new TPropertyGrid(&Window);
        layout->addWidget(Grid);
        QFont small = Grid->font();
        small.setPixelSize(8); // a font that fits 11-pixel list items
        Grid->setFont(small);
        Grid->SetDefaultNameColWidth(85);
        Grid->SetShowCheckColumn(false);
        Grid->SetColor(clBtnFace);
        Grid->SetFixedColor(clBtnFace);
        Grid->SetEditFrameStyle(efFramed);
        Grid->SetValueColAutoSize(true);
        Grid->SetBorderStyle(bsSingle);
        Grid->SetOptions(Grid->Options() + goThumbTracking);
        Grid->SetRowCount(RowCount_);
        TCellValueProps *items = Grid->PropValues();
        items->BeginUpdate();
        for (int row = 0; row < RowCount_; ++row) {
            TCellValueProp *item = items->Items(row);
            item->SetPropertyLabel(QString::fromLatin1(Rows[row].Label));
            item->SetPropertyType(QString::fromLatin1(Rows[row].Type));
            item->SetEditMode(Rows[row].Mode);
            item->SetPropertyValue(QString::fromLatin1(Rows[row].Value));
            item->SetReadOnly(Rows[row].Mode == emPickList || Rows[row].Mode == emEllipsis);
        }
        *items->Items(RowColor)->PickList() = ColorNames();
        *items->Items(RowEnabled)->PickList() = QStringList{"False", "True"};
        *items->Items(RowAlignment)->PickList() = QStringList{"taLeftJustify", "taRightJustify", "taCenter"};
        items->EndUpdate();
        Window.show();
        Window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window));
        Grid->setFocus();
        Editor()->SetClock([this] { return Clock; });
    }

    TPropertyInplaceEdit *Editor() const { return Grid->PropertyEditor(); }
    QString Value(int row) const { return Grid->PropValues()->Items(row)->PropertyValue(); }

    void GoTo(int row)
    {
        Grid->SetRow(row);
        QVERIFY(Editor());
        QTRY_VERIFY(Editor()->hasFocus());
    }
};

// What the window system delivers for a double click: a click, then a press that comes
// with the double-click event, and the release.
void DoubleClick(QWidget *widget, const QPoint &pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

QString CurrentListItem(TPropertyInplaceEdit *editor)
{
    QListWidgetItem *item = editor->PickListBox()->currentItem();
    return item ? item->text() : QString();
}

} // namespace

class TestPropertyGrid : public QObject {
    Q_OBJECT
private slots:
    void pickListKeys_data();
    void pickListKeys();
    void pickListMouse_data();
    void pickListMouse();
    void dropDownSize_data();
    void dropDownSize();
    void dropDownOpensAboveNearScreenBottom();
    void incrementalSearch_data();
    void incrementalSearch();
    void ellipsis_data();
    void ellipsis();
    void navigationKeepsEditorOnCurrentRow_data();
    void navigationKeepsEditorOnCurrentRow();
    void tabKey_data();
    void tabKey();
    void titleRowIsNeverCurrent();
    void keysReachTheGridHandlers();
    void refusedMoveStaysOnRow();
    void scrollingKeepsCurrentRowInView();
    void wheelMovesCurrentRow();
    void columnWidths_data();
    void columnWidths();
    void switchingCheckColumnKeepsValues();
    void checkColumnClickToggles();
    void typing_data();
    void typing();
    void focusLossReportsCellAndCancelsList();
    void cellStorage();
};

void TestPropertyGrid::pickListKeys_data()
{
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("accepted");

    QTestEventList enter;
    enter.addKeyClick(Qt::Key_Down, Qt::AltModifier);
    enter.addKeyClick(Qt::Key_Down);
    enter.addKeyClick(Qt::Key_Return);
    QTest::newRow("Alt+Down, Down, Enter accepts") << enter << "clBtnShadow" << true;

    QTestEventList escape;
    escape.addKeyClick(Qt::Key_Down, Qt::AltModifier);
    escape.addKeyClick(Qt::Key_Down);
    escape.addKeyClick(Qt::Key_Escape);
    QTest::newRow("Escape cancels") << escape << "clBtnFace" << false;

    QTestEventList altUp;
    altUp.addKeyClick(Qt::Key_Up, Qt::AltModifier);
    altUp.addKeyClick(Qt::Key_Up);
    altUp.addKeyClick(Qt::Key_Up, Qt::AltModifier);
    QTest::newRow("Alt+Up opens, Alt+Up accepts") << altUp << "clHighlightText" << true;
}

void TestPropertyGrid::pickListKeys()
{
    QFETCH(QTestEventList, keys);
    QFETCH(QString, expected);
    QFETCH(bool, accepted);

    TInspectorWindow w;
    w.GoTo(RowColor);
    QSignalSpy closeUps(w.Grid, &TCustomPrGrid::OnComboCloseUp);
    QList<int> gridKeys;
    QObject::connect(w.Grid, &TCustomPrGrid::OnKeyDown, w.Grid, [&](int *key, Qt::KeyboardModifiers) {
        if (*key != Qt::Key_Alt)
            gridKeys.append(*key);
    });
    keys.simulate(w.Editor());

    QVERIFY(!w.Editor()->ListVisible());
    QVERIFY(!w.Editor()->PickListBox()->isVisible());
    QCOMPARE(w.Value(RowColor), expected);
    QCOMPARE(w.Grid->Cells(w.Grid->ValueCol(), RowColor), expected);
    QCOMPARE(w.Editor()->text(), expected);
    QCOMPARE(closeUps.count(), 1);
    QCOMPARE(closeUps.at(0).at(0).toInt(), int(RowColor));
    QCOMPARE(closeUps.at(0).at(1).toInt(), ColorNames().indexOf(expected));
    QCOMPARE(closeUps.at(0).at(2).toString(), expected);
    QCOMPARE(closeUps.at(0).at(3).toBool(), accepted);
    QCOMPARE(w.Grid->PropValues()->Items(RowColor)->ItemIndex(), ColorNames().indexOf(expected));
    // The keys went to the list, not to the grid: the row did not move.
    QCOMPARE(w.Grid->Row(), int(RowColor));
    QCOMPARE(gridKeys, QList<int>());
}

void TestPropertyGrid::pickListMouse_data()
{
    QTest::addColumn<bool>("inside");
    QTest::newRow("release on an item accepts it") << true;
    QTest::newRow("press outside the list cancels") << false;
}

void TestPropertyGrid::pickListMouse()
{
    QFETCH(bool, inside);
    TInspectorWindow w;
    w.GoTo(RowEnabled);
    QSignalSpy closeUps(w.Grid, &TCustomPrGrid::OnComboCloseUp);
    // A click on the drop-down button opens the list, and its release keeps it open.
    const QPoint button = w.Editor()->ButtonRect().center();
    QTest::mouseClick(w.Editor(), Qt::LeftButton, {}, button);
    QVERIFY(w.Editor()->ListVisible());
    TPopupListBox *list = w.Editor()->PickListBox();
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(CurrentListItem(w.Editor()), QString("True"));

    if (inside) {
        const QPoint onFalse = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, onFalse);
    } else {
        QTest::mousePress(list, Qt::LeftButton, {}, QPoint(list->width() + 20, list->height() + 20));
    }
    QVERIFY(!w.Editor()->ListVisible());
    QCOMPARE(closeUps.count(), 1);
    QCOMPARE(closeUps.at(0).at(3).toBool(), inside);
    QCOMPARE(w.Value(RowEnabled), QString(inside ? "False" : "True"));
}

void TestPropertyGrid::dropDownSize_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("dropDownRows");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("scrolls");
    // 11-pixel items plus 4, for at most DropDownRows items.
    QTest::newRow("two booleans") << int(RowEnabled) << 7 << 2 * 11 + 4 << false;
    QTest::newRow("43 colours, 7 shown") << int(RowColor) << 7 << 7 * 11 + 4 << true;
    QTest::newRow("43 colours, 12 shown") << int(RowColor) << 12 << 12 * 11 + 4 << true;
    QTest::newRow("three alignments, room for five") << int(RowAlignment) << 5 << 3 * 11 + 4 << false;
}

void TestPropertyGrid::dropDownSize()
{
    QFETCH(int, row);
    QFETCH(int, dropDownRows);
    QFETCH(int, height);
    QFETCH(bool, scrolls);

    TInspectorWindow w;
    w.Grid->PropValues()->Items(row)->SetDropDownRows(static_cast<unsigned>(dropDownRows));
    w.GoTo(row);
    QTest::keyClick(w.Editor(), Qt::Key_Down, Qt::AltModifier);
    TPopupListBox *list = w.Editor()->PickListBox();
    QTRY_VERIFY(list->isVisible());
    QCOMPARE(list->ItemHeight(), 11);
    QCOMPARE(list->height(), height);
    QTRY_COMPARE(list->verticalScrollBar()->maximum() > 0, scrolls);
    // As wide as the value column at least, and below the cell.
    QVERIFY(list->width() >= w.Grid->ColWidths(w.Grid->ValueCol()));
    const QPoint cellBottom = w.Editor()->mapToGlobal(QPoint(0, w.Editor()->height()));
    QCOMPARE(list->geometry().topLeft(), cellBottom);
    QCOMPARE(CurrentListItem(w.Editor()), w.Value(row));
    QTest::keyClick(w.Editor(), Qt::Key_Escape);
    QVERIFY(!list->isVisible());
}

void TestPropertyGrid::dropDownOpensAboveNearScreenBottom()
{
    TInspectorWindow w;
    const QRect screen = w.Window.screen()->geometry();
    w.GoTo(RowAlignment);
    // The alignment row's cell ends 10 pixels above the screen's bottom: no room for the list.
    const int cellBottom = w.Editor()->mapTo(&w.Window, QPoint(0, w.Editor()->height())).y();
    w.Window.move(screen.left() + 10, screen.bottom() + 1 - 10 - cellBottom);
    QTRY_VERIFY(w.Editor()->mapToGlobal(QPoint(0, w.Editor()->height())).y() > screen.bottom() - 20);
    QTest::keyClick(w.Editor(), Qt::Key_Down, Qt::AltModifier);
    TPopupListBox *list = w.Editor()->PickListBox();
    QTRY_VERIFY(list->isVisible());
    const QPoint cellTop = w.Editor()->mapToGlobal(QPoint(0, 0));
    QCOMPARE(list->geometry().bottom() + 1, cellTop.y());
}

void TestPropertyGrid::incrementalSearch_data()
{
    QTest::addColumn<QString>("typed"); // characters; '#' is a Backspace
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QString>("expected");

    QTest::newRow("c, l, 3 within two seconds") << "cl3" << QList<int>{0, 600, 1200} << "cl3DDkShadow";
    QTest::newRow("1999 ms between keys still collects") << "cl3" << QList<int>{0, 1999, 3998} << "cl3DDkShadow";
    QTest::newRow("after more than 2000 ms the search starts again")
        << "cl3clm" << QList<int>{0, 100, 200, 2300, 2400, 2500} << "clMaroon";
    QTest::newRow("a pause before l starts a new search that finds nothing")
        << "cl" << QList<int>{0, 2500} << "clBlack";
    QTest::newRow("Backspace clears the collected text")
        << "cl3#clw" << QList<int>{0, 100, 200, 300, 400, 500, 600} << "clWhite";
    QTest::newRow("letter case is ignored") << "CLR" << QList<int>{0, 10, 20} << "clRed";
}

void TestPropertyGrid::incrementalSearch()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, times);
    QFETCH(QString, expected);
    QCOMPARE(typed.size(), times.size());

    TInspectorWindow w;
    w.GoTo(RowColor);
    QTest::keyClick(w.Editor(), Qt::Key_Down, Qt::AltModifier);
    QVERIFY(w.Editor()->ListVisible());
    for (int i = 0; i < typed.size(); ++i) {
        w.Clock = 10000 + times.at(i);
        if (typed.at(i) == '#')
            QTest::keyClick(w.Editor(), Qt::Key_Backspace);
        else
            QTest::keyClick(w.Editor(), typed.at(i).toLatin1());
    }
    QCOMPARE(CurrentListItem(w.Editor()), expected);
    // Typing went to the list, not into the value.
    QCOMPARE(w.Editor()->text(), QString("clBtnFace"));
    QTest::keyClick(w.Editor(), Qt::Key_Return);
    QCOMPARE(w.Value(RowColor), expected);
}

void TestPropertyGrid::ellipsis_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("clicks");

    QTest::newRow("Ctrl+Enter on the font row") << int(RowFont) << "ctrl+enter" << 1;
    QTest::newRow("plain Enter does not") << int(RowFont) << "enter" << 0;
    QTest::newRow("Ctrl+Enter on a text row does not") << int(RowCaption) << "ctrl+enter" << 0;
    QTest::newRow("click on the button") << int(RowFont) << "click" << 1;
    QTest::newRow("press on the button, release elsewhere") << int(RowFont) << "drag-off" << 0;
    QTest::newRow("double click raises it once") << int(RowFont) << "double" << 1;
}

void TestPropertyGrid::ellipsis()
{
    QFETCH(int, row);
    QFETCH(QString, action);
    QFETCH(int, clicks);

    TInspectorWindow w;
    w.GoTo(row);
    QSignalSpy spy(w.Grid, &TCustomPrGrid::OnEditButtonClick);
    TPropertyInplaceEdit *editor = w.Editor();
    QCOMPARE(editor->ButtonRect().isEmpty(), row != RowFont);
    const QPoint button = editor->ButtonRect().center();
    if (action == "ctrl+enter") {
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    } else if (action == "enter") {
        QTest::keyClick(editor, Qt::Key_Return);
    } else if (action == "click") {
        QTest::mouseClick(editor, Qt::LeftButton, {}, button);
    } else if (action == "drag-off") {
        QTest::mousePress(editor, Qt::LeftButton, {}, button);
        QTest::mouseMove(editor, QPoint(3, 3));
        QVERIFY(!editor->Pressed());
        QTest::mouseRelease(editor, Qt::LeftButton, {}, QPoint(3, 3));
    } else if (action == "double") {
        DoubleClick(editor, button);
    }
    QCOMPARE(spy.count(), clicks);
    if (clicks > 0) {
        QCOMPARE(spy.at(0).at(0).toInt(), row);
        QCOMPARE(spy.at(0).at(1).toString(), w.Value(row));
    }
    QCOMPARE(w.Value(row), QString::fromLatin1(Rows[row].Value));
}

void TestPropertyGrid::navigationKeepsEditorOnCurrentRow_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");

    QTest::newRow("Down") << 0 << int(Qt::Key_Down) << 0 << 1;
    QTest::newRow("Up") << 3 << int(Qt::Key_Up) << 0 << 2;
    QTest::newRow("Up at the first row stays") << 0 << int(Qt::Key_Up) << 0 << 0;
    QTest::newRow("Down at the last row stays") << RowCount_ - 1 << int(Qt::Key_Down) << 0 << RowCount_ - 1;
    QTest::newRow("Page Down to the last row") << 0 << int(Qt::Key_PageDown) << 0 << RowCount_ - 1;
    QTest::newRow("Page Up to the first row") << 5 << int(Qt::Key_PageUp) << 0 << 0;
    QTest::newRow("Ctrl+End") << 1 << int(Qt::Key_End) << int(Qt::ControlModifier) << RowCount_ - 1;
    QTest::newRow("Ctrl+Home") << 5 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0;
    QTest::newRow("Left never makes the name current") << 2 << int(Qt::Key_Left) << int(Qt::ControlModifier) << 2;
}

void TestPropertyGrid::navigationKeepsEditorOnCurrentRow()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expected);

    TInspectorWindow w;
    w.GoTo(start);
    QSignalSpy exits(w.Grid, &TCustomPrGrid::OnExitCell);
    QTest::keyClick(w.Editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(w.Grid->Row(), expected);
    // The cell left is reported with its text, as when the editor loses the focus.
    QCOMPARE(exits.count(), expected == start ? 0 : 1);
    if (expected != start) {
        QCOMPARE(exits.at(0).at(0).toInt(), w.Grid->ValueCol());
        QCOMPARE(exits.at(0).at(1).toInt(), start);
        QCOMPARE(exits.at(0).at(2).toString(), w.Value(start));
    }
    QCOMPARE(w.Grid->Col(), w.Grid->ValueCol());
    TPropertyInplaceEdit *editor = w.Editor();
    QVERIFY(editor->isVisible());
    QVERIFY(editor->hasFocus());
    QCOMPARE(editor->geometry(), w.Grid->CellRect(w.Grid->ValueCol(), expected));
    QCOMPARE(editor->text(), w.Value(expected));
    QCOMPARE(editor->EditStyle(), Rows[expected].Mode);
    QCOMPARE(editor->isReadOnly(), Rows[expected].Mode != emSimple);
    QCOMPARE(editor->toolTip(), w.Value(expected));
}

void TestPropertyGrid::tabKey_data()
{
    QTest::addColumn<bool>("tabs");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected"); // -1: the focus left the grid

    QTest::newRow("goTabs: Tab goes to the next row") << true << int(Qt::Key_Tab) << 1 << 2;
    QTest::newRow("goTabs: Tab wraps to the first row") << true << int(Qt::Key_Tab) << RowCount_ - 1 << 0;
    QTest::newRow("goTabs: Shift+Tab goes back") << true << int(Qt::Key_Backtab) << 1 << 0;
    QTest::newRow("without goTabs Tab leaves the grid") << false << int(Qt::Key_Tab) << 1 << -1;
}

void TestPropertyGrid::tabKey()
{
    QFETCH(bool, tabs);
    QFETCH(int, key);
    QFETCH(int, start);
    QFETCH(int, expected);

    TInspectorWindow w;
    auto *next = new QLineEdit(&w.Window);
    next->setObjectName("next");
    w.Window.layout()->addWidget(next);
    next->show();
    if (tabs)
        w.Grid->SetOptions(w.Grid->Options() + goTabs);
    w.GoTo(start);
    QTest::keyClick(w.Editor(), Qt::Key(key), key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    if (expected < 0) {
        QTRY_VERIFY(next->hasFocus());
        QCOMPARE(w.Grid->Row(), start);
    } else {
        QCOMPARE(w.Grid->Row(), expected);
        QVERIFY(w.Editor()->hasFocus());
        QCOMPARE(w.Editor()->text(), w.Value(expected));
    }
}

void TestPropertyGrid::titleRowIsNeverCurrent()
{
    TInspectorWindow w;
    w.Grid->SetRowCount(1);
    w.Grid->SetOptions(w.Grid->Options() + goTitle);
    QCOMPARE(w.Grid->RowCount(), 2);
    QCOMPARE(w.Grid->FixedRows(), 1);
    QCOMPARE(w.Grid->Row(), 1);
    QTest::keyClick(w.Editor(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(w.Grid->Row(), 1);
    QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, QPoint(w.Grid->ColWidths(0) + 10, 5));
    QCOMPARE(w.Grid->Row(), 1);
    QCOMPARE(w.Editor()->geometry().top(), w.Grid->RowHeights(0) + w.Grid->GridLineWidth());
    w.Grid->SetOptions(w.Grid->Options() - goTitle);
    QCOMPARE(w.Grid->FixedRows(), 0);
}

void TestPropertyGrid::keysReachTheGridHandlers()
{
    TInspectorWindow w;
    w.GoTo(RowEnabled);
    // What the property list does with T and F on a Boolean row: choose at once.
    QObject::connect(w.Grid, &TCustomPrGrid::OnKeyPress, w.Grid, [&](QChar *key) {
        if (w.Grid->Row() == RowEnabled && (key->toUpper() == 'T' || key->toUpper() == 'F'))
            w.Editor()->ChooseItem(key->toUpper() == 'T' ? 1 : 0);
    });
    QList<int> downs;
    QObject::connect(w.Grid, &TCustomPrGrid::OnKeyDown, w.Grid,
                     [&](int *key, Qt::KeyboardModifiers) { downs.append(*key); });
    QSignalSpy closeUps(w.Grid, &TCustomPrGrid::OnComboCloseUp);
    QTest::keyClick(w.Editor(), 'f');
    QCOMPARE(w.Value(RowEnabled), QString("False"));
    QCOMPARE(w.Editor()->text(), QString("False"));
    QCOMPARE(closeUps.count(), 1);
    QCOMPARE(closeUps.at(0).at(1).toInt(), 0);
    QTest::keyClick(w.Editor(), 'x');
    QCOMPARE(w.Value(RowEnabled), QString("False"));

    // A new row starts with its value selected, so typing replaces it; Enter is the grid's
    // to apply the value, and the text stays.
    w.GoTo(RowWidth);
    downs.clear();
    QTest::keyClicks(w.Editor(), "95");
    QTest::keyClick(w.Editor(), Qt::Key_Return);
    QCOMPARE(downs, (QList<int>{Qt::Key_9, Qt::Key_5, Qt::Key_Return}));
    QCOMPARE(w.Editor()->text(), QString("95"));
    QCOMPARE(w.Value(RowWidth), QString("95"));
    // A key the text has no use for reaches the grid's handler once.
    downs.clear();
    QTest::keyClick(w.Editor(), Qt::Key_F5);
    QCOMPARE(downs, QList<int>{Qt::Key_F5});
}

void TestPropertyGrid::refusedMoveStaysOnRow()
{
    TInspectorWindow w;
    w.GoTo(RowWidth);
    QList<QPair<int, int>> asked;
    bool allow = false;
    QObject::connect(w.Grid, &TCustomPrGrid::OnSelectCell, w.Grid, [&](int col, int row, bool *canSelect) {
        asked.append({col, row});
        *canSelect = allow;
    });
    QTest::keyClick(w.Editor(), Qt::Key_Up);
    QCOMPARE(w.Grid->Row(), int(RowWidth));
    QCOMPARE(w.Editor()->geometry(), w.Grid->CellRect(w.Grid->ValueCol(), RowWidth));
    // A click on another row's value asks too.
    const QRect caption = w.Grid->CellRect(w.Grid->ValueCol(), RowCaption);
    QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, caption.center());
    QCOMPARE(w.Grid->Row(), int(RowWidth));
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(0), qMakePair(w.Grid->ValueCol(), int(RowName)));
    QCOMPARE(asked.at(1), qMakePair(w.Grid->ValueCol(), int(RowCaption)));

    allow = true;
    QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, caption.center());
    QCOMPARE(w.Grid->Row(), int(RowCaption));
    QVERIFY(w.Editor()->hasFocus());
    // A click in the name column does not move the current row in the grid itself.
    const QRect name = w.Grid->CellRect(0, RowFont);
    QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, name.center());
    QCOMPARE(w.Grid->Row(), int(RowCaption));
}

void TestPropertyGrid::scrollingKeepsCurrentRowInView()
{
    TInspectorWindow w;
    w.Grid->SetRowCount(40);
    for (int row = RowCount_; row < 40; ++row) {
        w.Grid->PropValues()->Items(row)->SetPropertyLabel(QString("Extra%1").arg(row));
        w.Grid->PropValues()->Items(row)->SetPropertyValue(QString::number(row));
    }
    w.Window.resize(230, 150);
    QTRY_VERIFY(w.Grid->VisibleRowCount() < 10);
    const int page = w.Grid->VisibleRowCount();
    QVERIFY(w.Grid->verticalScrollBar()->isVisible());
    w.GoTo(0);
    auto editorOnCurrentRow = [&] {
        const QRect cell = w.Grid->CellRect(w.Grid->ValueCol(), w.Grid->Row());
        return !cell.isEmpty() && w.Grid->viewport()->rect().contains(cell) && w.Editor()->geometry() == cell &&
               w.Editor()->text() == w.Value(w.Grid->Row());
    };
    for (int i = 0; i < page + 2; ++i)
        QTest::keyClick(w.Editor(), Qt::Key_Down);
    QCOMPARE(w.Grid->Row(), page + 2);
    QCOMPARE(w.Grid->TopRow(), 3);
    QVERIFY(editorOnCurrentRow());
    QTest::keyClick(w.Editor(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(w.Grid->Row(), 39);
    QCOMPARE(w.Grid->TopRow(), 40 - page);
    QCOMPARE(w.Grid->verticalScrollBar()->value(), 40 - page);
    QVERIFY(editorOnCurrentRow());
    // The scroll bar moves the view; the current row stays, and the next key brings it back.
    w.Grid->verticalScrollBar()->setValue(0);
    QCOMPARE(w.Grid->TopRow(), 0);
    QCOMPARE(w.Grid->Row(), 39);
    QVERIFY(!w.Grid->viewport()->geometry().intersects(w.Editor()->geometry()));
    QTest::keyClick(w.Editor(), Qt::Key_Up);
    QCOMPARE(w.Grid->Row(), 38);
    QVERIFY(editorOnCurrentRow());
    // Fewer rows never leave the view scrolled past the end.
    w.Grid->SetRowCount(5);
    QCOMPARE(w.Grid->TopRow(), 0);
    QCOMPARE(w.Grid->Row(), 4);
    QVERIFY(editorOnCurrentRow());
}

void TestPropertyGrid::wheelMovesCurrentRow()
{
    TInspectorWindow w;
    w.GoTo(RowColor);
    const QPoint pos = w.Grid->CellRect(0, RowName).center();
    auto wheel = [&](int delta) {
        QWheelEvent event(pos, w.Grid->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.Grid->viewport(), &event);
    };
    const int top = w.Grid->TopRow();
    wheel(-120);
    QCOMPARE(w.Grid->Row(), RowColor + 1);
    wheel(120);
    wheel(120);
    QCOMPARE(w.Grid->Row(), RowColor - 1);
    wheel(120);
    QCOMPARE(w.Grid->Row(), 0);
    QCOMPARE(w.Grid->TopRow(), top);
    QCOMPARE(w.Editor()->geometry(), w.Grid->CellRect(w.Grid->ValueCol(), 0));
}

void TestPropertyGrid::columnWidths_data()
{
    QTest::addColumn<bool>("checkColumn");
    QTest::addColumn<bool>("autoSize");
    QTest::addColumn<int>("width");

    QTest::newRow("inspector, 230 wide") << false << true << 230;
    QTest::newRow("inspector, 400 wide") << false << true << 400;
    QTest::newRow("check column, auto size") << true << true << 300;
    QTest::newRow("fixed value width") << false << false << 300;
    QTest::newRow("check column, fixed value width") << true << false << 260;
}

void TestPropertyGrid::columnWidths()
{
    QFETCH(bool, checkColumn);
    QFETCH(bool, autoSize);
    QFETCH(int, width);

    TPropertyGrid grid;
    QCOMPARE(grid.ColCount(), 3);
    QCOMPARE(grid.FixedCols(), 2);
    QCOMPARE(grid.RowCount(), 8);
    QCOMPARE(grid.DefaultRowHeight(), 19);
    grid.SetShowCheckColumn(checkColumn);
    grid.SetValueColAutoSize(autoSize);
    grid.SetColWidths(grid.ValueCol(), 64);
    grid.resize(width, 120);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    for (int pass = 0; pass < 2; ++pass) {
        const int client = grid.viewport()->width();
        QCOMPARE(grid.ColWidths(0), 80);
        QCOMPARE(grid.FixedCols(), checkColumn ? 2 : 1);
        QCOMPARE(grid.ColCount(), checkColumn ? 3 : 2);
        if (checkColumn)
            QCOMPARE(grid.ColWidths(1), 17);
        const int expected = autoSize ? client - 80 - (checkColumn ? 20 : 2) : 64;
        QCOMPARE(grid.ColWidths(grid.ValueCol()), expected);
        // The editor follows the column.
        QVERIFY(grid.InplaceEditor());
        QCOMPARE(grid.InplaceEditor()->width(), expected);
        grid.resize(width + 57, 120);
        QTRY_COMPARE(grid.width(), width + 57);
    }
    grid.SetDefaultNameColWidth(100);
    QCOMPARE(grid.ColWidths(0), 100);
    if (autoSize)
        QCOMPARE(grid.ColWidths(grid.ValueCol()), grid.viewport()->width() - 100 - (checkColumn ? 20 : 2));
}

void TestPropertyGrid::switchingCheckColumnKeepsValues()
{
    TInspectorWindow w;
    w.Grid->SetValueColAutoSize(false);
    w.Grid->SetColWidths(w.Grid->ValueCol(), 90);
    w.Grid->SetShowCheckColumn(true);
    QCOMPARE(w.Grid->ValueCol(), 2);
    QCOMPARE(w.Grid->ColWidths(2), 90);
    QCOMPARE(w.Grid->Cells(2, RowCaption), QString("Hello"));
    QCOMPARE(w.Grid->Cells(1, RowCaption), QString());
    QCOMPARE(w.Grid->Col(), 2);
    w.Grid->SetShowCheckColumn(false);
    QCOMPARE(w.Grid->ValueCol(), 1);
    QCOMPARE(w.Grid->ColWidths(1), 90);
    QCOMPARE(w.Grid->Cells(1, RowWidth), QString("100"));
    QCOMPARE(w.Grid->Cells(0, RowWidth), QString("Width"));
}

void TestPropertyGrid::checkColumnClickToggles()
{
    TInspectorWindow w;
    w.Grid->SetShowCheckColumn(true);
    QSignalSpy select(w.Grid, &TCustomPrGrid::OnSelectCell);
    const QPoint box = w.Grid->CellRect(1, RowFont).center();
    QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, box);
    QVERIFY(w.Grid->PropValues()->Items(RowFont)->Checked());
    QVERIFY(!w.Grid->PropValues()->Items(RowCaption)->Checked());
    QTest::mouseClick(w.Grid->viewport(), Qt::RightButton, {}, box);
    QVERIFY(w.Grid->PropValues()->Items(RowFont)->Checked());
    QTest::mouseClick(w.Grid->viewport(), Qt::LeftButton, {}, box);
    QVERIFY(!w.Grid->PropValues()->Items(RowFont)->Checked());
    // A double click is two clicks.
    DoubleClick(w.Grid->viewport(), box);
    QVERIFY(!w.Grid->PropValues()->Items(RowFont)->Checked());
    // The check column is fixed: the current row stays.
    QCOMPARE(select.count(), 0);
}

void TestPropertyGrid::typing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("edited");

    QTest::newRow("text row takes typing") << int(RowCaption) << "Hello!x" << true;
    QTest::newRow("read-only pick-list row") << int(RowColor) << "clBtnFace" << false;
    QTest::newRow("read-only ellipsis row") << int(RowFont) << "(TFont)" << false;
    QTest::newRow("no-edit row") << int(RowName) << "QAMaskEdit1" << false;
}

void TestPropertyGrid::typing()
{
    QFETCH(int, row);
    QFETCH(QString, expected);
    QFETCH(bool, edited);

    TInspectorWindow w;
    w.GoTo(row);
    QSignalSpy setText(w.Grid, &TCustomPrGrid::OnSetEditText);
    QSignalSpy keyUps(w.Grid, &TCustomPrGrid::OnKeyUp);
    TPropertyInplaceEdit *editor = w.Editor();
    editor->end(false);
    QTest::keyClicks(editor, "!xy");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);
    if (edited) // Home moved the caret to the start, and Delete took the H
        expected = expected.mid(1);
    QCOMPARE(editor->text(), expected);
    QCOMPARE(w.Value(row), expected);
    QCOMPARE(w.Grid->Cells(w.Grid->ValueCol(), row), expected);
    QCOMPARE(setText.isEmpty(), !edited);
    if (edited) {
        QCOMPARE(setText.last().at(1).toInt(), row);
        QCOMPARE(setText.last().at(2).toString(), expected);
    }
    // Key releases reach the grid's handler, so values can follow the typing.
    QVERIFY(keyUps.count() >= 3);
}

void TestPropertyGrid::focusLossReportsCellAndCancelsList()
{
    TInspectorWindow w;
    auto *other = new QLineEdit(&w.Window);
    w.Window.layout()->addWidget(other);
    other->show();
    w.GoTo(RowEnabled);
    QSignalSpy exits(w.Grid, &TCustomPrGrid::OnExitCell);
    QSignalSpy closeUps(w.Grid, &TCustomPrGrid::OnComboCloseUp);
    QTest::keyClick(w.Editor(), Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(w.Editor(), Qt::Key_Up);
    QVERIFY(w.Editor()->ListVisible());
    QCOMPARE(exits.count(), 0);
    w.Editor()->CloseUp(false);
    closeUps.clear();

    QTest::keyClick(w.Editor(), Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(w.Editor(), Qt::Key_Up);
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(exits.count(), 1);
    QCOMPARE(exits.at(0).at(0).toInt(), w.Grid->ValueCol());
    QCOMPARE(exits.at(0).at(1).toInt(), int(RowEnabled));
    QCOMPARE(exits.at(0).at(2).toString(), QString("True"));
    QVERIFY(!w.Editor()->ListVisible());
    QCOMPARE(closeUps.count(), 1);
    QCOMPARE(closeUps.at(0).at(3).toBool(), false);
    QCOMPARE(w.Value(RowEnabled), QString("True"));
}

void TestPropertyGrid::cellStorage()
{
    TCustomPrGrid grid;
    grid.SetRowCount(100000);
    QCOMPARE(grid.FilledCellCount(), 0);
    grid.SetCells(2, 99999, "last");
    grid.SetCells(0, 7, "seven");
    QCOMPARE(grid.FilledCellCount(), 2);
    QCOMPARE(grid.Cells(2, 99999), QString("last"));
    QCOMPARE(grid.Cells(1, 50000), QString());
    QCOMPARE(grid.Rows(7), (QStringList{"seven", "", ""}));
    grid.SetCells(0, 7, QString());
    QCOMPARE(grid.FilledCellCount(), 1);
    QObject tag;
    grid.SetObjects(1, 3, &tag);
    QCOMPARE(grid.Objects(1, 3), &tag);
    QCOMPARE(grid.Cells(1, 3), QString());
    // Shrinking drops the cells of the rows that went.
    grid.SetRowCount(10);
    QCOMPARE(grid.FilledCellCount(), 1);
    grid.SetRowCount(100000);
    QCOMPARE(grid.Cells(2, 99999), QString());
    QCOMPARE(grid.PropValues()->Count(), 100000);

    auto message = [](auto &&call) {
        try {
            call();
        } catch (const EInvalidGridOperation &e) {
            return e.Message();
        }
        return QString();
    };
    QCOMPARE(message([&] { grid.Cells(3, 0); }), QString("Grid index out of range"));
    QCOMPARE(message([&] { grid.SetCells(0, 100000, "x"); }), QString("Grid index out of range"));
    QCOMPARE(message([&] { grid.SetFixedCols(3); }), QString("Fixed column count must be less than column count"));
    grid.SetRowCount(1);
    QCOMPARE(message([&] { grid.SetFixedRows(1); }), QString("Fixed row count must be less than row count"));
    // Fewer columns than fixed ones take the fixed ones with them.
    grid.SetColCount(2);
    QCOMPARE(grid.FixedCols(), 1);
    QCOMPARE(grid.Col(), 1);
}

QTEST_MAIN(TestPropertyGrid)
#include "tst_propertygrid.moc"
