#pragma once

#include <QStringList>

class QTextStream;

// corvella-admin create [--demo] PATH: a new database file, never over an existing one, with
// the demo data when asked. 0 when made, 1 when it could not be, -1 for wrong arguments.
int RunCreateCommand(const QStringList &args, QTextStream &out, QTextStream &err);
