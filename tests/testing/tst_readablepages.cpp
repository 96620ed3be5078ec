#include "common/ModalWindows.h"
#include "common/Rendered.h"
#include "common/TestDatabase.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using Tamberlin::TForm_SelectClass;
using Tamberlin::TForm_SelectTest;

namespace {

// A test (ID 1) whose questions are stored as the authoring program stores them.
class TPages {
public:
    TTestDatabase Db;

    void Add(QWidget *control, const QString &question)
    {
        std::unique_ptr<QWidget> owned(control);
        const int id = ++FLastID;
        AddControl(Db, id, control, question);
        AddDetail(Db, 1, id, id);
    }

    std::unique_ptr<TForm_TestWizard> Open()
    {
        auto wizard = std::make_unique<TForm_TestWizard>(&Db.Query(), true);
        wizard->TestID = QStringLiteral("1");
        wizard->StudentID = QStringLiteral("S01");
        wizard->ClassID = QStringLiteral("1");
        wizard->show();
        if (!QTest::qWaitForWindowExposed(wizard.get()))
            qWarning("The test wizard was not exposed");
        return wizard;
    }

private:
    int FLastID = 0;
};

QWidget *MakeEdit()
{
    auto edit = new TQAMaskEdit(nullptr);
    edit->SetBounds(0, 0, 200, 21);
    edit->SetCorrectAnswer(QStringLiteral("x"));
    return edit;
}

// A radio group of the designer's default size, 185 x 105.
QWidget *MakeRadio(const QStringList &answers, int columns = 1)
{
    auto radio = new TQARadioGroup(nullptr);
    radio->SetBounds(0, 0, 185, 105);
    radio->SetColumns(columns);
    radio->SetAnswers(answers);
    radio->SetCorrectAnswer(answers.value(0));
    return radio;
}

QWidget *MakeList(const QStringList &answers)
{
    auto list = new TQAListbox(nullptr);
    list->SetBounds(0, 0, 121, 97);
    list->SetAnswers(answers);
    return list;
}

QStringList Choices(int count)
{
    QStringList choices;
    for (int i = 1; i <= count; ++i)
        choices << QStringLiteral("Choice number %1").arg(i);
    return choices;
}

// About 600 characters of words, ending in the instruction a student must not miss.
QString LongQuestion(int length = 600)
{
    QString text;
    int word = 0;
    while (text.size() < length - 40)
        text += QStringLiteral("word%1 ").arg(++word);
    return text + QStringLiteral("Write your answer in the box below.");
}

// The part of the window in which the widget's content can be seen: its viewport's
// rectangle, cut to the window.
QRect VisibleArea(QScrollArea *area, QWidget *window)
{
    return RectIn(area->viewport(), window).intersected(window->rect());
}

// Every word of the question is drawn inside the part of the window one can see.
void VerifyQuestionReadable(TForm_TestWizard &wizard)
{
    QLabel *label = wizard.Label_Question;
    const QRect textRect = QFontMetrics(label->font())
                               .boundingRect(QRect(0, 0, label->contentsRect().width(), 100000),
                                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
    const QRect inWindow = textRect.translated(label->mapTo(&wizard, label->contentsRect().topLeft()));
    const QRect visible = VisibleArea(wizard.ScrollBox_Question, &wizard);
    QVERIFY2(visible.contains(inWindow), qPrintable(QStringLiteral("text %1,%2 %3x%4 outside %5,%6 %7x%8")
                                                        .arg(inWindow.x())
                                                        .arg(inWindow.y())
                                                        .arg(inWindow.width())
                                                        .arg(inWindow.height())
                                                        .arg(visible.x())
                                                        .arg(visible.y())
                                                        .arg(visible.width())
                                                        .arg(visible.height())));
    // And it is drawn there from the top: the ink of the last line lies in the text's last line.
    const QRect ink = InkBounds(label);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.top() <= label->contentsRect().top() + QFontMetrics(label->font()).lineSpacing());
    QVERIFY(ink.bottom() >= textRect.bottom() - QFontMetrics(label->font()).lineSpacing());
}

// The widths of the ink of a one-line text as drawn and as the font would draw the text
// taken literally agree within a few pixels: no tag taken for markup, no & for an access key.
void VerifyDrawnAsTyped(QWidget *widget, const QRect &textArea, const QFont &font, const QString &typed)
{
    const QRect ink = InkBounds(widget, textArea);
    const int expected = QFontMetrics(font).boundingRect(typed).width();
    QVERIFY2(
        std::abs(ink.width() - expected) <= 4,
        qPrintable(
            QStringLiteral("\"%1\" drawn %2 pixels wide, typed text %3").arg(typed).arg(ink.width()).arg(expected)));
}

// The text part of a radio button, without the frame a focused button has.
QRect RadioTextArea(QRadioButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
    return contents.adjusted(0, 3, -3, -3).intersected(button->rect().adjusted(3, 3, -3, -3));
}

// Every item of the choice control shown stands inside the visible answer area, whole,
// and apart from every other item.
void VerifyChoicesReadable(TForm_TestWizard &wizard)
{
    const QRect visible = VisibleArea(wizard.ScrollBox_Controls, &wizard);
    QList<QRect> items;
    if (auto radio = qobject_cast<TQARadioGroup *>(wizard.CurrentControl())) {
        for (int i = 0; i < radio->ButtonCount(); ++i) {
            QRadioButton *button = radio->Button(i);
            QVERIFY(button->isVisible());
            QVERIFY2(button->width() >= button->sizeHint().width() && button->height() >= button->sizeHint().height(),
                     qPrintable(button->text()));
            items << RectIn(button, &wizard);
        }
    } else if (auto list = qobject_cast<TQAListbox *>(wizard.CurrentControl())) {
        for (int i = 0; i < list->count(); ++i) {
            const QRect rect = list->visualItemRect(list->item(i));
            QVERIFY2(list->viewport()->rect().contains(rect), qPrintable(list->item(i)->text()));
            items << rect.translated(list->viewport()->mapTo(&wizard, QPoint(0, 0)));
        }
    }
    QVERIFY(!items.isEmpty());
    for (int i = 0; i < items.size(); ++i) {
        QVERIFY2(visible.contains(items.at(i)),
                 qPrintable(QStringLiteral("item %1 outside the answer area").arg(i + 1)));
        for (int j = i + 1; j < items.size(); ++j)
            QVERIFY2(!items.at(i).intersects(items.at(j)),
                     qPrintable(QStringLiteral("items %1 and %2 overlap").arg(i + 1).arg(j + 1)));
    }
}

} // namespace

class TestReadablePages : public QObject {
    Q_OBJECT

private slots:
    void init() { TDialogSeam::BeginScript(); }
    void cleanup();

    void everyWordInsideVisibleArea();
    void longerQuestionScrolls();
    void choiceControlsGrow_data();
    void choiceControlsGrow();
    void windowGrowsAndAreasUseRoom();
    void radioGroupByKeyboardWithVisibleFocus();
    void classListExplainsItself();
    void testListExplainsItself_data();
    void testListExplainsItself();
    void testListByKeyboard();
};

void TestReadablePages::cleanup()
{
    TDialogSeam::EndScript();
    const bool closed = CloseModalWindows();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestReadablePages::everyWordInsideVisibleArea()
{
    TPages pages;
    const QString tagged = QStringLiteral("Which HTML tag makes text <b>bold</b> & big?");
    const QStringList taggedChoices{QStringLiteral("<b>"), QStringLiteral("Salt & Pepper"), QStringLiteral("<i>x</i>")};
    pages.Add(MakeEdit(), LongQuestion());
    pages.Add(MakeRadio(taggedChoices), tagged);
    pages.Add(MakeRadio(Choices(12)), QStringLiteral("Pick one of twelve."));
    auto wizard = pages.Open();
    QCOMPARE(wizard->size(), QSize(507, 373));

    // A 600-character question, read in full at the starting size, with its answer box.
    QVERIFY(LongQuestion().size() >= 600);
    QCOMPARE(wizard->Label_Question->text(), LongQuestion());
    VerifyQuestionReadable(*wizard);
    QVERIFY(!wizard->ScrollBox_Question->verticalScrollBar()->isVisible());
    QVERIFY(
        VisibleArea(wizard->ScrollBox_Controls, wizard.get()).contains(RectIn(wizard->CurrentControl(), wizard.get())));

    // Tags and an ampersand, in the question and in the choices, drawn as typed.
    QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
    QCOMPARE(wizard->PageIndex, 1);
    VerifyQuestionReadable(*wizard);
    VerifyDrawnAsTyped(wizard->Label_Question, wizard->Label_Question->contentsRect(), wizard->Label_Question->font(),
                       tagged);
    auto radio = qobject_cast<TQARadioGroup *>(wizard->CurrentControl());
    QVERIFY(radio);
    for (int i = 0; i < taggedChoices.size(); ++i)
        VerifyDrawnAsTyped(radio->Button(i), RadioTextArea(radio->Button(i)), radio->Button(i)->font(),
                           taggedChoices.at(i));
    VerifyChoicesReadable(*wizard);

    // Twelve choices in a group designed 105 pixels high: each on its own line.
    QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
    QCOMPARE(wizard->PageIndex, 2);
    VerifyQuestionReadable(*wizard);
    VerifyChoicesReadable(*wizard);
}

void TestReadablePages::longerQuestionScrolls()
{
    TPages pages;
    pages.Add(MakeRadio(Choices(4)), LongQuestion(3000));
    auto wizard = pages.Open();
    QScrollBar *bar = wizard->ScrollBox_Question->verticalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    // The answer keeps its room, the question takes the rest, at least half the page.
    VerifyChoicesReadable(*wizard);
    QVERIFY(wizard->ScrollBox_Question->height() >= (373 - 35) / 2 - 12);
    // Scrolled to its end, the closing instruction is in sight.
    wizard->ScrollBox_Question->setFocus();
    QTest::keyClick(wizard->ScrollBox_Question, Qt::Key_End, Qt::ControlModifier);
    bar->setValue(bar->maximum());
    QLabel *label = wizard->Label_Question;
    const QRect textRect = QFontMetrics(label->font())
                               .boundingRect(QRect(0, 0, label->contentsRect().width(), 100000),
                                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
    const int lastLineTop = label->mapTo(wizard.get(), QPoint(0, textRect.bottom())).y() -
                            QFontMetrics(label->font()).lineSpacing();
    QVERIFY(VisibleArea(wizard->ScrollBox_Question, wizard.get()).contains(QPoint(60, lastLineTop)));
    // The question area that scrolls can be reached with Tab, and shows that it has the focus.
    QCOMPARE(wizard->ScrollBox_Question->focusPolicy(), Qt::StrongFocus);
    QVERIFY(wizard->ScrollBox_Question->frameShape() != QFrame::NoFrame);
}

void TestReadablePages::choiceControlsGrow_data()
{
    QTest::addColumn<int>("kind"); // 0 radio group, 1 radio group in two columns, 2 list box
    QTest::addColumn<int>("count");
    QTest::newRow("twelve radio choices") << 0 << 12;
    QTest::newRow("twelve radio choices, two columns") << 1 << 12;
    QTest::newRow("twelve list items") << 2 << 12;
    QTest::newRow("thirty radio choices scroll") << 0 << 30;
}

void TestReadablePages::choiceControlsGrow()
{
    QFETCH(int, kind);
    QFETCH(int, count);
    TPages pages;
    pages.Add(kind == 2 ? MakeList(Choices(count)) : MakeRadio(Choices(count), kind == 1 ? 2 : 1),
              QStringLiteral("Choose."));
    auto wizard = pages.Open();
    QWidget *control = wizard->CurrentControl();
    QVERIFY(control->height() > (kind == 2 ? 97 : 105));
    const QRect visible = VisibleArea(wizard->ScrollBox_Controls, wizard.get());
    if (RectIn(control, wizard.get()).height() <= visible.height()) {
        VerifyChoicesReadable(*wizard);
        return;
    }
    // Too many for the window: the answer area scrolls, and the keyboard brings each
    // choice into sight.
    QVERIFY(wizard->ScrollBox_Controls->verticalScrollBar()->isVisible());
    auto radio = qobject_cast<TQARadioGroup *>(control);
    QVERIFY(radio);
    QRadioButton *last = radio->Button(count - 1);
    last->setFocus();
    QVERIFY(last->hasFocus());
    QTRY_VERIFY(visible.contains(RectIn(last, wizard.get())));
}

void TestReadablePages::windowGrowsAndAreasUseRoom()
{
    TPages pages;
    pages.Add(MakeRadio(Choices(4)), QStringLiteral("Short question?"));
    auto wizard = pages.Open();
    const QRect designedNext = wizard->BitBtn_Next->geometry();
    QCOMPARE(wizard->ScrollBox_Controls->geometry(), QRect(0, 58, 507, 373 - 58 - 35));
    QCOMPARE(wizard->Panel_Bottom->geometry(), QRect(0, 373 - 35, 507, 35));

    // What a window manager reads: a maximise button and no upper size limit.
    QVERIFY(wizard->windowFlags() & Qt::WindowMaximizeButtonHint);
    QCOMPARE(wizard->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    wizard->showMaximized();
    const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
    QTRY_COMPARE(wizard->frameGeometry().size(), available);
    const QSize screen = wizard->size();
    QVERIFY(screen.width() > 507 + 200 && screen.height() > 373 + 200);
    // The strips span the window, the buttons keep to the right edge, the answer area
    // takes the height in between and the choice stays in its middle.
    QCOMPARE(wizard->Panel_Bottom->geometry(), QRect(0, screen.height() - 35, screen.width(), 35));
    QCOMPARE(wizard->Label_Question->width(), screen.width() - 55);
    QCOMPARE(wizard->ScrollBox_Controls->geometry(), QRect(0, 58, screen.width(), screen.height() - 58 - 35));
    QCOMPARE(wizard->width() - wizard->BitBtn_Next->geometry().right(), 507 - designedNext.right());
    QWidget *control = wizard->CurrentControl();
    const QRect client = wizard->Panel_Controls->contentsRect();
    QCOMPARE(control->x() - client.left(), (client.width() - control->width()) / 2);
    QCOMPARE(control->y() - client.top(), (client.height() - control->height()) / 2);

    // Back at the starting size, everything stands where it was designed.
    wizard->showNormal();
    QTRY_COMPARE(wizard->size(), QSize(507, 373));
    QCOMPARE(wizard->BitBtn_Next->geometry(), designedNext);
    QCOMPARE(wizard->ScrollBox_Controls->geometry(), QRect(0, 58, 507, 373 - 58 - 35));
}

void TestReadablePages::radioGroupByKeyboardWithVisibleFocus()
{
    TPages pages;
    pages.Add(MakeRadio(Choices(3)), QStringLiteral("First?"));
    pages.Add(MakeEdit(), QStringLiteral("Second?"));
    auto wizard = pages.Open();
    auto radio = qobject_cast<TQARadioGroup *>(wizard->CurrentControl());
    QRadioButton *first = radio->Button(0);
    QRadioButton *second = radio->Button(1);
    QTRY_VERIFY(first->hasFocus());

    // The focused choice carries a frame in the highlight colour; the others none.
    const QColor highlight = first->palette().color(QPalette::Active, QPalette::Highlight);
    const int frame = 2 * (first->width() + first->height()) - 8;
    QVERIFY(PixelsNear(first, first->rect(), highlight) >= frame);
    QCOMPARE(PixelsNear(second, second->rect(), highlight), 0);

    // Space chooses; then the arrow keys choose, the focus and its frame moving along.
    QTest::keyClick(first, Qt::Key_Space);
    QCOMPARE(radio->ItemIndex(), 0);
    QTest::keyClick(first, Qt::Key_Down);
    QTRY_VERIFY(second->hasFocus());
    QCOMPARE(radio->ItemIndex(), 1);
    QVERIFY(PixelsNear(second, second->rect(), highlight) >= frame);
    QCOMPARE(PixelsNear(first, first->rect(), highlight), 0);

    // Enter goes on to the next page, where the answer box has the focus.
    QTest::keyClick(second, Qt::Key_Return);
    QCOMPARE(wizard->PageIndex, 1);
    QTRY_VERIFY(wizard->CurrentControl()->hasFocus());
    // Tab goes from the answer to the buttons and back, never stuck in a scroll area.
    QTest::keyClick(wizard->CurrentControl(), Qt::Key_Tab);
    QVERIFY(qobject_cast<QPushButton *>(QApplication::focusWidget()));
}

void TestReadablePages::classListExplainsItself()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'ART', 'C', 'T')"});
    TForm_SelectClass form(&db.Query());
    form.StudentID = QStringLiteral("NOBODY");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.QAListbox_Classes->count(), 0);
    QVERIFY(form.Label_Empty->isVisible());
    QCOMPARE(form.Label_Empty->text(), TForm_SelectClass::NoClassesMessage);
    QVERIFY(form.rect().contains(RectIn(form.Label_Empty, &form)));
    QVERIFY(form.Label_Empty->height() >= form.Label_Empty->heightForWidth(form.Label_Empty->width()));
    QVERIFY(!InkBounds(form.Label_Empty).isEmpty());

    // A student in a class sees the list and no such line.
    db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, 'S01', 1)"});
    TForm_SelectClass other(&db.Query());
    other.StudentID = QStringLiteral("S01");
    other.show();
    QCOMPARE(other.QAListbox_Classes->count(), 1);
    QVERIFY(!other.Label_Empty->isVisible());
}

void TestReadablePages::testListExplainsItself_data()
{
    QTest::addColumn<QStringList>("statuses"); // one test per entry, "" for no result
    QTest::addColumn<QString>("line"); // "" for none
    QTest::newRow("no tests") << QStringList() << TForm_SelectTest::NoTestsMessage;
    QTest::newRow("every test taken") << QStringList{"PASSED", "FAILED"} << TForm_SelectTest::AllTakenMessage;
    QTest::newRow("one still to take") << QStringList{"PASSED", ""} << QString();
    QTest::newRow("one reopened by the teacher") << QStringList{"PASSED", "INCOMPLETE"} << QString();
}

void TestReadablePages::testListExplainsItself()
{
    QFETCH(QStringList, statuses);
    QFETCH(QString, line);
    TTestDatabase db;
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'ART', 'C', 'T')"});
    for (int i = 0; i < statuses.size(); ++i) {
        db.Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) "
                                "VALUES (%1, 'Test %1', '', '', 2)")
                     .arg(i + 1)});
        db.Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (%1, 1, %1, '1')")
                     .arg(i + 1)});
        if (!statuses.at(i).isEmpty())
            db.Exec({QStringLiteral("INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) "
                                    "VALUES ('S01', %1, 1, 50, '%2')")
                         .arg(i + 1)
                         .arg(statuses.at(i))});
    }
    TForm_SelectTest form(&db.Query());
    form.StudentID = QStringLiteral("S01");
    form.ClassID = QStringLiteral("1");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Label_Empty->isVisible(), !line.isEmpty());
    if (line.isEmpty())
        return;
    QCOMPARE(form.Label_Empty->text(), line);
    QVERIFY(form.rect().contains(RectIn(form.Label_Empty, &form)));
    QVERIFY(form.Label_Empty->height() >= form.Label_Empty->heightForWidth(form.Label_Empty->width()));
    QVERIFY(!InkBounds(form.Label_Empty).isEmpty());
}

void TestReadablePages::testListByKeyboard()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'ART', 'C', 'T')"});
    for (int i = 1; i <= 2; ++i) {
        db.Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) "
                                "VALUES (%1, 'Test %1', '', '', 2)")
                     .arg(i)});
        db.Exec(
            {QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (%1, 1, %1, '1')").arg(i)});
    }
    TForm_SelectTest form(&db.Query());
    form.StudentID = QStringLiteral("S01");
    form.ClassID = QStringLiteral("1");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.StringGrid->setFocus();
    // The arrow keys move between the tests, Tab leaves the grid for the buttons.
    QTest::keyClick(form.StringGrid, Qt::Key_Down);
    QCOMPARE(form.SelectedRow(), 2);
    QTest::keyClick(form.StringGrid, Qt::Key_Tab);
    QVERIFY(qobject_cast<QPushButton *>(QApplication::focusWidget()));
    // Enter takes the test chosen.
    form.StringGrid->setFocus();
    QTest::keyClick(form.StringGrid, Qt::Key_Return);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.Cancelled);
    QCOMPARE(form.TestID, QStringLiteral("2"));
}

QTEST_MAIN(TestReadablePages)
#include "tst_readablepages.moc"
