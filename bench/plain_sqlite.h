#pragma once
// The plain SQLite work some benchmarks compare with, done straight through the engine's C API:
// a file's integrity check, and a copy of the data file's tables by ATTACH + INSERT ... SELECT.

#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <sqlite3.h>

namespace PlainSqlite {

// The seven tables a data file holds.
inline const char *const kTables[] = { "Areas", "Assets",   "Categories", "Homes",
                                       "Loans", "TableIds", "Tasks" };

inline bool exec(sqlite3 *db, const QString &sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s\n", message ? message : "error");
    sqlite3_free(message);
    return false;
}

// True when the engine's integrity_check finds the file at path sound.
inline bool integrityOk(const QString &path)
{
    sqlite3 *db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        ok = sqlite3_prepare_v2(db, "PRAGMA integrity_check;", -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW
            && qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok") == 0;
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return ok;
}

// The plain copy: the target opened, the source attached, every table filled by INSERT ...
// SELECT in one transaction. A new target (fresh) gets the source's tables first and their
// indexes after the rows, the quickest order; an existing one has its rows replaced.
inline bool copyTables(const QString &source, const QString &target, bool fresh)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(target).constData(), &db);
    bool ok = exec(db, QStringLiteral("PRAGMA synchronous=FULL;"))
        && exec(db, QStringLiteral("ATTACH '%1' AS src;").arg(source))
        && exec(db, QStringLiteral("BEGIN;"));
    QStringList indexes;
    for (const char *table : kTables) {
        const QString name = QString::fromLatin1(table);
        if (fresh) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(
                db,
                "SELECT type, sql FROM src.sqlite_master WHERE tbl_name=?1 AND sql IS NOT NULL;",
                -1, &stmt, nullptr);
            sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const QString sql =
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
                if (qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "table")
                    == 0)
                    ok = ok && exec(db, sql);
                else
                    indexes << sql;
            }
            sqlite3_finalize(stmt);
        } else {
            ok = ok && exec(db, QStringLiteral("DELETE FROM main.%1;").arg(name));
        }
        ok = ok && exec(db, QStringLiteral("INSERT INTO main.%1 SELECT * FROM src.%1;").arg(name));
    }
    for (const QString &index : indexes)
        ok = ok && exec(db, index);
    ok = ok && exec(db, QStringLiteral("COMMIT;"));
    sqlite3_close(db);
    return ok;
}

} // namespace PlainSqlite
