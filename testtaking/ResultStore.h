#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class TDbQuery;
class QThread;
class QTimer;

// The student, test and class a result or the answers in progress belong to.
struct TResultKey {
    QString DatabasePath;
    QString StudentID;
    int TestID = 0;
    int ClassID = 0;
};

// One finished test as it is written to its testresults row.
struct TTestResult {
    TResultKey Key;
    int Grade = 0;
    QString Status; // "PASSED" or "FAILED"
    QDate TestDate;
    QString Answers; // the transcript as stored (with its closing blank)
    // The row as it stood when the student began the test (ResultFingerprint), empty
    // when there was none: a kept result never replaces a result stored after that.
    QString Base;
    qint64 FinishedAt = 0; // ms since the epoch (UTC)
};

enum class TStoreOutcome {
    Stored, // the row now holds the result
    AlreadyStored, // a kept result that had been stored before (only its file was left)
    Superseded, // a newer result of the same test was stored meanwhile: left as it is
    Failed // could not be written; the error says why
};

// How long the result written at Finish waits for other writers: a class of 30
// finishing together on a slow school share was measured to wait up to 28 s.
constexpr int ResultWaitTime = 90000;
// Answers in progress and kept results retried in the background wait less: a page
// turn must not stall, and a retry comes again.
constexpr int ProgressWaitTime = 3000;
constexpr int RetryWaitTime = 5000;
constexpr int RetryInterval = 10000;

// Looks up the student's row and writes the result as one step, so that any number of
// copies finishing together leave one row. Where duplicates exist from before, the
// highest SERIAL is the one written (and read everywhere). kept: the result comes from
// the local store; then a result stored after the student began is not overwritten.
TStoreOutcome StoreTestResult(const TTestResult &result, bool kept, int waitMs, QString *error = nullptr);

// The fingerprint of the row a query stands on (SERIAL, STATUS, GRADE, TESTDATE, ANSWERS).
QString ResultFingerprint(const TDbQuery &query);

// Answers given so far: what each control holds (by test position and control ID) and
// the page the student was on.
struct TTestProgress {
    int Page = 0;
    qint64 SavedAt = 0;
    QList<int> ControlIDs;
    QStringList States;
    bool IsEmpty() const { return States.isEmpty(); }
};

QString EncodeProgress(const TTestProgress &progress);
bool DecodeProgress(const QString &text, TTestProgress *progress);
// A testresults ANSWERS value that holds answers in progress, not a transcript.
bool IsProgressText(const QString &answers);

enum class TProgressPlace { Database, Local, Nowhere };
// Saves the answers in the student's INCOMPLETE row (made when there is none); where the
// file cannot be written, on this computer. A finished result is never touched.
TProgressPlace SaveTestProgress(const TResultKey &key, const TTestProgress &progress, int waitMs,
                                QString *error = nullptr);
// The latest answers in progress from the row or this computer; base receives the
// fingerprint of the row as it stands (empty without one). False when the database
// could not be read (the local answers are still given).
bool LoadTestProgress(const TResultKey &key, TTestProgress *progress, QString *base, QString *error = nullptr);
void ForgetLocalProgress(const TResultKey &key);

// Results kept on this computer until they can be stored: one file each, written
// atomically, under the user's data folder.
QString LocalStoreFolder();
void SetLocalStoreFolder(const QString &folder); // tests; empty: the user's data folder
bool KeepTestResult(const TTestResult &result, QString *error = nullptr);
bool IsResultKept(const TResultKey &key);
QStringList KeptResultFiles();
void ForgetKeptResults(const TResultKey &key);

struct TRetryCounts {
    int Stored = 0;
    int Superseded = 0;
    int Waiting = 0;
};
// Tries every kept result once, oldest first; stored (or superseded) ones are removed.
TRetryCounts StoreKeptResults(int waitMs);

// Retries the kept results in a thread of their own: at once when started, then every
// RetryInterval, and when asked. Tells Changed() after every pass.
class TKeptResultRetrier : public QObject {
    Q_OBJECT

public:
    static TKeptResultRetrier *Instance();
    void Start();
    void RetryNow();
    void Stop(); // waits for a pass in progress

signals:
    void Changed();

private:
    explicit TKeptResultRetrier(QObject *parent = nullptr);
    QTimer *FTimer = nullptr;
    QThread *FWorker = nullptr;
};
