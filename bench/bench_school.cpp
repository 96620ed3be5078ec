// What a user waits for on the file of a school that has used the programs for some
// years: 20,000 questions, 500 tests, 1,500 students in 60 classes of 25, and 100,000
// results, most with the transcript the test wizard writes (about 60 MB). Every
// benchmark runs the real window (or the real loading function) on its own connection
// and reports, beside the time, the database pages it read with an empty page cache:
// on a school share each one is a round trip.
//
//   make bench && build-bench/bench/bench_school
//   build-bench/bench/bench_school --make PATH     only writes the data set to PATH
//
// The data set is made once per run in a temporary folder (CORVELLA_SCHOOL_FILE names
// a file to keep and reuse instead).

#include "authoring/QuestionJoin.h"
#include "authoring/SelectQuestion.h"
#include "authoring/StudentEdit.h"
#include "authoring/TestGrades.h"
#include "database/Database.h"
#include "database/Schema.h"
#include "question/Grading.h"
#include "question/QuestionText.h"
#include "testing/Login.h"
#include "testing/SelectClass.h"
#include "testing/SelectTest.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <random>

namespace {

constexpr int Questions = 20000;
constexpr int Tests = 500;
constexpr int LongTests = 20; // tests 1..20 have 40 questions; the rest are quizzes of 3 to 10
constexpr int Classes = 60;
constexpr int ClassSize = 25;
constexpr int Students = Classes * ClassSize;
constexpr int TestsPerClass = 70;
constexpr int ResultsTarget = 100000;
// Results of paper tests that the teacher typed into the gradebook: no date, no transcript.
constexpr int TypedInGradebook = 35; // percent

const char *const Words[] = {"river",   "mountain", "capital", "equation", "protein", "century", "treaty", "poem",
                             "element", "angle",    "climate", "verb",     "planet",  "empire",  "cell",   "voltage",
                             "novel",   "border",   "species", "fraction", "élan",    "façade",  "naïve"};
const char *const LastNames[] = {"SMITH",   "GARCIA", "O'BRIEN", "NGUYEN", "MÜLLER",   "KOWALSKI", "ROSSI",   "DUBOIS",
                                 "JOHNSON", "ÉMERY",  "TANAKA",  "SILVA",  "PETERSEN", "HOLM",     "ADEYEMI", "KHAN"};
const char *const FirstNames[] = {"ANNA", "JOSÉ", "LIAM", "MARIA", "NOAH", "ZOE", "ÈVE", "IVAN", "MEI", "OMAR"};

struct TGenerator {
    std::mt19937 Random{20260309};
    int Pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(Random); }
    QByteArray Word() { return Words[Pick(0, std::size(Words) - 1)]; }

    // As long as a classroom question usually is, some 40 characters.
    QByteArray QuestionText()
    {
        QByteArray text = "Which " + Word() + " goes with " + Word();
        for (int i = Pick(0, 2); i > 0; --i)
            text += ' ' + Word();
        return text + '?';
    }

    // An object text as the writer lays it out, for one of four common kinds.
    QByteArray ControlText(int id, const QByteArray &question)
    {
        static const char *const Kinds[] = {"QAMaskEdit", "QARadioGroup", "QACombobox", "QAListbox"};
        const QByteArray kind = Kinds[id % 4];
        QByteArray text = "object " + kind + '_' + QByteArray::number(id) + ": T" + kind +
                          "\r\n"
                          "  Left = " +
                          QByteArray::number(Pick(8, 300)) +
                          "\r\n"
                          "  Top = " +
                          QByteArray::number(Pick(8, 200)) +
                          "\r\n"
                          "  Width = " +
                          QByteArray::number(Pick(100, 400)) +
                          "\r\n"
                          "  Height = " +
                          QByteArray::number(Pick(21, 120)) +
                          "\r\n"
                          "  Font.Charset = DEFAULT_CHARSET\r\n  Font.Color = clWindowText\r\n"
                          "  Font.Height = -11\r\n  Font.Name = 'MS Sans Serif'\r\n  Font.Style = []\r\n"
                          "  ParentFont = False\r\n  TabOrder = 0\r\n";
        QByteArrayList answers;
        for (int i = Pick(3, 5); i > 0; --i)
            answers << Word();
        if (kind == "QAMaskEdit") {
            text += "  CorrectAnswer = '" + answers.first() + "'\r\n";
        } else {
            text += "  Items.Strings = (\r\n";
            for (const QByteArray &a : answers)
                text += "    '" + a + "'" + (&a == &answers.last() ? ")\r\n" : "\r\n");
            text += "  Answers.Strings = (\r\n";
            for (const QByteArray &a : answers)
                text += "    '" + a + "'" + (&a == &answers.last() ? ")\r\n" : "\r\n");
            text += kind == "QAListbox" ? "  CorrectAnswers.Strings = (\r\n    '" + answers.at(1) + "')\r\n"
                                        : "  CorrectAnswer = '" + answers.at(1) + "'\r\n";
        }
        return text + "  ID = " + QByteArray::number(id) + "\r\n  Question = '" + question + "'\r\nend\r\n";
    }
};

struct TStatement {
    sqlite3_stmt *Stmt = nullptr;
    TStatement(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &Stmt, nullptr); }
    ~TStatement() { sqlite3_finalize(Stmt); }
    TStatement &Int(int index, qint64 value)
    {
        sqlite3_bind_int64(Stmt, index, value);
        return *this;
    }
    TStatement &Text(int index, const QByteArray &value)
    {
        sqlite3_bind_text(Stmt, index, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void Run()
    {
        if (sqlite3_step(Stmt) != SQLITE_DONE)
            qFatal("%s", sqlite3_errmsg(sqlite3_db_handle(Stmt)));
        sqlite3_reset(Stmt);
    }
};

QByteArray StudentID(int student)
{
    return "S" + QByteArray::number(10000 + student);
}

// The data set, written straight through the C API in one transaction.
void MakeSchoolFile(const QString &path)
{
    QString error;
    if (!CreateDatabaseFile(path, &error))
        qFatal("%s", qPrintable(error));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    TGenerator gen;
    QList<QByteArray> questionTexts(Questions + 1);
    {
        TStatement insert(db, "INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (?, ?, ?, ?)");
        for (int id = 1; id <= Questions; ++id) {
            questionTexts[id] = gen.QuestionText();
            const QByteArray control = gen.ControlText(id, questionTexts[id]);
            insert.Int(1, id)
                .Text(2, control.mid(7, control.indexOf(':') - 7))
                .Text(3, questionTexts[id])
                .Text(4, control);
            insert.Run();
        }
    }
    QList<QList<int>> testQuestions(Tests + 1);
    {
        TStatement header(db,
                          "INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (?, ?, ?, ?, 2)");
        TStatement detail(db, "INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (?, ?, ?)");
        for (int t = 1; t <= Tests; ++t) {
            header.Int(1, t).Text(2, "Unit test " + QByteArray::number(t) + " on the " + gen.Word());
            header.Text(3, "Chapter review").Text(4, "Answer every question.").Run();
            const int count = t <= LongTests ? 40 : gen.Pick(3, 10);
            for (int s = 1; s <= count; ++s) {
                const int q = gen.Pick(1, Questions);
                testQuestions[t] << q;
                detail.Int(1, t).Int(2, q).Int(3, s).Run();
            }
        }
    }
    {
        TStatement klass(db, "INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (?, ?, ?, ?)");
        TStatement student(db, "INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID, PWORD) "
                               "VALUES (?, ?, ?, ?, ?, NULL)");
        TStatement member(db, "INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (?, ?, ?)");
        TStatement assign(db, "INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (?, ?, ?, ?)");
        TStatement result(db, "INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE, ANSWERS) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?)");
        int assignment = 0;
        int results = 0;
        for (int c = 1; c <= Classes; ++c) {
            klass.Int(1, c).Text(2, "Grade " + QByteArray::number(7 + c % 6) + " " + gen.Word() + " " +
                                        QByteArray::number(c));
            klass.Text(3, gen.Word()).Text(4, LastNames[c % std::size(LastNames)]).Run();
            QList<int> tests;
            // Class 1 takes the long tests first, so its gradebook and test list meet them.
            for (int i = 0; i < TestsPerClass; ++i)
                tests << (c == 1 && i < LongTests ? i + 1 : gen.Pick(1, Tests));
            for (int i = 0; i < tests.size(); ++i)
                assign.Int(1, ++assignment).Int(2, c).Int(3, tests[i]).Text(4, QByteArray::number(i / 5 + 1)).Run();
            for (int s = 1; s <= ClassSize; ++s) {
                const int id = (c - 1) * ClassSize + s;
                student.Int(1, id).Text(2, LastNames[gen.Pick(0, std::size(LastNames) - 1)]);
                student.Text(3, FirstNames[gen.Pick(0, std::size(FirstNames) - 1)])
                    .Text(4, QByteArray(1, char('A' + id % 26)));
                student.Text(5, StudentID(id)).Run();
                member.Int(1, c).Text(2, StudentID(id)).Int(3, s).Run();
            }
            // Results arrive over the years in date order, not grouped by class.
            for (int t : tests) {
                for (int s = 1; s <= ClassSize && results < ResultsTarget; ++s) {
                    if (gen.Pick(0, 99) < 5)
                        continue; // not taken yet
                    const int id = (c - 1) * ClassSize + s;
                    QByteArray transcript;
                    int right = 0;
                    const QList<int> &qs = testQuestions[t];
                    for (int n = 0; n < qs.size(); ++n) {
                        const bool correct = gen.Pick(0, 99) < 75;
                        right += correct;
                        transcript += QByteArray::number(n + 1) + ". " + questionTexts[qs[n]] + "\r\n\r\n" +
                                      gen.Word() + (correct ? " (CORRECT)" : " (INCORRECT)") + "\r\n\r\n\r\n";
                    }
                    const int grade = qs.isEmpty() ? 0 : right * 100 / int(qs.size());
                    result.Text(1, StudentID(id)).Int(2, t).Int(3, c).Int(4, grade);
                    result.Text(5, Grading::FinishedStatus(grade).toLatin1());
                    if (gen.Pick(0, 99) < TypedInGradebook) {
                        sqlite3_bind_null(result.Stmt, 6);
                        sqlite3_bind_null(result.Stmt, 7);
                    } else {
                        result.Text(6, QByteArray("20") + QByteArray::number(20 + gen.Pick(0, 6)) + "-0" +
                                           QByteArray::number(gen.Pick(1, 9)) + "-1" +
                                           QByteArray::number(gen.Pick(0, 9)));
                        result.Text(7, transcript + ' ');
                    }
                    result.Run();
                    ++results;
                }
            }
        }
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        qFatal("%s", sqlite3_errmsg(db));
    sqlite3_close(db);
}

struct TSchool {
    QTemporaryDir Dir;
    QString Path;
    TSchool()
    {
        Path = qEnvironmentVariable("CORVELLA_SCHOOL_FILE");
        if (Path.isEmpty())
            Path = Dir.filePath(QStringLiteral("Corvella.mdb"));
        if (!QFileInfo::exists(Path))
            MakeSchoolFile(Path);
    }
};

TSchool &School()
{
    static TSchool school;
    return school;
}

// One program's connection and statement object on the school file.
struct TProgram {
    TDbConnection Connection;
    TDbQuery Query{&Connection};
    TProgram()
    {
        Connection.SetConnectionString(ConnectionStringFor(School().Path));
        Connection.Open();
    }
    // The page cache is emptied before each run, so that every page the window needs
    // is read from the file, as after another program's write.
    void ColdCache()
    {
        sqlite3_db_release_memory(Connection.Handle());
        int current = 0, highest = 0;
        sqlite3_db_status(Connection.Handle(), SQLITE_DBSTATUS_CACHE_MISS, &current, &highest, 1);
    }
    int PagesRead()
    {
        int current = 0, highest = 0;
        sqlite3_db_status(Connection.Handle(), SQLITE_DBSTATUS_CACHE_MISS, &current, &highest, 0);
        return current;
    }
};

template <typename Work> void Measure(benchmark::State &state, TProgram &program, Work work)
{
    qint64 pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        program.ColdCache();
        state.ResumeTiming();
        work();
        state.PauseTiming();
        pages += program.PagesRead();
        state.ResumeTiming();
    }
    state.counters["pages"] = benchmark::Counter(double(pages) / double(state.iterations()));
}

void Login(benchmark::State &state)
{
    TProgram program;
    TForm_Login window(&program.Query);
    window.NvMaskEdit_UserName->setText(QString::fromLatin1(StudentID(777).toLower()));
    Measure(state, program, [&] {
        if (!window.CheckLogin())
            state.SkipWithError("the student was not found");
    });
}

void ClassList(benchmark::State &state)
{
    TProgram program;
    Tamberlin::TForm_SelectClass window(&program.Query);
    window.StudentID = QString::fromLatin1(StudentID(12));
    Measure(state, program, [&] { window.FormShow(); });
}

void TestList(benchmark::State &state)
{
    TProgram program;
    Tamberlin::TForm_SelectTest window(&program.Query);
    window.StudentID = QString::fromLatin1(StudentID(12));
    window.ClassID = QStringLiteral("1");
    Measure(state, program, [&] { window.FormShow(); });
    if (window.RowCount() != TestsPerClass + 1)
        state.SkipWithError("the test list is not complete");
}

void LoadFortyQuestionTest(benchmark::State &state)
{
    TProgram program;
    Measure(state, program, [&] {
        TControlDefList defs;
        LoadTestQuestions(program.Query, defs, QStringLiteral("7"));
        if (defs.size() != 40)
            state.SkipWithError("the test does not have 40 questions");
    });
}

void Gradebook(benchmark::State &state)
{
    TProgram program;
    TForm_TestGrades window(&program.Query);
    window.ClassKey = QStringLiteral("1");
    window.TestKey = QStringLiteral("3");
    Measure(state, program, [&] { window.FormShow(); });
}

void QuestionsInTest(benchmark::State &state)
{
    TProgram program;
    TForm_QuestionJoin window(&program.Query);
    window.SetParentKey(QStringLiteral("7"));
    window.SetParentName(QStringLiteral("Unit test 7"));
    Measure(state, program, [&] { window.FormShow(); });
}

void StudentList(benchmark::State &state)
{
    TProgram program;
    TForm_StudentEdit window(&program.Query);
    Measure(state, program, [&] { window.FormShow(); });
}

// Its statement sorts the whole bank by question, an order no index keeps (our connections'
// letter order is not the sqlite3 tool's), so even its first row reads every page of the
// table: stepping it lazily would save the list's work, not the pages.
void QuestionChoice(benchmark::State &state)
{
    TProgram program;
    Measure(state, program, [&] {
        TForm_SelectQuestion window(&program.Query);
        window.FormShow();
    });
}

} // namespace

BENCHMARK(Login)->Unit(benchmark::kMillisecond);
BENCHMARK(ClassList)->Unit(benchmark::kMillisecond);
BENCHMARK(TestList)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFortyQuestionTest)->Unit(benchmark::kMillisecond);
BENCHMARK(Gradebook)->Unit(benchmark::kMillisecond);
BENCHMARK(QuestionsInTest)->Unit(benchmark::kMillisecond);
BENCHMARK(StudentList)->Unit(benchmark::kMillisecond);
BENCHMARK(QuestionChoice)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--make") {
        MakeSchoolFile(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    School();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
