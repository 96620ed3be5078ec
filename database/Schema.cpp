#include "database/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

bool CreateDatabaseFile(const QString &path, QString *error)
{
    auto fail = [error](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name given."));
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("The file '%1' already exists; it is left as it is.").arg(path));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("The folder '%1' cannot be made.").arg(folder));

    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, nullptr);
    if (rc == SQLITE_OK) {
        char *message = nullptr;
        const QByteArray script = QByteArray("BEGIN;\n") + SchemaSql + "\nPRAGMA user_version = 1;\nCOMMIT;\n";
        rc = sqlite3_exec(db, script.constData(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK) {
            const QString text = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_free(message);
            sqlite3_close(db);
            QFile::remove(path); // nothing half-made stays behind
            return fail(text);
        }
    }
    const QString text = rc == SQLITE_OK ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
    if (sqlite3_close(db) != SQLITE_OK || rc != SQLITE_OK) {
        QFile::remove(path);
        return fail(text.isEmpty() ? QStringLiteral("The file '%1' cannot be written.").arg(path) : text);
    }
    return true;
}
