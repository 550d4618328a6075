#include "db/added_tables.h"

#include "db/ado_database.h"
#include "db/sql_text.h"

#include <initializer_list>

namespace AddedTables {

namespace {

bool runWithId(CADODataBase &db, std::initializer_list<const char *> statements, qint32 id)
{
    for (const char *statement : statements) {
        if (!db.Execute(sqlText(statement, long(id))))
            return false;
    }
    return true;
}

} // namespace

const std::vector<const char *> &statements()
{
    static const std::vector<const char *> all = {
        // The warranties ending or ended around today are counted from this index alone.
        "CREATE INDEX IF NOT EXISTS AssetsWarrantyByHome ON Assets "
        "(HomeId, WarrantyExpiration, CategoryId);",
    };
    return all;
}

bool ensure(CADODataBase &db)
{
    CTransaction transaction(db);
    if (!transaction.isActive())
        return false;
    for (const char *statement : statements()) {
        if (!db.Execute(QString::fromUtf8(statement)))
            return false;
    }
    return transaction.commit();
}

bool deleteAssetRows(CADODataBase &db, qint32 assetId)
{
    return runWithId(db, {}, assetId);
}

bool deleteHomeRows(CADODataBase &db, qint32 homeId)
{
    return runWithId(db, {}, homeId);
}

} // namespace AddedTables
