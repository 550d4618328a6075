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

        // Attachments: the files kept with an asset (AssetId above 0) or with the home itself
        // (AssetId 0): photos, receipts, manuals. Their bytes have a table of their own: the
        // engine rewrites a whole row on every change, and a change of kind, of picture or of
        // asset must not read and write a file of hundreds of megabytes again.
        "CREATE TABLE IF NOT EXISTS Attachments ("
        "AttachmentId INTEGER PRIMARY KEY, HomeId LONG NOT NULL, AssetId LONG NOT NULL DEFAULT 0, "
        "Kind SHORT NOT NULL DEFAULT 5, FileName TEXT NOT NULL COLLATE NOCASE, MimeType TEXT, "
        "Added DATETIME, Size INTEGER NOT NULL DEFAULT 0, IsPicture BIT NOT NULL DEFAULT 0);",
        "CREATE TABLE IF NOT EXISTS AttachmentData ("
        "AttachmentId INTEGER PRIMARY KEY, Data BLOB NOT NULL);",
        // An attachment's bytes go with it, however its row is deleted.
        "CREATE TRIGGER IF NOT EXISTS AttachmentsTakeTheirData AFTER DELETE ON Attachments "
        "BEGIN DELETE FROM AttachmentData WHERE AttachmentId=OLD.AttachmentId; END;",
        // The inventory's paper-clips and pictures are counted from this index alone.
        "CREATE INDEX IF NOT EXISTS AttachmentsByOwner ON Attachments "
        "(HomeId, AssetId, IsPicture);",
        // At most one attachment is an asset's (or the home's) picture.
        "CREATE UNIQUE INDEX IF NOT EXISTS AttachmentsOnePicture ON Attachments "
        "(HomeId, AssetId) WHERE IsPicture=1;",
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
    return runWithId(db, { "DELETE FROM Attachments WHERE AssetId=%ld AND AssetId>0;" }, assetId);
}

bool deleteHomeRows(CADODataBase &db, qint32 homeId)
{
    return runWithId(db, { "DELETE FROM Attachments WHERE HomeId=%ld;" }, homeId);
}

} // namespace AddedTables
