#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// The PostgreSQL side of the database layer: what the connection and statement objects
// need to run our statement texts, unchanged, on a server.

// A location that names a server: a "postgresql://" (or "postgres://") URI, or
// "service=NAME" for an entry of the user's pg_service.conf.
bool IsServerLocation(const QString &location);
// A location that is neither a folder or file path nor a supported server address:
// "scheme:..." of any other kind, or a server address we cannot read.
bool IsUnsupportedLocation(const QString &location);

// The server as a message names it: host, port and database (or the service), never
// the password.
QString ServerLabel(const QString &location);

// One statement in the server's dialect: ":NAME" parameters become $1, $2, ... (in
// order of first use; names are matched without regard to case) and the few SQLite
// functions our statements use become the server's. Quoted text, quoted names and
// comments are left as they are. names receives the parameter names in $-order.
QString ServerStatement(const QString &text, QStringList *names);

// A text of several statements split at the semicolons that end them (outside quotes
// and comments); blank pieces are dropped.
QStringList SplitStatements(const QString &text);

// True for "BEGIN IMMEDIATE" (the write lock taken at once), which the server
// replaces by a transaction holding our write lock.
bool IsImmediateBegin(const QString &statement);

// The advisory lock every writing transaction of the programs takes on the server, so
// two copies never both decide on what they read before either has written.
constexpr long long ServerWriteLock = 0x436f7276656c6c61LL;

// The schema of a new database on the server, derived from the file's schema: the same
// tables, columns and indexes; counters as sequences; case-insensitive text as citext
// ordered by the ICU root collation.
QString ServerSchemaSql();
// One CREATE INDEX statement of the file's schema in the server's form.
QString ServerIndexStatement(const QString &statement);
