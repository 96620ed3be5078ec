#include "common/TestDatabase.h"

#include "database/Schema.h"
#include "question/QuestionControls.h"
#include "question/QuestionText.h"
#include "toolkit/Component.h"

#include <QCoreApplication>
#include <QFile>

#include <libpq-fe.h>

#include <cstdlib>
#include <stdexcept>

namespace {

// The test server's maintenance database, from its state file.
QString ServerAddress()
{
    QFile state(qEnvironmentVariable("CORVELLA_TEST_SERVER"));
    if (!state.open(QIODevice::ReadOnly))
        throw std::runtime_error("the test server is not running: no state file " + state.fileName().toStdString());
    const QList<QByteArray> lines = state.readAll().split('\n');
    return QString::fromUtf8(lines.value(1)).trimmed();
}

void RunOnServer(const QString &sql)
{
    PGconn *pg = PQconnectdb(ServerAddress().toUtf8().constData());
    PGresult *result = PQexec(pg, sql.toUtf8().constData());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    const std::string message = PQerrorMessage(pg);
    PQclear(result);
    PQfinish(pg);
    if (!ok)
        throw std::runtime_error(message);
}

QStringList &MadeDatabases()
{
    static QStringList names;
    return names;
}

void DropMadeDatabases()
{
    for (const QString &name : MadeDatabases())
        try {
            RunOnServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (...) {
        }
}

} // namespace

bool TTestDatabase::OnServer()
{
    return !qEnvironmentVariableIsEmpty("CORVELLA_TEST_SERVER");
}

QString TTestDatabase::NewServerDatabase()
{
    static int counter = 0;
    const QString name = QStringLiteral("corvella_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    RunOnServer(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C.UTF-8'").arg(name));
    if (MadeDatabases().isEmpty())
        std::atexit(DropMadeDatabases);
    MadeDatabases() << name;
    QString address = ServerAddress();
    address.replace(QStringLiteral("/postgres?"), QLatin1Char('/') + name + QLatin1Char('?'));
    return address;
}

TTestDatabase::TTestDatabase()
    : FPath(OnServer() ? NewServerDatabase() : FDir.filePath(QStringLiteral("Corvella.mdb"))), FQuery(&FConnection)
{
    QString error;
    if (!CreateDatabaseFile(FPath, &error))
        throw std::runtime_error(error.toStdString());
    FConnection.SetConnectionString(ConnectionStringFor(FPath));
    FConnection.Open();
}

TTestDatabase::~TTestDatabase()
{
    FQuery.Close();
    FConnection.Close();
    if (!OnServer())
        return;
    const QStringList made = MadeDatabases(); // the loop removes from the list
    for (const QString &name : made)
        if (FPath.contains(QLatin1Char('/') + name + QLatin1Char('?'))) {
            MadeDatabases().removeOne(name);
            try {
                RunOnServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            } catch (...) {
            }
            return;
        }
}

void TTestDatabase::Exec(const QStringList &lines)
{
    FQuery.Clear();
    for (const QString &line : lines)
        FQuery.Add(line);
    FQuery.ExecSQL();
}

QStringList TTestDatabase::Column(const QStringList &lines, const QString &field)
{
    FQuery.Clear();
    for (const QString &line : lines)
        FQuery.Add(line);
    FQuery.Open();
    QStringList values;
    while (!FQuery.Eof()) {
        values << (field.isEmpty() ? FQuery.Fields(0).AsString() : FQuery.FieldByName(field).AsString());
        FQuery.Next();
    }
    FQuery.Close();
    return values;
}

void AddTest(TTestDatabase &db, int id, const QString &name, const QList<int> &classes)
{
    db.Exec({QStringLiteral("INSERT INTO testmaster (ID, NAME, SUBTITLE, INSTRUCTIONS, COLUMNS) VALUES (%1, ").arg(id) +
             QuotedStr(name) + QStringLiteral(", '', '', 2)")});
    for (int classID : classes)
        db.Exec({QStringLiteral("INSERT INTO classtest (ID, CLASSID, TESTID, CHAPTER) VALUES (%1, %2, %3, '1')")
                     .arg(id * 100 + classID)
                     .arg(classID)
                     .arg(id)});
}

void AddClass(TTestDatabase &db, int id, const QString &name)
{
    db.Exec({QStringLiteral("INSERT INTO classmaster (ID, NAME, COURSE, TEACHER) VALUES (%1, ").arg(id) +
             QuotedStr(name) + QStringLiteral(", '', '')")});
}

void AddStudent(TTestDatabase &db, int id, const QString &last, const QString &first, const QString &middle,
                const QString &studentID)
{
    db.Exec(
        {QStringLiteral("INSERT INTO studentmaster (ID, LASTNAME, FIRSTNAME, MIDDLE, STUDENTID) VALUES (%1, ").arg(id) +
         QuotedStr(last) + ", " + QuotedStr(first) + ", " + QuotedStr(middle) + ", " + QuotedStr(studentID) + ")"});
}

void AddMember(TTestDatabase &db, int classID, const QString &studentID, int sequence)
{
    db.Exec({QStringLiteral("INSERT INTO classdetail (CLASSID, STUDENTID, SEQUENCE) VALUES (%1, ").arg(classID) +
             QuotedStr(studentID) + QStringLiteral(", %1)").arg(sequence)});
}

void AddQuestion(TTestDatabase &db, int id, const QString &question)
{
    db.Exec(
        {QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL) VALUES (%1, 'QAMaskEdit_%1', ").arg(id) +
         QuotedStr(question) + QStringLiteral(", '')")});
}

void AddDetail(TTestDatabase &db, int testID, int controlID, int sequence)
{
    db.Exec({QStringLiteral("INSERT INTO testdetail (TESTID, CONTROLID, SEQUENCE) VALUES (%1, %2, %3)")
                 .arg(testID)
                 .arg(controlID)
                 .arg(sequence)});
}

void AddControl(TTestDatabase &db, int id, const QString &controlText)
{
    TDbQuery &query = db.Query();
    query.Clear();
    query.Add(QStringLiteral("INSERT INTO controldef (ID, NAME, QUESTION, CONTROL)"));
    query.Add(QStringLiteral("VALUES (%1, 'Q', 'Q', :CONTROL)").arg(id));
    query.SetParamText(QStringLiteral("CONTROL"), controlText);
    query.ExecSQL();
}

void AddControl(TTestDatabase &db, int id, QWidget *control, const QString &question)
{
    auto *q = dynamic_cast<TQuestionControl *>(control);
    q->SetID(id);
    q->SetQuestion(question);
    control->setObjectName(ComponentClassName(control).mid(1) + QLatin1Char('_') + QString::number(id));
    AddControl(db, id, ComponentToText(control));
}
