#include "admin/QuestionCommands.h"

#include "common/TestDatabase.h"
#include "question/PropertyModel.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"
#include "toolkit/Convert.h"

#include <QTemporaryDir>
#include <QtTest>

class TestAdminCommands : public QObject {
    Q_OBJECT

private slots:
    void demoQuestions();
    void checkCommand();
    void textCommand_data();
    void textCommand();
};

void TestAdminCommands::demoQuestions()
{
    SetShortDateFormat(QStringLiteral("dd/MM/yyyy"));
    TTestDatabase db;
    QString error;
    QVERIFY2(AddDemoQuestions(db.Query(), &error), qPrintable(error));

    QCOMPARE(db.Column({QStringLiteral("SELECT TESTID || ':' || SEQUENCE || ':' || CONTROLID FROM testdetail"),
                        QStringLiteral("ORDER BY TESTID, SEQUENCE")}),
             QString("1:1:1 1:2:2 1:3:3 1:4:4 1:5:5 1:6:6 2:1:7 2:2:8 2:3:9 2:4:10 2:5:11 2:6:12").split(' '));

    QStringList kinds;
    for (const char *test : {"1", "2"}) {
        TControlDefList defs;
        LoadTestQuestions(db.Query(), defs, QLatin1String(test));
        QCOMPARE(defs.size(), 6);
        QWidget window;
        TQuestionControlList controls;
        CreateQuestionControls(defs, controls, &window, &window);
        for (int i = 0; i < controls.size(); ++i) {
            QWidget *control = controls[i].Control;
            QVERIFY(control);
            kinds << ComponentClassName(control);
            // Stored under the name the authoring program gives: class without T, _, ID.
            QCOMPARE(defs[i].Def.Name, ComponentClassName(control).mid(1) + QLatin1Char('_') + defs[i].Text);
            QCOMPARE(controls[i].Text, defs[i].Def.Question);
            QVERIFY(!controls[i].Text.isEmpty());
            TReportList reports;
            AddReportObj(reports, control);
            const TReportObj &report = reports.first().Report;
            QVERIFY(!report.CorrectAnswers.isEmpty() && !report.CorrectAnswers.first().isEmpty());
            if (report.Answers) // a correct choice is one of the choices offered
                for (const QString &answer : report.CorrectAnswers)
                    QVERIFY2(report.Answers->contains(answer), qPrintable(answer));
            if (auto *date = qobject_cast<TQADateTime *>(control))
                QCOMPARE(DateToStr(DayNumberToDate(date->DateAnswer())), date->CorrectAnswer());
            if (auto *combo = qobject_cast<TQACombobox *>(control))
                QCOMPARE(combo->Style(), csDropDownList);
        }
    }
    for (const char *kind : {"TQAMaskEdit", "TQACombobox", "TQARadioGroup", "TQAListbox", "TQARichEdit", "TQADateTime"})
        QCOMPARE(kinds.count(QLatin1String(kind)), 2);
}

void TestAdminCommands::checkCommand()
{
    TTestDatabase db;
    QString error;
    QVERIFY(AddDemoQuestions(db.Query(), &error));
    QCOMPARE(RunCheckCommand(db.Path()), 0);

    db.Exec({QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"),
             QStringLiteral("VALUES (13, 'QAMaskEdit_13', 'Q', 'object QAMaskEdit_13: TQAMaskEdit' || char(13, 10) ||"),
             QStringLiteral("'  Foo = 1' || char(13, 10) || 'end')")});
    QCOMPARE(RunCheckCommand(db.Path()), 1);
    QCOMPARE(RunCheckCommand(db.Folder() + QStringLiteral("/missing.mdb")), 1);
}

void TestAdminCommands::textCommand_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("result");
    QTest::newRow("question") << QByteArray("object QAMaskEdit_4: TQAMaskEdit\r\n  ID = 4\r\nend\r\n") << 0;
    QTest::newRow("unknown property") << QByteArray("object QAMaskEdit_4: TQAMaskEdit\r\n  Foo = 4\r\nend\r\n") << 1;
    QTest::newRow("other class") << QByteArray("object Button1: TButton\r\nend\r\n") << 1;
    QTest::newRow("no name") << QByteArray("object TQAMaskEdit\r\nend\r\n") << 1;
    QTest::newRow("syntax error") << QByteArray("object A: TQAMaskEdit\r\n  ID 4\r\n") << 1;
}

void TestAdminCommands::textCommand()
{
    QFETCH(QByteArray, text);
    QFETCH(int, result);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("question.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QCOMPARE(RunTextCommand(file.fileName()), result);
}

QTEST_MAIN(TestAdminCommands)
#include "tst_admincommands.moc"
