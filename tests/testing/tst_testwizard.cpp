#include "common/TestDatabase.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// A test (ID 1) of questions stored as the authoring program stores them.
class TWizardFixture {
public:
    TTestDatabase Db;

    // Takes a freshly made control, gives it an ID and a name, stores and appends it.
    void Add(QWidget *control, const QString &question)
    {
        std::unique_ptr<QWidget> owned(control);
        const int id = ++FLastID;
        AddControl(Db, id, control, question);
        AddDetail(Db, 1, id, ++FSequence);
    }

    void AddText(int id, const QString &text)
    {
        FLastID = std::max(FLastID, id);
        AddControl(Db, id, text);
        AddDetail(Db, 1, id, ++FSequence);
    }

    std::unique_ptr<TForm_TestWizard> Open(bool testingProgram)
    {
        auto wizard = std::make_unique<TForm_TestWizard>(&Db.Query(), testingProgram);
        wizard->TestID = QStringLiteral("1");
        wizard->StudentID = QStringLiteral("O'NEILL");
        wizard->ClassID = QStringLiteral("3");
        wizard->SaveResult = testingProgram;
        wizard->ConnectionString = ConnectionStringFor(Db.Path());
        wizard->show();
        return wizard;
    }

    QStringList Results(const QString &columns)
    {
        return Db.Column({QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM testresults ORDER BY SERIAL")});
    }

private:
    int FLastID = 0;
    int FSequence = 0;
};

QWidget *MakeEdit(const QString &correct)
{
    auto edit = new TQAMaskEdit(nullptr);
    edit->SetBounds(0, 0, 200, 21);
    edit->SetCorrectAnswer(correct);
    return edit;
}

QWidget *MakeCombo(const QStringList &answers, const QString &correct)
{
    auto combo = new TQACombobox(nullptr);
    combo->SetBounds(0, 0, 200, 21);
    combo->SetStyle(csDropDownList);
    combo->SetAnswers(answers);
    combo->SetCorrectAnswer(correct);
    return combo;
}

QWidget *MakeRadio(const QStringList &answers, const QString &correct)
{
    auto radio = new TQARadioGroup(nullptr);
    radio->SetBounds(0, 0, 260, 105);
    radio->SetAnswers(answers);
    radio->SetCorrectAnswer(correct);
    return radio;
}

QWidget *MakeList(const QStringList &answers, const QStringList &correct, bool multi)
{
    auto list = new TQAListbox(nullptr);
    list->SetBounds(0, 0, 200, 97);
    list->SetExtendedSelect(false);
    list->SetMultiSelect(multi);
    list->SetAnswers(answers);
    list->SetCorrectAnswers(correct);
    return list;
}

QWidget *MakeMemo(const QString &correct)
{
    auto memo = new TQARichEdit(nullptr);
    memo->SetBounds(0, 0, 380, 140);
    memo->SetCorrectAnswer(correct);
    return memo;
}

QWidget *MakeDate(const QString &correct)
{
    auto date = new TQADateTime(nullptr);
    date->SetBounds(0, 0, 186, 21);
    date->SetCorrectAnswer(correct);
    return date;
}

// Answers the shown question as a student would: typing, picking, checking.
void Answer(QWidget *control, const QVariant &response)
{
    if (auto edit = qobject_cast<TQAMaskEdit *>(control)) {
        edit->setFocus();
        QTest::keyClicks(edit, response.toString());
    } else if (auto combo = qobject_cast<TQACombobox *>(control)) {
        combo->setCurrentIndex(response.toInt());
    } else if (auto radio = qobject_cast<TQARadioGroup *>(control)) {
        if (QRadioButton *button = radio->Button(response.toInt())) {
            QCoreApplication::processEvents(); // laid out, as before the student gets to it
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        }
    } else if (auto list = qobject_cast<TQAListbox *>(control)) {
        for (const QVariant &index : response.toList())
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(index.toInt())).center());
    } else if (auto memo = qobject_cast<TQARichEdit *>(control)) {
        memo->setPlainText(response.toString());
    } else if (auto date = qobject_cast<TQADateTime *>(control)) {
        date->setDate(response.toDate());
    }
}

// A question that is right when answered "yes" and wrong otherwise.
void AddYesQuestions(TWizardFixture &f, int count)
{
    for (int i = 0; i < count; ++i)
        f.Add(MakeEdit(QStringLiteral("yes")), QStringLiteral("Question %1?").arg(i + 1));
}

void AnswerAll(TForm_TestWizard &wizard, const QList<bool> &right)
{
    for (bool r : right) {
        if (auto edit = qobject_cast<TQAMaskEdit *>(wizard.CurrentControl()))
            edit->SetText(QString());
        Answer(wizard.CurrentControl(), r ? QStringLiteral("yes") : QStringLiteral("no"));
        QTest::mouseClick(wizard.BitBtn_Next, Qt::LeftButton);
    }
}

QString Grade(const char *whole, char tenth)
{
    return QString::fromLatin1(whole) + DecimalSeparator() + QLatin1Char(tenth);
}

} // namespace

using TMakeControl = std::function<QWidget *()>;
Q_DECLARE_METATYPE(TMakeControl)

class TestTestWizard : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void gradeArithmetic_data();
    void gradeArithmetic();
    void gradeByKind_data();
    void gradeByKind();
    void finishedTest_data();
    void finishedTest();
    void resultUpdatesExistingRow();
    void previousChangesTallyNotGrade();
    void authoringVariant();
    void sameQuestionTextKeepsBothAnswers();
    void controlsAreCentred();
    void unavailableTest_data();
    void unavailableTest();
    void failedWriteKeepsGrade_data();
    void failedWriteKeepsGrade();

private:
    std::unique_ptr<QTemporaryDir> FKeep;
};

void TestTestWizard::initTestCase()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
}

void TestTestWizard::init()
{
    TDialogSeam::BeginScript();
    // Results that cannot be stored are kept here, not in the user's own folder.
    FKeep = std::make_unique<QTemporaryDir>();
    SetLocalStoreFolder(FKeep->path());
}

void TestTestWizard::cleanup()
{
    TKeptResultRetrier::Instance()->Stop();
    SetLocalStoreFolder(QString());
    TDialogSeam::EndScript();
}

void TestTestWizard::gradeArithmetic_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<int>("incorrect");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("whole");

    QTest::newRow("2 of 3") << 2 << 1 << Grade("66", '7') << 66;
    QTest::newRow("7 of 10") << 7 << 3 << Grade("70", '0') << 70;
    QTest::newRow("all correct") << 5 << 0 << Grade("100", '0') << 100;
    QTest::newRow("1 of 16 rounds half up") << 1 << 15 << Grade("6", '3') << 6;
    QTest::newRow("1 of 200") << 1 << 199 << Grade("0", '5') << 0;
    QTest::newRow("199 of 200") << 199 << 1 << Grade("99", '5') << 99;
    // The extended quotient lies just below 53; shown and stored agree all the same.
    QTest::newRow("53 of 100") << 53 << 47 << Grade("53", '0') << 53;
    QTest::newRow("59 of 200 times 2") << 118 << 82 << Grade("59", '0') << 59;
    QTest::newRow("none correct") << 0 << 4 << Grade("0", '0') << 0;
}

void TestTestWizard::gradeArithmetic()
{
    QFETCH(int, correct);
    QFETCH(int, incorrect);
    QFETCH(QString, shown);
    QFETCH(int, whole);

    const long double grade = ComputeGrade(correct, incorrect);
    QCOMPARE(FormatGrade(grade), shown);
    QCOMPARE(WholeGrade(grade), whole);
}

void TestTestWizard::gradeByKind_data()
{
    QTest::addColumn<std::function<QWidget *()>>("make");
    QTest::addColumn<QVariant>("response");
    QTest::addColumn<bool>("correct");
    QTest::addColumn<QString>("recorded");

    const QStringList rivers{QStringLiteral("Congo"), QStringLiteral("Nile"), QStringLiteral("Niger")};
    const QStringList countries{QStringLiteral("Austria"), QStringLiteral("Spain"), QStringLiteral("Poland"),
                                QStringLiteral("Denmark")};
    auto edit = [](const char *c) { return TMakeControl([c] { return MakeEdit(QString::fromLatin1(c)); }); };

    QTest::newRow("edit: blanks around the answer")
        << edit("PARIS") << QVariant(QStringLiteral("  PARIS  ")) << true << QStringLiteral("  PARIS  ");
    QTest::newRow("edit: blanks around the correct answer")
        << edit(" 12\t") << QVariant(QStringLiteral("12")) << true << QStringLiteral("12");
    QTest::newRow("edit: other letter case")
        << edit("Paris") << QVariant(QStringLiteral("paris")) << false << QStringLiteral("paris");
    QTest::newRow("edit: nothing typed") << edit("Paris") << QVariant(QString()) << false << QString();

    QTest::newRow("combo: right choice") << std::function<QWidget *()>([=] { return MakeCombo(rivers, "Nile"); })
                                         << QVariant(1) << true << QStringLiteral("Nile");
    QTest::newRow("combo: wrong choice") << std::function<QWidget *()>([=] { return MakeCombo(rivers, "Nile"); })
                                         << QVariant(2) << false << QStringLiteral("Niger");
    QTest::newRow("combo: correct answer in other case")
        << std::function<QWidget *()>([=] { return MakeCombo(rivers, "nile"); }) << QVariant(1) << false
        << QStringLiteral("Nile");

    QTest::newRow("radio: case of the correct answer ignored")
        << std::function<QWidget *()>([=] { return MakeRadio(rivers, "NILE"); }) << QVariant(1) << true
        << QStringLiteral("Nile");
    QTest::newRow("radio: wrong choice") << std::function<QWidget *()>([=] { return MakeRadio(rivers, "Nile"); })
                                         << QVariant(0) << false << QStringLiteral("Congo");
    QTest::newRow("radio: nothing checked")
        << std::function<QWidget *()>([=] { return MakeRadio(rivers, "Nile"); }) << QVariant(-1) << false << QString();
    QTest::newRow("radio: recorded choice trimmed") << std::function<QWidget *()>([] {
        return MakeRadio({QStringLiteral(" Nile "), QStringLiteral("Congo")}, "Nile");
    }) << QVariant(0) << false << QStringLiteral("Nile");

    auto list = [](QStringList answers, QStringList correct, bool multi) {
        return std::function<QWidget *()>([=] { return MakeList(answers, correct, multi); });
    };
    QTest::newRow("list: right item") << list(rivers, {"nile"}, false) << QVariant(QVariantList{1}) << true
                                      << QStringLiteral("Nile");
    QTest::newRow("list: nothing selected")
        << list(rivers, {"Nile"}, false) << QVariant(QVariantList{}) << false << QString();
    QTest::newRow("list: only the first correct line counts")
        << list(rivers, {"Congo", "Nile"}, false) << QVariant(QVariantList{0}) << true << QStringLiteral("Congo");
    QTest::newRow("list: no correct answers")
        << list(rivers, {}, false) << QVariant(QVariantList{2}) << true << QString();
    QTest::newRow("multi: exactly the correct items")
        << list(countries, {"Austria", "poland"}, true) << QVariant(QVariantList{0, 2}) << true
        << QStringLiteral("Austria") + CRLF + QStringLiteral("Poland") + CRLF;
    QTest::newRow("multi: one too many") << list(countries, {"Austria", "Poland"}, true)
                                         << QVariant(QVariantList{0, 2, 3}) << false
                                         << QStringLiteral("Austria\r\nPoland\r\nDenmark\r\n");
    QTest::newRow("multi: one missing") << list(countries, {"Austria", "Poland"}, true) << QVariant(QVariantList{2})
                                        << false << QStringLiteral("Poland\r\n");
    QTest::newRow("multi: a correct line that is no item")
        << list(countries, {"Austria", "Chile"}, true) << QVariant(QVariantList{0, 1}) << false
        << QStringLiteral("Austria\r\nSpain\r\n");
    QTest::newRow("multi: no correct answers, none selected")
        << list(countries, {}, true) << QVariant(QVariantList{}) << true << QString();
    QTest::newRow("multi: no correct answers, one selected")
        << list(countries, {}, true) << QVariant(QVariantList{1}) << false << QStringLiteral("Spain\r\n");

    auto memo = [](const char *c) {
        return std::function<QWidget *()>([c] { return MakeMemo(QString::fromUtf8(c)); });
    };
    QTest::newRow("memo: blank lines around") << memo("Rivers slow down.\r\nMud settles.")
                                              << QVariant(QStringLiteral("\n  Rivers slow down.\nMud settles. \n\n"))
                                              << true << QStringLiteral("Rivers slow down.\r\nMud settles.");
    QTest::newRow("memo: other letter case")
        << memo("Mud settles.") << QVariant(QStringLiteral("mud settles.")) << false << QStringLiteral("mud settles.");
    QTest::newRow("memo: correct answer not trimmed")
        << memo(" Mud") << QVariant(QStringLiteral(" Mud")) << false << QStringLiteral("Mud");

    auto date = [](const char *c) {
        return std::function<QWidget *()>([c] { return MakeDate(QString::fromLatin1(c)); });
    };
    QTest::newRow("date: right day") << date("17/11/1869") << QVariant(QDate(1869, 11, 17)) << true
                                     << QStringLiteral("17/11/1869");
    QTest::newRow("date: next day") << date("17/11/1869") << QVariant(QDate(1869, 11, 18)) << false
                                    << QStringLiteral("18/11/1869");
    QTest::newRow("date: correct answer is no date")
        << date("the day the canal opened") << QVariant(QDate(2001, 1, 2)) << true << QStringLiteral("02/01/2001");
}

void TestTestWizard::gradeByKind()
{
    QFETCH(std::function<QWidget *()>, make);
    QFETCH(QVariant, response);
    QFETCH(bool, correct);
    QFETCH(QString, recorded);

    TWizardFixture f;
    f.Add(make(), QStringLiteral("The question?"));
    auto wizard = f.Open(true);
    QVERIFY(!wizard->TestUnavailable());
    QVERIFY(wizard->CurrentControl());
    Answer(wizard->CurrentControl(), response);
    QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);

    QCOMPARE(wizard->CorrectCount, correct ? 1 : 0);
    QCOMPARE(wizard->IncorrectCount, correct ? 0 : 1);
    QCOMPARE(wizard->Questions.size(), 1);
    QCOMPARE(wizard->Questions.at(0).Record.Correct, correct);
    QCOMPARE(wizard->Questions.at(0).Record.Answer, recorded);
    QCOMPARE(f.Results(QStringLiteral("ANSWERS")),
             QStringList{QStringLiteral("1. The question?\r\n\r\n") + recorded +
                         (correct ? QStringLiteral(" (CORRECT)") : QStringLiteral(" (INCORRECT)")) +
                         QStringLiteral("\r\n\r\n\r\n ")});
}

void TestTestWizard::finishedTest_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("happy");

    QTest::newRow("correct, correct, wrong") << QList<bool>{true, true, false} << Grade("66", '7')
                                             << QStringLiteral("66") << QStringLiteral("FAILED") << false;
    QTest::newRow("7 of 10") << QList<bool>{true, false, true, true, false, true, true, false, true, true}
                             << Grade("70", '0') << QStringLiteral("70") << QStringLiteral("PASSED") << true;
    QTest::newRow("none correct") << QList<bool>{false, false, false} << QStringLiteral("0") << QStringLiteral("0")
                                  << QStringLiteral("FAILED") << false;
}

void TestTestWizard::finishedTest()
{
    QFETCH(QList<bool>, answers);
    QFETCH(QString, shown);
    QFETCH(QString, grade);
    QFETCH(QString, status);
    QFETCH(bool, happy);

    TWizardFixture f;
    AddYesQuestions(f, int(answers.size()));
    auto wizard = f.Open(true);
    QCOMPARE(wizard->Label_Question->text(), QStringLiteral("Question 1?"));
    AnswerAll(*wizard, answers);

    const int right = int(answers.count(true));
    QCOMPARE(wizard->PageIndex, int(answers.size()));
    QCOMPARE(wizard->BitBtn_Next->text(), TForm_TestWizard::FinishCaption);
    QCOMPARE(wizard->Label_Question->text(), QStringLiteral("Test Complete!"));
    QVERIFY(wizard->Panel_Grade->isVisible());
    QVERIFY(!wizard->BitBtn_Previous->isVisible());
    QCOMPARE(wizard->Label_CorrectCount2->text(), QString::number(right));
    QCOMPARE(wizard->Label_IncorrectCount2->text(), QString::number(answers.size() - right));
    QCOMPARE(wizard->Label_Grade2->text(), shown);
    QCOMPARE(wizard->Image_Happy->isVisible(), happy);
    QCOMPARE(wizard->Image_Sad->isVisible(), !happy);

    QCOMPARE(f.Results(QStringLiteral("STUDENTID || '|' || TESTID || '|' || CLASSID || '|' || GRADE || '|' || STATUS")),
             QStringList{QStringLiteral("O'NEILL|1|3|") + grade + QLatin1Char('|') + status});
    QCOMPARE(f.Results(QStringLiteral("TESTDATE")), QStringList{DateToStr(QDate::currentDate())});
    QString transcript;
    for (int i = 0; i < answers.size(); ++i)
        transcript += QStringLiteral("%1. Question %1?\r\n\r\n%2 %3\r\n\r\n\r\n")
                          .arg(i + 1)
                          .arg(answers.at(i) ? QStringLiteral("yes") : QStringLiteral("no"),
                               answers.at(i) ? QStringLiteral("(CORRECT)") : QStringLiteral("(INCORRECT)"));
    QCOMPARE(f.Results(QStringLiteral("ANSWERS")), QStringList{transcript + QLatin1Char(' ')});

    // Escape does not leave the finished test; Finish does.
    QTest::keyClick(wizard.get(), Qt::Key_Escape);
    QVERIFY(wizard->isVisible());
    QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
    QVERIFY(!wizard->isVisible());
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QCOMPARE(f.Results(QStringLiteral("COUNT(*)")), QStringList{QStringLiteral("1")});
}

void TestTestWizard::resultUpdatesExistingRow()
{
    TWizardFixture f;
    AddYesQuestions(f, 2);
    // A row the gradebook wrote, and one of another class that must stay as it is.
    f.Db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS)",
               "VALUES ('o''neill', 1, 3, 0, 'INCOMPLETE')"});
    f.Db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS)",
               "VALUES ('O''NEILL', 1, 4, 20, 'FAILED')"});

    auto wizard = f.Open(true);
    AnswerAll(*wizard, {true, true});
    QCOMPARE(f.Results(QStringLiteral("SERIAL || '|' || CLASSID || '|' || GRADE || '|' || STATUS")),
             (QStringList{QStringLiteral("1|3|100|PASSED"), QStringLiteral("2|4|20|FAILED")}));
    QCOMPARE(f.Results(QStringLiteral("TESTDATE")), (QStringList{DateToStr(QDate::currentDate()), QString()}));
    QVERIFY(
        f.Results(QStringLiteral("ANSWERS")).at(0).startsWith(QStringLiteral("1. Question 1?\r\n\r\nyes (CORRECT)")));
}

void TestTestWizard::previousChangesTallyNotGrade()
{
    TWizardFixture f;
    AddYesQuestions(f, 3);
    auto wizard = f.Open(true);
    QVERIFY(wizard->BitBtn_Previous->isVisible());
    QVERIFY(!wizard->BitBtn_Previous->isEnabled());
    QVERIFY(!wizard->BitBtn_Cancel->isVisible());
    QVERIFY(wizard->BitBtn_About->isVisible());
    QVERIFY(!wizard->Label_CorrectCount->isVisible());
    QVERIFY(!(wizard->windowFlags() & Qt::WindowCloseButtonHint));

    AnswerAll(*wizard, {false, true});
    QCOMPARE(wizard->BitBtn_Next->text(), TForm_TestWizard::NextCaption);
    QCOMPARE(wizard->Label_Number->text(), QStringLiteral("3."));
    QVERIFY(wizard->BitBtn_Previous->isEnabled());

    // Back to the first question, which is now answered right.
    QTest::mouseClick(wizard->BitBtn_Previous, Qt::LeftButton);
    QTest::mouseClick(wizard->BitBtn_Previous, Qt::LeftButton);
    QCOMPARE(wizard->PageIndex, 0);
    QCOMPARE(wizard->Label_Number->text(), QStringLiteral("1."));
    QCOMPARE(wizard->Label_Question->text(), QStringLiteral("Question 1?"));
    QVERIFY(!wizard->BitBtn_Previous->isEnabled());
    QVERIFY(wizard->CurrentControl()->isVisible());
    AnswerAll(*wizard, {true, true, true});

    // The tally counts every press; the grade counts every question once.
    QCOMPARE(wizard->CorrectCount, 4);
    QCOMPARE(wizard->IncorrectCount, 1);
    QCOMPARE(wizard->Label_Grade2->text(), Grade("100", '0'));
    QCOMPARE(f.Results(QStringLiteral("GRADE")), QStringList{QStringLiteral("100")});
}

void TestTestWizard::authoringVariant()
{
    TWizardFixture f;
    AddYesQuestions(f, 3);
    auto wizard = f.Open(false);
    QVERIFY(wizard->Label_CorrectCount->isVisible());
    QVERIFY(wizard->Label_Incorrect->isVisible());
    QVERIFY(wizard->BitBtn_Cancel->isVisible());
    QVERIFY(!wizard->BitBtn_About->isVisible());
    QVERIFY(wizard->windowFlags() & Qt::WindowCloseButtonHint);

    AnswerAll(*wizard, {true, false});
    QCOMPARE(wizard->Label_CorrectCount->text(), QStringLiteral("1"));
    QCOMPARE(wizard->Label_IncorrectCount->text(), QStringLiteral("1"));
    QVERIFY(wizard->BitBtn_Previous->isVisible());
    QVERIFY(!wizard->BitBtn_Previous->isEnabled());
    QVERIFY(wizard->BitBtn_Cancel->isEnabled());
    AnswerAll(*wizard, {true});
    QVERIFY(!wizard->BitBtn_Cancel->isEnabled());
    QVERIFY(wizard->BitBtn_Previous->isVisible());
    QCOMPARE(wizard->Label_Grade2->text(), Grade("66", '7'));
    QVERIFY(wizard->Questions.isEmpty());
    QCOMPARE(f.Results(QStringLiteral("COUNT(*)")), QStringList{QStringLiteral("0")});

    // Cancel on a fresh run closes at once, graded or written nothing.
    auto second = f.Open(false);
    QTest::keyClick(second.get(), Qt::Key_Escape);
    QVERIFY(!second->isVisible());
    QCOMPARE(second->result(), int(QDialog::Rejected));
    QCOMPARE(second->CorrectCount + second->IncorrectCount, 0);
}

void TestTestWizard::sameQuestionTextKeepsBothAnswers()
{
    TWizardFixture f;
    f.Add(MakeEdit(QStringLiteral("yes")), QStringLiteral("Again?"));
    f.Add(MakeEdit(QStringLiteral("yes")), QStringLiteral("AGAIN?"));
    auto wizard = f.Open(true);
    AnswerAll(*wizard, {false, true});
    QCOMPARE(f.Results(QStringLiteral("ANSWERS")),
             QStringList{QStringLiteral("1. Again?\r\n\r\nno (INCORRECT)\r\n\r\n\r\n"
                                        "2. AGAIN?\r\n\r\nyes (CORRECT)\r\n\r\n\r\n ")});
}

void TestTestWizard::controlsAreCentred()
{
    TWizardFixture f;
    f.Add(MakeMemo(QStringLiteral("x")), QStringLiteral("Wide?"));
    f.Add(MakeEdit(QStringLiteral("x")), QStringLiteral("Small?"));
    auto wizard = f.Open(true);
    const QRect client = wizard->Panel_Controls->contentsRect();
    QCOMPARE(wizard->Panel_Controls->size(), QSize(507, 373 - 58 - 35));
    for (const TQuestionEntry &entry : std::as_const(wizard->QuestionControls)) {
        QWidget *control = entry.Control;
        QCOMPARE(control->parentWidget(), static_cast<QWidget *>(wizard->Panel_Controls));
        QCOMPARE(control->x() - client.left(), (client.width() - control->width()) / 2);
        QCOMPARE(control->y() - client.top(), (client.height() - control->height()) / 2);
    }
    QVERIFY(wizard->QuestionControls.at(0).Control->isVisible());
    QVERIFY(!wizard->QuestionControls.at(1).Control->isVisible());
}

void TestTestWizard::unavailableTest_data()
{
    QTest::addColumn<QStringList>("texts"); // object texts of questions 1, 2 …
    QTest::addColumn<QString>("reported");

    const QString good =
        QStringLiteral("object QAMaskEdit_1: TQAMaskEdit\r\n  Left = 0\r\n  Top = 0\r\n  Width = 100\r\n"
                       "  Height = 21\r\n  ID = 1\r\n  Question = 'Fine?'\r\nend\r\n");
    QTest::newRow("no questions") << QStringList{} << QStringLiteral("The test has no questions.");
    QTest::newRow("a property the class lacks")
        << QStringList{good, QStringLiteral("object QAMaskEdit_2: TQAMaskEdit\r\n  Foo = 1\r\nend\r\n")}
        << QStringLiteral("Question 2 of the test (ID 2) cannot be shown:\nError reading QAMaskEdit_2.Foo: "
                          "Property does not exist");
    QTest::newRow("no question kind")
        << QStringList{good, QStringLiteral("object Button_2: TButton\r\n  Left = 0\r\nend\r\n")}
        << QStringLiteral("Question 2 of the test (ID 2) cannot be shown:\nIts text names no question kind (TBUTTON).");
    QTest::newRow("syntax error") << QStringList{QStringLiteral("object QAMaskEdit_1: TQAMaskEdit\r\n  Left 5\r\nend")}
                                  << QStringLiteral("Question 1 of the test (ID 1) cannot be shown:\n");
}

void TestTestWizard::unavailableTest()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, reported);

    TWizardFixture f;
    for (int i = 0; i < texts.size(); ++i)
        f.AddText(i + 1, texts.at(i));
    auto wizard = f.Open(true);

    QVERIFY(wizard->TestUnavailable());
    QTRY_COMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().at(0).Kind, TBoxKind::Error);
    QVERIFY2(TDialogSeam::Shown().at(0).Text.startsWith(reported), qPrintable(TDialogSeam::Shown().at(0).Text));
    QCOMPARE(wizard->Label_Question->text(), QStringLiteral("This test cannot be taken."));
    for (const TQuestionEntry &entry : std::as_const(wizard->QuestionControls))
        QVERIFY(!entry.Control || !entry.Control->isVisible());

    // The only way on is to close it: nothing graded, nothing written.
    QTest::keyClick(wizard.get(), Qt::Key_Return);
    QVERIFY(!wizard->isVisible());
    QCOMPARE(wizard->result(), int(QDialog::Rejected));
    QVERIFY(!wizard->Panel_Grade->isVisible());
    QCOMPARE(f.Results(QStringLiteral("COUNT(*)")), QStringList{QStringLiteral("0")});
}

void TestTestWizard::failedWriteKeepsGrade_data()
{
    QTest::addColumn<QString>("classID");
    QTest::addColumn<bool>("missingFile");
    QTest::addColumn<QString>("message");

    QTest::newRow("database file gone") << QStringLiteral("3") << true << QString();
    QTest::newRow("class key not a number")
        << QStringLiteral("3 OR 1=1") << false << QStringLiteral("'3 OR 1=1' is not a valid integer value");
}

void TestTestWizard::failedWriteKeepsGrade()
{
    QFETCH(QString, classID);
    QFETCH(bool, missingFile);
    QFETCH(QString, message);

    TWizardFixture f;
    AddYesQuestions(f, 1);
    auto wizard = f.Open(true);
    wizard->ClassID = classID;
    if (missingFile)
        wizard->ConnectionString = ConnectionStringFor(f.Db.Folder() + QStringLiteral("/gone/Corvella.mdb"));
    AnswerAll(*wizard, {true});

    QCOMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(TDialogSeam::Shown().at(0).Kind, TBoxKind::Message);
    QVERIFY(!TDialogSeam::Shown().at(0).Text.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(TDialogSeam::Shown().at(0).Text, message);
    // A folder that went away: the result is kept on this computer, and the student told so.
    if (missingFile) {
        QCOMPARE(TDialogSeam::Shown().at(0).Text, TForm_TestWizard::KeptMessage);
        QCOMPARE(wizard->Label_Stored->text(), TForm_TestWizard::KeptText);
        QCOMPARE(KeptResultFiles().size(), 1);
    } else {
        QVERIFY(KeptResultFiles().isEmpty());
    }
    QVERIFY(wizard->Panel_Grade->isVisible());
    QCOMPARE(wizard->Label_Grade2->text(), Grade("100", '0'));
    QCOMPARE(f.Results(QStringLiteral("COUNT(*)")), QStringList{QStringLiteral("0")});
    QTest::mouseClick(wizard->BitBtn_Next, Qt::LeftButton);
    QVERIFY(!wizard->isVisible());
}

QTEST_MAIN(TestTestWizard)
#include "tst_testwizard.moc"
