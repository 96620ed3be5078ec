#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The statements that make the eight tables of a new database file, and their indexes.
extern const char *const SchemaSql;

// Creates a new database file with the eight tables. Refuses an existing file.
// Returns false with the reason in error.
bool CreateDatabaseFile(const QString &path, QString *error);

// One index of the schema: its name, its table and its CREATE INDEX statement.
struct TSchemaIndex {
    QString Name;
    QString Table;
    QString Statement;
};
QList<TSchemaIndex> SchemaIndexes();

// Brings an existing file up to the schema by adding the indexes it lacks; tables and
// rows are left as they are, and running it again changes nothing. Waits up to waitMs
// while another program writes. Returns false with the reason in error, having changed
// nothing; otherwise report holds one line per thing done or found.
constexpr int UpgradeWait = 120000;
bool UpgradeDatabaseFile(const QString &path, QStringList *report, QString *error, int waitMs = UpgradeWait);
