#pragma once
// What SQLite itself says of a database file: "ok" when whole, else its first complaint.

#include <QFile>
#include <QString>

#include <sqlite3.h>

// Read-only, so a hot journal beside the file is not played back here: open the file the way
// the program does first when the check should see the file as the program will.
inline QString integrityOf(const QString &file)
{
    QString result = QStringLiteral("<cannot open>");
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check;", -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW)
            result =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        else
            result = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}
