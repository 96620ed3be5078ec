#include "testtaking/ResultStore.h"

#include "database/Database.h"
#include "database/ServerEngine.h"
#include "question/Grading.h"
#include "toolkit/Exception.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMutex>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

const QString ProgressMarker = QStringLiteral("[Answers in progress; the test is not finished]");

QString &FolderOverride()
{
    static QString folder;
    return folder;
}

QMutex &FolderMutex()
{
    static QMutex mutex;
    return mutex;
}

QString Escape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else
            out += c;
    }
    return out;
}

QString Unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text[++i];
            c = n == QLatin1Char('r')   ? QChar('\r')
                : n == QLatin1Char('n') ? QChar('\n')
                : n == QLatin1Char('t') ? QChar('\t')
                                        : n;
        }
        out += c;
    }
    return out;
}

// One file name per student, test and class of one database file.
QString KeyName(const TResultKey &key)
{
    const QString canonical = IsServerLocation(key.DatabasePath) ? key.DatabasePath
                                                                 : QFileInfo(key.DatabasePath).absoluteFilePath();
    const QByteArray text = (canonical + QLatin1Char('\n') + key.StudentID.toUpper() + QLatin1Char('\n') +
                             QString::number(key.TestID) + QLatin1Char('\n') + QString::number(key.ClassID))
                                .toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex());
}

QString SubFolder(const QString &name)
{
    const QString folder = LocalStoreFolder() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

bool WriteAtomically(const QString &path, const QByteArray &content, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void Prepare(TDbConnection &connection, const TResultKey &key, int waitMs)
{
    connection.SetConnectionString(ConnectionStringFor(key.DatabasePath));
    connection.SetBusyTimeout(waitMs);
}

// The student's row with the highest SERIAL, opened on query (Eof when there is none).
void OpenResultRow(TDbQuery &query, const TResultKey &key)
{
    query.Clear();
    query.Add(QStringLiteral("SELECT SERIAL, STATUS, GRADE, TESTDATE, ANSWERS FROM testresults"));
    query.Add(QStringLiteral("WHERE STUDENTID=") + QuotedStr(key.StudentID));
    query.Add(QStringLiteral("AND TESTID=") + QString::number(key.TestID));
    query.Add(QStringLiteral("AND CLASSID=") + QString::number(key.ClassID));
    query.Add(QStringLiteral("ORDER BY SERIAL DESC"));
    query.Open();
}

QJsonObject KeyToJson(const TResultKey &key)
{
    QJsonObject o;
    o[QStringLiteral("database")] = key.DatabasePath;
    o[QStringLiteral("student")] = key.StudentID;
    o[QStringLiteral("test")] = key.TestID;
    o[QStringLiteral("class")] = key.ClassID;
    return o;
}

TResultKey KeyFromJson(const QJsonObject &o)
{
    TResultKey key;
    key.DatabasePath = o.value(QStringLiteral("database")).toString();
    key.StudentID = o.value(QStringLiteral("student")).toString();
    key.TestID = o.value(QStringLiteral("test")).toInt();
    key.ClassID = o.value(QStringLiteral("class")).toInt();
    return key;
}

bool ReadKept(const QString &path, TTestResult *result)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    if (o.isEmpty())
        return false;
    result->Key = KeyFromJson(o);
    result->Grade = o.value(QStringLiteral("grade")).toInt();
    result->Status = o.value(QStringLiteral("status")).toString();
    result->TestDate = QDate::fromString(o.value(QStringLiteral("date")).toString(), Qt::ISODate);
    result->Answers = o.value(QStringLiteral("answers")).toString();
    result->Base = o.value(QStringLiteral("base")).toString();
    result->FinishedAt = qint64(o.value(QStringLiteral("finished")).toDouble());
    return !result->Key.DatabasePath.isEmpty() && !result->Status.isEmpty();
}

} // namespace

QString ResultFingerprint(const TDbQuery &query)
{
    const QByteArray answers = query.FieldByName("ANSWERS").AsString().toUtf8();
    return query.FieldByName("SERIAL").AsString() + QLatin1Char('|') + query.FieldByName("STATUS").AsString() +
           QLatin1Char('|') + query.FieldByName("GRADE").AsString() + QLatin1Char('|') +
           query.FieldByName("TESTDATE").AsString() + QLatin1Char('|') +
           QString::fromLatin1(QCryptographicHash::hash(answers, QCryptographicHash::Sha1).toHex());
}

TStoreOutcome StoreTestResult(const TTestResult &result, bool kept, int waitMs, QString *error)
{
    try {
        TDbConnection connection;
        Prepare(connection, result.Key, waitMs);
        TDbQuery query(&connection);
        TDbTransaction transaction(connection);

        OpenResultRow(query, result.Key);
        QString serial;
        if (!query.Eof()) {
            serial = query.FieldByName("SERIAL").AsString();
            const QString status = query.FieldByName("STATUS").AsString();
            if (kept && Grading::IsFinished(status)) {
                if (query.FieldByName("ANSWERS").AsString() == result.Answers &&
                    query.FieldByName("GRADE").AsInteger() == result.Grade &&
                    status.compare(result.Status, Qt::CaseInsensitive) == 0)
                    return TStoreOutcome::AlreadyStored;
                if (ResultFingerprint(query) != result.Base)
                    return TStoreOutcome::Superseded;
            }
        }
        query.Close();

        query.Clear();
        if (serial.isEmpty()) {
            query.Add(QStringLiteral("INSERT INTO testresults(STUDENTID, TESTID, CLASSID, GRADE, STATUS, TESTDATE, "
                                     "ANSWERS) VALUES("));
            query.Add(QuotedStr(result.Key.StudentID) + QLatin1Char(',') + QString::number(result.Key.TestID) +
                      QLatin1Char(',') + QString::number(result.Key.ClassID) + QLatin1Char(',') +
                      QString::number(result.Grade) + QLatin1Char(',') + QuotedStr(result.Status) +
                      QStringLiteral(", :TESTDATE, :TEST)"));
        } else {
            query.Add(QStringLiteral("UPDATE testresults SET GRADE=") + QString::number(result.Grade) +
                      QLatin1Char(',') + QStringLiteral("STATUS=") + QuotedStr(result.Status) + QStringLiteral(", ") +
                      QStringLiteral("TESTDATE = :TESTDATE,") + QStringLiteral("ANSWERS = :TEST"));
            query.Add(QStringLiteral("WHERE SERIAL=") + serial);
        }
        query.SetParamDate(QStringLiteral("TESTDATE"), result.TestDate);
        query.SetParamText(QStringLiteral("TEST"), result.Answers);
        query.ExecSQL();
        transaction.Commit();
    } catch (const Exception &e) {
        if (error)
            *error = e.Message();
        return TStoreOutcome::Failed;
    }
    return TStoreOutcome::Stored;
}

// ---------------------------------------------------------------- progress

QString EncodeProgress(const TTestProgress &progress)
{
    QString text = ProgressMarker + QStringLiteral("\r\n");
    text += QStringLiteral("page=%1\r\nsaved=%2\r\n").arg(progress.Page).arg(progress.SavedAt);
    for (qsizetype i = 0; i < progress.States.size(); ++i)
        text += QStringLiteral("%1\t%2\t%3\r\n")
                    .arg(i + 1)
                    .arg(progress.ControlIDs.value(i))
                    .arg(Escape(progress.States.at(i)));
    return text;
}

bool IsProgressText(const QString &answers)
{
    return answers.startsWith(ProgressMarker);
}

bool DecodeProgress(const QString &text, TTestProgress *progress)
{
    if (!IsProgressText(text))
        return false;
    TTestProgress result;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.startsWith(QLatin1String("page=")))
            result.Page = line.mid(5).toInt();
        else if (line.startsWith(QLatin1String("saved=")))
            result.SavedAt = line.mid(6).toLongLong();
        else {
            const qsizetype tab1 = line.indexOf(QLatin1Char('\t'));
            const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf(QLatin1Char('\t'), tab1 + 1);
            if (tab2 < 0)
                continue;
            const int index = line.left(tab1).toInt();
            if (index != result.States.size() + 1)
                return false; // out of order: not ours
            result.ControlIDs.append(line.mid(tab1 + 1, tab2 - tab1 - 1).toInt());
            result.States.append(Unescape(QStringView(line).mid(tab2 + 1)));
        }
    }
    *progress = result;
    return true;
}

namespace {

QString ProgressFile(const TResultKey &key)
{
    return SubFolder(QStringLiteral("progress")) + QLatin1Char('/') + KeyName(key) + QStringLiteral(".progress");
}

bool ReadLocalProgress(const TResultKey &key, TTestProgress *progress)
{
    QFile file(ProgressFile(key));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return DecodeProgress(QString::fromUtf8(file.readAll()), progress);
}

} // namespace

TProgressPlace SaveTestProgress(const TResultKey &key, const TTestProgress &progress, int waitMs, QString *error)
{
    const QString text = EncodeProgress(progress);
    try {
        TDbConnection connection;
        Prepare(connection, key, waitMs);
        TDbQuery query(&connection);
        TDbTransaction transaction(connection);
        OpenResultRow(query, key);
        QString serial;
        bool finished = false;
        if (!query.Eof()) {
            serial = query.FieldByName("SERIAL").AsString();
            finished = Grading::IsFinished(query.FieldByName("STATUS").AsString());
        }
        query.Close();
        if (finished)
            throw Exception(QStringLiteral("A finished result of this test is stored."));
        query.Clear();
        if (serial.isEmpty()) {
            query.Add(
                QStringLiteral("INSERT INTO testresults(STUDENTID, TESTID, CLASSID, GRADE, STATUS, ANSWERS) VALUES("));
            query.Add(QuotedStr(key.StudentID) + QLatin1Char(',') + QString::number(key.TestID) + QLatin1Char(',') +
                      QString::number(key.ClassID) + QStringLiteral(", 0, ") + QuotedStr(Grading::Incomplete) +
                      QStringLiteral(", :TEST)"));
        } else {
            query.Add(QStringLiteral("UPDATE testresults SET ANSWERS = :TEST"));
            query.Add(QStringLiteral("WHERE SERIAL=") + serial);
        }
        query.SetParamText(QStringLiteral("TEST"), text);
        query.ExecSQL();
        transaction.Commit();
        QFile::remove(ProgressFile(key));
        return TProgressPlace::Database;
    } catch (const Exception &e) {
        if (error)
            *error = e.Message();
    }
    return WriteAtomically(ProgressFile(key), text.toUtf8(), error) ? TProgressPlace::Local : TProgressPlace::Nowhere;
}

bool LoadTestProgress(const TResultKey &key, TTestProgress *progress, QString *base, QString *error)
{
    *progress = TTestProgress();
    base->clear();
    bool read = true;
    TTestProgress stored;
    try {
        TDbConnection connection;
        Prepare(connection, key, ProgressWaitTime);
        connection.SetReadOnly(true);
        TDbQuery query(&connection);
        OpenResultRow(query, key);
        if (!query.Eof()) {
            *base = ResultFingerprint(query);
            const QString status = query.FieldByName("STATUS").AsString();
            if (!Grading::IsFinished(status))
                DecodeProgress(query.FieldByName("ANSWERS").AsString(), &stored);
        }
        query.Close();
    } catch (const Exception &e) {
        if (error)
            *error = e.Message();
        read = false;
    }
    TTestProgress local;
    const bool haveLocal = ReadLocalProgress(key, &local);
    *progress = haveLocal && local.SavedAt >= stored.SavedAt ? local : stored;
    return read;
}

void ForgetLocalProgress(const TResultKey &key)
{
    QFile::remove(ProgressFile(key));
}

// ---------------------------------------------------------------- kept results

QString LocalStoreFolder()
{
    QMutexLocker lock(&FolderMutex());
    if (!FolderOverride().isEmpty())
        return FolderOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void SetLocalStoreFolder(const QString &folder)
{
    QMutexLocker lock(&FolderMutex());
    FolderOverride() = folder;
}

QStringList KeptResultFiles()
{
    QDir dir(SubFolder(QStringLiteral("kept")));
    QStringList files;
    for (const QString &name : dir.entryList({QStringLiteral("*.result")}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

void ForgetKeptResults(const TResultKey &key)
{
    const QString prefix = KeyName(key) + QLatin1Char('-');
    for (const QString &path : KeptResultFiles())
        if (QFileInfo(path).fileName().startsWith(prefix))
            QFile::remove(path);
}

bool IsResultKept(const TResultKey &key)
{
    const QString prefix = KeyName(key) + QLatin1Char('-');
    for (const QString &path : KeptResultFiles())
        if (QFileInfo(path).fileName().startsWith(prefix))
            return true;
    return false;
}

bool KeepTestResult(const TTestResult &result, QString *error)
{
    QJsonObject o = KeyToJson(result.Key);
    o[QStringLiteral("grade")] = result.Grade;
    o[QStringLiteral("status")] = result.Status;
    o[QStringLiteral("date")] = result.TestDate.toString(Qt::ISODate);
    o[QStringLiteral("answers")] = result.Answers;
    o[QStringLiteral("base")] = result.Base;
    o[QStringLiteral("finished")] = double(result.FinishedAt);
    const QString folder = SubFolder(QStringLiteral("kept"));
    if (!QFileInfo(folder).isDir()) {
        if (error)
            *error = QStringLiteral("The folder %1 cannot be made.").arg(folder);
        return false;
    }
    // The newer result of the same test replaces an older one still waiting.
    const QStringList older = [&] {
        QStringList list;
        const QString prefix = KeyName(result.Key) + QLatin1Char('-');
        for (const QString &path : KeptResultFiles())
            if (QFileInfo(path).fileName().startsWith(prefix))
                list << path;
        return list;
    }();
    const QString name = KeyName(result.Key) + QLatin1Char('-') +
                         QStringLiteral("%1").arg(result.FinishedAt, 15, 10, QLatin1Char('0')) +
                         QStringLiteral(".result");
    if (!WriteAtomically(folder + QLatin1Char('/') + name, QJsonDocument(o).toJson(QJsonDocument::Compact), error))
        return false;
    for (const QString &path : older)
        if (QFileInfo(path).fileName() != name)
            QFile::remove(path);
    return true;
}

TRetryCounts StoreKeptResults(int waitMs)
{
    TRetryCounts counts;
    QStringList files = KeptResultFiles();
    QList<TTestResult> results;
    QStringList paths;
    for (const QString &path : files) {
        TTestResult result;
        if (ReadKept(path, &result)) {
            results << result;
            paths << path;
        }
    }
    // Oldest first: of two results of one test, the later one is written last.
    QList<int> order;
    for (int i = 0; i < results.size(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return results.at(a).FinishedAt < results.at(b).FinishedAt; });
    // Of several results of one test kept here (copies that failed at once), only the
    // newest is stored; the older ones are superseded by it.
    QHash<QString, int> newest;
    for (int i : std::as_const(order))
        newest[KeyName(results.at(i).Key)] = i;
    for (int i : std::as_const(order)) {
        const QString &path = paths.at(i);
        if (newest.value(KeyName(results.at(i).Key)) != i) {
            if (QFile::remove(path))
                ++counts.Superseded;
            continue;
        }
        // Two copies of the program on this computer never work on one file at once.
        QLockFile lock(path + QStringLiteral(".lock"));
        if (!lock.tryLock(0)) {
            ++counts.Waiting;
            continue;
        }
        if (!QFileInfo::exists(path))
            continue; // stored by another copy meanwhile
        const TStoreOutcome outcome = StoreTestResult(results.at(i), true, waitMs);
        if (outcome == TStoreOutcome::Failed) {
            ++counts.Waiting;
            continue;
        }
        if (outcome == TStoreOutcome::Superseded)
            ++counts.Superseded;
        else
            ++counts.Stored;
        QFile::remove(path);
        ForgetLocalProgress(results.at(i).Key);
    }
    return counts;
}

// ---------------------------------------------------------------- TKeptResultRetrier

TKeptResultRetrier::TKeptResultRetrier(QObject *parent) : QObject(parent)
{
    FTimer = new QTimer(this);
    FTimer->setInterval(RetryInterval);
    connect(FTimer, &QTimer::timeout, this, &TKeptResultRetrier::RetryNow);
}

TKeptResultRetrier *TKeptResultRetrier::Instance()
{
    static TKeptResultRetrier *retrier = [] {
        auto r = new TKeptResultRetrier(QCoreApplication::instance());
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, r, &TKeptResultRetrier::Stop);
        return r;
    }();
    return retrier;
}

void TKeptResultRetrier::Start()
{
    FTimer->start();
    RetryNow();
}

void TKeptResultRetrier::RetryNow()
{
    if (FWorker || KeptResultFiles().isEmpty())
        return;
    QThread *worker = QThread::create([] { StoreKeptResults(RetryWaitTime); });
    FWorker = worker;
    connect(worker, &QThread::finished, this, [this, worker] {
        if (FWorker == worker)
            FWorker = nullptr;
        worker->deleteLater();
        emit Changed();
    });
    worker->start();
}

void TKeptResultRetrier::Stop()
{
    FTimer->stop();
    if (FWorker) {
        FWorker->wait();
        FWorker = nullptr; // deleted once its end has been told
    }
}
