#pragma once
// Reading a SELECT straight from SQLite, one row at a time, without a recordset in between:
// for the few readers that go through many rows (the inventory list, the search texts, the
// attachments' lists), where a copy of every value first would cost time and memory.

#include "db/ado_database.h"

#include <QByteArray>
#include <QString>
#include <sqlite3.h>

namespace StatementRows {

// The engine's report of the statement that just failed on db, kept as the connection's last
// error. Without a handle (closed, or lent to a statement under way) it says so.
inline void reportFailure(CADODataBase &db)
{
    sqlite3 *handle = db.handle();
    if (!handle) {
        db.reportError(0, QStringLiteral("Domelio data access"),
                       QStringLiteral("The connection is closed or busy."));
        return;
    }
    db.reportError(quint32(sqlite3_extended_errcode(handle)), QStringLiteral("SQLite"),
                   QString::fromUtf8(sqlite3_errmsg(handle)));
}

// Steps sql on handle, handing each row's statement to take. False when there is no handle, the
// statement could not be prepared or it did not run to its end; nothing is reported.
template<typename Take>
bool each(sqlite3 *handle, const QString &sql, Take take)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (!handle
        || sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &stmt, nullptr)
            != SQLITE_OK)
        return false;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        take(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

// The same on db's connection; a failure is reported as the connection's last error.
template<typename Take>
bool each(CADODataBase &db, const QString &sql, Take take)
{
    if (each(db.handle(), sql, take))
        return true;
    reportFailure(db);
    return false;
}

} // namespace StatementRows
