#pragma once

#include <QString>

class QTextStream;

// Rows that refer to a record which no longer exists: members, assignments and results
// of a deleted test, class or student, and the places of a deleted question. Files from
// before deleted only the header row and left these behind, where a new record given
// the same key or student ID would take them over.

// corvella-admin check PATH, its part for those rows: one line each on out. True when
// there are none; false, with the reason on err, also when the file cannot be read.
bool CheckMemberRows(const QString &databasePath, QTextStream &out, QTextStream &err);

// corvella-admin repair PATH: shows those rows, then removes them, all in one step.
// 0 when the file is sound afterwards.
int RunRepairCommand(const QString &databasePath, QTextStream &out, QTextStream &err);
