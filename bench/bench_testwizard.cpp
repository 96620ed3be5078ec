// Test wizard speed on a 200-question test of the six kinds in turn: opening it (load
// the rows, rebuild the controls, show the first question, painted) and grading it.
// Goal: the first question on screen within 0.25 s.

#include "database/Database.h"
#include "database/Schema.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "testtaking/TestWizard.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr int QuestionCount = 200;

QWidget *MakeQuestion(int id, QObject *owner)
{
    QStringList answers;
    for (int i = 0; i < 4; ++i)
        answers << QStringLiteral("Answer number %1 of question %2").arg(i + 1).arg(id);
    QWidget *control = nullptr;
    switch (id % 6) {
    case 0: {
        auto c = new TQAMaskEdit(owner);
        c->SetBounds(0, 0, 200, 21);
        c->SetCorrectAnswer(QStringLiteral("PARIS"));
        control = c;
        break;
    }
    case 1: {
        auto c = new TQACombobox(owner);
        c->SetBounds(0, 0, 200, 21);
        c->SetStyle(csDropDownList);
        c->SetAnswers(answers);
        c->SetCorrectAnswer(answers.at(1));
        control = c;
        break;
    }
    case 2: {
        auto c = new TQARadioGroup(owner);
        c->SetBounds(0, 0, 260, 105);
        c->SetAnswers(answers);
        c->SetCorrectAnswer(answers.at(2));
        control = c;
        break;
    }
    case 3: {
        auto c = new TQAListbox(owner);
        c->SetBounds(0, 0, 200, 97);
        c->SetMultiSelect(true);
        c->SetAnswers(answers);
        c->SetCorrectAnswers(QStringList{answers.at(0), answers.at(3)});
        control = c;
        break;
    }
    case 4: {
        auto c = new TQARichEdit(owner);
        c->SetBounds(0, 0, 380, 140);
        c->SetCorrectAnswer(QStringLiteral("Where a river flows into the sea it slows down.\r\nMud settles."));
        control = c;
        break;
    }
    default: {
        auto c = new TQADateTime(owner);
        c->SetBounds(0, 0, 186, 21);
        c->SetCorrectAnswer(QStringLiteral("17/11/1869"));
        control = c;
        break;
    }
    }
    auto question = dynamic_cast<TQuestionControl *>(control);
    question->SetID(id);
    question->SetQuestion(QStringLiteral("Question %1: which of the answers below is the right one?").arg(id));
    control->setObjectName(QString::fromLatin1(control->metaObject()->className()).mid(1) + QLatin1Char('_') +
                           QString::number(id));
    return control;
}

// A database file holding test 1 with the 200 questions.
class TBenchDatabase {
public:
    TBenchDatabase() : Query(&Connection)
    {
        const QString path = FDir.filePath(QStringLiteral("Corvella.mdb"));
        QString error;
        if (!CreateDatabaseFile(path, &error))
            throw std::runtime_error(error.toStdString());
        Connection.SetConnectionString(ConnectionStringFor(path));
        QWidget owner;
        for (int id = 1; id <= QuestionCount; ++id) {
            QWidget *control = MakeQuestion(id, &owner);
            Query.Clear();
            Query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"));
            Query.Add(QStringLiteral("VALUES (%1, 'Q', 'Q', :CONTROL)").arg(id));
            Query.SetParamText(QStringLiteral("CONTROL"), ComponentToText(control));
            Query.ExecSQL();
            Query.Clear();
            Query.Add(
                QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, %1, %1)").arg(id));
            Query.ExecSQL();
            delete control;
        }
    }

    TDbConnection Connection;
    TDbQuery Query;

private:
    QTemporaryDir FDir;
};

TBenchDatabase &Database()
{
    static TBenchDatabase database;
    return database;
}

std::unique_ptr<TForm_TestWizard> OpenWizard()
{
    auto wizard = std::make_unique<TForm_TestWizard>(&Database().Query, true);
    wizard->TestID = QStringLiteral("1");
    wizard->show();
    // The first question painted, as the student sees it.
    wizard->grab();
    return wizard;
}

void BM_OpenTestWizard(benchmark::State &state)
{
    for (auto _ : state) {
        auto wizard = OpenWizard();
        if (wizard->TestUnavailable() || wizard->QuestionControls.size() != QuestionCount)
            state.SkipWithError("the test did not load");
        state.PauseTiming();
        wizard.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["questions"] = QuestionCount;
}
BENCHMARK(BM_OpenTestWizard)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_GradeTest(benchmark::State &state)
{
    auto wizard = OpenWizard();
    for (auto _ : state) {
        wizard->ShowGrade();
        benchmark::DoNotOptimize(wizard->Grade());
    }
    state.SetItemsProcessed(state.iterations() * QuestionCount);
}
BENCHMARK(BM_GradeTest)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Database();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
