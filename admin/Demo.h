#pragma once

#include <QString>

// Fills a new database file with data a newcomer can use at once: classes,
// students (one without a password yet), tests with questions, assignments.
bool FillDemoDatabase(const QString &path, QString *error);

// The stored password form of the testing program's first release: every 8-bit
// character code + 99, in upper-case hexadecimal of at least two digits.
QString LegacyScrambledPassword(const QString &password);
