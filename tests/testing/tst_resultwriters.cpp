// Results written by real processes on one real file: copies finishing together, a
// class of different students finishing together, a write lock held past the wait, a
// read-only file, a full disk, a kill -9 mid-test, and the answers so far coming back.

#include "common/AdminProcess.h"
#include "common/TestDatabase.h"
#include "database/Schema.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "testing/SelectTest.h"
#include "testtaking/ResultStore.h"
#include "testtaking/TestWizard.h"
#include "toolkit/Component.h"
#include "toolkit/ModalResult.h"
#include "toolkit/StdDialogs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace {

QString WriterPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tamberlin-writer");
}

int ResultRows(const QString &path)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(path));
    TDbQuery query(&connection);
    query.Add(QStringLiteral("SELECT COUNT(*) FROM testresults WHERE STUDENTID='S01' AND TESTID=1 AND CLASSID=1"));
    query.Open();
    return query.Fields(0).AsInteger();
}

QStringList ResultColumn(const QString &path, const QString &column)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(path));
    TDbQuery query(&connection);
    query.Add(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM testresults ORDER BY SERIAL"));
    query.Open();
    QStringList values;
    for (; !query.Eof(); query.Next())
        values << query.Fields(0).AsString();
    return values;
}

struct TWriterRun {
    int Stored = 0;
    int Kept = 0;
    int Lost = 0;
    qint64 LongestWait = 0;
};

// The student of writer i: all S01, or S01, S02, ... each his own.
QString WriterStudent(int i, bool differentStudents)
{
    return QStringLiteral("S%1").arg(differentStudents ? i + 1 : 1, 2, 10, QLatin1Char('0'));
}

// n copies of the result writer, all finishing at the same moment.
TWriterRun RunWriters(int n, const QString &path, const QString &keep, int waitMs, bool differentStudents = false)
{
    const qint64 startAt = QDateTime::currentMSecsSinceEpoch() + 1500 + n * 60;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < n; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(WriterPath(), {QStringLiteral("finish"), path, WriterStudent(i, differentStudents),
                                QStringLiteral("1"), QStringLiteral("1"), QString::number(50 + i),
                                QString::number(waitMs), QString::number(startAt), keep});
        processes.push_back(std::move(p));
    }
    TWriterRun run;
    for (auto &p : processes) {
        p->waitForFinished(120000);
        const QList<QByteArray> words = p->readAllStandardOutput().trimmed().split(' ');
        const QByteArray word = words.value(0);
        run.LongestWait = std::max(run.LongestWait, words.value(1).toLongLong());
        if (word == "stored")
            ++run.Stored;
        else if (word == "kept")
            ++run.Kept;
        else
            ++run.Lost;
    }
    return run;
}

QString RunRetry(const QString &keep)
{
    QProcess p;
    p.start(WriterPath(), {QStringLiteral("retry"), keep});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput().trimmed());
}

// A writer that holds the file's write lock for ms, started and standing on the lock.
std::unique_ptr<QProcess> HoldLock(const QString &path, int ms)
{
    auto p = std::make_unique<QProcess>();
    p->start(WriterPath(), {QStringLiteral("hold"), path, QString::number(ms)});
    if (!p->waitForReadyRead(20000) || !p->readLine().startsWith("held"))
        return nullptr;
    return p;
}

bool Run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A small file system of its own (tmpfs), so that it can be made read-only or full even
// for a user whom file modes do not stop.
class TSmallDisk {
public:
    explicit TSmallDisk(const QString &size)
    {
        Mounted = geteuid() == 0 &&
                  Run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                QStringLiteral("size=") + size, QStringLiteral("tmpfs"), Dir.path()});
    }
    ~TSmallDisk()
    {
        if (Mounted)
            Run(QStringLiteral("umount"), {QStringLiteral("-l"), Dir.path()});
    }
    bool Remount(const char *mode)
    {
        return Run(QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("remount,") + QLatin1String(mode), Dir.path()});
    }
    QTemporaryDir Dir;
    bool Mounted = false;
};

// Test 1 with three short-answer questions whose answer is "yes"; S01 in class 1.
void FillTest(const QString &path)
{
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(path));
    TDbQuery query(&connection);
    auto exec = [&](const QString &text) {
        query.Clear();
        query.Add(text);
        query.ExecSQL();
    };
    exec(QStringLiteral("INSERT INTO testmaster (ID, NAME, COLUMNS) VALUES (1, 'Test', 1)"));
    exec(QStringLiteral("INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (1, 'Class', 'C', 'T')"));
    exec(QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (1, 1, 1, '1')"));
    exec(QStringLiteral("INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (1, 'S01', 1)"));
    for (int id = 1; id <= 3; ++id) {
        TQAMaskEdit edit(nullptr);
        edit.SetBounds(0, 0, 200, 21);
        edit.SetID(id);
        edit.SetQuestion(QStringLiteral("Question %1?").arg(id));
        edit.SetCorrectAnswer(QStringLiteral("yes"));
        edit.setObjectName(QStringLiteral("QAMaskEdit_%1").arg(id));
        query.Clear();
        query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"));
        query.Add(QStringLiteral("VALUES (%1, 'Q', 'Q', :CONTROL)").arg(id));
        query.SetParamText(QStringLiteral("CONTROL"), ComponentToText(&edit));
        query.ExecSQL();
        exec(QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (1, %1, %1)").arg(id));
    }
}

std::unique_ptr<TForm_TestWizard> OpenWizard(TDbQuery *query, const QString &path)
{
    auto wizard = std::make_unique<TForm_TestWizard>(query, true);
    wizard->ConnectionString = ConnectionStringFor(path);
    wizard->TestID = QStringLiteral("1");
    wizard->ClassID = QStringLiteral("1");
    wizard->StudentID = QStringLiteral("S01");
    wizard->SaveResult = true;
    wizard->show();
    QCoreApplication::processEvents();
    return wizard;
}

void AnswerPage(TForm_TestWizard &wizard, const QString &answer)
{
    QWidget *control = wizard.CurrentControl();
    control->setFocus();
    QTest::keyClicks(control, answer);
    QTest::mouseClick(wizard.BitBtn_Next, Qt::LeftButton);
}

void Report(const char *scenario, int writers, int attempts, int stored, int lost, int duplicated)
{
    qInfo("%s: writers=%d attempts=%d stored=%d lost=%d duplicated=%d", scenario, writers, attempts, stored, lost,
          duplicated);
}

} // namespace

class TestResultWriters : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copiesFinishingTogetherLeaveOneRow_data();
    void copiesFinishingTogetherLeaveOneRow();
    void differentStudentsFinishingTogetherLeaveOneRowEach();
    void readersTakeTheHighestSerial();
    void lockHeldPastTheWaitKeepsResult();
    void keptResultNeverReplacesANewerOne();
    void readOnlyFileKeepsResult();
    void fullDiskKeepsResult();
    void killedMidTestContinues();
    void progressKeptHereWhileFileLocked();
    void declinedContinueStartsAfresh();
    void answersSoFarComeBackInTheirControls();

private:
    std::unique_ptr<QTemporaryDir> FKeep;
};

void TestResultWriters::init()
{
    TDialogSeam::BeginScript();
    FKeep = std::make_unique<QTemporaryDir>();
    SetLocalStoreFolder(FKeep->path());
}

void TestResultWriters::cleanup()
{
    TKeptResultRetrier::Instance()->Stop();
    SetLocalStoreFolder(QString());
    TDialogSeam::EndScript();
}

void TestResultWriters::copiesFinishingTogetherLeaveOneRow_data()
{
    QTest::addColumn<int>("writers");
    QTest::addColumn<int>("rounds");
    QTest::newRow("2 copies, 5 rounds") << 2 << 5;
    QTest::newRow("30 copies") << 30 << 1;
}

void TestResultWriters::copiesFinishingTogetherLeaveOneRow()
{
    QFETCH(int, writers);
    QFETCH(int, rounds);
    int stored = 0, lost = 0, duplicated = 0;
    for (int round = 0; round < rounds; ++round) {
        TTestDatabase db;
        const TWriterRun run = RunWriters(writers, db.Path(), FKeep->path(), ResultWaitTime);
        const int rows = ResultRows(db.Path());
        stored += run.Stored;
        lost += run.Lost + run.Kept;
        duplicated += std::max(0, rows - 1);
        QCOMPARE(rows, 1);
        QCOMPARE(run.Stored, writers);
        // The row holds one writer's whole result, grade and transcript together.
        const int grade = ResultColumn(db.Path(), QStringLiteral("GRADE")).value(0).toInt();
        QVERIFY(grade >= 50 && grade < 50 + writers);
        QVERIFY(
            ResultColumn(db.Path(), QStringLiteral("ANSWERS")).value(0).startsWith(QLatin1String("1. Finished by")));
    }
    Report("copies finishing together", writers, writers * rounds, stored, lost, duplicated);
}

void TestResultWriters::differentStudentsFinishingTogetherLeaveOneRowEach()
{
    constexpr int writers = 30;
    TTestDatabase db;
    const TWriterRun run = RunWriters(writers, db.Path(), FKeep->path(), ResultWaitTime, true);
    QCOMPARE(run.Stored, writers);
    // Each student's own grade (writer i grades 50 + i): no row lost, doubled or mixed up.
    QStringList expected;
    for (int i = 0; i < writers; ++i)
        expected << WriterStudent(i, true) + QLatin1Char('|') + QString::number(50 + i);
    QCOMPARE(db.Column({QStringLiteral("SELECT STUDENTID || '|' || GRADE FROM testresults ORDER BY STUDENTID")}),
             expected);
    Report("different students finishing together", writers, writers, run.Stored, run.Lost + run.Kept,
           db.Column({QStringLiteral("SELECT COUNT(*) FROM testresults")}).value(0).toInt() - writers);
}

void TestResultWriters::readersTakeTheHighestSerial()
{
    TTestDatabase db;
    FillTest(db.Path());
    // Doubled by an older copy: the earlier row PASSED, the later one FAILED.
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S01', 1, 1, 90, 'PASSED')"});
    db.Exec({"INSERT INTO testresults (STUDENTID, TESTID, CLASSID, GRADE, STATUS) VALUES ('S01', 1, 1, 40, 'FAILED')"});

    Tamberlin::TForm_SelectTest select(&db.Query());
    select.StudentID = QStringLiteral("S01");
    select.ClassID = QStringLiteral("1");
    select.show();
    QCOMPARE(select.Cells(3, 1), QStringLiteral("FAILED"));
    QCOMPARE(select.Cells(4, 1), QStringLiteral("40%"));

    // A new result goes into the row that is shown, not into a third one.
    TTestResult result;
    result.Key = {db.Path(), QStringLiteral("S01"), 1, 1};
    result.Grade = 75;
    result.Status = QStringLiteral("PASSED");
    result.TestDate = QDate::currentDate();
    result.Answers = QStringLiteral("t ");
    QCOMPARE(StoreTestResult(result, false, 1000), TStoreOutcome::Stored);
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("GRADE")), (QStringList{"90", "75"}));

    QProcess admin;
    admin.start(AdminProgram(), {QStringLiteral("check"), db.Path()});
    QVERIFY(admin.waitForFinished(30000));
    const QString out = QString::fromUtf8(admin.readAllStandardOutput());
    QVERIFY2(out.contains(
                 QLatin1String("student S01, test 1, class 1 stored 2 times (SERIAL 1, 2); SERIAL 2 is the one shown")),
             qPrintable(out));
    QCOMPARE(admin.exitCode(), 1);
}

void TestResultWriters::lockHeldPastTheWaitKeepsResult()
{
    TTestDatabase db;
    FillTest(db.Path());
    auto wizard = OpenWizard(&db.Query(), db.Path());
    wizard->ResultWait = 300;
    AnswerPage(*wizard, QStringLiteral("yes"));
    AnswerPage(*wizard, QStringLiteral("yes"));
    QCOMPARE(wizard->ProgressPlace(), TProgressPlace::Database);

    // The student finishes while another writer holds the file longer than the wait.
    auto holder = HoldLock(db.Path(), 2500);
    QVERIFY(holder);
    AnswerPage(*wizard, QStringLiteral("no"));
    QVERIFY(wizard->Panel_Grade->isVisible());
    QVERIFY(wizard->ResultKept());
    QCOMPARE(TDialogSeam::LastText(), TForm_TestWizard::KeptMessage);
    QCOMPARE(wizard->Label_Stored->text(), TForm_TestWizard::KeptText);
    QCOMPARE(wizard->Label_Status->text(), QStringLiteral("Status: FAILED"));
    QCOMPARE(KeptResultFiles().size(), 1);

    // Released: the background retry stores it once, and the grade page says so.
    QVERIFY(holder->waitForFinished(20000));
    TKeptResultRetrier::Instance()->RetryNow();
    QTRY_COMPARE_WITH_TIMEOUT(wizard->Label_Stored->text(), TForm_TestWizard::StoredText, 20000);
    QCOMPARE(ResultRows(db.Path()), 1);
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("STATUS")), QStringList{QStringLiteral("FAILED")});
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("GRADE")), QStringList{QStringLiteral("66")});
    QVERIFY(KeptResultFiles().isEmpty());
    // A later start finds nothing left to store.
    QCOMPARE(RunRetry(FKeep->path()), QStringLiteral("stored=0 superseded=0 waiting=0"));
    QCOMPARE(ResultRows(db.Path()), 1);
    Report("write lock held past the wait", 1, 2, 1, 0, ResultRows(db.Path()) - 1);
}

void TestResultWriters::keptResultNeverReplacesANewerOne()
{
    TTestDatabase db;
    auto holder = HoldLock(db.Path(), 5000); // past the writers' start and their wait
    QVERIFY(holder);
    TWriterRun run = RunWriters(1, db.Path(), FKeep->path(), 200);
    QCOMPARE(run.Kept, 1);
    QVERIFY(holder->waitForFinished(20000));
    // Meanwhile the student took the test again elsewhere, and that result was stored.
    run = RunWriters(1, db.Path(), FKeep->path(), 5000);
    QCOMPARE(run.Stored, 1);
    const QStringList answers = ResultColumn(db.Path(), QStringLiteral("ANSWERS"));
    QCOMPARE(RunRetry(FKeep->path()), QStringLiteral("stored=0 superseded=1 waiting=0"));
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("ANSWERS")), answers);
    QCOMPARE(ResultRows(db.Path()), 1);
}

void TestResultWriters::readOnlyFileKeepsResult()
{
    TSmallDisk disk(QStringLiteral("4m"));
    if (!disk.Mounted)
        QSKIP("needs a file system of its own (mount tmpfs)");
    const QString path = disk.Dir.filePath(QStringLiteral("Corvella.mdb"));
    QString error;
    QVERIFY2(CreateDatabaseFile(path, &error), qPrintable(error));
    QVERIFY(disk.Remount("ro"));

    TWriterRun run = RunWriters(3, path, FKeep->path(), 1000);
    QCOMPARE(run.Kept, 3);
    QCOMPARE(ResultRows(path), 0);
    // Three copies, one student: only the newest result waits; the file is still read-only.
    const QString first = RunRetry(FKeep->path());
    QVERIFY2(first.startsWith(QLatin1String("stored=0")) && first.endsWith(QLatin1String("waiting=1")),
             qPrintable(first));
    QCOMPARE(KeptResultFiles().size(), 1);

    QVERIFY(disk.Remount("rw"));
    QCOMPARE(RunRetry(FKeep->path()), QStringLiteral("stored=1 superseded=0 waiting=0"));
    QCOMPARE(RunRetry(FKeep->path()), QStringLiteral("stored=0 superseded=0 waiting=0"));
    QCOMPARE(ResultRows(path), 1);
    Report("read-only file", 3, 3 + 3, 1, 0, ResultRows(path) - 1);
}

void TestResultWriters::fullDiskKeepsResult()
{
    TSmallDisk disk(QStringLiteral("256k"));
    if (!disk.Mounted)
        QSKIP("needs a file system of its own (mount tmpfs)");
    const QString path = disk.Dir.filePath(QStringLiteral("Corvella.mdb"));
    QString error;
    QVERIFY2(CreateDatabaseFile(path, &error), qPrintable(error));
    const QString fillerPath = disk.Dir.filePath(QStringLiteral("filler"));
    {
        QFile filler(fillerPath);
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) { }
    }

    TWriterRun run = RunWriters(1, path, FKeep->path(), 1000);
    QCOMPARE(run.Kept, 1);
    QCOMPARE(ResultRows(path), 0);

    QVERIFY(QFile::remove(fillerPath));
    QCOMPARE(RunRetry(FKeep->path()), QStringLiteral("stored=1 superseded=0 waiting=0"));
    QCOMPARE(ResultRows(path), 1);
    Report("full disk", 1, 2, 1, 0, ResultRows(path) - 1);
}

void TestResultWriters::killedMidTestContinues()
{
    TTestDatabase db;
    FillTest(db.Path());
    QProcess student;
    student.start(WriterPath(), {QStringLiteral("wizard"), db.Path(), QStringLiteral("S01"), QStringLiteral("1"),
                                 QStringLiteral("1"), FKeep->path(), QStringLiteral("yes"), QStringLiteral("yes")});
    QVERIFY(student.waitForReadyRead(60000));
    QCOMPARE(student.readLine().trimmed(), QByteArray("page 3"));
    student.kill(); // SIGKILL: nothing runs after it
    QVERIFY(student.waitForFinished(10000));
    QCOMPARE(student.exitStatus(), QProcess::CrashExit);

    // Every reader still sees the test as not taken.
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("STATUS")), QStringList{QStringLiteral("INCOMPLETE")});
    {
        Tamberlin::TForm_SelectTest select(&db.Query());
        select.StudentID = QStringLiteral("S01");
        select.ClassID = QStringLiteral("1");
        select.show();
        QCOMPARE(select.Cells(3, 1), QStringLiteral("INCOMPLETE"));
        QCOMPARE(select.Cells(4, 1), QStringLiteral("N/A"));
    }

    // A new process: the student is offered to go on, and does (Yes).
    TDialogSeam::SetNextAnswer(ResultYes);
    auto wizard = OpenWizard(&db.Query(), db.Path());
    QTRY_COMPARE(wizard->PageIndex, 2);
    QCOMPARE(TDialogSeam::Shown().value(0).Text, TForm_TestWizard::ContinueQuestion);
    QCOMPARE(TDialogSeam::Shown().value(0).Buttons, int(BtnYes | BtnNo));
    QCOMPARE(wizard->Label_Number->text(), QStringLiteral("3."));
    QVERIFY(wizard->BitBtn_Previous->isEnabled());
    AnswerPage(*wizard, QStringLiteral("no"));
    QCOMPARE(wizard->Label_Grade2->text().left(2), QStringLiteral("66"));
    QCOMPARE(ResultRows(db.Path()), 1);
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("GRADE")), QStringList{QStringLiteral("66")});
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("STATUS")), QStringList{QStringLiteral("FAILED")});
    QVERIFY(wizard->ResultStored());
    QCOMPARE(wizard->Label_Stored->text(), TForm_TestWizard::StoredText);
}

void TestResultWriters::progressKeptHereWhileFileLocked()
{
    TTestDatabase db;
    FillTest(db.Path());
    {
        auto wizard = OpenWizard(&db.Query(), db.Path());
        AnswerPage(*wizard, QStringLiteral("yes"));
        QCOMPARE(wizard->ProgressPlace(), TProgressPlace::Database);
        auto holder = HoldLock(db.Path(), ProgressWaitTime + 2000);
        QVERIFY(holder);
        AnswerPage(*wizard, QStringLiteral("yes"));
        QCOMPARE(wizard->ProgressPlace(), TProgressPlace::Local);
        holder->waitForFinished(20000);
        // The window goes away without Finish, as in a crash.
    }
    // The answers kept here are newer than those in the row: they are the ones offered.
    TDialogSeam::SetNextAnswer(ResultYes);
    auto wizard = OpenWizard(&db.Query(), db.Path());
    QTRY_COMPARE(wizard->PageIndex, 2);
    AnswerPage(*wizard, QStringLiteral("yes"));
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("GRADE")), QStringList{QStringLiteral("100")});
    QCOMPARE(ResultRows(db.Path()), 1);
}

void TestResultWriters::declinedContinueStartsAfresh()
{
    TTestDatabase db;
    FillTest(db.Path());
    {
        auto wizard = OpenWizard(&db.Query(), db.Path());
        AnswerPage(*wizard, QStringLiteral("yes"));
    }
    TDialogSeam::SetNextAnswer(ResultNo);
    auto wizard = OpenWizard(&db.Query(), db.Path());
    QTRY_COMPARE(TDialogSeam::Shown().size(), 1);
    QCOMPARE(wizard->PageIndex, 0);
    QCOMPARE(qobject_cast<TQAMaskEdit *>(wizard->CurrentControl())->Text(), QString());
    QVERIFY(!wizard->BitBtn_Previous->isEnabled());
}

void TestResultWriters::answersSoFarComeBackInTheirControls()
{
    TTestDatabase db;
    FillTest(db.Path());
    {
        auto wizard = OpenWizard(&db.Query(), db.Path());
        AnswerPage(*wizard, QStringLiteral("yes"));
        AnswerPage(*wizard, QStringLiteral("Maybe 'so'"));
        QCOMPARE(wizard->ProgressPlace(), TProgressPlace::Database);
    }
    // Leaving each page wrote the answers so far into the student's INCOMPLETE row.
    QCOMPARE(ResultColumn(db.Path(), QStringLiteral("STATUS")), QStringList{QStringLiteral("INCOMPLETE")});
    QVERIFY(IsProgressText(ResultColumn(db.Path(), QStringLiteral("ANSWERS")).value(0)));

    TDialogSeam::SetNextAnswer(ResultYes);
    auto wizard = OpenWizard(&db.Query(), db.Path());
    QTRY_COMPARE(wizard->PageIndex, 2);
    QStringList shown;
    for (int page = 2; page > 0; --page) {
        QTest::mouseClick(wizard->BitBtn_Previous, Qt::LeftButton);
        shown.prepend(qobject_cast<TQAMaskEdit *>(wizard->CurrentControl())->Text());
    }
    QCOMPARE(shown, (QStringList{QStringLiteral("yes"), QStringLiteral("Maybe 'so'")}));
}

QTEST_MAIN(TestResultWriters)
#include "tst_resultwriters.moc"
