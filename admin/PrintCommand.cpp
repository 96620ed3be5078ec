#include "admin/PrintCommand.h"

#include "database/Database.h"
#include "printing/ChoosePrint.h"
#include "printing/TestReport.h"
#include "report/Report.h"
#include "toolkit/Exception.h"

#include <QFileInfo>
#include <QTextStream>
#include <QWidget>

using namespace Corvella;

const char *const PrintCommandUsage =
    "  corvella-admin print PATH --test NAME [--key] [--columns 1|2|3] [--class NAME] OUT.pdf\n"
    "                                        write a test (or its answer key) as a PDF file\n";

namespace {

struct TPrintArgs {
    QString Path;
    QString Test;
    QString ClassName;
    QString Output;
    int Columns = 0; // 0: the test's own
    bool Key = false;
};

// False with the reason when the command line is not one this command takes.
bool ParseArgs(const QStringList &args, TPrintArgs &parsed, QString *error)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        auto value = [&](QString &into) {
            if (i + 1 >= args.size()) {
                *error = arg + QStringLiteral(" needs a value.");
                return false;
            }
            into = args.at(++i);
            return true;
        };
        if (arg == QLatin1String("--key")) {
            parsed.Key = true;
        } else if (arg == QLatin1String("--test")) {
            if (!value(parsed.Test))
                return false;
        } else if (arg == QLatin1String("--class")) {
            if (!value(parsed.ClassName))
                return false;
        } else if (arg == QLatin1String("--columns")) {
            QString columns;
            if (!value(columns))
                return false;
            if (columns != QLatin1String("1") && columns != QLatin1String("2") && columns != QLatin1String("3")) {
                *error = QStringLiteral("--columns takes 1, 2 or 3, not \"%1\".").arg(columns);
                return false;
            }
            parsed.Columns = columns.toInt();
        } else if (arg.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("Unknown option %1.").arg(arg);
            return false;
        } else {
            positional.append(arg);
        }
    }
    if (positional.size() != 2) {
        *error = QStringLiteral("Give the database file and the PDF file to write.");
        return false;
    }
    if (parsed.Test.trimmed().isEmpty()) {
        *error = QStringLiteral("Name the test with --test.");
        return false;
    }
    parsed.Path = positional.at(0);
    parsed.Output = positional.at(1);
    return true;
}

QString Names(const QList<TPrintClass> &classes)
{
    QStringList names;
    for (const TPrintClass &c : classes)
        names.append(QLatin1Char('"') + c.Name + QLatin1Char('"'));
    return names.join(QStringLiteral(", "));
}

} // namespace

int RunPrintCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    TPrintArgs parsed;
    QString error;
    if (!ParseArgs(args, parsed, &error)) {
        err << error << "\nUsage:\n" << PrintCommandUsage;
        err.flush();
        return 2;
    }

    // A slip of the hand must not turn the database into a PDF file.
    if (QFileInfo::exists(parsed.Output) &&
        QFileInfo(parsed.Output).canonicalFilePath() == QFileInfo(parsed.Path).canonicalFilePath()) {
        err << QStringLiteral("The PDF file would replace the database file %1.\n").arg(parsed.Path);
        err.flush();
        return 1;
    }

    TDbConnection connection;
    connection.SetConnectionString(ConnectionStringFor(parsed.Path));
    connection.SetReadOnly(true);
    TDbQuery query(&connection);
    TPrintJob job;
    QList<TPrintClass> classes;
    QWidget window; // owns the rebuilt questions; never shown
    TControlDefList defs;
    TQuestionControlList controls;
    TReportList records;
    try {
        connection.Open();
        query.Add(QStringLiteral("SELECT ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS FROM testmaster"));
        query.Add(QStringLiteral("WHERE NAME = ") + QuotedStr(parsed.Test));
        query.Add(QStringLiteral("ORDER BY ID"));
        query.Open();
        QStringList ids;
        for (; !query.Eof(); query.Next()) {
            if (ids.isEmpty()) {
                job.TestID = query.FieldByName(QStringLiteral("ID")).AsString();
                job.TestTitle = query.FieldByName(QStringLiteral("NAME")).AsString();
                job.SubTitle = query.FieldByName(QStringLiteral("SUBTITLE")).AsString();
                job.Instructions = query.FieldByName(QStringLiteral("INSTRUCTIONS")).AsString();
                job.Columns = PrintColumnsOf(query.FieldByName(QStringLiteral("COLUMNS")).AsString());
            }
            ids.append(query.FieldByName(QStringLiteral("ID")).AsString());
        }
        query.Close();
        if (ids.isEmpty()) {
            err << QStringLiteral("There is no test named \"%1\" in %2.\n").arg(parsed.Test, parsed.Path);
            err.flush();
            return 1;
        }
        if (ids.size() > 1)
            out << QStringLiteral("%1 tests are named \"%2\" (IDs %3); printing the first, ID %4.\n")
                       .arg(ids.size())
                       .arg(job.TestTitle, ids.join(QStringLiteral(", ")), ids.first());

        classes = ReadPrintClasses(query, job.TestID);
        LoadPrintQuestions(query, job.TestID, defs, controls, records, &window, &window);
    } catch (const Exception &e) {
        query.Close();
        err << e.Message() << "\n";
        err.flush();
        return 1;
    }

    // The class: the one asked for, the only one, or the first as the test selection offers it.
    std::optional<TPrintClass> chosen;
    if (!parsed.ClassName.isEmpty()) {
        for (const TPrintClass &c : std::as_const(classes))
            if (c.Name.compare(parsed.ClassName, Qt::CaseInsensitive) == 0) {
                chosen = c;
                break;
            }
        if (!chosen) {
            err << (classes.isEmpty()
                        ? QStringLiteral("The test \"%1\" is assigned to no class, so not to \"%2\".\n")
                              .arg(job.TestTitle, parsed.ClassName)
                        : QStringLiteral("The test \"%1\" is not assigned to a class \"%2\"; its classes are %3.\n")
                              .arg(job.TestTitle, parsed.ClassName, Names(classes)));
            err.flush();
            return 1;
        }
    } else if (!classes.isEmpty()) {
        chosen = classes.first();
        if (classes.size() > 1)
            out << QStringLiteral("The test \"%1\" is assigned to %2 classes (%3); printing for the first, \"%4\". "
                                  "Choose another with --class.\n")
                       .arg(job.TestTitle)
                       .arg(classes.size())
                       .arg(Names(classes), chosen->Name);
    }
    if (chosen) {
        job.ClassName = chosen->Name;
        job.Course = chosen->Course;
        job.Teacher = chosen->Teacher;
        job.Chapter = chosen->Chapter;
    }
    if (parsed.Columns > 0)
        job.Columns = parsed.Columns;
    job.AnswerKey = parsed.Key;

    TForm_Report report;
    report.Records = records;
    report.Lettering = true;
    report.SetJob(job);
    if (!report.ExportPdf(parsed.Output, &error)) {
        err << error << "\n";
        err.flush();
        return 1;
    }
    out << QStringLiteral("Wrote %1 (%2, %3 questions, %4 pages).\n")
               .arg(parsed.Output, parsed.Key ? QStringLiteral("answer key") : QStringLiteral("students' copy"))
               .arg(records.size())
               .arg(report.QuickRep->Prepared().PageCount());
    out.flush();
    return 0;
}
