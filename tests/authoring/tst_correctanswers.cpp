#include "authoring/CorrectAnswers.h"
#include "common/ListClicks.h"
#include "common/ModalWindows.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "toolkit/Convert.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

class TestCorrectAnswers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void listBoxPicks_data();
    void listBoxPicks();
    void singleChoicePicks_data();
    void singleChoicePicks();
    void datePick_data();
    void datePick();
    void dateClosedWithoutPickKeepsAnswer();
    void cancelKeepsQuestion_data();
    void cancelKeepsQuestion();
    void otherRowWritesNothing();
    void modalOK();

private:
    std::unique_ptr<QWidget> FSurface;
};

namespace {

} // namespace

void TestCorrectAnswers::initTestCase()
{
    RegisterQuestionClasses();
    TDialogSeam::BeginScript();
}

void TestCorrectAnswers::init()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
    FSurface = std::make_unique<QWidget>();
}

void TestCorrectAnswers::cleanup()
{
    const bool closed = CloseModalWindows();
    FSurface.reset();
    QVERIFY2(closed, "a modal window refused to close");
}

void TestCorrectAnswers::cleanupTestCase()
{
    SetShortDateFormat(QString());
}

void TestCorrectAnswers::listBoxPicks_data()
{
    QTest::addColumn<bool>("multiSelect");
    QTest::addColumn<QStringList>("correct");
    QTest::addColumn<QStringList>("shown"); // selected when the window opens
    QTest::addColumn<QStringList>("clicked");
    QTest::addColumn<QStringList>("expected");

    const QStringList none;
    QTest::newRow("several: deselect d") << true << QStringList{"b", "d"} << QStringList{"b", "d"} << QStringList{"d"}
                                         << QStringList{"b"};
    QTest::newRow("several: add a and e, in list order") << true << QStringList{"d", "b"} << QStringList{"b", "d"}
                                                         << QStringList{"e", "a"} << QStringList{"a", "b", "d", "e"};
    QTest::newRow("several: stale entry dropped")
        << true << QStringList{"gone", "c"} << QStringList{"c"} << none << QStringList{"c"};
    QTest::newRow("one: nothing selected") << false << none << none << none << none;
    QTest::newRow("one: first entry shown, another picked")
        << false << QStringList{"c", "a"} << QStringList{"c"} << QStringList{"e"} << QStringList{"e"};
}

void TestCorrectAnswers::listBoxPicks()
{
    QFETCH(bool, multiSelect);
    QFETCH(QStringList, correct);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, clicked);
    QFETCH(QStringList, expected);
    auto *list = new TQAListbox(FSurface.get(), FSurface.get());
    list->SetMultiSelect(multiSelect);
    list->SetAnswers(QStringList{"a", "b", "c", "d", "e"});
    list->SetCorrectAnswers(correct);

    TForm_CorrectAnswers w;
    w.Control = list;
    w.PropertyName = QStringLiteral("CorrectAnswers");
    w.show();
    QCOMPARE(w.NvLabel_Answers->text(), QStringLiteral("Select Correct Answers"));
    QVERIFY(w.QAListbox_Answers->isVisible());
    QVERIFY(!w.QADateTime_Answer->isVisible());
    QCOMPARE(w.QAListbox_Answers->MultiSelect(), multiSelect);
    QCOMPARE(SelectedLines(w.QAListbox_Answers), shown);
    for (const QString &line : clicked)
        ClickLine(w.QAListbox_Answers, line);
    QTest::mouseClick(w.Button_OK, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(list->CorrectAnswers()->Lines(), expected);
    QCOMPARE(list->Answers()->Lines(), (QStringList{"a", "b", "c", "d", "e"}));
}

void TestCorrectAnswers::singleChoicePicks_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("clicked"); // empty: nothing picked
    QTest::addColumn<QString>("expected");

    QTest::newRow("drop-down, pick") << "TQACombobox"
                                     << "Oslo"
                                     << "Oslo";
    QTest::newRow("drop-down, nothing selected keeps the answer") << "TQACombobox"
                                                                  << ""
                                                                  << "Paris";
    QTest::newRow("radio group, pick") << "TQARadioGroup"
                                       << "Rome"
                                       << "Rome";
    QTest::newRow("radio group, nothing selected keeps the answer") << "TQARadioGroup"
                                                                    << ""
                                                                    << "Paris";
}

void TestCorrectAnswers::singleChoicePicks()
{
    QFETCH(QString, className);
    QFETCH(QString, clicked);
    QFETCH(QString, expected);
    const QStringList answers{"Oslo", "Rome", "Bern"};
    QWidget *control = CreateComponent(className, FSurface.get(), FSurface.get());
    if (auto *radio = qobject_cast<TQARadioGroup *>(control))
        radio->SetAnswers(answers);
    else
        qobject_cast<TQACombobox *>(control)->SetAnswers(answers);
    SetStrProp(control, QStringLiteral("CorrectAnswer"), QStringLiteral("Paris")); // not among the answers

    TForm_CorrectAnswers w;
    w.Control = control;
    w.PropertyName = QStringLiteral("CorrectAnswer");
    w.show();
    QCOMPARE(w.NvLabel_Answers->text(), QStringLiteral("Select Correct Answer:"));
    QCOMPARE(w.QAListbox_Answers->Items()->Lines(), answers);
    QVERIFY(!w.QAListbox_Answers->MultiSelect());
    QVERIFY(SelectedLines(w.QAListbox_Answers).isEmpty());
    if (!clicked.isEmpty())
        ClickLine(w.QAListbox_Answers, clicked);
    QTest::mouseClick(w.Button_OK, Qt::LeftButton);
    QCOMPARE(GetStrProp(control, QStringLiteral("CorrectAnswer")), expected);
}

void TestCorrectAnswers::datePick_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("dayNumber");

    QTest::newRow("day first") << "dd/MM/yyyy" << QDate(2025, 7, 4) << "04/07/2025" << 45842.0;
    QTest::newRow("month first") << "MM/dd/yyyy" << QDate(2025, 7, 4) << "07/04/2025" << 45842.0;
    QTest::newRow("dots, far past") << "dd.MM.yyyy" << QDate(1900, 3, 1) << "01.03.1900" << 61.0;
}

void TestCorrectAnswers::datePick()
{
    QFETCH(QString, format);
    QFETCH(QDate, picked);
    QFETCH(QString, text);
    QFETCH(double, dayNumber);
    SetShortDateFormat(format);
    auto *date = new TQADateTime(FSurface.get(), FSurface.get());
    date->SetDate(DateToDayNumber(QDate(2010, 1, 1)));

    TForm_CorrectAnswers w;
    w.Control = date;
    w.PropertyName = QStringLiteral("CorrectAnswer");
    w.show();
    QVERIFY(w.QADateTime_Answer->isVisible());
    QVERIFY(!w.QAListbox_Answers->isVisible());
    QCOMPARE(w.NvLabel_Answers->parentWidget(), static_cast<QWidget *>(&w));
    QCOMPARE(w.NvLabel_Answers->x(), w.QADateTime_Answer->x());
    // Without a correct date yet, the picker starts where the question's own picker is.
    QCOMPARE(w.QADateTime_Answer->PickedDate(), QDate(2010, 1, 1));
    w.QADateTime_Answer->setDate(picked);
    QTest::mouseClick(w.Button_OK, Qt::LeftButton);
    QCOMPARE(date->CorrectAnswer(), text);
    QCOMPARE(date->DateAnswer(), dayNumber);
}

void TestCorrectAnswers::dateClosedWithoutPickKeepsAnswer()
{
    auto *date = new TQADateTime(FSurface.get(), FSurface.get());
    date->SetCorrectAnswer(QStringLiteral("24/12/2001"));
    date->SetDate(DateToDayNumber(QDate(2019, 9, 9))); // what the question's picker shows
    const double before = date->DateAnswer();

    TForm_CorrectAnswers w;
    w.Control = date;
    w.PropertyName = QStringLiteral("CorrectAnswer");
    w.show();
    QCOMPARE(w.QADateTime_Answer->PickedDate(), QDate(2001, 12, 24));
    w.close(); // the close box applies, like OK
    QVERIFY(!w.Cancelled);
    QCOMPARE(date->CorrectAnswer(), QStringLiteral("24/12/2001"));
    QCOMPARE(date->DateAnswer(), before);
}

void TestCorrectAnswers::cancelKeepsQuestion_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel") << false;
    QTest::newRow("Escape") << true;
}

void TestCorrectAnswers::cancelKeepsQuestion()
{
    QFETCH(bool, escape);
    auto *list = new TQAListbox(FSurface.get(), FSurface.get());
    list->SetMultiSelect(true);
    list->SetAnswers(QStringList{"a", "b", "c"});
    list->SetCorrectAnswers(QStringList{"a", "c"});

    TForm_CorrectAnswers w;
    w.Control = list;
    w.PropertyName = QStringLiteral("CorrectAnswers");
    w.show();
    ClickLine(w.QAListbox_Answers, QStringLiteral("a"));
    ClickLine(w.QAListbox_Answers, QStringLiteral("b"));
    if (escape)
        QTest::keyClick(w.QAListbox_Answers, Qt::Key_Escape);
    else
        QTest::mouseClick(w.Button_Cancel, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(w.Cancelled);
    QCOMPARE(list->CorrectAnswers()->Lines(), (QStringList{"a", "c"}));
}

void TestCorrectAnswers::otherRowWritesNothing()
{
    auto *list = new TQAListbox(FSurface.get(), FSurface.get());
    list->SetAnswers(QStringList{"a", "b"});
    list->SetCorrectAnswers(QStringList{"b"});
    TForm_CorrectAnswers w;
    w.Control = list;
    w.PropertyName = QStringLiteral("Course");
    w.show();
    QTest::mouseClick(w.Button_OK, Qt::LeftButton);
    QCOMPARE(list->CorrectAnswers()->Lines(), QStringList{"b"});
}

void TestCorrectAnswers::modalOK()
{
    auto *combo = new TQACombobox(FSurface.get(), FSurface.get());
    combo->SetAnswers(QStringList{"x", "y"});
    TForm_CorrectAnswers w;
    w.Control = combo;
    w.PropertyName = QStringLiteral("CorrectAnswer");
    QTimer::singleShot(0, this, [&] {
        ClickLine(w.QAListbox_Answers, QStringLiteral("y"));
        QTest::keyClick(w.QAListbox_Answers, Qt::Key_Return); // the default button
    });
    QCOMPARE(w.exec(), int(QDialog::Accepted));
    QCOMPARE(combo->CorrectAnswer(), QStringLiteral("y"));
}

QTEST_MAIN(TestCorrectAnswers)
#include "tst_correctanswers.moc"
