#include "records/maintenance_store.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "platform/ole_date.h"
#include "records/maintenance_plan.h"

#include <cmath>

namespace Maintenance::Store {

double dayNumber(const QDate &date)
{
    return date.isValid() ? COleDateTime::fromDate(date).days() : 0.0;
}

QDate dateOf(double days)
{
    return std::isfinite(days) ? COleDateTime(std::floor(days)).date() : QDate();
}

void read(CADORecordset &rs, Plan &plan)
{
    double nextDue = 0;
    qint32 fromCompletion = 1;
    rs.GetLong(QStringLiteral("ScheduleId"), plan.id);
    rs.GetLong(QStringLiteral("HomeId"), plan.homeId);
    rs.GetLong(QStringLiteral("AssetId"), plan.assetId);
    rs.GetLong(QStringLiteral("AreaId"), plan.areaId);
    rs.GetString(QStringLiteral("Description"), plan.description);
    rs.GetLong(QStringLiteral("Every"), plan.every);
    rs.GetLong(QStringLiteral("Unit"), plan.unit);
    rs.GetLong(QStringLiteral("FromCompletion"), fromCompletion);
    // A date another tool wrote as text, or none at all, reads as no date: the sheet says so.
    plan.nextDue = rs.GetDouble(QStringLiteral("NextDue"), nextDue) && nextDue != 0
        ? dateOf(nextDue)
        : QDate();
    rs.GetLong(QStringLiteral("AnchorDay"), plan.anchorDay);
    rs.GetLong(QStringLiteral("LeadDays"), plan.leadDays);
    rs.GetLong(QStringLiteral("TaskId"), plan.taskId);
    rs.GetLong(QStringLiteral("DoneTaskId"), plan.doneTaskId);
    rs.GetLong(QStringLiteral("CategoryId"), plan.categoryId);
    rs.GetString(QStringLiteral("Notes"), plan.notes);
    rs.GetString(QStringLiteral("Uid"), plan.uid);
    plan.fromCompletion = fromCompletion != 0;
}

void read(CADORecordset &rs, LogEntry &entry)
{
    double done = 0, previous = 0;
    qint32 skipped = 0;
    rs.GetLong(QStringLiteral("LogId"), entry.id);
    rs.GetLong(QStringLiteral("ScheduleId"), entry.planId);
    if (rs.GetDouble(QStringLiteral("Done"), done) && done != 0)
        entry.date = dateOf(done);
    rs.GetLong(QStringLiteral("Skipped"), skipped);
    rs.GetDouble(QStringLiteral("Cost"), entry.cost);
    rs.GetString(QStringLiteral("Notes"), entry.notes);
    rs.GetLong(QStringLiteral("TaskId"), entry.taskId);
    if (rs.GetDouble(QStringLiteral("PreviousDue"), previous) && previous != 0)
        entry.previousDue = dateOf(previous);
    entry.skipped = skipped != 0;
}

bool write(CADORecordset &rs, const Plan &plan)
{
    rs.Edit();
    return rs.SetLong(QStringLiteral("HomeId"), plan.homeId)
        && rs.SetLong(QStringLiteral("AssetId"), plan.assetId)
        && rs.SetLong(QStringLiteral("AreaId"), plan.areaId)
        && rs.SetString(QStringLiteral("Description"), plan.description)
        && rs.SetLong(QStringLiteral("Every"), plan.every)
        && rs.SetInt(QStringLiteral("Unit"), plan.unit)
        && rs.SetInt(QStringLiteral("FromCompletion"), plan.fromCompletion ? 1 : 0)
        && rs.SetDate(QStringLiteral("NextDue"), COleDateTime(dayNumber(plan.nextDue)))
        && rs.SetInt(QStringLiteral("AnchorDay"), plan.anchorDay)
        && rs.SetLong(QStringLiteral("LeadDays"), plan.leadDays)
        && rs.SetLong(QStringLiteral("TaskId"), plan.taskId)
        && rs.SetLong(QStringLiteral("DoneTaskId"), plan.doneTaskId)
        && rs.SetLong(QStringLiteral("CategoryId"), plan.categoryId)
        && rs.SetString(QStringLiteral("Notes"), plan.notes)
        && rs.SetString(QStringLiteral("Uid"), plan.uid) && rs.Update();
}

bool write(CADORecordset &rs, const LogEntry &entry)
{
    rs.Edit();
    return rs.SetLong(QStringLiteral("ScheduleId"), entry.planId)
        && rs.SetDate(QStringLiteral("Done"), COleDateTime(dayNumber(entry.date)))
        && rs.SetInt(QStringLiteral("Skipped"), entry.skipped ? 1 : 0)
        && rs.SetDouble(QStringLiteral("Cost"), entry.cost)
        && rs.SetString(QStringLiteral("Notes"), entry.notes)
        && rs.SetLong(QStringLiteral("TaskId"), entry.taskId)
        && rs.SetDate(QStringLiteral("PreviousDue"), COleDateTime(dayNumber(entry.previousDue)))
        && rs.Update();
}

qint32 insertRow(CADODataBase &db, const char *insertStatement, qint32 value)
{
    if (!db.Execute(sqlText(insertStatement, long(value))))
        return 0;
    CADORecordset rs(db);
    qint32 id = 0;
    if (!rs.Open(QStringLiteral("SELECT last_insert_rowid();")) || rs.IsEof() || !rs.GetLong(0, id))
        return 0;
    return id;
}

bool isOwnTask(CADODataBase &db, qint32 planId, qint32 taskId)
{
    if (planId <= 0 || taskId <= 0)
        return false;
    CADORecordset rs(db);
    return rs.Open(sqlText("SELECT TaskId FROM Tasks WHERE TaskId=%ld AND TaskType<>2 AND "
                           "Custom1=%ld;",
                           long(taskId), long(planId)))
        && !rs.IsEof();
}

bool markTask(CADODataBase &db, qint32 planId, qint32 taskId)
{
    // Written as the exact integer: the record holds Custom1 in single precision.
    return db.Execute(
        sqlText("UPDATE Tasks SET Custom1=%ld WHERE TaskId=%ld;", long(planId), long(taskId)));
}

bool releaseTask(CADODataBase &db, qint32 planId, qint32 taskId)
{
    if (planId <= 0 || taskId <= 0)
        return true;
    return db.Execute(sqlText("UPDATE Tasks SET Custom1=0 WHERE TaskId=%ld AND TaskType<>2 AND "
                              "Custom1=%ld;",
                              long(taskId), long(planId)));
}

bool releaseAll(CADODataBase &db, qint32 planId)
{
    return db.Execute(
        sqlText("UPDATE Tasks SET Custom1=0 WHERE TaskType<>2 AND Custom1=%ld;", long(planId)));
}

} // namespace Maintenance::Store
