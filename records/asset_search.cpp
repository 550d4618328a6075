#include "records/asset_search.h"

#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "format/search_text.h"

namespace {

// Separates the fields of a key; words never hold it, so no match spans two fields.
constexpr char kFieldBreak = '\n';

// Folded names by id, from a statement whose columns are the id and the name.
QHash<qint32, QByteArray> foldedNames(CADODataBase &db, const QString &sql)
{
    QHash<qint32, QByteArray> names;
    CADORecordset rs(db);
    if (!rs.Open(sql))
        return names;
    for (; !rs.IsEof(); rs.MoveNext()) {
        qint32 id = 0;
        QString name;
        rs.GetLong(0, id);
        rs.GetString(1, name);
        names.insert(id, SearchText::fold(name));
    }
    return names;
}

} // namespace

namespace AssetSearch {

QHash<qint32, QByteArray> keys(CADODataBase &db, qint32 homeId, qint32 categoryFilter)
{
    // Locations and categories are few; their names are folded once, not once per asset.
    const QHash<qint32, QByteArray> locations =
        foldedNames(db, QStringLiteral("SELECT AreaId, Description FROM Areas;"));
    const QHash<qint32, QByteArray> categories = foldedNames(
        db, sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryType=%d;", 1));

    QString sql = sqlText("SELECT AssetId, AreaId, CategoryId, Description, MakeModel, "
                          "SerialNumber, Vendor, Notes FROM Assets WHERE HomeId=%ld",
                          long(homeId));
    if (categoryFilter > 0)
        sql += sqlText(" AND CategoryId=%ld", long(categoryFilter));
    sql += QLatin1Char(';');

    QHash<qint32, QByteArray> keys;
    CADORecordset rs(db);
    if (!rs.Open(sql))
        return keys;
    keys.reserve(rs.GetRecordCount());
    QString text;
    for (; !rs.IsEof(); rs.MoveNext()) {
        qint32 id = 0, area = 0, category = 0;
        rs.GetLong(0, id);
        rs.GetLong(1, area);
        rs.GetLong(2, category);
        QByteArray key;
        for (int column = 3; column <= 7; ++column) {
            text.clear();
            rs.GetString(column, text);
            SearchText::appendFolded(key, text);
            key += kFieldBreak;
        }
        key += locations.value(area);
        key += kFieldBreak;
        key += categories.value(category);
        keys.insert(id, key);
    }
    return keys;
}

} // namespace AssetSearch
