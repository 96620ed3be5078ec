#pragma once

#include <QString>

class TDbQuery;

// corvella-admin text [FILE]: rebuilds one question from its object text (the file,
// or standard input) as the loader does and writes it back to standard output. An
// error goes alone to standard error; the result is then 1.
int RunTextCommand(const QString &fileOrEmpty);

// corvella-admin check PATH: rebuilds every stored question of the database file,
// printing "ID <n>: <error>" for each that fails. 0 only when all rebuild.
// The number of questions read and of those that fail go to the counts when given.
int RunCheckCommand(const QString &databasePath, int *questionCount = nullptr, int *failureCount = nullptr);

// Stores a dozen demo questions of all six kinds (IDs from 1) and puts them into the
// demo tests 1 and 2. Needs a QApplication. False with the reason in error.
bool AddDemoQuestions(TDbQuery &query, QString *error);
