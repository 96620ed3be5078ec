#pragma once

#include <QStringList>

class QTextStream;

// corvella-admin print PATH --test NAME [--key] [--columns 1|2|3] [--class NAME] OUT.pdf:
// writes the test's printout, or its answer key, as the authoring program prints it, into
// a PDF file. Messages go to out and err; the result is 0 when the file was written, 1
// for an error (no file is written then) and 2 for a wrong command line.
int RunPrintCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// The command's line of the usage text.
extern const char *const PrintCommandUsage;
