#pragma once

#include "database/Database.h"

#include <QStringList>
#include <QTemporaryDir>

// A fresh database file made from the schema in a temporary folder, with an open
// connection and a statement object on it. When the test command runs the tests on the
// server engine (CORVELLA_TEST_SERVER names the test server's state file), it is a fresh
// database on that server instead, and Path() is its address.
class TTestDatabase {
public:
    TTestDatabase();
    ~TTestDatabase();
    QString Path() const { return FPath; }
    QString Folder() const { return FDir.path(); }
    TDbConnection &Connection() { return FConnection; }
    TDbQuery &Query() { return FQuery; }

    // Runs one statement (lines joined as the programs join them).
    void Exec(const QStringList &lines);
    // Runs a SELECT and returns the first column of every row as text.
    QStringList Column(const QStringList &lines, const QString &field = QString());

    // True when the tests run on the server engine.
    static bool OnServer();
    // The address of a new, empty database (no tables) on the test server; dropped
    // when the test program ends.
    static QString NewServerDatabase();

private:
    QTemporaryDir FDir;
    QString FPath;
    TDbConnection FConnection;
    TDbQuery FQuery;
};
