#include "admin/GiftCommands.h"

#include "database/Database.h"
#include "question/GiftExchange.h"
#include "toolkit/Exception.h"

#include <QSaveFile>

#include <cstdio>

namespace {

void Write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int Usage()
{
    Write(stderr, QStringLiteral("Usage:\n"
                                 "  corvella-admin import PATH FILE [--test NAME]\n"
                                 "  corvella-admin export PATH --test NAME [FILE]\n"));
    return 2;
}

// PATH and FILE in order, and the value of --test.
bool SplitArguments(QStringList args, QStringList &positional, QString &testName)
{
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--test")) {
            if (args.isEmpty() || !testName.isEmpty())
                return false;
            testName = args.takeFirst();
            if (testName.trimmed().isEmpty())
                return false;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            positional << arg;
        }
    }
    return true;
}

bool Connect(TDbConnection &connection, const QString &path)
{
    connection.SetConnectionString(ConnectionStringFor(path));
    try {
        connection.Open();
    } catch (const Exception &e) {
        Write(stderr, e.Message() + QLatin1Char('\n'));
        return false;
    }
    return true;
}

// The one test of that name; false, with the reason shown, for none or several.
bool OneTestNamed(TDbQuery &query, const QString &name, QString &id, bool missingAllowed)
{
    QStringList ids;
    try {
        ids = TestIDsNamed(query, name);
    } catch (const Exception &e) {
        Write(stderr, e.Message() + QLatin1Char('\n'));
        return false;
    }
    if (ids.size() > 1) {
        Write(stderr, QStringLiteral("%1 tests are named \"%2\" (IDs %3); rename all but one first.\n")
                          .arg(ids.size())
                          .arg(name, ids.join(QStringLiteral(", "))));
        return false;
    }
    if (ids.isEmpty() && !missingAllowed) {
        Write(stderr, QStringLiteral("No test is named \"%1\".\n").arg(name));
        return false;
    }
    id = ids.value(0);
    return true;
}

} // namespace

int RunImportCommand(const QStringList &args)
{
    QStringList positional;
    QString testName;
    if (!SplitArguments(args, positional, testName) || positional.size() != 2)
        return Usage();
    QList<TGiftQuestion> questions;
    QString error;
    if (!ReadGiftFile(positional.at(1), questions, &error)) {
        Write(stderr, error + QLatin1Char('\n'));
        return 1;
    }
    TDbConnection connection;
    if (!Connect(connection, positional.at(0)))
        return 1;
    TDbQuery query(&connection);
    TGiftImportTarget target;
    if (!testName.isEmpty()) {
        if (!OneTestNamed(query, testName, target.TestID, true))
            return 1;
        target.TestName = testName;
    }
    TGiftImportResult result;
    if (!ImportGiftQuestions(query, questions, target, result, &error)) {
        Write(stderr, QStringLiteral("Nothing was imported: %1\n").arg(error));
        return 1;
    }
    Write(stdout, result.Lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    QString summary = result.Summary();
    if (!testName.isEmpty())
        summary +=
            QStringLiteral(" Test \"%1\"%2.").arg(testName, result.TestCreated ? QStringLiteral(" made") : QString());
    Write(stdout, summary + QLatin1Char('\n'));
    return 0;
}

int RunExportCommand(const QStringList &args)
{
    QStringList positional;
    QString testName;
    if (!SplitArguments(args, positional, testName) || testName.isEmpty() || positional.isEmpty() ||
        positional.size() > 2)
        return Usage();
    TDbConnection connection;
    connection.SetReadOnly(true);
    if (!Connect(connection, positional.at(0)))
        return 1;
    TDbQuery query(&connection);
    QString testID;
    if (!OneTestNamed(query, testName, testID, false))
        return 1;
    QString gift;
    QStringList notes;
    QString error;
    if (!ExportTestAsGift(query, testID, gift, &notes, &error)) {
        Write(stderr, error + QLatin1Char('\n'));
        return 1;
    }
    for (const QString &note : std::as_const(notes))
        Write(stderr, note + QLatin1Char('\n'));
    if (positional.size() == 1) {
        Write(stdout, gift);
        return 0;
    }
    QSaveFile file(positional.at(1));
    if (!file.open(QIODevice::WriteOnly) || file.write(gift.toUtf8()) < 0 || !file.commit()) {
        Write(stderr, QStringLiteral("Cannot write %1: %2\n").arg(positional.at(1), file.errorString()));
        return 1;
    }
    return 0;
}
