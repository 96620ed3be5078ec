#include "database/Database.h"

#include "database/ServerEngine.h"

#include "toolkit/Convert.h"
#include "toolkit/Strings.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTextStream>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <type_traits>

const QString ProviderPart = QStringLiteral(
    "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
    "Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
    "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;");

namespace {

const QString DataSourceKey = QStringLiteral("Data Source=");

bool IsAscii(const unsigned char *text, int length)
{
    int i = 0;
    // Eight bytes at a time: no byte has its top bit set.
    for (; i + 8 <= length; i += 8) {
        quint64 word;
        memcpy(&word, text + i, sizeof word);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < length; ++i)
        if (text[i] & 0x80)
            return false;
    return true;
}

// NOCASE for every letter, not only A-Z: the schema declares the text columns
// NOCASE, so the sqlite3 tool still works on the file, and our own connections
// compare é with É as well and sort É beside E, as the system's collation does.
// Two plain ASCII texts compare exactly as the engine's built-in NOCASE does: the
// student-ID indexes are written by our connections and by the sqlite3 tool alike,
// and stay in order for both only if both order them the same way.
int CompareNoCase(void *, int length1, const void *text1, int length2, const void *text2)
{
    auto a = static_cast<const unsigned char *>(text1);
    auto b = static_cast<const unsigned char *>(text2);
    if (IsAscii(a, length1) && IsAscii(b, length2)) {
        const int common = length1 < length2 ? length1 : length2;
        const int result =
            sqlite3_strnicmp(reinterpret_cast<const char *>(a), reinterpret_cast<const char *>(b), common);
        return result != 0 ? result : length1 - length2;
    }
    return AlphabeticCompare(TextFromBytes(reinterpret_cast<const char *>(a), length1),
                             TextFromBytes(reinterpret_cast<const char *>(b), length2));
}

// LIKE with '%' and '_' whose letters match without regard to case, for every letter.
bool LikeMatch(QStringView pattern, QStringView text, QChar escape)
{
    qsizetype p = 0, t = 0;
    qsizetype starP = -1, starT = -1;
    while (t < text.size()) {
        if (p < pattern.size()) {
            QChar pc = pattern[p];
            if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
                if (pattern[p + 1] == text[t]) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (pc == QLatin1Char('%')) {
                starP = p++;
                starT = t;
                continue;
            } else if (pc == QLatin1Char('_') || pc == text[t]) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

QString ColumnText(sqlite3_value *value)
{
    auto text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return TextFromBytes(text, sqlite3_value_bytes(value));
}

void LikeFunction(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return; // NULL result
    const QString pattern = ColumnText(argv[0]).toCaseFolded();
    const QString text = ColumnText(argv[1]).toCaseFolded();
    QChar escape;
    if (argc == 3) {
        const QString e = ColumnText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.toCaseFolded().at(0);
    }
    sqlite3_result_int(context, LikeMatch(pattern, text, escape) ? 1 : 0);
}

QString EngineMessage(sqlite3 *db, int code)
{
    if (db)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(code));
}

bool IsBlankTail(const char *tail)
{
    for (; tail && *tail; ++tail)
        if (static_cast<unsigned char>(*tail) > ' ' && *tail != ';')
            return false;
    return true;
}

TDbWaitObserver &WaitObserver()
{
    static TDbWaitObserver observer;
    return observer;
}

// ---- the server engine

constexpr Oid DateType = 1082; // pg_type's OIDs of DATE and BOOLEAN
constexpr Oid BoolType = 16;

QString ServerMessage(PGconn *pg)
{
    QString message = QString::fromUtf8(PQerrorMessage(pg)).trimmed();
    if (message.startsWith(QLatin1String("ERROR:")))
        message = message.mid(6).trimmed();
    return message;
}

// Runs one statement with its parameters; the result, or EDatabaseError with the
// server's text. A failure inside a transaction undoes that statement only, as a
// failing statement does in the file, so the transaction can go on.
PGresult *ServerRun(PGconn *pg, const QString &sql, const QVector<QByteArray> &values, const QVector<bool> &nulls)
{
    static const QRegularExpression ending(QStringLiteral("^\\s*(COMMIT|ROLLBACK|END)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    const bool guarded = PQtransactionStatus(pg) == PQTRANS_INTRANS && !ending.match(sql).hasMatch();
    if (guarded)
        PQclear(PQexec(pg, "SAVEPOINT corvella_statement"));
    QVector<const char *> pointers;
    for (qsizetype i = 0; i < values.size(); ++i)
        pointers << (nulls.at(i) ? nullptr : values.at(i).constData());
    PGresult *result = PQexecParams(pg, sql.toUtf8().constData(), int(values.size()), nullptr, pointers.constData(),
                                    nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const QString message = result ? QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY))
                                       : ServerMessage(pg);
        PQclear(result);
        if (guarded)
            PQclear(PQexec(pg, "ROLLBACK TO SAVEPOINT corvella_statement; RELEASE SAVEPOINT corvella_statement"));
        throw EDatabaseError(message.isEmpty() ? ServerMessage(pg) : message);
    }
    if (guarded)
        PQclear(PQexec(pg, "RELEASE SAVEPOINT corvella_statement"));
    return result;
}

void ServerExec(PGconn *pg, const char *sql)
{
    PQclear(ServerRun(pg, QString::fromUtf8(sql), {}, {}));
}

// A transaction that holds our write lock, as BEGIN IMMEDIATE holds the file's.
void ServerBeginImmediate(TDbConnection &connection)
{
    PGconn *pg = connection.ServerHandle();
    ServerExec(pg, "BEGIN");
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    try {
        ServerExec(pg,
                   QByteArray("SELECT pg_advisory_xact_lock(" + QByteArray::number(ServerWriteLock) + ")").constData());
    } catch (...) {
        PQclear(PQexec(pg, "ROLLBACK"));
        throw;
    }
    connection.NoteWait(QDateTime::currentMSecsSinceEpoch() - start);
}

TDbErrorReporter &Reporter()
{
    static TDbErrorReporter reporter;
    return reporter;
}

} // namespace

// ---------------------------------------------------------------- TDbConnection

TDbConnection::~TDbConnection()
{
    Close();
}

QString TDbConnection::DatabasePath() const
{
    const qsizetype at = FConnectionString.indexOf(DataSourceKey, 0, Qt::CaseInsensitive);
    if (at < 0)
        return QString();
    return FConnectionString.mid(at + DataSourceKey.size());
}

void TDbConnection::Open()
{
    if (FDb || FPg)
        return;
    const QString path = DatabasePath();
    if (path.isEmpty())
        throw EDatabaseError(QStringLiteral("No database file is named in the connection text."));
    if (IsServerLocation(path))
        return OpenServer(path);
    if (!QFileInfo(path).isFile())
        throw EDatabaseError(QStringLiteral("Could not find file '%1'.").arg(path));

    sqlite3 *db = nullptr;
    const int flags = (FReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = EngineMessage(db, rc);
        sqlite3_close(db);
        throw EDatabaseError(QStringLiteral("%1: '%2'").arg(message, path));
    }
    sqlite3_busy_handler(db, &TDbConnection::BusyHandler, this);
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, CompareNoCase);
    const int fn = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, fn, nullptr, LikeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, fn, nullptr, LikeFunction, nullptr, nullptr);

    // A file that is not a database opens without complaint; reading its schema tells.
    char *error = nullptr;
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        QString message = error ? QString::fromUtf8(error) : EngineMessage(db, rc);
        sqlite3_free(error);
        sqlite3_close(db);
        throw EDatabaseError(QStringLiteral("%1: '%2'").arg(message, path));
    }
    FDb = db;
}

void TDbConnection::OpenServer(const QString &location)
{
    PGconn *pg = PQconnectdb(location.toUtf8().constData());
    if (PQstatus(pg) != CONNECTION_OK) {
        const QString message = ServerMessage(pg);
        PQfinish(pg);
        throw EDatabaseError(
            QStringLiteral("Could not connect to the database server %1: %2").arg(ServerLabel(location), message));
    }
    try {
        PQsetClientEncoding(pg, "UTF8");
        const QByteArray settings = "SET DateStyle = ISO; SET client_min_messages = warning; SET lock_timeout = " +
                                    QByteArray::number(FBusyTimeout) +
                                    (FReadOnly ? "; SET default_transaction_read_only = on" : "");
        PGresult *set = PQexec(pg, settings.constData());
        const bool ok = PQresultStatus(set) == PGRES_COMMAND_OK;
        PQclear(set);
        if (!ok)
            throw EDatabaseError(ServerMessage(pg));
        // A database without our tables is told at once, as a file that is no database.
        PGresult *tables =
            ServerRun(pg,
                      QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE schemaname = current_schema() "
                                     "AND tablename IN ('controldef', 'testmaster', 'testdetail', "
                                     "'classmaster', 'classdetail', 'studentmaster', 'classtest', "
                                     "'testresults')"),
                      {}, {});
        const bool complete = QByteArray(PQgetvalue(tables, 0, 0)) == "8";
        PQclear(tables);
        if (!complete)
            throw EDatabaseError(QStringLiteral("The database on the server holds no Corvella tables; "
                                                "\"corvella-admin create\" or \"corvella-admin copy\" makes them."));
    } catch (const EDatabaseError &e) {
        PQfinish(pg);
        throw EDatabaseError(QStringLiteral("%1 (database server %2)").arg(e.Message(), ServerLabel(location)));
    }
    FPg = pg;
    FServerColumns.clear();
}

QString TDbConnection::ServerColumnName(unsigned table, int column)
{
    if (!FPg || table == InvalidOid || column <= 0)
        return QString();
    const quint64 key = (quint64(table) << 16) | quint64(column);
    auto found = FServerColumns.constFind(key);
    if (found != FServerColumns.constEnd())
        return *found;
    // Every column of our schema's tables at once: one look-up a connection.
    PGresult *result = ServerRun(FPg,
                                 QStringLiteral("SELECT a.attrelid, a.attnum, c.relname, a.attname FROM pg_attribute a "
                                                "JOIN pg_class c ON c.oid = a.attrelid WHERE a.attnum > 0 AND "
                                                "c.relnamespace = current_schema()::regnamespace"),
                                 {}, {});
    for (int row = 0; row < PQntuples(result); ++row)
        FServerColumns.insert((QByteArray(PQgetvalue(result, row, 0)).toULongLong() << 16) |
                                  QByteArray(PQgetvalue(result, row, 1)).toULongLong(),
                              QString::fromUtf8(PQgetvalue(result, row, 2)) + QLatin1Char('.') +
                                  QString::fromUtf8(PQgetvalue(result, row, 3)));
    PQclear(result);
    return FServerColumns.value(key); // a table of another schema: none
}

void TDbConnection::NoteWait(qint64 milliseconds)
{
    FLongestWait = std::max(FLongestWait, milliseconds);
}

void TDbConnection::SetBusyTimeout(int milliseconds)
{
    FBusyTimeout = milliseconds;
}

int TDbConnection::BusyHandler(void *connection, int count)
{
    auto self = static_cast<TDbConnection *>(connection);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (count == 0 || self->FWaitStart == 0)
        self->FWaitStart = now;
    const qint64 waited = now - self->FWaitStart;
    self->FLongestWait = std::max(self->FLongestWait, waited);
    if (waited >= self->FBusyTimeout) {
        self->EndWait();
        return 0; // give up: the statement fails with "database is locked"
    }
    if (waited >= WaitNoticeDelay && WaitObserver()) {
        WaitObserver()(self->FWaitShown ? TDbWait::Tick : TDbWait::Begin);
        self->FWaitShown = true;
    }
    // Short naps first, so that a brief lock costs little; never past the limit.
    const qint64 nap = std::min<qint64>(count < 10 ? 2 + count * 2 : 50, self->FBusyTimeout - waited);
    sqlite3_sleep(int(std::max<qint64>(nap, 1)));
    return 1;
}

void TDbConnection::EndWait()
{
    FWaitStart = 0;
    if (FWaitShown) {
        FWaitShown = false;
        if (WaitObserver())
            WaitObserver()(TDbWait::End);
    }
}

void TDbConnection::Close()
{
    if (FDb) {
        sqlite3_close_v2(FDb);
        FDb = nullptr;
    }
    if (FPg) {
        PQfinish(FPg);
        FPg = nullptr;
    }
}

// ---------------------------------------------------------------- TDbField

QString TDbField::FieldName() const
{
    return FQuery->FColumns.at(FIndex).Name;
}

bool TDbField::IsNull() const
{
    if (FQuery->FResult)
        return FQuery->FEof || PQgetisnull(FQuery->FResult, FQuery->FRow, FIndex);
    return FQuery->FEof || sqlite3_column_type(FQuery->FStmt, FIndex) == SQLITE_NULL;
}

bool TDbField::IsDate() const
{
    return FQuery->FColumns.at(FIndex).IsDate;
}

QString TDbField::AsString() const
{
    if (FQuery->FEof)
        return QString();
    QString value;
    if (FQuery->FResult) {
        if (PQgetisnull(FQuery->FResult, FQuery->FRow, FIndex))
            return QString();
        if (PQftype(FQuery->FResult, FIndex) == BoolType) // a truth value reads as in the file
            return QLatin1String(*PQgetvalue(FQuery->FResult, FQuery->FRow, FIndex) == 't' ? "1" : "0");
        value = QString::fromUtf8(PQgetvalue(FQuery->FResult, FQuery->FRow, FIndex),
                                  PQgetlength(FQuery->FResult, FQuery->FRow, FIndex));
    } else {
        sqlite3_stmt *stmt = FQuery->FStmt;
        // No text for NULL; a stored empty text has one.
        auto text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, FIndex));
        if (!text)
            return QString();
        const int size = sqlite3_column_bytes(stmt, FIndex);
        // Most texts are plain ASCII, read at once; text another tool wrote in the old
        // 8-bit code page keeps its letters.
        if (IsAscii(reinterpret_cast<const unsigned char *>(text), size))
            value = QString::fromLatin1(text, size);
        else
            value = TextFromBytes(text, size);
    }
    if (FQuery->FColumns.at(FIndex).IsDate) {
        // Dates are kept as yyyy-MM-dd and shown in the short date format.
        const QDate date = QDate::fromString(value.left(10), Qt::ISODate);
        if (date.isValid())
            return DateToStr(date);
    }
    return value;
}

QByteArray TDbField::AsBytes() const
{
    if (IsNull())
        return QByteArray();
    if (FQuery->FResult)
        return QByteArray(PQgetvalue(FQuery->FResult, FQuery->FRow, FIndex),
                          PQgetlength(FQuery->FResult, FQuery->FRow, FIndex));
    sqlite3_stmt *stmt = FQuery->FStmt;
    auto text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, FIndex));
    return QByteArray(text, sqlite3_column_bytes(stmt, FIndex));
}

qint64 TDbField::AsLargeInt() const
{
    if (FQuery->FEof || IsNull())
        return 0;
    if (FQuery->FResult) {
        if (PQftype(FQuery->FResult, FIndex) == BoolType)
            return *PQgetvalue(FQuery->FResult, FQuery->FRow, FIndex) == 't' ? 1 : 0;
        const QByteArray text = AsBytes().trimmed();
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        if (ok)
            return value;
        const double real = text.toDouble(&ok); // a real number, as the file reads it
        if (ok && real >= double(std::numeric_limits<qint64>::min()) &&
            real <= double(std::numeric_limits<qint64>::max()))
            return static_cast<qint64>(real);
        throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(AsString()));
    }
    sqlite3_stmt *stmt = FQuery->FStmt;
    switch (sqlite3_column_type(stmt, FIndex)) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
        return sqlite3_column_int64(stmt, FIndex);
    case SQLITE_FLOAT:
        return static_cast<qint64>(sqlite3_column_double(stmt, FIndex));
    default: {
        const QString text = AsString();
        bool ok = false;
        const qint64 value = text.trimmed().toLongLong(&ok);
        if (!ok)
            throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return value;
    }
    }
}

int TDbField::AsInteger() const
{
    const qint64 value = AsLargeInt();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(value));
    return static_cast<int>(value);
}

// ---------------------------------------------------------------- TDbQuery

TDbQuery::~TDbQuery()
{
    Close();
}

void TDbQuery::SetConnection(TDbConnection *connection)
{
    Close();
    FConnection = connection;
}

void TDbQuery::Clear()
{
    Close();
    FLines.clear();
    FTextParams.clear();
    FNullParams.clear();
}

void TDbQuery::Add(const QString &line)
{
    FLines.append(line);
}

QString TDbQuery::Text() const
{
    QString text;
    for (const QString &line : FLines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

void TDbQuery::SetParamText(const QString &name, const QString &value)
{
    const QString key = name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
    FNullParams.removeAll(key.toUpper());
    for (auto &param : FTextParams)
        if (param.first.compare(key, Qt::CaseInsensitive) == 0) {
            param.second = value;
            return;
        }
    FTextParams.append({key, value});
}

void TDbQuery::SetParamDate(const QString &name, const QDate &value)
{
    SetParamText(name, value.toString(Qt::ISODate));
}

void TDbQuery::SetParamNull(const QString &name)
{
    SetParamText(name, QString());
    FNullParams.append((name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name).toUpper());
}

void TDbQuery::RaiseEngineError(int code) const
{
    throw EDatabaseError(EngineMessage(FConnection ? FConnection->Handle() : nullptr, code));
}

sqlite3_stmt *TDbQuery::Prepare(const QString &text)
{
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("The statement has no connection."));
    FConnection->Open(); // the connection opens by itself with the first statement
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const int rc = sqlite3_prepare_v2(FConnection->Handle(), utf8.constData(), int(utf8.size()), &stmt, nullptr);
    FConnection->EndWait(); // reading the schema may wait too
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        RaiseEngineError(rc);
    }
    if (!stmt)
        throw EDatabaseError(QStringLiteral("The statement is empty."));
    return stmt;
}

void TDbQuery::Bind(sqlite3_stmt *stmt)
{
    for (const auto &param : FTextParams) {
        const int index = sqlite3_bind_parameter_index(stmt, param.first.toUtf8().constData());
        if (index <= 0)
            continue;
        if (FNullParams.contains(param.first.toUpper())) {
            sqlite3_bind_null(stmt, index);
            continue;
        }
        const QByteArray value = param.second.toUtf8();
        sqlite3_bind_text(stmt, index, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
}

void TDbQuery::Step()
{
    const int rc = sqlite3_step(FStmt);
    FConnection->EndWait();
    if (rc == SQLITE_ROW) {
        FEof = false;
    } else if (rc == SQLITE_DONE) {
        FEof = true;
    } else {
        FEof = true;
        const QString message = EngineMessage(FConnection->Handle(), rc);
        Close();
        throw EDatabaseError(message);
    }
}

void TDbQuery::Open()
{
    Close();
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("The statement has no connection."));
    FConnection->Open();
    if (FConnection->IsServer())
        return OpenOnServer();
    FStmt = Prepare(Text());
    Bind(FStmt);
    const int count = sqlite3_column_count(FStmt);
    FColumns.resize(count);
    for (int i = 0; i < count; ++i) {
        TColumn &column = FColumns[i];
        column.Name = QString::fromUtf8(sqlite3_column_name(FStmt, i));
        const char *table = sqlite3_column_table_name(FStmt, i);
        const char *origin = sqlite3_column_origin_name(FStmt, i);
        column.Qualified = table && origin ? (QString::fromUtf8(table) + QLatin1Char('.') + QString::fromUtf8(origin))
                                           : QString();
        const char *declared = sqlite3_column_decltype(FStmt, i);
        column.IsDate = declared && QByteArray(declared).compare("DATE", Qt::CaseInsensitive) == 0;
    }
    Step();
}

void TDbQuery::ExecSQL()
{
    Close();
    const QByteArray utf8 = Text().toUtf8();
    if (!FConnection)
        throw EDatabaseError(QStringLiteral("The statement has no connection."));
    FConnection->Open();
    if (FConnection->IsServer())
        return ExecOnServer();
    sqlite3 *db = FConnection->Handle();
    const char *next = utf8.constData();
    const char *end = next + utf8.size();
    FRowsAffected = 0;
    bool ranOne = false;
    // Every statement of the text runs, in order; the first failure stops the rest.
    while (next < end && !(ranOne && IsBlankTail(next))) {
        sqlite3_stmt *stmt = nullptr;
        const char *tail = nullptr;
        int rc = sqlite3_prepare_v2(db, next, int(end - next), &stmt, &tail);
        FConnection->EndWait();
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            RaiseEngineError(rc);
        }
        next = tail;
        if (!stmt) {
            if (!ranOne)
                throw EDatabaseError(QStringLiteral("The statement is empty."));
            break;
        }
        Bind(stmt);
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) { }
        FConnection->EndWait();
        if (rc != SQLITE_DONE) {
            const QString message = EngineMessage(db, rc);
            sqlite3_finalize(stmt);
            throw EDatabaseError(message);
        }
        FRowsAffected += sqlite3_changes(db);
        sqlite3_finalize(stmt);
        ranOne = true;
    }
}

// One statement's text and values in the server's form.
static QString ServerForm(const QString &text, const QVector<QPair<QString, QString>> &params,
                          const QStringList &nullParams, QVector<QByteArray> *values, QVector<bool> *nulls)
{
    QStringList names;
    const QString sql = ServerStatement(text, &names);
    for (const QString &name : names) {
        bool bound = false;
        for (const auto &param : params)
            if (param.first.compare(name, Qt::CaseInsensitive) == 0) {
                // An empty date (a null text) is NULL on the server, which has no empty date.
                const bool null = nullParams.contains(name) || param.second.isNull();
                values->append(null ? QByteArray() : param.second.toUtf8());
                nulls->append(null);
                bound = true;
                break;
            }
        if (!bound) { // an unset parameter is NULL, as in the file
            values->append(QByteArray());
            nulls->append(true);
        }
    }
    return sql;
}

void TDbQuery::OpenOnServer()
{
    PGconn *pg = FConnection->ServerHandle();
    const QString text = Text();
    if (IsImmediateBegin(text)) {
        ServerBeginImmediate(*FConnection);
        return;
    }
    QVector<QByteArray> values;
    QVector<bool> nulls;
    const QString sql = ServerForm(text, FTextParams, FNullParams, &values, &nulls);
    FResult = ServerRun(pg, sql, values, nulls);
    const int count = PQnfields(FResult);
    FColumns.resize(count);
    for (int i = 0; i < count; ++i) {
        TColumn &column = FColumns[i];
        column.Name = QString::fromUtf8(PQfname(FResult, i));
        column.Qualified = FConnection->ServerColumnName(PQftable(FResult, i), PQftablecol(FResult, i));
        column.IsDate = PQftype(FResult, i) == DateType;
    }
    FRow = 0;
    FEof = PQntuples(FResult) == 0;
}

void TDbQuery::ExecOnServer()
{
    PGconn *pg = FConnection->ServerHandle();
    FRowsAffected = 0;
    const QStringList statements = SplitStatements(Text());
    if (statements.isEmpty())
        throw EDatabaseError(QStringLiteral("The statement is empty."));
    for (const QString &statement : statements) {
        if (IsImmediateBegin(statement)) {
            ServerBeginImmediate(*FConnection);
            continue;
        }
        QVector<QByteArray> values;
        QVector<bool> nulls;
        const QString sql = ServerForm(statement, FTextParams, FNullParams, &values, &nulls);
        PGresult *result = ServerRun(pg, sql, values, nulls);
        const bool committed = QByteArray(PQcmdStatus(result)) != "ROLLBACK" ||
                               !statement.startsWith(QLatin1String("COMMIT"), Qt::CaseInsensitive);
        FRowsAffected += QByteArray(PQcmdTuples(result)).toInt();
        PQclear(result);
        if (!committed)
            throw EDatabaseError(QStringLiteral("The transaction failed and was rolled back."));
    }
}

void TDbQuery::Close()
{
    if (FStmt) {
        sqlite3_finalize(FStmt);
        FStmt = nullptr;
    }
    if (FResult) {
        PQclear(FResult);
        FResult = nullptr;
    }
    FColumns.clear();
    FEof = true;
    FLastField = -1;
}

void TDbQuery::Next()
{
    if (FResult && !FEof) {
        FEof = ++FRow >= PQntuples(FResult);
        return;
    }
    if (!FStmt || FEof)
        return;
    Step();
}

int TDbQuery::RecordCount()
{
    if (FResult)
        return PQntuples(FResult);
    if (!FStmt)
        return 0;
    // The count of the whole result, whatever has been read: run it again beside.
    sqlite3_stmt *counter = Prepare(Text());
    Bind(counter);
    int count = 0;
    int rc;
    while ((rc = sqlite3_step(counter)) == SQLITE_ROW)
        ++count;
    sqlite3_finalize(counter);
    if (rc != SQLITE_DONE)
        RaiseEngineError(rc);
    return count;
}

int TDbQuery::FieldIndex(QAnyStringView name) const
{
    const int count = FColumns.size();
    // Readers fetch the same columns in the same order on every row: try the one after
    // the last first, comparing plain ASCII names without building any text.
    if (count > 0) {
        const int expected = FLastField + 1 < count ? FLastField + 1 : 0;
        const QString &column = FColumns[expected].Name;
        if (name.size() == column.size()) {
            auto upper = [](unsigned c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
            const bool same = name.visit([&](auto view) {
                for (qsizetype i = 0; i < view.size(); ++i) {
                    unsigned c;
                    if constexpr (std::is_same_v<decltype(view), QStringView>)
                        c = view[i].unicode();
                    else
                        c = static_cast<unsigned char>(view.data()[i]);
                    const unsigned d = column[i].unicode();
                    // Plain ASCII letters and signs only; a point, or any other letter,
                    // takes the full comparison below.
                    if (c >= 0x80 || c == '.' || upper(c) != upper(d))
                        return false;
                }
                return true;
            });
            if (same)
                return FLastField = expected;
        }
    }
    bool qualified = false;
    name.visit([&](auto view) {
        for (auto c : view)
            if (c == '.')
                qualified = true;
    });
    auto matches = [&](int i) {
        const TColumn &column = FColumns[i];
        return QAnyStringView::compare(qualified ? column.Qualified : column.Name, name, Qt::CaseInsensitive) == 0;
    };
    if (count > 0) {
        const int expected = (FLastField + 1) % count;
        if (matches(expected))
            return FLastField = expected;
    }
    for (int i = 0; i < count; ++i)
        if (matches(i))
            return FLastField = i;
    return -1;
}

TDbField TDbQuery::FieldByName(QAnyStringView name) const
{
    const int index = FieldIndex(name);
    if (index < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name.toString()));
    return TDbField(this, index);
}

TDbField TDbQuery::Fields(int index) const
{
    if (index < 0 || index >= FColumns.size())
        throw EDatabaseError(QStringLiteral("Field index out of range: %1").arg(index));
    return TDbField(this, index);
}

// ---------------------------------------------------------------- helpers

QString QuotedStr(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

void SetDbWaitObserver(TDbWaitObserver observer)
{
    WaitObserver() = std::move(observer);
}

// ---------------------------------------------------------------- TDbTransaction

TDbTransaction::TDbTransaction(TDbConnection &connection) : FConnection(connection)
{
    FConnection.Open();
    if (FConnection.IsServer()) {
        ServerBeginImmediate(FConnection);
        FOpen = true;
        return;
    }
    char *error = nullptr;
    const int rc = sqlite3_exec(FConnection.Handle(), "BEGIN IMMEDIATE", nullptr, nullptr, &error);
    FConnection.EndWait();
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : EngineMessage(FConnection.Handle(), rc);
        sqlite3_free(error);
        throw EDatabaseError(message);
    }
    FOpen = true;
}

TDbTransaction::~TDbTransaction()
{
    Rollback();
}

void TDbTransaction::Commit()
{
    if (!FOpen)
        throw EDatabaseError(QStringLiteral("No transaction is open."));
    if (FConnection.IsServer()) {
        PGresult *result = PQexec(FConnection.ServerHandle(), "COMMIT");
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK && QByteArray(PQcmdStatus(result)) == "COMMIT";
        const QString message = ServerMessage(FConnection.ServerHandle());
        PQclear(result);
        if (!ok) {
            Rollback();
            throw EDatabaseError(message.isEmpty() ? QStringLiteral("The transaction failed and was rolled back.")
                                                   : message);
        }
        FOpen = false;
        return;
    }
    char *error = nullptr;
    const int rc = sqlite3_exec(FConnection.Handle(), "COMMIT", nullptr, nullptr, &error);
    FConnection.EndWait();
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : EngineMessage(FConnection.Handle(), rc);
        sqlite3_free(error);
        Rollback();
        throw EDatabaseError(message);
    }
    FOpen = false;
}

void TDbTransaction::Rollback()
{
    if (!FOpen)
        return;
    FOpen = false;
    if (FConnection.ServerHandle() && PQtransactionStatus(FConnection.ServerHandle()) != PQTRANS_IDLE)
        PQclear(PQexec(FConnection.ServerHandle(), "ROLLBACK"));
    if (FConnection.Handle() && !sqlite3_get_autocommit(FConnection.Handle()))
        sqlite3_exec(FConnection.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

QString SecretFreeText(const QString &statement)
{
    static const QRegularExpression secret(QStringLiteral("(PWORD\\s*=\\s*)'(?:[^']|'')*'"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString text = statement;
    text.replace(secret, QStringLiteral("\\1'********'"));
    return text;
}

void SetDbErrorReporter(TDbErrorReporter reporter)
{
    Reporter() = std::move(reporter);
}

void ReportDbError(const QString &message)
{
    if (Reporter())
        Reporter()(message);
}

int NextKey(int highest, const QString &column)
{
    if (highest == std::numeric_limits<int>::max())
        throw EDatabaseError(QStringLiteral("No row can be added: %1 has reached %2, the largest number it can hold.")
                                 .arg(column)
                                 .arg(highest));
    return highest + 1;
}

QString NextID(TDbQuery &query, const QString &table)
{
    try {
        query.Clear();
        query.Add(QStringLiteral("SELECT MAX(ID) FROM ") + table);
        query.Open();
        const int highest = query.Fields(0).AsInteger();
        query.Close();
        return QString::number(NextKey(highest, table + QStringLiteral(".ID")));
    } catch (const Exception &e) {
        query.Close();
        ReportDbError(e.Message());
        return QString();
    }
}

QString DatabaseFilePath(const QString &programFolder, const QString &locationFileName)
{
    QString folder = programFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QString path = folder + QStringLiteral("Database/Corvella.mdb");

    QFile location(folder + locationFileName);
    if (location.exists() && location.open(QIODevice::ReadOnly)) {
        const QByteArray content = location.readAll();
        if (!content.isEmpty()) {
            // The first line exactly as read: only its line break is taken off.
            qsizetype end = content.indexOf('\n');
            QByteArray line = end < 0 ? content : content.left(end);
            if (line.endsWith('\r'))
                line.chop(1);
            if (IsServerLocation(QString::fromUtf8(line)))
                return QString::fromUtf8(line).trimmed();
            const QString candidate = QString::fromUtf8(line) + QStringLiteral("/Corvella.mdb");
            if (QFileInfo(candidate).isFile())
                path = candidate;
        }
    }
    return path;
}

QString ConnectionStringFor(const QString &databasePath)
{
    return ProviderPart + DataSourceKey + databasePath;
}
