// The control clipboard: cut, copy and paste of controls on the design surface, the
// renaming of clashing names, the growing offset of copies, the paste target and the
// Tag bits that keep controls out of a cut or copy or forbid pasting.

#include "designer/Clipboard.h"
#include "designer/DesignForm.h"
#include "designer/ObjectInspector.h"
#include "designer/StretchHandle.h"
#include "question/ObjectText.h"
#include "question/QuestionControls.h"
#include "toolkit/Component.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QFrame>
#include <QtTest>

#include <memory>

class TestClipboard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void threePastesOfOneCopy();
    void cutThenTwoPastes_data();
    void cutThenTwoPastes();
    void tagBitsKeepControlsOut();
    void pasteTarget_data();
    void pasteTarget();
    void fitIntoTarget_data();
    void fitIntoTarget();
    void refusedTargets_data();
    void refusedTargets();
    void offDoesNothing();
    void renameClashingObjects_data();
    void renameClashingObjects();
    void storePastedPosition_data();
    void storePastedPosition();
    void unreadableTextLeavesNothing_data();
    void unreadableTextLeavesNothing();

private:
    TQAMaskEdit *AddEdit(const QString &name, const QRect &bounds, QWidget *parent = nullptr, int id = 0);
    QFrame *AddPanel(const QString &name, const QRect &bounds);
    QList<QWidget *> Paste();
    TControlClipboard *Buffers() const { return TControlClipboard::Of(Handle); }

    std::unique_ptr<TForm_DesignForm> Template;
    std::unique_ptr<TObjectInspector> Designer;
    QWidget *Surface = nullptr;
    TStretchHandle *Handle = nullptr;
    QList<QWidget *> Created;
};

void TestClipboard::initTestCase()
{
    RegisterQuestionClasses();
}

void TestClipboard::init()
{
    TDialogSeam::BeginScript();
    Template = std::make_unique<TForm_DesignForm>();
    Designer = std::make_unique<TObjectInspector>();
    Designer->TemplateForm = Template.get();
    // Corvella turns cut and paste off; the designer itself supports it.
    Designer->SetCutAndPaste(true);
    Designer->SetClearCutBufferOnPaste(false);
    QVERIFY(Designer->Activate());
    Surface = Designer->DesignSurface();
    Handle = Designer->StretchHandle;
    Surface->show();
    QVERIFY(QTest::qWaitForWindowExposed(Surface));
}

void TestClipboard::cleanup()
{
    Designer.reset();
    Template.reset();
    Created.clear();
    TDialogSeam::EndScript();
}

TQAMaskEdit *TestClipboard::AddEdit(const QString &name, const QRect &bounds, QWidget *parent, int id)
{
    auto *edit = new TQAMaskEdit(Surface, parent ? parent : Surface);
    SetComponentName(edit, name);
    edit->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
    edit->SetID(id);
    edit->show();
    return edit;
}

QFrame *TestClipboard::AddPanel(const QString &name, const QRect &bounds)
{
    auto *panel = new QFrame(Surface);
    InsertComponent(Surface, panel);
    SetComponentName(panel, name);
    panel->setGeometry(bounds);
    panel->show();
    return panel;
}

QList<QWidget *> TestClipboard::Paste()
{
    return PasteControls(Handle, Surface, [this](QWidget *control) { Created << control; });
}

void TestClipboard::threePastesOfOneCopy()
{
    TQAMaskEdit *original = AddEdit(QStringLiteral("QAMaskEdit1"), QRect(100, 40, 121, 21), nullptr, 17);
    original->SetQuestion(QStringLiteral("Capital of France?"));
    Handle->Attach(original);
    CopySelection(Handle, Surface);
    QCOMPARE(Buffers()->CopyBuffer.size(), 1);
    QVERIFY(Buffers()->CutBuffer.isEmpty());
    QVERIFY(HasClipboardContent(Handle));

    const QList<QPoint> expected{{106, 46}, {112, 52}, {118, 58}};
    QStringList names{original->objectName()};
    for (const QPoint &at : expected) {
        const QList<QWidget *> pasted = Paste();
        QCOMPARE(pasted.size(), 1);
        auto *copy = qobject_cast<TQAMaskEdit *>(pasted.first());
        QVERIFY(copy);
        QCOMPARE(copy->pos(), at);
        QCOMPARE(copy->parentWidget(), Surface);
        QCOMPARE(copy->ID(), 0);
        QCOMPARE(copy->Question(), QStringLiteral("Capital of France?"));
        QVERIFY2(!names.contains(copy->objectName(), Qt::CaseInsensitive), qPrintable(copy->objectName()));
        names << copy->objectName();
        QCOMPARE(FindComponent(Surface, copy->objectName()), copy);
        // The new control is the selection, and OnCreateControl saw it.
        QCOMPARE(Handle->Selection(), QList<QWidget *>{copy});
        QCOMPARE(Created.last(), copy);
    }
    QCOMPARE(names.mid(1), (QStringList{"QAMaskEdit2", "QAMaskEdit3", "QAMaskEdit4"}));
    QCOMPARE(original->ID(), 17);
    QCOMPARE(original->pos(), QPoint(100, 40));
}

void TestClipboard::cutThenTwoPastes_data()
{
    QTest::addColumn<bool>("clearCutBuffer");
    QTest::newRow("cut buffer becomes the copy buffer") << false;
    QTest::newRow("cut buffer cleared on paste") << true;
}

void TestClipboard::cutThenTwoPastes()
{
    QFETCH(bool, clearCutBuffer);
    Designer->SetClearCutBufferOnPaste(clearCutBuffer);
    TQAMaskEdit *edit = AddEdit(QStringLiteral("Answer"), QRect(50, 60, 121, 21), nullptr, 23);
    AddEdit(QStringLiteral("Other"), QRect(300, 60, 121, 21));
    Handle->Attach(edit);
    CutSelection(Handle, Surface);
    QCOMPARE(FindComponent(Surface, QStringLiteral("Answer")), nullptr);
    QCOMPARE(Handle->SelectedCount(), 0);
    QCOMPARE(Buffers()->CutBuffer.size(), 1);
    QVERIFY(Buffers()->CopyBuffer.isEmpty());

    const QList<QWidget *> first = Paste();
    QCOMPARE(first.size(), 1);
    auto *back = qobject_cast<TQAMaskEdit *>(first.first());
    QCOMPARE(back->objectName(), QStringLiteral("Answer"));
    QCOMPARE(back->pos(), QPoint(50, 60));
    QCOMPARE(back->ID(), 23);
    QVERIFY(Buffers()->CutBuffer.isEmpty());
    QCOMPARE(HasClipboardContent(Handle), !clearCutBuffer);

    // The pasted control is selected; its parent, the surface, is the next target.
    const QList<QWidget *> second = Paste();
    if (clearCutBuffer) {
        QVERIFY(second.isEmpty());
        return;
    }
    QCOMPARE(second.size(), 1);
    auto *copy = qobject_cast<TQAMaskEdit *>(second.first());
    QCOMPARE(copy->objectName(), QStringLiteral("QAMaskEdit1"));
    QCOMPARE(copy->pos(), QPoint(56, 66));
    QCOMPARE(copy->ID(), 0);
    QCOMPARE(back->ID(), 23);
}

void TestClipboard::tagBitsKeepControlsOut()
{
    TQAMaskEdit *plain = AddEdit(QStringLiteral("Plain"), QRect(10, 10, 121, 21));
    TQAMaskEdit *noCopy = AddEdit(QStringLiteral("NoCopy"), QRect(10, 50, 121, 21));
    noCopy->Tag = 128;
    Handle->Attach(plain);
    Handle->Attach(noCopy);
    CopySelection(Handle, Surface);
    QCOMPARE(Buffers()->CopyBuffer.size(), 1);
    QVERIFY(Buffers()->CopyBuffer.first().startsWith(QStringLiteral("object Plain: TQAMaskEdit")));

    // Tag 64 stays on the surface in a cut, and a cut empties the copy buffer.
    noCopy->Tag = 64;
    Handle->ClearSelection();
    Handle->Attach(plain);
    Handle->Attach(noCopy);
    CutSelection(Handle, Surface);
    QCOMPARE(FindComponent(Surface, QStringLiteral("NoCopy")), noCopy);
    QCOMPARE(FindComponent(Surface, QStringLiteral("Plain")), nullptr);
    QCOMPARE(Handle->SelectedCount(), 0);
    QVERIFY(Buffers()->CopyBuffer.isEmpty());
    QCOMPARE(Buffers()->CutBuffer.size(), 1);

    // A control the object text cannot carry (a bare panel) is not freed by a cut.
    QFrame *panel = AddPanel(QStringLiteral("Panel1"), QRect(200, 100, 300, 200));
    TQAMaskEdit *other = AddEdit(QStringLiteral("Other"), QRect(10, 90, 121, 21));
    Handle->ClearSelection();
    Handle->Attach(panel);
    Handle->Attach(other);
    CutSelection(Handle, Surface);
    QCOMPARE(FindComponent(Surface, QStringLiteral("Panel1")), panel);
    QCOMPARE(FindComponent(Surface, QStringLiteral("Other")), nullptr);
    QCOMPARE(Buffers()->CutBuffer.size(), 2);
    QVERIFY(Buffers()->CutBuffer.first().isEmpty());

    // Nothing left to copy: both buffers end up empty.
    noCopy->Tag = 128;
    Handle->Attach(noCopy);
    CopySelection(Handle, Surface);
    QVERIFY(!HasClipboardContent(Handle));
}

void TestClipboard::pasteTarget_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("target");
    QTest::newRow("nothing selected") << QStringList{} << "Form_Design";
    QTest::newRow("a panel: into it") << QStringList{"Panel1"} << "Panel1";
    QTest::newRow("an edit box: next to it") << QStringList{"Edit"} << "Form_Design";
    QTest::newRow("an edit box in the panel") << QStringList{"Inner"} << "Panel1";
    QTest::newRow("two: the first one's parent") << QStringList{"Panel1", "Edit"} << "Form_Design";
}

void TestClipboard::pasteTarget()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, target);
    QFrame *panel = AddPanel(QStringLiteral("Panel1"), QRect(200, 100, 300, 200));
    AddEdit(QStringLiteral("Edit"), QRect(20, 20, 121, 21));
    AddEdit(QStringLiteral("Inner"), QRect(10, 10, 121, 21), panel);
    TQAMaskEdit *source = AddEdit(QStringLiteral("Source"), QRect(30, 30, 121, 21));
    Handle->Attach(source);
    CopySelection(Handle, Surface);
    Handle->ClearSelection();
    for (const QString &name : selected)
        Handle->Attach(qobject_cast<QWidget *>(FindComponent(Surface, name)));

    const QList<QWidget *> pasted = Paste();
    QCOMPARE(pasted.size(), 1);
    QCOMPARE(pasted.first()->parentWidget()->objectName(), target);
    QCOMPARE(pasted.first()->pos(), QPoint(36, 36));
}

void TestClipboard::fitIntoTarget_data()
{
    QTest::addColumn<QRect>("source");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("fits as it is") << QRect(100, 40, 121, 21) << QSize(300, 200) << QPoint(106, 46);
    QTest::newRow("right edge beyond: pulled in") << QRect(100, 40, 121, 21) << QSize(200, 200) << QPoint(79, 46);
    QTest::newRow("wider than the target: left 2") << QRect(100, 40, 121, 21) << QSize(100, 200) << QPoint(2, 46);
    QTest::newRow("as wide as the target: left 2") << QRect(10, 40, 121, 21) << QSize(121, 200) << QPoint(2, 46);
    QTest::newRow("left beyond the width") << QRect(400, 40, 121, 21) << QSize(300, 200) << QPoint(177, 46);
    QTest::newRow("bottom edge beyond") << QRect(10, 180, 121, 21) << QSize(300, 200) << QPoint(16, 179);
    QTest::newRow("taller than the target: top 2") << QRect(10, 10, 121, 89) << QSize(300, 60) << QPoint(16, 2);
}

void TestClipboard::fitIntoTarget()
{
    QFETCH(QRect, source);
    QFETCH(QSize, panel);
    QFETCH(QPoint, expected);
    QFrame *target = AddPanel(QStringLiteral("Panel1"), QRect(QPoint(5, 5), panel));
    TQAMaskEdit *edit = AddEdit(QStringLiteral("Source"), source);
    Handle->Attach(edit);
    CopySelection(Handle, Surface);
    Handle->ClearSelection();
    Handle->Attach(target);
    const QList<QWidget *> pasted = Paste();
    QCOMPARE(pasted.size(), 1);
    QCOMPARE(pasted.first()->parentWidget(), target);
    QCOMPARE(pasted.first()->pos(), expected);
    QCOMPARE(pasted.first()->size(), source.size());
}

void TestClipboard::refusedTargets_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("message");
    QTest::newRow("hidden panel") << "hidden"
                                  << "You cannot paste controls onto an invisible or disabled parent control! (Panel1)";
    QTest::newRow("disabled panel")
        << "disabled"
        << "You cannot paste controls onto an invisible or disabled parent control! (Panel1)";
    QTest::newRow("surface with Tag 256") << "tag"
                                          << "You cannot paste controls onto Form_Design)";
}

void TestClipboard::refusedTargets()
{
    QFETCH(QString, state);
    QFETCH(QString, message);
    QFrame *panel = AddPanel(QStringLiteral("Panel1"), QRect(200, 100, 300, 200));
    TQAMaskEdit *source = AddEdit(QStringLiteral("Source"), QRect(30, 30, 121, 21));
    Handle->Attach(source);
    CopySelection(Handle, Surface);
    const QStringList before = Buffers()->CopyBuffer;
    Handle->ClearSelection();
    if (state == QLatin1String("tag")) {
        dynamic_cast<TControl *>(Surface)->Tag = 256 | 1;
    } else {
        Handle->Attach(panel);
        if (state == QLatin1String("hidden"))
            panel->hide();
        else
            panel->setEnabled(false);
    }
    const int components = OwnedComponents(Surface).size();
    TDialogSeam::ClearShown();
    QVERIFY(Paste().isEmpty());
    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::LastText(), message);
    QCOMPARE(TDialogSeam::Shown().first().DlgType, int(MsgWarning));
    QCOMPARE(OwnedComponents(Surface).size(), components);
    QCOMPARE(Buffers()->CopyBuffer, before);
}

void TestClipboard::offDoesNothing()
{
    TQAMaskEdit *edit = AddEdit(QStringLiteral("Edit"), QRect(30, 30, 121, 21));
    Handle->Attach(edit);
    CopySelection(Handle, Surface);
    Designer->SetCutAndPaste(false);
    TDialogSeam::ClearShown();
    QVERIFY(Paste().isEmpty());
    CutSelection(Handle, Surface);
    QCOMPARE(FindComponent(Surface, QStringLiteral("Edit")), edit);
    QCOMPARE(Handle->SelectedCount(), 1);
    QCOMPARE(Buffers()->CopyBuffer.size(), 1);
    QVERIFY(TDialogSeam::Shown().isEmpty());
}

void TestClipboard::renameClashingObjects_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("objectLines");
    QTest::newRow("no clash keeps the name") << "object Fresh: TQAMaskEdit\r\nend\r\n"
                                             << QStringList{"object Fresh: TQAMaskEdit"};
    QTest::newRow("clash, ignoring case") << "object answer: TQAMaskEdit\r\n  Left = 1\r\nend\r\n"
                                          << QStringList{"object QAMaskEdit2: TQAMaskEdit"};
    QTest::newRow("nested names and earlier objects")
        << "object Answer: TQARadioGroup\r\n  object Inner: TQAMaskEdit\r\n  end\r\n"
           "  object INNER: TQAMaskEdit\r\n  end\r\n  object QAMaskEdit2: TQAMaskEdit\r\n  end\r\nend\r\n"
        << QStringList{"object QARadioGroup1: TQARadioGroup", "  object Inner: TQAMaskEdit",
                       "  object QAMaskEdit2: TQAMaskEdit", "  object QAMaskEdit3: TQAMaskEdit"};
}

void TestClipboard::renameClashingObjects()
{
    QFETCH(QString, text);
    QFETCH(QStringList, objectLines);
    AddEdit(QStringLiteral("Answer"), QRect(0, 0, 121, 21));
    AddEdit(QStringLiteral("QAMaskEdit1"), QRect(0, 30, 121, 21));
    QStringList found;
    for (const QString &line : RenameClashingObjects(text, Surface).split(QStringLiteral("\r\n")))
        if (line.trimmed().startsWith(QLatin1String("object ")))
            found << line;
    QCOMPARE(found, objectLines);
}

void TestClipboard::storePastedPosition_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("replaced, name as written")
        << "object A: TQAMaskEdit\r\n  left = 1\r\n  TOP = 2\r\n  ID = 31\r\nend\r\n"
        << "object A: TQAMaskEdit\r\n  left = 106\r\n  TOP = 46\r\n  ID = 0\r\nend\r\n";
    QTest::newRow("missing lines inserted first")
        << "object A: TQAMaskEdit\r\n    Width = 9\r\nend\r\n"
        << "object A: TQAMaskEdit\r\n    Left = 106\r\n    Top = 46\r\n    Width = 9\r\nend\r\n";
    QTest::newRow("nested objects untouched")
        << "object A: TQARadioGroup\r\n  Top = 2\r\n  object B: TQAMaskEdit\r\n    Left = 5\r\n    ID = 3\r\n  "
           "end\r\nend\r\n"
        << "object A: TQARadioGroup\r\n  Left = 106\r\n  Top = 46\r\n  object B: TQAMaskEdit\r\n    Left = 5\r\n"
           "    ID = 3\r\n  end\r\nend\r\n";
    QTest::newRow("long value continued on deeper lines")
        << "object A: TQAMaskEdit\r\n  Left = 1\r\n  Description = \r\n    'aaa' +\r\n    'bbb'\r\n  Top = 2\r\nend\r\n"
        << "object A: TQAMaskEdit\r\n  Left = 106\r\n  Description = ''\r\n  Top = 46\r\nend\r\n";
}

void TestClipboard::storePastedPosition()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StorePastedPosition(text, 106, 46), expected);
}

void TestClipboard::unreadableTextLeavesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("syntax error") << "object A: TQAMaskEdit\r\n  Left = \r\n";
    QTest::newRow("unknown class") << "object A: TNoSuchControl\r\nend\r\n";
    QTest::newRow("unknown property") << "object A: TQAMaskEdit\r\n  Colour = 3\r\nend\r\n";
}

void TestClipboard::unreadableTextLeavesNothing()
{
    QFETCH(QString, text);
    const int components = OwnedComponents(Surface).size();
    QVERIFY_THROWS_EXCEPTION(Exception, CreateControlFromText(Surface, Surface, text));
    QCOMPARE(OwnedComponents(Surface).size(), components);
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
