#include "common/TestDatabase.h"

#include "database/Schema.h"

#include <stdexcept>

TTestDatabase::TTestDatabase() : FPath(FDir.filePath(QStringLiteral("Corvella.mdb"))), FQuery(&FConnection)
{
    QString error;
    if (!CreateDatabaseFile(FPath, &error))
        throw std::runtime_error(error.toStdString());
    FConnection.SetConnectionString(ConnectionStringFor(FPath));
    FConnection.Open();
}

void TTestDatabase::Exec(const QStringList &lines)
{
    FQuery.Clear();
    for (const QString &line : lines)
        FQuery.Add(line);
    FQuery.ExecSQL();
}

QStringList TTestDatabase::Column(const QStringList &lines, const QString &field)
{
    FQuery.Clear();
    for (const QString &line : lines)
        FQuery.Add(line);
    FQuery.Open();
    QStringList values;
    while (!FQuery.Eof()) {
        values << (field.isEmpty() ? FQuery.Fields(0).AsString() : FQuery.FieldByName(field).AsString());
        FQuery.Next();
    }
    FQuery.Close();
    return values;
}
