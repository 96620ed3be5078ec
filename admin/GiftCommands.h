#pragma once

#include <QStringList>

// corvella-admin import PATH FILE [--test NAME]: adds the questions of a GIFT file to
// the question bank (and to the test NAME, made when missing), all or nothing. One
// line per question on standard output. 0 when the file was read, 1 when it cannot
// be read, holds no question or the database refuses, 2 for wrong arguments.
int RunImportCommand(const QStringList &args);

// corvella-admin export PATH --test NAME [FILE]: the test's questions as GIFT, in test
// order, into FILE or onto standard output.
int RunExportCommand(const QStringList &args);
