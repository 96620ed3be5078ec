// corvella-admin: creates, checks, upgrades and exchanges database files from the command line.
// One entry a command: its synopsis and help here, its work in the command group's own file.

#include "admin/CopyCommand.h"
#include "admin/CreateCommand.h"
#include "admin/GiftCommands.h"
#include "admin/MemberRowCommands.h"
#include "admin/PrintCommand.h"
#include "admin/QuestionCommands.h"
#include "admin/ResultChecks.h"
#include "admin/ResultCommands.h"
#include "admin/Upgrade.h"
#include "database/Database.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <iterator>

namespace {

struct TAdminCommand {
    const char *Name;
    const char *Synopsis;
    const char *Help;
    int (*Run)(const QStringList &args, QTextStream &out, QTextStream &err);
};

int UsageError(const TAdminCommand &command, QTextStream &err)
{
    err << "Usage: corvella-admin " << command.Synopsis << "\n"
        << "\"corvella-admin " << command.Name << " --help\" tells more.\n";
    return 2;
}

const TAdminCommand Commands[] = {
    {"create", "create [--demo] PATH",
     "Makes a new, empty database file at PATH (never over an existing file), or the tables in an empty\n"
     "database on a PostgreSQL server when PATH is postgresql://HOST/DATABASE or service=NAME; with\n"
     "--demo, fills it with demo questions, tests, students and classes.\n",
     [](const QStringList &args, QTextStream &out, QTextStream &err) { return RunCreateCommand(args, out, err); }},
    {"copy", "copy SOURCE TARGET",
     "Copies every row of the database SOURCE into TARGET (a new file, or a server database without\n"
     "rows), IDs and counters kept, in one step: all rows or none.\n",
     [](const QStringList &args, QTextStream &out, QTextStream &err) { return RunCopyCommand(args, out, err); }},
    {"text", "text [FILE]",
     "Rebuilds one question text read from FILE (or standard input) as the programs load it, and\n"
     "writes it back as they would store it.\n",
     [](const QStringList &args, QTextStream &, QTextStream &) {
         return args.size() <= 1 ? RunTextCommand(args.value(0)) : -1;
     }},
    {"check", "check PATH",
     "Rebuilds every stored question and lists those that fail; lists the rows that refer to a\n"
     "record that no longer exists and the results stored more than once. Ends with a summary line. Exit status 0 when "
     "all is sound.\n",
     [](const QStringList &args, QTextStream &out, QTextStream &err) {
         if (args.size() != 1)
             return -1;
         int count = -1, failures = 0;
         const int questions = RunCheckCommand(args.at(0), &count, &failures);
         if (count < 0)
             return 1; // the file could not be read: the reason is on standard error
         const bool rows = CheckMemberRows(args.at(0), out, err);
         const int duplicates = CheckDuplicateResults(args.at(0));
         QString summary = QStringLiteral("%1 question%2, ").arg(count).arg(count == 1 ? "" : "s");
         summary += failures == 0
                        ? QStringLiteral("all rebuild")
                        : QStringLiteral("%1 %2 not rebuild").arg(failures).arg(failures == 1 ? "does" : "do");
         if (!rows)
             summary += QStringLiteral("; rows refer to records that no longer exist");
         if (duplicates > 0)
             summary +=
                 QStringLiteral("; %1 result%2 stored more than once").arg(duplicates).arg(duplicates == 1 ? "" : "s");
         out << summary << "\n";
         return rows && duplicates == 0 ? questions : 1;
     }},
    {"repair", "repair PATH",
     "Shows, then removes in one step, the rows that refer to a test, class, student or question\n"
     "that no longer exists.\n",
     [](const QStringList &args, QTextStream &out, QTextStream &err) {
         return args.size() == 1 ? RunRepairCommand(args.at(0), out, err) : -1;
     }},
    {"upgrade", "upgrade PATH",
     "Adds what a file made by an older version lacks (its indexes); never changes data, and may run\n"
     "while the programs have the file open. Running it again does nothing.\n",
     [](const QStringList &args, QTextStream &, QTextStream &) {
         return args.size() == 1 ? RunUpgradeCommand(args.at(0)) : -1;
     }},
    {"import", "import PATH FILE [--test NAME]",
     "Adds every question of the GIFT file FILE to the question bank (and to the test NAME, made when\n"
     "missing), all or nothing; one line a question says what it became or why it was skipped.\n",
     [](const QStringList &args, QTextStream &, QTextStream &) { return RunImportCommand(args); }},
    {"export", "export PATH --test NAME [FILE]",
     "Writes the questions of the test NAME as GIFT, in test order, into FILE or onto standard output.\n",
     [](const QStringList &args, QTextStream &, QTextStream &) { return RunExportCommand(args); }},
    {"print", "print PATH --test NAME [--key] [--columns 1|2|3] [--class NAME] OUT.pdf",
     "Writes the printout of the test NAME (or with --key its answer key) as the PDF file OUT.pdf,\n"
     "without a display. Without --class, the first class the test is assigned to is named.\n",
     [](const QStringList &args, QTextStream &out, QTextStream &err) { return RunPrintCommand(args, out, err); }},
    {"grades", "grades PATH [--class NAME] [--test NAME] [FILE]",
     "Writes the gradebook (every class and test, unless named) as CSV into FILE or onto standard output.\n",
     RunGradesCommand},
    {"items", "items PATH --test NAME [--class NAME]",
     "Prints each question's statistics of the test NAME (in one class, or in all) from the stored answers.\n",
     RunItemsCommand},
};

const TAdminCommand *FindCommand(const QString &name)
{
    for (const TAdminCommand &command : Commands)
        if (name == QLatin1String(command.Name))
            return &command;
    return nullptr;
}

void PrintUsage(QTextStream &out)
{
    out << "Usage: corvella-admin COMMAND ARGUMENTS...\n"
           "       corvella-admin COMMAND --help | --help | --version\n"
           "\nCommands (PATH is the database file, Corvella.mdb, or a server's postgresql:// address):\n";
    for (const TAdminCommand &command : Commands)
        out << "  corvella-admin " << command.Synopsis << "\n";
}

} // namespace

int main(int argc, char *argv[])
{
    // Run as root, from cron or over ssh there is no runtime folder; the toolkit would complain
    // on standard error about making one of its own. A private one for this run keeps it quiet.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    // Question controls are widgets; nothing is ever shown here.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvella-admin"));
    QApplication::setApplicationVersion(QStringLiteral(CORVELLA_VERSION));

    QTextStream out(stdout);
    QTextStream err(stderr);
    // A failure the data layer reports on its own goes to standard error, never into a box.
    SetDbErrorReporter([&err](const QString &message) { err << message << "\n"; });
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        PrintUsage(err);
        return 2;
    }
    const QString first = args.takeFirst();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") || first == QLatin1String("help")) {
        if (const TAdminCommand *command = FindCommand(args.value(0))) {
            out << "Usage: corvella-admin " << command->Synopsis << "\n\n" << command->Help;
            return 0;
        }
        PrintUsage(out);
        return 0;
    }
    if (first == QLatin1String("--version")) {
        out << "corvella-admin " << CORVELLA_VERSION << "\n";
        return 0;
    }
    const TAdminCommand *command = FindCommand(first);
    if (!command) {
        err << "corvella-admin: \"" << first << "\" is not a command.\n";
        PrintUsage(err);
        return 2;
    }
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << "Usage: corvella-admin " << command->Synopsis << "\n\n" << command->Help;
        return 0;
    }
    const int status = command->Run(args, out, err);
    out.flush();
    err.flush();
    return status < 0 ? UsageError(*command, err) : status;
}
