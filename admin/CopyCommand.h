#pragma once

#include <QStringList>

class QTextStream;

// corvella-admin copy SOURCE TARGET: every row of a school's database (a file or a
// server) into a new or empty one, IDs and counters kept, in one transaction on the
// target. 0 when copied, 1 when refused or failed (nothing copied), -1 for wrong arguments.
int RunCopyCommand(const QStringList &args, QTextStream &out, QTextStream &err);
