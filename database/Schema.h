#pragma once

#include <QString>

// The statements that make the eight tables of a new database file.
extern const char *const SchemaSql;

// Creates a new database file with the eight tables. Refuses an existing file.
// Returns false with the reason in error.
bool CreateDatabaseFile(const QString &path, QString *error);
