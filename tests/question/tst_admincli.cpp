// corvella-admin as a command-line tool: help and version on stdout with status 0, nothing on
// stderr when a command succeeds (also with no runtime folder, as under root, cron or ssh), and
// a check that ends with one summary line.

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestAdminCli : public QObject {
    Q_OBJECT

private:
    struct TRun {
        int Status = -1;
        QString Out;
        QString Err;
    };

    TRun Run(const QStringList &args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/corvella-admin"), args);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void helpAndVersion()
    {
        const TRun help = Run({QStringLiteral("--help")});
        QCOMPARE(help.Status, 0);
        QCOMPARE(help.Err, QString());
        for (const char *command : {"create", "text", "check", "repair", "upgrade", "import", "export", "print"})
            QVERIFY2(help.Out.contains(QStringLiteral("corvella-admin %1 ").arg(QLatin1String(command))), command);

        const TRun commandHelp = Run({QStringLiteral("print"), QStringLiteral("--help")});
        QCOMPARE(commandHelp.Status, 0);
        QVERIFY(commandHelp.Out.startsWith(QStringLiteral("Usage: corvella-admin print PATH --test NAME")));

        const TRun version = Run({QStringLiteral("--version")});
        QCOMPARE(version.Status, 0);
        QCOMPARE(version.Out, QStringLiteral("corvella-admin 3.7.3\n"));
        QCOMPARE(version.Err, QString());
    }

    void wrongArgumentsGoToStderr()
    {
        const TRun unknown = Run({QStringLiteral("frobnicate")});
        QCOMPARE(unknown.Status, 2);
        QCOMPARE(unknown.Out, QString());
        QVERIFY(unknown.Err.contains(QStringLiteral("\"frobnicate\" is not a command")));

        const TRun missing = Run({QStringLiteral("create")});
        QCOMPARE(missing.Status, 2);
        QVERIFY(missing.Err.startsWith(QStringLiteral("Usage: corvella-admin create [--demo] PATH")));
    }

    void successIsSilentOnStderrAndCheckSums()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Corvella.mdb"));
        const TRun create = Run({QStringLiteral("create"), QStringLiteral("--demo"), path});
        QCOMPARE(create.Err, QString());
        QCOMPARE(create.Status, 0);
        QCOMPARE(create.Out, QStringLiteral("Created %1 with demo data.\n").arg(path));

        const TRun check = Run({QStringLiteral("check"), path});
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
