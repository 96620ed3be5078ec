#pragma once

#include "toolkit/Exception.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;
struct pg_conn;
struct pg_result;

// The fixed provider part of the connection text; "Data Source=" and the path follow.
extern const QString ProviderPart;

// The connection to the database file. The file is opened, never created: a missing
// file is an error. Several programs may have the file open at once; a writer waits
// for another instead of failing.
class TDbConnection {
public:
    TDbConnection() = default;
    ~TDbConnection();
    TDbConnection(const TDbConnection &) = delete;
    TDbConnection &operator=(const TDbConnection &) = delete;

    QString ConnectionString() const { return FConnectionString; }
    void SetConnectionString(const QString &text) { FConnectionString = text; }
    // The path after "Data Source=" in the connection text: a file, or a PostgreSQL
    // server's address (see IsServerLocation).
    QString DatabasePath() const;

    // Open the file for reading only (corvella-admin check, tests of write failures).
    void SetReadOnly(bool readOnly) { FReadOnly = readOnly; }

    bool Connected() const { return FDb != nullptr || FPg != nullptr; }
    void Open(); // raises EDatabaseError with the engine's text
    void Close();

    sqlite3 *Handle() const { return FDb; }
    // The server connection when the database is on a PostgreSQL server.
    pg_conn *ServerHandle() const { return FPg; }
    bool IsServer() const { return FPg != nullptr; }
    // "table.COLUMN" of a server result's column, from the table's identity and column
    // number; empty when the column is no table's.
    QString ServerColumnName(unsigned table, int column);

    // How long a writer waits for another program's write, in milliseconds.
    static constexpr int BusyTimeout = 30000;
    // The wait of this connection; set before or after opening.
    void SetBusyTimeout(int milliseconds);
    int BusyTimeoutMs() const { return FBusyTimeout; }
    // The longest a statement of this connection has waited for the file, in milliseconds.
    qint64 LongestWait() const { return FLongestWait; }

    // Called after every statement step: ends a wait that the observer was told of.
    void EndWait();

    // Notes a wait that happened on the server (for a transaction's write lock).
    void NoteWait(qint64 milliseconds);

private:
    static int BusyHandler(void *connection, int count);
    void OpenServer(const QString &location);

    QString FConnectionString;
    bool FReadOnly = false;
    sqlite3 *FDb = nullptr;
    pg_conn *FPg = nullptr;
    QHash<quint64, QString> FServerColumns;
    int FBusyTimeout = BusyTimeout;
    qint64 FWaitStart = 0;
    qint64 FLongestWait = 0;
    bool FWaitShown = false;
};

// Told when a statement has waited for a locked file longer than WaitNoticeDelay
// (Begin), again while it goes on waiting (Tick, about every 50 ms) and when the wait
// is over (End). The programs show it; the database code shows nothing itself.
enum class TDbWait { Begin, Tick, End };
using TDbWaitObserver = std::function<void(TDbWait state)>;
constexpr int WaitNoticeDelay = 500;
void SetDbWaitObserver(TDbWaitObserver observer);

// One step that must not be half done (a look-up and the write that depends on it):
// takes the file's write lock at once (BEGIN IMMEDIATE), so two copies never both
// decide on what they read before either has written. Rolled back unless committed.
class TDbTransaction {
public:
    explicit TDbTransaction(TDbConnection &connection); // raises EDatabaseError
    ~TDbTransaction();
    TDbTransaction(const TDbTransaction &) = delete;
    TDbTransaction &operator=(const TDbTransaction &) = delete;
    void Commit(); // raises EDatabaseError; the transaction is then rolled back
    void Rollback();

private:
    TDbConnection &FConnection;
    bool FOpen = false;
};

class TDbQuery;

// One column of the current row of an open query.
class TDbField {
public:
    QString FieldName() const;
    QString AsString() const; // NULL reads as the empty text; dates as short date text
    bool IsDate() const; // a DATE column: AsBytes holds yyyy-MM-dd
    QByteArray AsBytes() const; // the stored bytes of a text, undecoded
    int AsInteger() const; // NULL reads as 0
    qint64 AsLargeInt() const;
    bool IsNull() const;

private:
    friend class TDbQuery;
    TDbField(const TDbQuery *query, int index) : FQuery(query), FIndex(index) { }
    const TDbQuery *FQuery;
    int FIndex;
};

// The one reusable statement object: the statement is built line by line, then
// opened (SELECT) or executed (INSERT, UPDATE, DELETE). Every failure raises
// EDatabaseError carrying the engine's message text.
class TDbQuery {
public:
    explicit TDbQuery(TDbConnection *connection = nullptr) : FConnection(connection) { }
    ~TDbQuery();
    TDbQuery(const TDbQuery &) = delete;
    TDbQuery &operator=(const TDbQuery &) = delete;

    TDbConnection *Connection() const { return FConnection; }
    void SetConnection(TDbConnection *connection);

    // The statement text. Clear also forgets the bound parameters.
    void Clear();
    void Add(const QString &line);
    const QStringList &Lines() const { return FLines; }
    QString Text() const; // the lines, each ended by CR LF

    // Named parameters (":TEST"): bound as data, never pasted into the text.
    void SetParamText(const QString &name, const QString &value);
    void SetParamDate(const QString &name, const QDate &value);
    void SetParamNull(const QString &name);

    void Open(); // runs a SELECT and stands on its first row
    void ExecSQL(); // runs an INSERT, UPDATE or DELETE at once
    void Close();
    bool Active() const { return FStmt != nullptr || FResult != nullptr; }

    bool Eof() const { return FEof; }
    void Next();
    int RecordCount(); // all rows of the open result, whatever has been read
    int RowsAffected() const { return FRowsAffected; }

    int FieldCount() const { return FColumns.size(); }
    // A name of one joined table's column is "table.COLUMN"; a name that occurs once
    // is found by its bare name too. Letter case does not matter.
    TDbField FieldByName(QAnyStringView name) const;
    TDbField Fields(int index) const;
    int FieldIndex(QAnyStringView name) const; // -1 when absent

private:
    friend class TDbField;
    struct TColumn {
        QString Name; // as the result names it
        QString Qualified; // table.NAME, upper case, when the column comes from a table
        bool IsDate = false;
    };

    sqlite3_stmt *Prepare(const QString &text);
    void Bind(sqlite3_stmt *stmt);
    [[noreturn]] void RaiseEngineError(int code) const;
    void Step();
    void OpenOnServer();
    void ExecOnServer();

    TDbConnection *FConnection = nullptr;
    QStringList FLines;
    QVector<QPair<QString, QString>> FTextParams;
    QStringList FNullParams;
    sqlite3_stmt *FStmt = nullptr;
    pg_result *FResult = nullptr; // a server result, held whole
    int FRow = 0;
    QVector<TColumn> FColumns;
    QHash<QString, int> FIndexByName; // upper-case bare and qualified names
    bool FEof = true;
    int FRowsAffected = 0;
    mutable int FLastField = -1; // readers ask for the columns in the same order every row
};

// A statement's text fit to be shown: the quoted value after PWORD (a password hash
// or a scrambled password) is replaced by asterisks.
QString SecretFreeText(const QString &statement);

// The standard quoting function: an apostrophe, the text with every apostrophe
// doubled, an apostrophe.
QString QuotedStr(const QString &text);

// Where a failed ID look-up is reported. None by default: the failure then reaches
// only the caller (the empty ID); each program installs the way it shows the text.
using TDbErrorReporter = std::function<void(const QString &message)>;
void SetDbErrorReporter(TDbErrorReporter reporter);
void ReportDbError(const QString &message);

// The next free ID of a table (largest ID + 1, or 1), as decimal text. On failure the
// engine's text is reported and the result is empty: the caller gives up the insert.
QString NextID(TDbQuery &query, const QString &table);
// highest + 1; raises EDatabaseError naming the column (controldef.ID) when highest is
// already the largest 32-bit number, instead of wrapping round to a negative key.
int NextKey(int highest, const QString &column);

// Where the database file is: the location file's first line names its folder when
// that folder holds "Corvella.mdb", or names a PostgreSQL server (returned as it
// stands); otherwise the "Database" folder of the program.
QString DatabaseFilePath(const QString &programFolder, const QString &locationFileName);
QString ConnectionStringFor(const QString &databasePath);
