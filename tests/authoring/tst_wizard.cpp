#include "authoring/Wizard.h"
#include "common/ListClicks.h"
#include "common/ModalWindows.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Convert.h"
#include "toolkit/NvComboBox.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

#include <memory>

class TestWizard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void finishWritesEntries_data();
    void finishWritesEntries();
    void notFinishedChangesNothing_data();
    void notFinishedChangesNothing();
    void closeBoxOnLastPageApplies();
    void detailsApplyEvenWhenCancelled_data();
    void detailsApplyEvenWhenCancelled();
    void singleSelectKeepsOnePick();
    void dropDownKeepsAnswerWhenNoneSelected();

private:
    std::unique_ptr<QWidget> FSurface;
};

namespace {

// A question of any kind, with entries the wizard must replace.
QWidget *NewQuestion(const QString &className, QWidget *surface)
{
    QWidget *control = CreateComponent(className, surface, surface);
    SetStrProp(control, QStringLiteral("Question"), QStringLiteral("Old question"));
    const QStringList answers{QStringLiteral("old a"), QStringLiteral("old b")};
    if (auto *list = qobject_cast<TQAListbox *>(control)) {
        list->SetAnswers(answers);
        list->SetCorrectAnswers(QStringList{QStringLiteral("old b")});
    } else if (auto *combo = qobject_cast<TQACombobox *>(control)) {
        combo->SetAnswers(answers);
    } else if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        radio->SetAnswers(answers);
    }
    if (FindProperty(control, QStringLiteral("CorrectAnswer"))) // a date for the date kind
        SetStrProp(control, QStringLiteral("CorrectAnswer"),
                   qobject_cast<TQADateTime *>(control) ? QStringLiteral("01/02/2003") : QStringLiteral("old b"));
    return control;
}

void Click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void ReplaceText(QWidget *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// Types the lines into a memo, each one closed by Return as a teacher would.
void TypeLines(TQARichEdit *memo, const QStringList &lines)
{
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_Delete);
    for (const QString &line : lines) {
        QTest::keyClicks(memo, line);
        QTest::keyClick(memo, Qt::Key_Return);
    }
}

} // namespace

void TestWizard::initTestCase()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
    RegisterQuestionClasses();
    TDialogSeam::BeginScript();
}

void TestWizard::init()
{
    FSurface = std::make_unique<QWidget>();
    FSurface->resize(600, 400);
    TDialogSeam::ClearShown();
}

void TestWizard::cleanup()
{
    const bool closed = CloseModalWindows();
    FSurface.reset();
    // The wizard shows no boxes of its own.
    QVERIFY(TDialogSeam::Shown().isEmpty());
    QVERIFY2(closed, "a modal window refused to close");
}

void TestWizard::finishWritesEntries_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("multiSelect");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("correct"); // typed lines, picked lines, or an ISO date

    QTest::newRow("short answer") << "TQAMaskEdit" << false << QStringList() << QStringList{"Paris"};
    QTest::newRow("essay") << "TQARichEdit" << false << QStringList() << QStringList{"Water boils", "at 100 C"};
    QTest::newRow("date") << "TQADateTime" << false << QStringList() << QStringList{"2024-03-15"};
    QTest::newRow("list box, several") << "TQAListbox" << true << QStringList{"red", "green", "blue", "yellow"}
                                       << QStringList{"green", "yellow"};
    QTest::newRow("list box, one") << "TQAListbox" << false << QStringList{"red", "green", "blue"}
                                   << QStringList{"blue"};
    QTest::newRow("drop-down") << "TQACombobox" << false << QStringList{"1", "2", "3"} << QStringList{"2"};
    QTest::newRow("radio group") << "TQARadioGroup" << false << QStringList{"Mercury", "Venus", "Earth"}
                                 << QStringList{"Venus"};
}

void TestWizard::finishWritesEntries()
{
    QFETCH(QString, className);
    QFETCH(bool, multiSelect);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, correct);
    QWidget *control = NewQuestion(className, FSurface.get());
    if (auto *list = qobject_cast<TQAListbox *>(control))
        list->SetMultiSelect(multiSelect);
    const bool choice = !answers.isEmpty();
    const QString question = QStringLiteral("Which one, and why?");

    TForm_Wizard w;
    w.Control = control;
    w.show();
    ReplaceText(w.QAMaskEdit_Question, question);
    QCOMPARE(w.Label_SubTitle->text(), question);
    Click(w.BitBtn_Next);
    if (choice) {
        QCOMPARE(w.PageControl->currentWidget(), w.TabSheet_Answers);
        QVERIFY(w.Cancelled);
        TypeLines(w.QARichEdit_Answers, answers);
        Click(w.BitBtn_Next);
    }
    QCOMPARE(w.PageControl->currentWidget(), w.TabSheet_CorrectAnswers);
    QCOMPARE(w.BitBtn_Next->text(), QStringLiteral("&Finish"));
    QVERIFY(!w.Cancelled);

    if (choice) {
        QVERIFY(w.QAListbox_Correct->isVisible());
        QCOMPARE(w.QAListbox_Correct->Items()->Lines(), answers);
        for (const QString &line : correct)
            ClickLine(w.QAListbox_Correct, line);
    } else if (className == QLatin1String("TQAMaskEdit")) {
        QVERIFY(w.QAMaskEdit_Correct->isVisible());
        ReplaceText(w.QAMaskEdit_Correct, correct.first());
    } else if (className == QLatin1String("TQARichEdit")) {
        QVERIFY(w.QARichEdit_Correct->isVisible());
        TypeLines(w.QARichEdit_Correct, correct);
    } else {
        QCOMPARE(w.QADateTime_Correct->PickedDate(), QDate(2003, 2, 1)); // the present correct date
        w.QADateTime_Correct->setDate(QDate::fromString(correct.first(), Qt::ISODate));
    }
    Click(w.BitBtn_Next);
    QVERIFY(!w.isVisible());

    QCOMPARE(dynamic_cast<TQuestionControl *>(control)->Question(), question);
    if (auto *edit = qobject_cast<TQAMaskEdit *>(control)) {
        QCOMPARE(edit->CorrectAnswer(), correct.first());
    } else if (auto *memo = qobject_cast<TQARichEdit *>(control)) {
        // The essay's answer is the memo text with the closing line break the teacher typed.
        QCOMPARE(memo->CorrectAnswer(), correct.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    } else if (auto *date = qobject_cast<TQADateTime *>(control)) {
        QCOMPARE(date->CorrectAnswer(), QStringLiteral("15/03/2024"));
        QCOMPARE(date->DateAnswer(), 45366.0);
    } else if (auto *list = qobject_cast<TQAListbox *>(control)) {
        QCOMPARE(list->Answers()->Lines(), answers);
        QCOMPARE(list->Items()->Lines(), answers);
        QCOMPARE(list->CorrectAnswers()->Lines(), correct);
    } else if (auto *combo = qobject_cast<TQACombobox *>(control)) {
        QCOMPARE(combo->Answers()->Lines(), answers);
        QCOMPARE(combo->Items()->Lines(), answers);
        QCOMPARE(combo->CorrectAnswer(), correct.first());
    } else if (auto *radio = qobject_cast<TQARadioGroup *>(control)) {
        QCOMPARE(radio->Answers()->Lines(), answers);
        QCOMPARE(radio->ButtonCount(), int(answers.size()));
        QCOMPARE(radio->Button(2)->text(), answers.at(2));
        QCOMPARE(radio->CorrectAnswer(), correct.first());
    }
}

void TestWizard::notFinishedChangesNothing_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("nextClicks");
    QTest::addColumn<QString>("ending");

    QTest::newRow("short answer, Cancel on first page") << "TQAMaskEdit" << 0 << "cancel";
    QTest::newRow("list box, Cancel on first page") << "TQAListbox" << 0 << "cancel";
    QTest::newRow("date, Cancel on first page") << "TQADateTime" << 0 << "cancel";
    QTest::newRow("radio group, Escape on first page") << "TQARadioGroup" << 0 << "escape";
    QTest::newRow("essay, close box on first page") << "TQARichEdit" << 0 << "close";
    QTest::newRow("drop-down, close box on answers page") << "TQACombobox" << 1 << "close";
    QTest::newRow("list box, Cancel on last page") << "TQAListbox" << 2 << "cancel";
    QTest::newRow("essay, Escape on last page") << "TQARichEdit" << 1 << "escape";
    QTest::newRow("radio group, Previous from last page, close box") << "TQARadioGroup" << 2 << "previous";
    QTest::newRow("date, Previous from last page, close box") << "TQADateTime" << 1 << "previous";
}

void TestWizard::notFinishedChangesNothing()
{
    QFETCH(QString, className);
    QFETCH(int, nextClicks);
    QFETCH(QString, ending);
    QWidget *control = NewQuestion(className, FSurface.get());
    const QString before = ComponentToText(control);

    TForm_Wizard w;
    w.Control = control;
    w.show();
    ReplaceText(w.QAMaskEdit_Question, QStringLiteral("Changed"));
    for (int i = 0; i < nextClicks; ++i) {
        Click(w.BitBtn_Next);
        if (w.PageControl->currentWidget() == w.TabSheet_Answers)
            TypeLines(w.QARichEdit_Answers, {QStringLiteral("new a"), QStringLiteral("new b")});
    }
    if (w.PageControl->currentWidget() == w.TabSheet_CorrectAnswers) {
        if (w.QAListbox_Correct->isVisible())
            ClickLine(w.QAListbox_Correct, QStringLiteral("new b"));
        else if (w.QAMaskEdit_Correct->isVisible())
            ReplaceText(w.QAMaskEdit_Correct, QStringLiteral("changed"));
        else if (w.QARichEdit_Correct->isVisible())
            TypeLines(w.QARichEdit_Correct, {QStringLiteral("changed")});
        else
            w.QADateTime_Correct->setDate(QDate(2020, 5, 6));
    }

    if (ending == QLatin1String("cancel")) {
        Click(w.BitBtn_Cancel);
    } else if (ending == QLatin1String("escape")) {
        QTest::keyClick(w.focusWidget(), Qt::Key_Escape);
    } else {
        if (ending == QLatin1String("previous"))
            Click(w.BitBtn_Previous);
        w.close();
    }
    QVERIFY(!w.isVisible());
    QVERIFY(w.Cancelled);
    QCOMPARE(ComponentToText(control), before);
}

void TestWizard::closeBoxOnLastPageApplies()
{
    auto *radio = qobject_cast<TQARadioGroup *>(NewQuestion(QStringLiteral("TQARadioGroup"), FSurface.get()));
    TForm_Wizard w;
    w.Control = radio;
    bool stepsRan = false;
    QTimer::singleShot(0, this, [&] {
        ReplaceText(w.QAMaskEdit_Question, QStringLiteral("Largest planet?"));
        Click(w.BitBtn_Next);
        TypeLines(w.QARichEdit_Answers, {QStringLiteral("Mars"), QStringLiteral("Jupiter")});
        Click(w.BitBtn_Next);
        ClickLine(w.QAListbox_Correct, QStringLiteral("Jupiter"));
        stepsRan = true;
        w.close();
    });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QVERIFY(stepsRan);
    QCOMPARE(radio->Question(), QStringLiteral("Largest planet?"));
    QCOMPARE(radio->Items()->Lines(), (QStringList{QStringLiteral("Mars"), QStringLiteral("Jupiter")}));
    QCOMPARE(radio->CorrectAnswer(), QStringLiteral("Jupiter"));
}

void TestWizard::detailsApplyEvenWhenCancelled_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("nextClicks");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("shownBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("list box: MultiSelect off") << "TQAListbox" << 2 << "MultiSelect"
                                               << "True" << int(Qt::Key_Down) << "False";
    QTest::newRow("short answer: upper case") << "TQAMaskEdit" << 1 << "CharCase"
                                              << "ecNormal" << int(Qt::Key_Down) << "ecUpperCase";
    QTest::newRow("short answer: lower case") << "TQAMaskEdit" << 1 << "CharCase"
                                              << "ecNormal" << int(Qt::Key_Up) << "ecLowerCase";
}

void TestWizard::detailsApplyEvenWhenCancelled()
{
    QFETCH(QString, className);
    QFETCH(int, nextClicks);
    QFETCH(QString, property);
    QFETCH(QString, shownBefore);
    QFETCH(int, key);
    QFETCH(QString, chosen);
    QWidget *control = NewQuestion(className, FSurface.get());
    SetPropValue(control, property, shownBefore);
    const QString before = ComponentToText(control);

    TForm_Wizard w;
    w.Control = control;
    w.show();
    for (int i = 0; i < nextClicks; ++i)
        Click(w.BitBtn_Next);
    QVERIFY(w.NvComboBox_Details->isVisible());
    QCOMPARE(w.NvComboBox_Details->Text(), shownBefore);
    w.NvComboBox_Details->setFocus();
    QTest::keyClick(w.NvComboBox_Details, Qt::Key(key));
    QCOMPARE(w.NvComboBox_Details->Text(), chosen);
    // The wizard's own input follows at once.
    QWidget *input = w.QAListbox_Correct;
    if (className == QLatin1String("TQAMaskEdit"))
        input = w.QAMaskEdit_Correct;
    QCOMPARE(GetPropValue(input, property), chosen);
    Click(w.BitBtn_Cancel);

    QCOMPARE(GetPropValue(control, property), chosen);
    SetPropValue(control, property, shownBefore);
    QCOMPARE(ComponentToText(control), before); // nothing else was written
}

void TestWizard::singleSelectKeepsOnePick()
{
    auto *list = qobject_cast<TQAListbox *>(NewQuestion(QStringLiteral("TQAListbox"), FSurface.get()));
    list->SetMultiSelect(true);
    list->SetAnswers(QStringList{"a", "b", "c", "d"});
    list->SetCorrectAnswers(QStringList{"b", "d"});

    TForm_Wizard w;
    w.Control = list;
    w.show();
    Click(w.BitBtn_Next);
    Click(w.BitBtn_Next);
    QCOMPARE(SelectedLines(w.QAListbox_Correct), (QStringList{"b", "d"}));
    w.NvComboBox_Details->setFocus();
    QTest::keyClick(w.NvComboBox_Details, Qt::Key_Down); // "False"
    QCOMPARE(SelectedLines(w.QAListbox_Correct).size(), 1);
    Click(w.BitBtn_Next);
    QCOMPARE(list->CorrectAnswers()->Count(), 1);
    QVERIFY(QStringList({"b", "d"}).contains(list->CorrectAnswers()->Strings(0)));
}

void TestWizard::dropDownKeepsAnswerWhenNoneSelected()
{
    auto *combo = qobject_cast<TQACombobox *>(NewQuestion(QStringLiteral("TQACombobox"), FSurface.get()));
    TForm_Wizard w;
    w.Control = combo;
    w.show();
    Click(w.BitBtn_Next);
    TypeLines(w.QARichEdit_Answers, {QStringLiteral("one"), QStringLiteral("two")});
    Click(w.BitBtn_Next);
    QVERIFY(SelectedLines(w.QAListbox_Correct).isEmpty());
    Click(w.BitBtn_Next);
    QCOMPARE(combo->Answers()->Lines(), (QStringList{"one", "two"}));
    QCOMPARE(combo->CorrectAnswer(), QStringLiteral("old b"));
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
