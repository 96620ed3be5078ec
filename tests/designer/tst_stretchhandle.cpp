// The selection handle driven as a teacher drives it: mouse drags and resizes with
// snapping, keyboard moves and sizes, neighbour selection, alignment, gaps of a
// multi-selection frame.

// Mouse input goes through the window, so it lands on the widget under the pointer.
#define QTEST_QPA_MOUSE_HANDLING

#include "common/DesignerFixture.h"
#include "designer/DesignForm.h"
#include "designer/ObjectInspector.h"
#include "designer/StretchHandle.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/StdDialogs.h"

#include <QFrame>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

class TestStretchHandle : public QObject, public TDesignerFixture {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void attachKeepsGeometryInvariant();
    void attachRefusesForm();
    void attachFromAnotherParentReplacesSelection();
    void grabSquareColours_data();
    void grabSquareColours();
    void mouseDragSnaps_data();
    void mouseDragSnaps();
    void cornerDraggedPastOppositeLeavesNothing();
    void lockedSelectionStaysPut();
    void keyboardMovesAndSizes_data();
    void keyboardMovesAndSizes();
    void neighbourSelection_data();
    void neighbourSelection();
    void alignment_data();
    void alignment();
    void clickInFrameGapReachesWhatLiesBeneath();
    void handleLetsTheKeyboardLeave();

private:
    QPoint OnSurface(QWidget *widget, const QPoint &pos) const { return widget->mapTo(Surface, pos); }
};

void TestStretchHandle::initTestCase()
{
    RegisterQuestionClasses();
    TDialogSeam::BeginScript();
}

void TestStretchHandle::init()
{
    CreateDesigner();
    Designer->SetGridX(8);
    Designer->SetGridY(8);
    Designer->SetSnapToGrid(true);
    QVERIFY(ActivateDesigner());
    QVERIFY(ShowSurface());
}

void TestStretchHandle::cleanup()
{
    DestroyDesigner();
    TDialogSeam::ClearShown();
}

void TestStretchHandle::attachKeepsGeometryInvariant()
{
    TQAMaskEdit *a = AddEdit(QStringLiteral("A"), QRect(13, 13, 100, 20));
    TQAMaskEdit *b = AddEdit(QStringLiteral("B"), QRect(200, 80, 50, 30));
    QVERIFY(Handle->isHidden());
    QCOMPARE(Handle->size(), QSize(24, 24));

    Handle->Attach(a);
    QCOMPARE(Handle->geometry(), QRect(11, 11, 105, 25));
    QVERIFY(Handle->isVisible());
    QCOMPARE(Handle->parentWidget(), Surface);

    Handle->Attach(b);
    // Smallest left/top minus 2, largest right/bottom plus 3.
    QCOMPARE(Handle->geometry(), QRect(QPoint(11, 11), QPoint(252, 112)));
    QCOMPARE(a->geometry(), QRect(13, 13, 100, 20));

    Handle->Attach(a); // already selected: becomes current, nothing else
    QCOMPARE(Handle->SelectedCount(), 2);
    QCOMPARE(Handle->CurrentIndex(), 0);

    Handle->Detach(b);
    QCOMPARE(Handle->geometry(), QRect(11, 11, 105, 25));
    Handle->Detach(a);
    QVERIFY(Handle->isHidden());
    QVERIFY(!Handle->isEnabled());
    QCOMPARE(Handle->SelectedControls(0), nullptr);
    QCOMPARE(Handle->SelectedControls(-1), nullptr);
}

void TestStretchHandle::attachRefusesForm()
{
    TQAMaskEdit *a = AddEdit(QStringLiteral("A"), QRect(10, 10, 100, 20));
    Handle->Attach(a);
    QVERIFY_THROWS_EXCEPTION(EBadChild, Handle->Attach(Surface));
    try {
        Handle->Attach(Surface);
    } catch (const EBadChild &e) {
        QCOMPARE(e.Message(), QStringLiteral("Handles can not be attached to a Form!"));
    }
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), a);
}

void TestStretchHandle::attachFromAnotherParentReplacesSelection()
{
    auto *panel = new QFrame(Surface);
    InsertComponent(Surface, panel);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(300, 100, 200, 150);
    panel->show();
    TQAMaskEdit *a = AddEdit(QStringLiteral("A"), QRect(10, 10, 100, 20));
    TQAMaskEdit *b = AddEdit(QStringLiteral("B"), QRect(10, 60, 100, 20));
    TQAMaskEdit *inner = AddEdit(QStringLiteral("Inner"), QRect(20, 30, 80, 20), panel);

    Handle->Attach(a);
    Handle->Attach(b);
    Handle->Attach(inner);
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), inner);
    QCOMPARE(Handle->parentWidget(), panel);
    QCOMPARE(Handle->geometry(), QRect(18, 28, 85, 25));
}

void TestStretchHandle::grabSquareColours_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("one control: primary colour") << 1 << QColor(Qt::black);
    QTest::newRow("several: secondary colour") << 2 << QColor(128, 128, 128);
}

void TestStretchHandle::grabSquareColours()
{
    QFETCH(int, selected);
    QFETCH(QColor, colour);
    TQAMaskEdit *a = AddEdit(QStringLiteral("A"), QRect(40, 40, 100, 20));
    TQAMaskEdit *b = AddEdit(QStringLiteral("B"), QRect(40, 120, 100, 20));
    Handle->Attach(a);
    if (selected > 1)
        Handle->Attach(b);
    const QImage image = Surface->grab().toImage();
    // Top-left corner square of A and, with one control, the middle of its top edge.
    QCOMPARE(QColor(image.pixel(38, 38)), colour);
    QCOMPARE(QColor(image.pixel(42, 42)), colour);
    const QColor middleTop(image.pixel(40 + 50 - 1, 39));
    if (selected == 1)
        QCOMPARE(middleTop, colour);
    else
        QVERIFY(middleTop != colour);
}

void TestStretchHandle::mouseDragSnaps_data()
{
    QTest::addColumn<bool>("snap");
    QTest::addColumn<bool>("preselected");
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("snap +2,+2 on selected") << true << true << QPoint(2, 2) << QPoint(8, 16);
    QTest::newRow("snap +5,+5 on selected") << true << true << QPoint(5, 5) << QPoint(16, 16);
    QTest::newRow("snap +2,+2 from unselected") << true << false << QPoint(2, 2) << QPoint(8, 16);
    QTest::newRow("snap -13,-13 to origin") << true << true << QPoint(-13, -13) << QPoint(0, 0);
    QTest::newRow("no snap follows pointer") << false << true << QPoint(5, 7) << QPoint(18, 20);
}

void TestStretchHandle::mouseDragSnaps()
{
    QFETCH(bool, snap);
    QFETCH(bool, preselected);
    QFETCH(QPoint, offset);
    QFETCH(QPoint, expected);
    Designer->SetSnapToGrid(snap);
    TQAMaskEdit *edit = AddEdit(QStringLiteral("A"), QRect(13, 13, 100, 20));
    TQAMaskEdit *other = AddEdit(QStringLiteral("B"), QRect(300, 300, 100, 20));
    if (preselected)
        Designer->SelectControl(edit);
    else
        Designer->SelectControl(other);

    QPoint start(60, 23);
    QTest::mousePress(Surface, Qt::LeftButton, {}, start);
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), edit);
    if (!preselected) {
        // The click selected the control; the drag counts from the first move.
        start += QPoint(1, 1);
        QTest::mouseMove(Surface, start);
    }
    QTest::mouseMove(Surface, start + offset);
    // The dotted outline shows where the control will land; nothing moved yet.
    QVERIFY(Handle->Dragging());
    QCOMPARE(Handle->PreviewBounds(), QRect(expected - QPoint(2, 2), QSize(105, 25)));
    QCOMPARE(edit->pos(), QPoint(13, 13));
    QTest::mouseRelease(Surface, Qt::LeftButton, {}, start + offset);

    QCOMPARE(edit->pos(), expected);
    QCOMPARE(edit->size(), QSize(100, 20));
    QCOMPARE(Handle->geometry(), QRect(expected - QPoint(2, 2), QSize(105, 25)));
    QVERIFY(Handle->PreviewBounds().isNull());
    QVERIFY(!Handle->Dragging());
    QCOMPARE(other->pos(), QPoint(300, 300));
}

void TestStretchHandle::cornerDraggedPastOppositeLeavesNothing()
{
    TQAMaskEdit *edit = AddEdit(QStringLiteral("A"), QRect(40, 40, 100, 20));
    Designer->SelectControl(edit);
    const QPoint corner = OnSurface(Handle, QPoint(Handle->width() - 2, Handle->height() - 2));
    QTest::mouseMove(Surface, corner); // hovering picks the bottom-right zone
    QCOMPARE(Handle->DragMode(), THandleDrag::BottomRight);
    QCOMPARE(Handle->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mousePress(Surface, Qt::LeftButton, {}, corner);
    QTest::mouseMove(Surface, corner - QPoint(200, 200));
    QTest::mouseRelease(Surface, Qt::LeftButton, {}, corner - QPoint(200, 200));
    QCOMPARE(edit->geometry(), QRect(40, 40, 0, 0));
    QCOMPARE(Handle->size(), QSize(5, 5));
}

void TestStretchHandle::lockedSelectionStaysPut()
{
    TQAMaskEdit *edit = AddEdit(QStringLiteral("A"), QRect(40, 40, 100, 20));
    Designer->SelectControl(edit);
    Handle->SetLocked(true);
    QTest::keyClick(Handle, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(Handle, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(edit->geometry(), QRect(40, 40, 100, 20));

    const QPoint inside = OnSurface(Handle, QPoint(40, 12));
    QTest::mouseMove(Surface, inside);
    QCOMPARE(Handle->cursor().shape(), Qt::ForbiddenCursor);
    QVERIFY(!Handle->Dragging());
    Handle->SetHandleBounds(QRect(0, 0, 50, 50));
    QCOMPARE(edit->geometry(), QRect(40, 40, 100, 20));
}

void TestStretchHandle::keyboardMovesAndSizes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<QSize>("grow");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("Ctrl+Right moves all three")
        << int(Qt::Key_Right) << int(Qt::ControlModifier) << QPoint(1, 0) << QSize(0, 0) << 3;
    QTest::newRow("Ctrl+Up moves all three")
        << int(Qt::Key_Up) << int(Qt::ControlModifier) << QPoint(0, -1) << QSize(0, 0) << 3;
    QTest::newRow("Shift+Right widens each")
        << int(Qt::Key_Right) << int(Qt::ShiftModifier) << QPoint(0, 0) << QSize(1, 0) << 3;
    QTest::newRow("Shift+Up lowers each")
        << int(Qt::Key_Up) << int(Qt::ShiftModifier) << QPoint(0, 0) << QSize(0, -1) << 3;
    QTest::newRow("Ctrl+Shift+Right only selects")
        << int(Qt::Key_Right) << int(Qt::ControlModifier | Qt::ShiftModifier) << QPoint(0, 0) << QSize(0, 0) << 1;
}

void TestStretchHandle::keyboardMovesAndSizes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPoint, move);
    QFETCH(QSize, grow);
    QFETCH(int, selectedAfter);
    const QList<QRect> start{QRect(20, 20, 80, 20), QRect(120, 20, 80, 20), QRect(20, 60, 80, 20)};
    QList<TQAMaskEdit *> edits;
    for (int i = 0; i < start.size(); ++i) {
        edits << AddEdit(QStringLiteral("E%1").arg(i), start.at(i));
        Handle->Attach(edits.last());
    }
    QTest::keyClick(Handle, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    for (int i = 0; i < start.size(); ++i)
        QCOMPARE(edits.at(i)->geometry(), QRect(start.at(i).topLeft() + move, start.at(i).size() + grow));
    QCOMPARE(Handle->SelectedCount(), selectedAfter);
    if (selectedAfter == 1) // nearest to the right of the first selected control
        QCOMPARE(Handle->SelectedControls(0), edits.at(1));
}

void TestStretchHandle::neighbourSelection_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    // Layout: M (100,100), N (100,40), S (100,180), W (20,100), E (200,100),
    // T (300,40) with Tag -1, twin of N at (150,40) created after N.
    QTest::newRow("above: greatest smaller top, first on a tie") << "M" << int(Qt::Key_Up) << "N";
    QTest::newRow("below") << "M" << int(Qt::Key_Down) << "S";
    QTest::newRow("left") << "M" << int(Qt::Key_Left) << "W";
    QTest::newRow("right: nearest left beyond") << "M" << int(Qt::Key_Right) << "Twin";
    QTest::newRow("nothing above keeps reference") << "N" << int(Qt::Key_Up) << "N";
    QTest::newRow("negative tag skipped") << "Twin" << int(Qt::Key_Right) << "E";
}

void TestStretchHandle::neighbourSelection()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, expected);
    AddEdit(QStringLiteral("M"), QRect(100, 100, 60, 20));
    AddEdit(QStringLiteral("N"), QRect(100, 40, 40, 20));
    AddEdit(QStringLiteral("S"), QRect(100, 180, 60, 20));
    AddEdit(QStringLiteral("W"), QRect(20, 100, 60, 20));
    AddEdit(QStringLiteral("E"), QRect(200, 100, 60, 20));
    AddEdit(QStringLiteral("T"), QRect(170, 40, 60, 20))->Tag = -1;
    AddEdit(QStringLiteral("Twin"), QRect(150, 40, 40, 20));
    Handle->Attach(qobject_cast<QWidget *>(FindComponent(Surface, from)));
    QTest::keyClick(Handle, Qt::Key(key));
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0)->objectName(), expected);
}

void TestStretchHandle::alignment_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<QPoint>>("positions");
    QTest::addColumn<QList<QPoint>>("expected");
    using P = QList<QPoint>;
    QTest::newRow("space vertically 10,50,20")
        << "SpaceEquallyVertically" << P{{10, 10}, {120, 50}, {230, 20}} << P{{10, 10}, {120, 50}, {230, 30}};
    QTest::newRow("space vertically above 1000 starts at 1000")
        << "SpaceEquallyVertically" << P{{10, 1200}, {120, 1300}} << P{{10, 1000}, {120, 1300}};
    QTest::newRow("space vertically rounds the step half to even")
        << "SpaceEquallyVertically" << P{{10, 0}, {120, 5}, {230, 1}} << P{{10, 0}, {120, 4}, {230, 2}};
    QTest::newRow("space horizontally") << "SpaceEquallyHorizontally" << P{{300, 5}, {0, 60}, {100, 90}}
                                        << P{{300, 5}, {0, 60}, {150, 90}};
    QTest::newRow("align tops to the first")
        << "AlignTops" << P{{10, 70}, {120, 20}, {230, 90}} << P{{10, 70}, {120, 70}, {230, 70}};
    QTest::newRow("align left sides to the first")
        << "AlignLeftSides" << P{{50, 10}, {120, 50}, {0, 90}} << P{{50, 10}, {50, 50}, {50, 90}};
    // Client height 453, group 10..70: (453 + 10 - 70) / 2 = 196.5 -> 196.
    QTest::newRow("center vertically, half to even")
        << "CenterVertically" << P{{10, 10}, {120, 50}} << P{{10, 196}, {120, 236}};
    // Client width 688, group 0..200: (688 + 0 - 200) / 2 = 244.
    QTest::newRow("center horizontally") << "CenterHorizontally" << P{{0, 10}, {120, 50}} << P{{244, 10}, {364, 50}};
    QTest::newRow("align tops needs two") << "AlignTops" << P{{10, 70}} << P{{10, 70}};
}

void TestStretchHandle::alignment()
{
    QFETCH(QString, command);
    QFETCH(QList<QPoint>, positions);
    QFETCH(QList<QPoint>, expected);
    QList<TQAMaskEdit *> edits;
    for (int i = 0; i < positions.size(); ++i) {
        edits << AddEdit(QStringLiteral("E%1").arg(i), QRect(positions.at(i), QSize(80, 20)));
        Handle->Attach(edits.last());
    }
    QVERIFY(QMetaObject::invokeMethod(Handle, [&] {
        if (command == QLatin1String("SpaceEquallyVertically"))
            Handle->SpaceEquallyVertically();
        else if (command == QLatin1String("SpaceEquallyHorizontally"))
            Handle->SpaceEquallyHorizontally();
        else if (command == QLatin1String("AlignTops"))
            Handle->AlignTops();
        else if (command == QLatin1String("AlignLeftSides"))
            Handle->AlignLeftSides();
        else if (command == QLatin1String("CenterVertically"))
            Handle->CenterVertically();
        else if (command == QLatin1String("CenterHorizontally"))
            Handle->CenterHorizontally();
    }));
    for (int i = 0; i < edits.size(); ++i)
        QCOMPARE(edits.at(i)->pos(), expected.at(i));
    // The same controls stay selected, in their order, with the handle fitted.
    QCOMPARE(Handle->SelectedCount(), edits.size());
    for (int i = 0; i < edits.size(); ++i)
        QCOMPARE(Handle->SelectedControls(i), edits.at(i));
}

void TestStretchHandle::clickInFrameGapReachesWhatLiesBeneath()
{
    TQAMaskEdit *a = AddEdit(QStringLiteral("A"), QRect(20, 20, 60, 20));
    TQAMaskEdit *b = AddEdit(QStringLiteral("B"), QRect(300, 20, 60, 20));
    TQAMaskEdit *c = AddEdit(QStringLiteral("C"), QRect(20, 200, 60, 20));
    TQAMaskEdit *under = AddEdit(QStringLiteral("Under"), QRect(150, 100, 60, 20));
    Handle->Attach(a);
    Handle->Attach(b);
    Handle->Attach(c);
    Handle->raise();
    QVERIFY(Handle->geometry().contains(QPoint(170, 110)));

    // Onto the unselected control inside the frame: it becomes the selection.
    QTest::mouseClick(Surface, Qt::LeftButton, {}, QPoint(170, 110));
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Handle->SelectedControls(0), under);

    // Onto the empty surface inside the frame: the surface's rubber band starts there.
    Handle->ClearSelection();
    Handle->Attach(a);
    Handle->Attach(b);
    Handle->Attach(c);
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // The surface holds the mouse for the band; this platform only says it cannot.
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support grabbing the mouse");
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support grabbing the mouse");
    }
    QTest::mousePress(Surface, Qt::LeftButton, {}, QPoint(250, 150));
    QVERIFY(Designer->RubberBandActive());
    QCOMPARE(Handle->SelectedCount(), 0); // EmptySurfaceActions clears first
    QTest::mouseRelease(Surface, Qt::LeftButton, {}, QPoint(250, 150));
    QVERIFY(!Designer->RubberBandActive());
}

QTEST_MAIN(TestStretchHandle)
#include "tst_stretchhandle.moc"

// Inside a window with other fields, as in the authoring program: Tab and Shift+Tab move
// on, Escape gives the keys back to the surface, F11 still reaches the designer.
void TestStretchHandle::handleLetsTheKeyboardLeave()
{
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *before = new QLineEdit(&host);
    layout->addWidget(before);
    Surface->setParent(&host);
    layout->addWidget(Surface);
    auto *after = new QLineEdit(&host);
    layout->addWidget(after);
    host.resize(600, 400);
    host.show();
    host.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    TQAMaskEdit *edit = AddEdit(QStringLiteral("A"), QRect(20, 20, 80, 20));
    Handle->Attach(edit);
    Handle->setFocus(Qt::MouseFocusReason);
    QCOMPARE(QApplication::focusWidget(), Handle);

    QTest::keyClick(Handle, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    Handle->setFocus();
    QTest::keyClick(Handle, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), before);
    Handle->setFocus();
    QTest::keyClick(Handle, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), Surface);
    QCOMPARE(Handle->SelectedCount(), 1);

    Designer->InspectorForm->hide();
    Handle->setFocus();
    QTest::keyClick(Handle, Qt::Key_F11);
    QVERIFY(Designer->InspectorForm->isVisible());

    Surface->setParent(nullptr);
}
