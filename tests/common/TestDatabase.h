#pragma once

#include "database/Database.h"

#include <QStringList>

class QWidget;
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

// Rows of the tables, as the programs store them (names quoted as they quote them).

// A test with no subtitle or instructions in two columns, assigned to the classes given
// (chapter "1").
void AddTest(TTestDatabase &db, int id, const QString &name, const QList<int> &classes = {});
// A class with no course or teacher.
void AddClass(TTestDatabase &db, int id, const QString &name);
void AddStudent(TTestDatabase &db, int id, const QString &last, const QString &first, const QString &middle,
                const QString &studentID);
// The student studentID as a member of the class.
void AddMember(TTestDatabase &db, int classID, const QString &studentID, int sequence = 1);
// A question stored with a name and a text but no control text.
void AddQuestion(TTestDatabase &db, int id, const QString &question);
// The question controlID at sequence in the test testID.
void AddDetail(TTestDatabase &db, int testID, int controlID, int sequence);
// A question whose control is stored as the object text given (name and question "Q").
void AddControl(TTestDatabase &db, int id, const QString &controlText);
// Gives a question control the ID, question and name the authoring program gives it
// and stores it as question id.
void AddControl(TTestDatabase &db, int id, QWidget *control, const QString &question);
