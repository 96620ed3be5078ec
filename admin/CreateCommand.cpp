#include "admin/CreateCommand.h"

#include "admin/Demo.h"
#include "database/Schema.h"

#include <QTextStream>

int RunCreateCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    bool demo = false;
    QString path;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--demo"))
            demo = true;
        else if (path.isEmpty() && !arg.startsWith(QLatin1String("--")))
            path = arg;
        else
            return -1;
    }
    if (path.isEmpty())
        return -1;
    QString error;
    if (!CreateDatabaseFile(path, &error)) {
        err << error << "\n";
        return 1;
    }
    if (demo && !FillDemoDatabase(path, &error)) {
        err << error << "\n";
        return 1;
    }
    out << (demo ? "Created " + path + " with demo data.\n" : "Created " + path + ".\n");
    return 0;
}
