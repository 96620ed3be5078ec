// corvella-admin as a command-line tool: help and version on stdout with status 0, nothing on
// stderr when a command succeeds (also with no runtime folder, as under root, cron or ssh), and
// a check that ends with one summary line.

#include "common/AdminProcess.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestAdminCli : public QObject {
    Q_OBJECT

private slots:
    void helpAndVersion()
    {
        const TAdminRun help = RunAdmin({QStringLiteral("--help")}, true);
        QCOMPARE(help.Status, 0);
        QCOMPARE(help.Err, QString());
        for (const char *command : {"create", "text", "check", "repair", "upgrade", "import", "export", "print"})
            QVERIFY2(help.Out.contains(QStringLiteral("corvella-admin %1 ").arg(QLatin1String(command))), command);

        const TAdminRun commandHelp = RunAdmin({QStringLiteral("print"), QStringLiteral("--help")}, true);
        QCOMPARE(commandHelp.Status, 0);
        QVERIFY(commandHelp.Out.startsWith(QStringLiteral("Usage: corvella-admin print PATH --test NAME")));

        const TAdminRun version = RunAdmin({QStringLiteral("--version")}, true);
        QCOMPARE(version.Status, 0);
        QCOMPARE(version.Out, QStringLiteral("corvella-admin 3.7.3\n"));
        QCOMPARE(version.Err, QString());
    }

    void wrongArgumentsGoToStderr()
    {
        const TAdminRun unknown = RunAdmin({QStringLiteral("frobnicate")}, true);
        QCOMPARE(unknown.Status, 2);
        QCOMPARE(unknown.Out, QString());
        QVERIFY(unknown.Err.contains(QStringLiteral("\"frobnicate\" is not a command")));

        const TAdminRun missing = RunAdmin({QStringLiteral("create")}, true);
        QCOMPARE(missing.Status, 2);
        QVERIFY(missing.Err.startsWith(QStringLiteral("Usage: corvella-admin create [--demo] PATH")));
    }

    void successIsSilentOnStderrAndCheckSums()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Corvella.mdb"));
        const TAdminRun create = RunAdmin({QStringLiteral("create"), QStringLiteral("--demo"), path}, true);
        QCOMPARE(create.Err, QString());
        QCOMPARE(create.Status, 0);
        QCOMPARE(create.Out, QStringLiteral("Created %1 with demo data.\n").arg(path));

        const TAdminRun check = RunAdmin({QStringLiteral("check"), path}, true);
        QCOMPARE(check.Err, QString());
        QCOMPARE(check.Status, 0);
        const QStringList lines = check.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        QVERIFY2(lines.last().contains(QRegularExpression(QStringLiteral("^\\d+ questions, all rebuild$"))),
                 qPrintable(check.Out));
    }
};

QTEST_GUILESS_MAIN(TestAdminCli)
#include "tst_admincli.moc"
