#include "records/asset_search.h"

#include "db/ado_database.h"
#include "db/sql_text.h"
#include "db/statement_rows.h"
#include "format/search_text.h"

#include <sqlite3.h>

namespace {

// Separates the fields of a key; words never hold it, so no match spans two fields.
constexpr char kFieldBreak = '\n';

void appendColumn(QByteArray &key, sqlite3_stmt *stmt, int col)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
    if (text)
        SearchText::appendFoldedUtf8(key, text, sqlite3_column_bytes(stmt, col));
}

// Folded names by id, from a statement whose columns are the id and the name.
QHash<qint32, QByteArray> foldedNames(sqlite3 *db, const QString &sql, bool &read)
{
    QHash<qint32, QByteArray> names;
    read = StatementRows::each(db, sql,
                               [&names](sqlite3_stmt *stmt) {
                                   QByteArray name;
                                   appendColumn(name, stmt, 1);
                                   names.insert(qint32(sqlite3_column_int64(stmt, 0)), name);
                               })
        && read;
    return names;
}

} // namespace

namespace AssetSearch {

QHash<qint32, QByteArray> keys(CADODataBase &db, qint32 homeId, qint32 categoryFilter, bool *read)
{
    sqlite3 *handle = db.handle();
    bool namesRead = true;
    // Locations and categories are few; their names are folded once, not once per asset.
    const QHash<qint32, QByteArray> locations =
        foldedNames(handle, QStringLiteral("SELECT AreaId, Description FROM Areas;"), namesRead);
    const QHash<qint32, QByteArray> categories = foldedNames(
        handle, sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryType=%d;", 1),
        namesRead);

    // One pass through the table: through an index every asset would be a jump to its row,
    // four times slower for 100,000 assets than reading the other homes' rows as well.
    QString sql = sqlText("SELECT AssetId, AreaId, CategoryId, Description, MakeModel, "
                          "SerialNumber, Vendor, Notes FROM Assets NOT INDEXED WHERE HomeId=%ld",
                          long(homeId));
    if (categoryFilter > 0)
        sql += sqlText(" AND CategoryId=%ld", long(categoryFilter));
    sql += QLatin1Char(';');

    QHash<qint32, QByteArray> keys;
    const bool assetsRead = namesRead && StatementRows::each(handle, sql, [&](sqlite3_stmt *stmt) {
                                QByteArray key;
                                for (int col = 3; col <= 7; ++col) {
                                    appendColumn(key, stmt, col);
                                    key += kFieldBreak;
                                }
                                key += locations.value(qint32(sqlite3_column_int64(stmt, 1)));
                                key += kFieldBreak;
                                key += categories.value(qint32(sqlite3_column_int64(stmt, 2)));
                                keys.insert(qint32(sqlite3_column_int64(stmt, 0)), key);
                            });
    // The names of the attachments (never their bytes), after the asset's own texts. A file
    // without the table (opened read-only before it could get one) is searched without them.
    if (assetsRead)
        StatementRows::each(
            handle,
            sqlText("SELECT AssetId, FileName FROM Attachments WHERE HomeId=%ld AND "
                    "AssetId>0;",
                    long(homeId)),
            [&](sqlite3_stmt *stmt) {
                const auto key = keys.find(qint32(sqlite3_column_int64(stmt, 0)));
                if (key == keys.end())
                    return;
                *key += kFieldBreak;
                appendColumn(*key, stmt, 1);
            });
    if (read)
        *read = assetsRead;
    if (!assetsRead) {
        // Half a set of keys would hide assets that match: none, rather.
        keys.clear();
        StatementRows::reportFailure(db);
    }
    return keys;
}

} // namespace AssetSearch
