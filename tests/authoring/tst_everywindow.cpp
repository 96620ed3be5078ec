// The windows not reached from the records windows, in both programs, walked by Tab as a
// keyboard user walks them and read as a screen reader reads them; and the windows laid
// out in pixels, shown with a larger font, keep every caption and field whole.

#include "authoring/CorrectAnswers.h"
#include "authoring/QuestionStatistics.h"
#include "authoring/SelectClass.h"
#include "authoring/SelectQuestion.h"
#include "authoring/TestEdit.h"
#include "authoring/Wizard.h"
#include "common/KeyboardWalk.h"
#include "common/ModalWindows.h"
#include "common/Rendered.h"
#include "common/TestDatabase.h"
#include "designer/AlignDialog.h"
#include "designer/EditMaskDialog.h"
#include "designer/StringEdit.h"
#include "dialogs/HelpForm.h"
#include "dialogs/HelpMenu.h"
#include "dialogs/SaveMsgDlg.h"
#include "question/QuestionControls.h"
#include "testing/Login.h"
#include "testing/Main.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/StdDialogs.h"

#include <QAbstractButton>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using TMaker = std::function<QWidget *(TTestDatabase &, QWidget *surface)>;

void Fill(TTestDatabase &db)
{
    db.Exec({"INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (1, 'Algebra', '', '', 2)"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Room 5', '', '')"});
    db.Exec({"INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (1, 'QAMaskEdit_1', 'Two and two?', '')"});
    db.Exec({"INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, 1, 1)"});
    db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (1, 'A', 'B', 'C', 'S1')"});
    db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, 'S1', 1)"});
}

TQAListbox *ListQuestion(QWidget *surface)
{
    auto *list = new TQAListbox(surface, surface);
    SetComponentName(list, QStringLiteral("QAListbox_1"));
    list->SetQuestion(QStringLiteral("Pick the prime numbers"));
    list->SetAnswers({QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four")});
    list->SetMultiSelect(true);
    return list;
}

TForm_Wizard *Wizard(QWidget *surface, int nextClicks)
{
    auto *wizard = new TForm_Wizard;
    wizard->Control = ListQuestion(surface);
    wizard->show();
    for (int i = 0; i < nextClicks; ++i)
        QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
    return wizard;
}

TForm_CorrectAnswers *CorrectAnswers(QWidget *surface)
{
    auto *dialog = new TForm_CorrectAnswers;
    dialog->Control = ListQuestion(surface);
    dialog->PropertyName = QStringLiteral("CorrectAnswers");
    return dialog;
}

TForm_Login *PasswordWindow(TTestDatabase &db)
{
    auto *login = new TForm_Login(&db.Query());
    login->SetLoginMode(ModeChangePassword);
    return login;
}

TForm_TestWizard *TestWizard(TTestDatabase &db)
{
    auto *wizard = new TForm_TestWizard(&db.Query(), false);
    wizard->TestID = "1";
    wizard->ConnectionString = ConnectionStringFor(db.Path());
    return wizard;
}

// Shows the window and gives it the focus as the user finds it.
bool ShowActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    if (!QApplication::focusWidget() || QApplication::focusWidget()->window() != window)
        window->nextInFocusChain()->setFocus(Qt::TabFocusReason);
    return true;
}

QString Plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

// What of the window a larger font has cut: a caption wider or taller than its widget,
// a widget reaching out of its parent, a caption under a button.
QStringList CutByFont(QWidget *window)
{
    QStringList cut;
    const auto visible = [window](QWidget *widget) { return widget->isVisibleTo(window) && !widget->isWindow(); };
    const auto outside = [](QWidget *widget) {
        return widget->parentWidget() && !widget->parentWidget()->rect().contains(widget->geometry());
    };
    QList<QRect> buttons;
    for (auto *button : window->findChildren<QPushButton *>()) {
        if (!visible(button))
            continue;
        const QFontMetrics metrics(button->font());
        const QSize text(metrics.horizontalAdvance(Plain(button->text())), metrics.height());
        if (text.width() + 8 > button->width() || text.height() + 4 > button->height() || outside(button))
            cut << button->objectName();
        buttons << RectIn(button, window);
    }
    for (auto *label : window->findChildren<QLabel *>()) {
        if (!visible(label) || label->text().isEmpty())
            continue;
        const QRect inner = label->contentsRect();
        const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                            : label->sizeHint().width() <= label->width() + 1 &&
                                                  label->fontMetrics().height() <= inner.height();
        bool underButton = false;
        for (const QRect &button : buttons)
            underButton = underButton || button.intersects(RectIn(label, window));
        if (!fits || outside(label) || underButton)
            cut << label->objectName();
    }
    for (auto *edit : window->findChildren<QLineEdit *>()) {
        QWidget *field = edit->parentWidget() && edit->parentWidget()->focusProxy() == edit ? edit->parentWidget()
                                                                                            : edit;
        if (visible(edit) && (outside(field) || edit->height() < edit->minimumSizeHint().height()))
            cut << field->objectName();
    }
    return cut;
}

} // namespace

class TestEveryWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void byTabAndByName_data();
    void byTabAndByName();
    void largerFontCutsNothing_data();
    void largerFontCutsNothing();

private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<QWidget> FSurface;
};

void TestEveryWindow::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Corvella"));
    RegisterQuestionClasses();
}

void TestEveryWindow::init()
{
    TDialogSeam::BeginScript();
    FDb = std::make_unique<TTestDatabase>();
    Fill(*FDb);
    FSurface = std::make_unique<QWidget>();
}

void TestEveryWindow::cleanup()
{
    QVERIFY(CloseModalWindows());
    FSurface.reset();
    FDb.reset();
    TDialogSeam::EndScript();
}

void TestEveryWindow::byTabAndByName_data()
{
    QTest::addColumn<TMaker>("make");
    QTest::addColumn<QStringList>("stops");
    QTest::newRow("question wizard, question")
        << TMaker([](TTestDatabase &, QWidget *surface) { return Wizard(surface, 0); })
        << QStringList{"QAMaskEdit_Question", "BitBtn_Next", "BitBtn_Cancel"};
    QTest::newRow("question wizard, answers")
        << TMaker([](TTestDatabase &, QWidget *surface) { return Wizard(surface, 1); })
        << QStringList{"QARichEdit_Answers", "BitBtn_Previous", "BitBtn_Next", "BitBtn_Cancel"};
    QTest::newRow("question wizard, correct answers")
        << TMaker([](TTestDatabase &, QWidget *surface) { return Wizard(surface, 2); })
        << QStringList{"QAListbox_Correct", "BitBtn_Previous", "BitBtn_Next", "BitBtn_Cancel", "NvComboBox_Details"};
    QTest::newRow("correct answers") << TMaker([](TTestDatabase &, QWidget *surface) {
        return CorrectAnswers(surface);
    }) << QStringList{"QAListbox_Answers", "Button_OK", "Button_Cancel"};
    QTest::newRow("strings editor") << TMaker([](TTestDatabase &, QWidget *) { return new TForm_StringEdit; })
                                    << QStringList{"RichEdit_Strings", "Button_Ok", "Button_Cancel"};
    QTest::newRow("input mask editor") << TMaker([](TTestDatabase &, QWidget *) { return new TForm_Editmask; })
                                       << QStringList{};
    QTest::newRow("font dialog") << TMaker([](TTestDatabase &, QWidget *) { return TFontDialog().Build(nullptr); })
                                 << QStringList{};
    QTest::newRow("align dialog") << TMaker([](TTestDatabase &, QWidget *) { return new TForm_Align(nullptr); })
                                  << QStringList{"RadioGroup_Horz", "RadioGroup_Vert", "BitBtn_OK", "BitBtn_Cancel"};
    QTest::newRow("question statistics") << TMaker([](TTestDatabase &db, QWidget *) {
        return new TForm_QuestionStatistics(&db.Query());
    }) << QStringList{"NvComboBox_Test", "NvComboBox_Class", "Grid_Statistics", "BitBtn_Preview", "BitBtn_Close"};
    QTest::newRow("select a class to print") << TMaker([](TTestDatabase &, QWidget *) {
        auto *select = new Corvella::TForm_SelectClass;
        select->ClassList = {{"Room 5", "Maths", "Ms Lee", "1"}, {"Room 6", "Maths", "Mr Kay", "2"}};
        select->FromList = true;
        return select;
    }) << QStringList{"QAListbox_Classes", "Button_OK", "Button_Cancel"};
    QTest::newRow("select a question") << TMaker([](TTestDatabase &db, QWidget *) {
        return new TForm_SelectQuestion(&db.Query());
    }) << QStringList{"QAListbox_Questions", "Button_OK", "Button_Cancel", "BitBtn_Find"};
    QTest::newRow("test to print") << TMaker([](TTestDatabase &db, QWidget *) {
        auto *tests = new TForm_TestEdit(&db.Query());
        tests->SetPicking(true);
        tests->WithQuestionsOnly = true;
        tests->Panel_Key->show();
        return tests;
    }) << QStringList{"StringGrid", "BitBtn_OK", "BitBtn_Cancel", "CheckBox_Key"};
    QTest::newRow("password") << TMaker([](TTestDatabase &db, QWidget *) { return PasswordWindow(db); })
                              << QStringList{"NvMaskEdit_Password", "NvMaskEdit_NewPassword",
                                             "NvMaskEdit_ConfirmPassword", "BitBtn_OK", "BitBtn_Cancel"};
    QTest::newRow("testing program's main window")
        << TMaker([](TTestDatabase &, QWidget *) { return new Tamberlin::TForm_Main; }) << QStringList{"Button_Test"};
    QTest::newRow("message dialog") << TMaker([](TTestDatabase &, QWidget *) {
        return new TForm_SaveMsg(QStringLiteral("Delete the test?"), MsgConfirm, BtnYes | BtnNo | BtnCancel);
    }) << QStringList{"Button_Yes", "Button_No", "Button_Cancel"};
    QTest::newRow("help topics") << TMaker([](TTestDatabase &, QWidget *) { return new TForm_HelpMenu; })
                                 << QStringList{"PageControl", "ListBox_Help", "BitBtn_Display", "BitBtn_Close"};
    QTest::newRow("help viewer") << TMaker([](TTestDatabase &, QWidget *) { return new TForm_HelpForm; })
                                 << QStringList{"BitBtn_Topics", "BitBtn_Print", "HTML"};
    QTest::newRow("print dialog") << TMaker([](TTestDatabase &, QWidget *) {
        static QPrinter printer;
        return new QPrintDialog(&printer);
    }) << QStringList{};
}

// What keeps a keyboard or screen reader user from the window: from the first focus Tab
// must go round the window and back, through the given stops when there are any,
// Shift+Tab the same way backwards; every stop, button and answer control has a name and
// a role. "" when nothing does.
static QString WalkFault(QWidget *window, const QStringList &stops)
{
    const TTabWalk walk = WalkByTab(window);
    const QStringList names = walk.Names();
    const QString seen = QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (stops.size() == 1) // a lone stop keeps the focus, which is no trap
        return names == stops ? QString() : QStringLiteral("stops") + seen;
    if (!walk.Fault.isEmpty())
        return walk.Fault + seen;
    if (!stops.isEmpty() && names != stops)
        return QStringLiteral("another order") + seen;
    for (QWidget *stop : walk.Stops)
        if (const QString fault = AccessibleFault(stop); !fault.isEmpty())
            return fault;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const bool answer = dynamic_cast<TQuestionControl *>(widget) != nullptr;
        if ((answer || qobject_cast<QAbstractButton *>(widget)) && widget->isVisibleTo(window) &&
            widget->focusPolicy() != Qt::NoFocus)
            if (const QString fault = AccessibleFault(widget); !fault.isEmpty())
                return fault;
    }
    walk.Stops.first()->setFocus(Qt::TabFocusReason);
    const TTabWalk back = WalkByTab(window, true);
    QStringList backwards = back.Names();
    if (!backwards.isEmpty())
        std::reverse(backwards.begin() + 1, backwards.end());
    if (!back.Fault.isEmpty() || backwards != names)
        return QStringLiteral("Shift+Tab: ") + back.Fault + QStringLiteral(" (") +
               back.Names().join(QStringLiteral(", ")) + QLatin1Char(')');
    return QString();
}

void TestEveryWindow::byTabAndByName()
{
    QFETCH(TMaker, make);
    QFETCH(QStringList, stops);
    std::unique_ptr<QWidget> window(make(*FDb, FSurface.get()));
    QVERIFY(ShowActive(window.get()));
    const QString fault = WalkFault(window.get(), stops);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void TestEveryWindow::largerFontCutsNothing_data()
{
    QTest::addColumn<TMaker>("make");
    QTest::newRow("question wizard, question")
        << TMaker([](TTestDatabase &, QWidget *surface) { return Wizard(surface, 0); });
    QTest::newRow("question wizard, correct answers")
        << TMaker([](TTestDatabase &, QWidget *surface) { return Wizard(surface, 2); });
    QTest::newRow("correct answers") << TMaker(
        [](TTestDatabase &, QWidget *surface) { return CorrectAnswers(surface); });
    QTest::newRow("login") << TMaker([](TTestDatabase &db, QWidget *) { return new TForm_Login(&db.Query()); });
    QTest::newRow("password") << TMaker([](TTestDatabase &db, QWidget *) { return PasswordWindow(db); });
    QTest::newRow("select a class") << TMaker(
        [](TTestDatabase &db, QWidget *) { return new Tamberlin::TForm_SelectClass(&db.Query()); });
    QTest::newRow("select a test") << TMaker(
        [](TTestDatabase &db, QWidget *) { return new Tamberlin::TForm_SelectTest(&db.Query()); });
    QTest::newRow("test wizard") << TMaker([](TTestDatabase &db, QWidget *) { return TestWizard(db); });
    QTest::newRow("message dialog") << TMaker([](TTestDatabase &, QWidget *) {
        return new TForm_SaveMsg(QStringLiteral("Delete the test?"), MsgConfirm,
                                 BtnYes | BtnNo | BtnCancel | BtnIgnore | BtnAll);
    });
    QTest::newRow("help topics") << TMaker([](TTestDatabase &, QWidget *) { return new TForm_HelpMenu; });
}

// A font half as large again as the normal one (as 144 dots an inch draw it).
void TestEveryWindow::largerFontCutsNothing()
{
    QFETCH(TMaker, make);
    const QFont normal = QApplication::font();
    QFont larger = normal;
    larger.setPointSizeF(normal.pointSizeF() * 1.5);
    QApplication::setFont(larger);
    std::unique_ptr<QWidget> window(make(*FDb, FSurface.get()));
    window->show();
    const bool exposed = QTest::qWaitForWindowExposed(window.get());
    const QStringList cut = CutByFont(window.get());
    window.reset();
    QApplication::setFont(normal);
    QVERIFY(exposed);
    QVERIFY2(cut.isEmpty(), qPrintable("cut: " + cut.join(", ")));
}

QTEST_MAIN(TestEveryWindow)
#include "tst_everywindow.moc"
