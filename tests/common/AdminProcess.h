#pragma once

// The real corvella-admin, built beside the tests, run as a teacher runs it.

#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

struct TAdminRun {
    int Status = -1; // -1: it did not end within a minute
    QString Out;
    QByteArray Bytes; // standard output as written
    QString Err;
};

inline QString AdminProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/corvella-admin");
}

// With plainShell, it runs without the test's display settings, as from a terminal.
inline TAdminRun RunAdmin(const QStringList &args, bool plainShell = false)
{
    QProcess process;
    if (plainShell) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
    }
    process.start(AdminProgram(), args);
    TAdminRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.Status = process.exitCode();
    run.Bytes = process.readAllStandardOutput();
    run.Out = QString::fromUtf8(run.Bytes);
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
