// Question model speed: rebuilding a 200-question test from its stored rows (parse,
// create the controls, read the properties), in questions per second; and writing
// controls to object text on ~1 MB of question-like controls, in bytes per second.

#include "database/Database.h"
#include "database/Schema.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QString LongQuestion(int id)
{
    QString question =
        QStringLiteral("Question %1: which one's the teacher's answer, and what's the student's? ").arg(id);
    while (question.size() < 150)
        question += QStringLiteral("Think carefully before you answer. ");
    question.truncate(150);
    return question;
}

// A question control of the id's kind (the six kinds in turn), shaped like a stored one.
QWidget *MakeQuestion(int id, QObject *owner, QWidget *parent)
{
    QStringList answers;
    for (int i = 0; i < 4; ++i)
        answers << QStringLiteral("Answer number %1 of question %2").arg(i + 1).arg(id);
    QWidget *control = nullptr;
    switch (id % 6) {
    case 0: {
        auto *c = new TQAMaskEdit(owner, parent);
        c->SetCorrectAnswer(QStringLiteral("PARIS"));
        c->SetCharCase(ecUpperCase);
        control = c;
        break;
    }
    case 1: {
        auto *c = new TQACombobox(owner, parent);
        c->SetStyle(csDropDownList);
        c->SetAnswers(answers);
        c->SetCorrectAnswer(answers.at(1));
        control = c;
        break;
    }
    case 2: {
        auto *c = new TQARadioGroup(owner, parent);
        c->SetAnswers(answers);
        c->SetCorrectAnswer(answers.at(2));
        control = c;
        break;
    }
    case 3: {
        auto *c = new TQAListbox(owner, parent);
        c->SetExtendedSelect(false);
        c->SetMultiSelect(true);
        c->SetAnswers(answers);
        c->SetCorrectAnswers(answers.mid(1, 2));
        control = c;
        break;
    }
    case 4: {
        auto *c = new TQARichEdit(owner, parent);
        c->SetCorrectAnswer(QStringLiteral("A river slows down where it meets the sea.\r\nIt drops its mud."));
        control = c;
        break;
    }
    default: {
        auto *c = new TQADateTime(owner, parent);
        c->SetDate(38123.0);
        c->SetTime(0.5);
        c->SetDateAnswer(-11000);
        c->SetCorrectAnswer(QStringLiteral("17/11/1869"));
        control = c;
        break;
    }
    }
    auto *question = dynamic_cast<TQuestionControl *>(control);
    question->SetID(id);
    question->SetQuestion(LongQuestion(id));
    auto *base = dynamic_cast<TControl *>(control);
    base->SetLeft(16 + id % 100);
    base->SetTop(24 + id % 37);
    if (id % 2 == 0)
        base->Font()->SetStyle(1 << fsBold);
    control->setObjectName(ComponentClassName(control).mid(1) + QLatin1Char('_') + QString::number(id));
    return control;
}

TControlDefList StoredTest(int count)
{
    TControlDefList defs;
    for (int id = 1; id <= count; ++id) {
        QWidget window;
        QWidget *control = MakeQuestion(id, &window, &window);
        defs.append(
            {QString::number(id), TControlDef{id, control->objectName(), LongQuestion(id), ComponentToText(control)}});
    }
    return defs;
}

void BM_RebuildTest(benchmark::State &state)
{
    const TControlDefList defs = StoredTest(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto window = std::make_unique<QWidget>();
        TQuestionControlList controls;
        CreateQuestionControls(defs, controls, window.get(), window.get());
        benchmark::DoNotOptimize(controls);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * defs.size());
}
BENCHMARK(BM_RebuildTest)->Arg(200)->Unit(benchmark::kMillisecond);

// The same with the rows read from a database file first, as the test wizard does.
void BM_LoadAndRebuildTest(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Corvella.mdb"));
    QString error;
    if (!CreateDatabaseFile(path, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(path));
    TDbQuery query(&connection);
    const TControlDefList stored = StoredTest(200);
    for (const TControlDefEntry &entry : stored) {
        query.Clear();
        query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"));
        query.Add(QStringLiteral("VALUES (%1, %2, %3, :CONTROL)")
                      .arg(entry.Def.ID)
                      .arg(QuotedStr(entry.Def.Name), QuotedStr(entry.Def.Question)));
        query.SetParamText(QStringLiteral("CONTROL"), entry.Def.Control);
        query.ExecSQL();
        query.Clear();
        query.Add(QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, %1, %1)")
                      .arg(entry.Def.ID));
        query.ExecSQL();
    }
    for (auto _ : state) {
        auto window = std::make_unique<QWidget>();
        TControlDefList defs;
        LoadTestQuestions(query, defs, QStringLiteral("1"));
        TQuestionControlList controls;
        CreateQuestionControls(defs, controls, window.get(), window.get());
        benchmark::DoNotOptimize(controls);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * stored.size());
}
BENCHMARK(BM_LoadAndRebuildTest)->Unit(benchmark::kMillisecond);

void BM_ComponentToText(benchmark::State &state)
{
    QWidget window;
    QList<QWidget *> controls;
    qint64 bytes = 0;
    for (int id = 1; bytes < 1024 * 1024; ++id) {
        QWidget *control = MakeQuestion(id, &window, &window);
        controls.append(control);
        bytes += ComponentToText(control).toUtf8().size();
    }
    for (auto _ : state) {
        for (QWidget *control : std::as_const(controls)) {
            QString text = ComponentToText(control);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["controls"] = double(controls.size());
}
BENCHMARK(BM_ComponentToText)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
