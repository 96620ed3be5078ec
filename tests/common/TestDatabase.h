#pragma once

#include "database/Database.h"

#include <QStringList>
#include <QTemporaryDir>

// A fresh database file made from the schema in a temporary folder, with an open
// connection and a statement object on it.
class TTestDatabase {
public:
    TTestDatabase();
    QString Path() const { return FPath; }
    QString Folder() const { return FDir.path(); }
    TDbConnection &Connection() { return FConnection; }
    TDbQuery &Query() { return FQuery; }

    // Runs one statement (lines joined as the programs join them).
    void Exec(const QStringList &lines);
    // Runs a SELECT and returns the first column of every row as text.
    QStringList Column(const QStringList &lines, const QString &field = QString());

private:
    QTemporaryDir FDir;
    QString FPath;
    TDbConnection FConnection;
    TDbQuery FQuery;
};
