#pragma once

#include <QStringList>

class QTextStream;

// corvella-admin grades PATH [--class NAME] [--test NAME] [FILE]: the gradebook of the
// tests assigned to classes (all of them unless named) as CSV, into FILE or onto standard
// output. 0 when written, 1 for an unknown class or test or a file that cannot be read or
// written (no file is written then), 2 for a wrong command line.
int RunGradesCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// corvella-admin items PATH --test NAME [--class NAME]: the statistics of each question of
// the test, read from the stored answer transcripts, as a table on standard output.
int RunItemsCommand(const QStringList &args, QTextStream &out, QTextStream &err);
