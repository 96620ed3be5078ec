// The testing program's windows by keyboard alone and as a screen reader reads them:
// every answer control is named after its question, the choices after themselves, and
// Tab walks each window and each page without a trap.

#include "common/KeyboardWalk.h"
#include "common/TestDatabase.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "testing/Login.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/StdDialogs.h"

#include <QAccessible>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {

void Store(TTestDatabase &db, QWidget *control, int id, const QString &question)
{
    std::unique_ptr<QWidget> owned(control);
    auto *q = dynamic_cast<TQuestionControl *>(control);
    q->SetID(id);
    q->SetQuestion(question);
    control->setObjectName(ComponentClassName(control).mid(1) + QLatin1Char('_') + QString::number(id));
    TDbQuery &query = db.Query();
    query.Clear();
    query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"));
    query.Add(QStringLiteral("VALUES (%1, 'Q', 'Q', :CONTROL)").arg(id));
    query.SetParamText(QStringLiteral("CONTROL"), ComponentToText(control));
    query.ExecSQL();
    db.Exec({QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, %1, %1)").arg(id)});
}

} // namespace

class TestAnswerNames : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TDialogSeam::BeginScript(); }
    void cleanup()
    {
        while (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        TDialogSeam::ClearShown();
    }
    void answersNamedAfterTheirQuestions();
    void sequenceWindowsByTab();
};

// Page by page, by keyboard: the focused answer carries its question's text, choices
// carry their own, and Tab goes round the page and back.
void TestAnswerNames::answersNamedAfterTheirQuestions()
{
    TTestDatabase db;
    auto *edit = new TQAMaskEdit(nullptr);
    edit->SetBounds(0, 0, 200, 21);
    Store(db, edit, 1, "What is two and two?");
    auto *combo = new TQACombobox(nullptr);
    combo->SetBounds(0, 0, 200, 21);
    combo->SetAnswers({"red", "green"});
    Store(db, combo, 2, "Which colour is grass?");
    auto *radio = new TQARadioGroup(nullptr);
    radio->SetBounds(0, 0, 260, 105);
    radio->SetAnswers({"Paris", "Rome"});
    Store(db, radio, 3, "Capital of France?");
    auto *list = new TQAListbox(nullptr);
    list->SetBounds(0, 0, 200, 97);
    list->SetAnswers({"two", "three"});
    Store(db, list, 4, "Pick the prime numbers");
    auto *memo = new TQARichEdit(nullptr);
    memo->SetBounds(0, 0, 380, 140);
    Store(db, memo, 5, "Describe a volcano");
    auto *date = new TQADateTime(nullptr);
    date->SetBounds(0, 0, 186, 21);
    Store(db, date, 6, "When did the war end?");

    TForm_TestWizard wizard(&db.Query(), false);
    wizard.TestID = "1";
    wizard.ConnectionString = ConnectionStringFor(db.Path());
    wizard.show();
    wizard.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&wizard));

    struct TPage {
        QString Question;
        QAccessible::Role Role;
    };
    const QList<TPage> pages{
        {"What is two and two?", QAccessible::EditableText}, {"Which colour is grass?", QAccessible::ComboBox},
        {"Capital of France?", QAccessible::RadioButton},    {"Pick the prime numbers", QAccessible::List},
        {"Describe a volcano", QAccessible::EditableText},   {"When did the war end?", QAccessible::SpinBox}};
    for (const TPage &page : pages) {
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus, qPrintable(page.Question));
        QCOMPARE(AccessibleRole(focus), int(page.Role));
        if (auto *button = qobject_cast<QRadioButton *>(focus)) {
            QCOMPARE(AccessibleName(button), "Paris");
            QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Description), page.Question);
            QCOMPARE(AccessibleName(button->parentWidget()), page.Question);
        } else {
            QCOMPARE(AccessibleName(focus), page.Question);
        }
        if (auto *choices = qobject_cast<QListWidget *>(focus)) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(choices);
            QCOMPARE(face->childCount(), 2);
            QCOMPARE(face->child(0)->text(QAccessible::Name), "two");
        }
        const TTabWalk walk = WalkByTab(&wizard);
        QVERIFY2(walk.Fault.isEmpty(), qPrintable(page.Question + ": " + walk.Fault));
        QVERIFY2(walk.Stops.contains(wizard.BitBtn_Next), qPrintable(walk.Names().join(", ")));
        for (QWidget *stop : walk.Stops)
            QVERIFY2(AccessibleFault(stop).isEmpty(), qPrintable(AccessibleFault(stop)));
        wizard.BitBtn_Next->setFocus();
        QTest::keyClick(wizard.BitBtn_Next, Qt::Key_Space);
    }
    QCOMPARE(wizard.BitBtn_Next->text(), TForm_TestWizard::FinishCaption);
}

// The student's sequence windows: every stop named, no trap.
void TestAnswerNames::sequenceWindowsByTab()
{
    TTestDatabase db;
    db.Exec({"INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (1, 'A', 'B', 'C', 'S1')"});
    db.Exec({"INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Room 5', '', '')"});
    db.Exec({"INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, 'S1', 1)"});
    std::unique_ptr<QDialog> windows[] = {std::make_unique<TForm_Login>(&db.Query()),
                                          std::make_unique<Tamberlin::TForm_SelectClass>(&db.Query()),
                                          std::make_unique<Tamberlin::TForm_SelectTest>(&db.Query())};
    for (auto &window : windows) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        if (!QApplication::focusWidget())
            window->nextInFocusChain()->setFocus(Qt::TabFocusReason);
        const TTabWalk walk = WalkByTab(window.get());
        QVERIFY2(walk.Fault.isEmpty(), qPrintable(window->objectName() + ": " + walk.Fault));
        QVERIFY2(walk.Stops.size() > 1, qPrintable(window->objectName()));
        for (QWidget *stop : walk.Stops)
            QVERIFY2(AccessibleFault(stop).isEmpty(), qPrintable(window->objectName() + ": " + AccessibleFault(stop)));
        window->close();
    }
}

QTEST_MAIN(TestAnswerNames)
#include "tst_answernames.moc"
