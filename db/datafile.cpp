#include "db/datafile.h"

#include "db/added_tables.h"

#include "schema_sql.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace DataFile {

bool create(const QString &path, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("%1 exists already").arg(path));

    sqlite3 *db = nullptr;
    const QByteArray file = path.toUtf8();
    int rc =
        sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return fail(why);
    }
    char *message = nullptr;
    rc = sqlite3_exec(db, "BEGIN;", nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, kSchemaSql, nullptr, nullptr, &message);
    // A new file starts with everything the program would otherwise add when it opens one.
    for (const char *statement : AddedTables::statements()) {
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, statement, nullptr, nullptr, &message);
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "COMMIT;", nullptr, nullptr, &message);
    const QString why = message ? QString::fromUtf8(message) : QString();
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        QFile::remove(path);
        return fail(why);
    }
    return true;
}

QString connectionString(const QString &path)
{
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("Provider=SQLite;Data Source='%1';").arg(quoted);
}

} // namespace DataFile
