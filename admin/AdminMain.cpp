// corvella-admin: creates, checks and inspects database files from the command line.

#include "admin/Demo.h"
#include "admin/MemberRowCommands.h"
#include "admin/PrintCommand.h"
#include "admin/Upgrade.h"
#include "admin/GiftCommands.h"
#include "admin/ResultChecks.h"
#include "database/Database.h"
#include "database/Schema.h"

#if __has_include("admin/QuestionCommands.h")
#include "admin/QuestionCommands.h"
#define CORVELLA_HAS_QUESTION_COMMANDS 1
#endif

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {

void PrintUsage(QTextStream &out)
{
    out << "Usage:\n"
           "  corvella-admin create [--demo] PATH   make a new database file (with demo data)\n"
           "  corvella-admin text [FILE]            rebuild one question text and write it back\n"
           "  corvella-admin check PATH             rebuild every stored question, report failures\n"
           "  corvella-admin repair PATH            remove rows whose test, class, student or question is gone\n"
           "  corvella-admin upgrade PATH           add the indexes an older file lacks\n"
           "  corvella-admin import PATH FILE [--test NAME]   add the questions of a GIFT file\n"
           "  corvella-admin export PATH --test NAME [FILE]   write a test's questions as GIFT\n"
        << PrintCommandUsage;
}

int Create(const QStringList &args, QTextStream &out, QTextStream &err)
{
    bool demo = false;
    QString path;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--demo"))
            demo = true;
        else if (path.isEmpty() && !arg.startsWith(QLatin1String("--")))
            path = arg;
        else {
            PrintUsage(err);
            return 2;
        }
    }
    if (path.isEmpty()) {
        PrintUsage(err);
        return 2;
    }
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

} // namespace

int main(int argc, char *argv[])
{
    // Question controls are widgets; nothing is ever shown here.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvella-admin"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        PrintUsage(err);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("create"))
        return Create(args, out, err);
    if (command == QLatin1String("print"))
        return RunPrintCommand(args, out, err);
    if (command == QLatin1String("upgrade") && args.size() == 1)
        return RunUpgradeCommand(args.at(0));
    if (command == QLatin1String("import") || command == QLatin1String("export"))
        return command == QLatin1String("import") ? RunImportCommand(args) : RunExportCommand(args);
#ifdef CORVELLA_HAS_QUESTION_COMMANDS
    if (command == QLatin1String("text") && args.size() <= 1)
        return RunTextCommand(args.value(0));
    if (command == QLatin1String("check") && args.size() == 1) {
        const int questions = RunCheckCommand(args.at(0));
        const bool rows = CheckMemberRows(args.at(0), out, err);
        const bool results = CheckDuplicateResults(args.at(0)) == 0;
        return rows && results ? questions : 1;
    }
#endif
    if (command == QLatin1String("repair") && args.size() == 1)
        return RunRepairCommand(args.at(0), out, err);
    PrintUsage(err);
    return 2;
}
