#pragma once

#include <QString>

// corvella-admin check: results stored more than once for one student, test and class
// (written by copies of the programs that looked up and wrote in two steps). Prints one
// line per student, test and class with the SERIALs, the highest being the one that
// every window shows. Returns the number of such groups, or -1 when the file cannot be
// read (the error on standard error).
int CheckDuplicateResults(const QString &databasePath);
