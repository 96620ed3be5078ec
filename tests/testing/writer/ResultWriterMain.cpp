// A copy of the testing program's result writer (and its wizard) run as a real process
// by the tests, so that several writers, a held lock and a kill -9 meet on a real file.
//
//   tamberlin-writer finish DB STUDENT TEST CLASS GRADE WAITMS STARTAT KEEPDIR
//       waits until STARTAT (ms since the epoch), stores the result as Finish does, keeps
//       it in KEEPDIR when it cannot; prints "stored", "kept" or "lost" and the wait
//   tamberlin-writer hold DB MS         takes the write lock, prints "held", keeps it MS
//   tamberlin-writer retry KEEPDIR      stores the kept results as a start of Tamberlin does
//   tamberlin-writer wizard DB STUDENT TEST CLASS KEEPDIR ANSWER...
//       takes the test in the real window, typing one answer per page and pressing Next;
//       then prints "page N" and waits to be killed

#include "database/Database.h"
#include "testtaking/ResultStore.h"
#include "testtaking/TestWizard.h"
#include "toolkit/StdDialogs.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace {

int Finish(const QStringList &a)
{
    if (a.size() < 8)
        return 2;
    SetLocalStoreFolder(a.at(7));
    TTestResult result;
    result.Key.DatabasePath = a.at(0);
    result.Key.StudentID = a.at(1);
    result.Key.TestID = a.at(2).toInt();
    result.Key.ClassID = a.at(3).toInt();
    result.Grade = a.at(4).toInt();
    result.Status = result.Grade < 70 ? QStringLiteral("FAILED") : QStringLiteral("PASSED");
    result.TestDate = QDate::currentDate();
    result.Answers = QStringLiteral("1. Finished by writer %1\r\n\r\n").arg(QCoreApplication::applicationPid());
    const qint64 startAt = a.at(6).toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < startAt)
        QThread::usleep(200);
    result.FinishedAt = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer timer;
    timer.start();
    QString error;
    const TStoreOutcome outcome = StoreTestResult(result, false, a.at(5).toInt(), &error);
    const qint64 waited = timer.elapsed();
    const char *word = "stored";
    if (outcome != TStoreOutcome::Stored)
        word = KeepTestResult(result, &error) ? "kept" : "lost";
    std::printf("%s %lld %s\n", word, static_cast<long long>(waited), qPrintable(error));
    return 0;
}

int Hold(const QStringList &a)
{
    if (a.size() < 2)
        return 2;
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(a.at(0)));
    TDbTransaction transaction(connection);
    std::printf("held\n");
    std::fflush(stdout);
    QThread::msleep(a.at(1).toULong());
    return 0;
}

int Retry(const QStringList &a)
{
    if (a.isEmpty())
        return 2;
    SetLocalStoreFolder(a.at(0));
    const TRetryCounts counts = StoreKeptResults(RetryWaitTime);
    std::printf("stored=%d superseded=%d waiting=%d\n", counts.Stored, counts.Superseded, counts.Waiting);
    return 0;
}

int Wizard(const QStringList &a)
{
    if (a.size() < 5)
        return 2;
    SetLocalStoreFolder(a.at(4));
    TDialogSeam::BeginScript();
    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(a.at(0)));
    TDbQuery query(&connection);
    TForm_TestWizard wizard(&query, true);
    wizard.ConnectionString = connection.ConnectionString();
    wizard.StudentID = a.at(1);
    wizard.TestID = a.at(2);
    wizard.ClassID = a.at(3);
    wizard.SaveResult = true;
    wizard.show();
    QCoreApplication::processEvents();
    for (const QString &answer : a.mid(5)) {
        QWidget *control = wizard.CurrentControl();
        control->setFocus();
        QTest::keyClicks(control, answer);
        QTest::mouseClick(wizard.BitBtn_Next, Qt::LeftButton);
    }
    std::printf("page %d\n", wizard.PageIndex + 1);
    std::fflush(stdout);
    return QApplication::exec(); // until killed
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tamberlin"));
    QStringList args = app.arguments().mid(1);
    const QString mode = args.isEmpty() ? QString() : args.takeFirst();
    try {
        if (mode == QLatin1String("finish"))
            return Finish(args);
        if (mode == QLatin1String("hold"))
            return Hold(args);
        if (mode == QLatin1String("retry"))
            return Retry(args);
        if (mode == QLatin1String("wizard"))
            return Wizard(args);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (...) {
        std::fprintf(stderr, "failed\n");
        return 1;
    }
    return 2;
}
