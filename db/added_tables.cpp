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

        // Maintenance plans and what was done of them (records/maintenance_plan.h). A plan's
        // task is an ordinary general task; TaskId is the open one, DoneTaskId the one whose
        // completion may still be taken back. AUTOINCREMENT: an id is never given again, so a
        // task that still carries the mark of a deleted plan is never taken for a new plan's.
        "CREATE TABLE IF NOT EXISTS Schedules ("
        "ScheduleId INTEGER PRIMARY KEY AUTOINCREMENT, HomeId LONG NOT NULL DEFAULT 0, "
        "AssetId LONG NOT NULL DEFAULT 0, AreaId LONG NOT NULL DEFAULT 0, "
        "Description TEXT COLLATE NOCASE, Every LONG DEFAULT 1, Unit SHORT DEFAULT 3, "
        "FromCompletion SHORT DEFAULT 1, NextDue DATETIME, AnchorDay SHORT DEFAULT 0, "
        "LeadDays LONG DEFAULT 7, TaskId LONG NOT NULL DEFAULT 0, "
        "DoneTaskId LONG NOT NULL DEFAULT 0, CategoryId LONG DEFAULT 0, Notes TEXT, Uid TEXT);",
        "CREATE TABLE IF NOT EXISTS ScheduleLog ("
        "LogId INTEGER PRIMARY KEY, ScheduleId LONG NOT NULL, Done DATETIME, "
        "Skipped SHORT DEFAULT 0, Cost DOUBLE DEFAULT 0, Notes TEXT, TaskId LONG DEFAULT 0, "
        "PreviousDue DATETIME);",
        // The Today line and the lists: a home's plans by date.
        "CREATE INDEX IF NOT EXISTS SchedulesByHome ON Schedules (HomeId, NextDue);",
        "CREATE INDEX IF NOT EXISTS SchedulesByAsset ON Schedules (AssetId);",
        // The check run at start: plans with a task (with what tells whether the task is still
        // due), plans whose days ahead have begun, and the plans a reactivated task was
        // recorded done for; each read from its index alone, never from the plans' rows.
        "CREATE INDEX IF NOT EXISTS SchedulesByTask ON Schedules (TaskId, NextDue, LeadDays);",
        "CREATE INDEX IF NOT EXISTS SchedulesWaking ON Schedules (TaskId, NextDue - LeadDays);",
        "CREATE INDEX IF NOT EXISTS SchedulesByDoneTask ON Schedules (DoneTaskId);",
        "CREATE INDEX IF NOT EXISTS ScheduleLogBySchedule ON ScheduleLog (ScheduleId, Skipped, "
        "Done);",
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
    return runWithId(
        db,
        { // Maintenance plans: their tasks stay, as ordinary tasks (the plans' mark taken off).
          "UPDATE Tasks SET Custom1=0 WHERE TaskType<>2 AND Custom1 IN (SELECT ScheduleId FROM "
          "Schedules WHERE AssetId=%ld);",
          "DELETE FROM ScheduleLog WHERE ScheduleId IN (SELECT ScheduleId FROM Schedules WHERE "
          "AssetId=%ld);",
          "DELETE FROM Schedules WHERE AssetId=%ld;",
          // Attachments: their bytes go with them (a trigger).
          "DELETE FROM Attachments WHERE AssetId=%ld AND AssetId>0;" },
        assetId);
}

bool deleteHomeRows(CADODataBase &db, qint32 homeId)
{
    return runWithId(
        db,
        { "UPDATE Tasks SET Custom1=0 WHERE TaskType<>2 AND Custom1 IN (SELECT ScheduleId FROM "
          "Schedules WHERE HomeId=%ld);",
          "DELETE FROM ScheduleLog WHERE ScheduleId IN (SELECT ScheduleId FROM Schedules WHERE "
          "HomeId=%ld);",
          "DELETE FROM Schedules WHERE HomeId=%ld;", "DELETE FROM Attachments WHERE HomeId=%ld;" },
        homeId);
}

} // namespace AddedTables
