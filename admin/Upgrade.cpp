#include "admin/Upgrade.h"

#include "database/Schema.h"

#include <QTextStream>

#include <cstdio>

int RunUpgradeCommand(const QString &path)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList report;
    QString error;
    if (!UpgradeDatabaseFile(path, &report, &error)) {
        err << error << "\n";
        return 1;
    }
    for (const QString &line : report)
        out << line << "\n";
    return 0;
}
