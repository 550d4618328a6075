#include "records/maintenance.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "records/maintenance_store.h"
#include "records/task.h"

#include <optional>
#include <vector>

namespace Maintenance {

namespace {

const char *const kPlanStatement = "SELECT * FROM Schedules WHERE ScheduleId=%ld;";

QString pastLastDate()
{
    return QStringLiteral("The next date would fall after %1, the last date the program can "
                          "show. Please change the plan instead.")
        .arg(dayText(lastDate()));
}

bool writePlan(CADODataBase &db, Plan &plan)
{
    plan.anchorDay = plan.cadence().anchorDay;
    CADORecordset rs(db);
    return rs.Open(sqlText(kPlanStatement, long(plan.id))) && !rs.IsEof() && Store::write(rs, plan);
}

// Adds the entry to the plan's history, moves the plan's date to next (when valid) and drops
// its task link. The completed task, if any, is remembered so that making it active again can
// take the completion back.
bool record(CADODataBase &db, Plan &plan, LogEntry entry, const QDate &next)
{
    entry.planId = plan.id;
    entry.previousDue = plan.nextDue;
    const qint32 logId =
        Store::insertRow(db, "INSERT INTO ScheduleLog (ScheduleId) VALUES (%ld);", plan.id);
    CADORecordset rs(db);
    if (logId <= 0 || !rs.Open(sqlText("SELECT * FROM ScheduleLog WHERE LogId=%ld;", long(logId)))
        || rs.IsEof() || !Store::write(rs, entry))
        return false;
    if (next.isValid())
        plan.nextDue = next;
    plan.taskId = 0;
    plan.doneTaskId = entry.skipped ? 0 : entry.taskId;
    return writePlan(db, plan);
}

// The plan's own open task (not done), or 0.
qint32 openOwnTask(CADODataBase &db, const Plan &plan, qint32 *status = nullptr)
{
    if (!Store::isOwnTask(db, plan.id, plan.taskId))
        return 0;
    CTask task(plan.taskId);
    if (!task.Load(db))
        return 0;
    if (status)
        *status = task.m_nStatus;
    return task.m_nStatus == CTask::Done ? 0 : plan.taskId;
}

struct Linked
{
    qint32 planId = 0;
    qint32 taskId = 0;
    bool own = false;
    qint32 status = 0;
};

std::vector<Linked> linkedNeedingAttention(CADODataBase &db, long tomorrow)
{
    std::vector<Linked> found;
    CADORecordset rs(db);
    // Only plans with a task, through the index by TaskId; of those, the ones whose task is
    // done, gone, not theirs, or active while the plan is no longer within its days ahead.
    if (!rs.Open(sqlText("SELECT s.ScheduleId, s.TaskId, (t.TaskId IS NOT NULL AND t.TaskType<>2 "
                         "AND t.Custom1=s.ScheduleId) AS Own, t.Status FROM Schedules s LEFT JOIN "
                         "Tasks t ON t.TaskId=s.TaskId WHERE s.TaskId>0 AND (t.TaskId IS NULL OR "
                         "t.TaskType=2 OR t.Custom1 IS NOT s.ScheduleId OR t.Status=2 OR "
                         "(t.Status=1 AND s.NextDue-s.LeadDays>=%ld));",
                         tomorrow)))
        return found;
    for (; !rs.IsEof(); rs.MoveNext()) {
        Linked row;
        qint32 own = 0;
        rs.GetLong(0, row.planId);
        rs.GetLong(1, row.taskId);
        rs.GetLong(2, own);
        rs.GetLong(3, row.status);
        row.own = own != 0;
        found.push_back(row);
    }
    return found;
}

std::vector<Linked> reactivated(CADODataBase &db)
{
    std::vector<Linked> found;
    CADORecordset rs(db);
    // From the few active tasks to the plans that recorded them done (CROSS JOIN keeps that
    // order), rather than from every plan that was ever done.
    if (!rs.Open(QStringLiteral("SELECT s.ScheduleId, s.DoneTaskId FROM Tasks t CROSS JOIN "
                                "Schedules s ON s.DoneTaskId=t.TaskId WHERE t.Status=1 AND "
                                "t.TaskType<>2 AND t.Custom1=s.ScheduleId;")))
        return found;
    for (; !rs.IsEof(); rs.MoveNext()) {
        Linked row;
        rs.GetLong(0, row.planId);
        rs.GetLong(1, row.taskId);
        found.push_back(row);
    }
    return found;
}

bool takeBack(CADODataBase &db, Plan &plan, qint32 doneTaskId)
{
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT LogId, PreviousDue FROM ScheduleLog WHERE ScheduleId=%ld AND "
                         "TaskId=%ld AND Skipped=0 ORDER BY LogId DESC;",
                         long(plan.id), long(doneTaskId))))
        return false;
    if (!rs.IsEof()) {
        qint32 logId = 0;
        double previous = 0;
        rs.GetLong(0, logId);
        rs.GetDouble(1, previous);
        if (!db.Execute(sqlText("DELETE FROM ScheduleLog WHERE LogId=%ld;", long(logId))))
            return false;
        if (previous != 0)
            plan.nextDue = Store::dateOf(previous);
    }
    rs.Close();
    // A task made for the next period since then belongs to the completion taken back.
    if (plan.taskId > 0 && plan.taskId != doneTaskId) {
        qint32 status = 0;
        const qint32 newer = openOwnTask(db, plan, &status);
        if (newer > 0) {
            CTask task(newer);
            if (!task.Delete(db))
                return false;
        } else if (!Store::releaseTask(db, plan.id, plan.taskId)) {
            return false;
        }
    }
    plan.taskId = doneTaskId;
    plan.doneTaskId = 0;
    return writePlan(db, plan);
}

struct Waking
{
    Plan plan;
    QString forWhat;
};

std::vector<Waking> comingDue(CADODataBase &db, long tomorrow)
{
    std::vector<Waking> found;
    CADORecordset rs(db);
    // Through the index on (TaskId, NextDue-LeadDays): only the plans without a task whose
    // days ahead have begun. Plans left without a home by the handheld's copy wait for one.
    if (!rs.Open(sqlText("SELECT s.*, (SELECT Description FROM Assets a WHERE a.AssetId=s.AssetId "
                         "AND a.HomeId=s.HomeId) AS AssetName, (SELECT Description FROM Areas r "
                         "WHERE r.AreaId=s.AreaId AND r.HomeId=s.HomeId) AS AreaName FROM "
                         "Schedules s WHERE s.TaskId=0 AND s.NextDue-s.LeadDays<%ld AND EXISTS "
                         "(SELECT 1 FROM Homes h WHERE h.HomeId=s.HomeId);",
                         tomorrow)))
        return found;
    for (; !rs.IsEof(); rs.MoveNext()) {
        Waking row;
        Store::read(rs, row.plan);
        QString asset, area;
        rs.GetString(QStringLiteral("AssetName"), asset);
        rs.GetString(QStringLiteral("AreaName"), area);
        row.forWhat = row.plan.assetId > 0 ? asset : area;
        found.push_back(std::move(row));
    }
    return found;
}

bool makeTask(CADODataBase &db, const Plan &plan, const QString &forWhat)
{
    CTask task;
    task.m_nTaskType = CTask::GeneralTask;
    task.m_nStatus = CTask::Active;
    task.m_strDescription = plan.taskText(forWhat);
    task.m_nCustom2 = plan.categoryId;
    task.m_strNotes = plan.notes;
    return task.Save(db) && Store::markTask(db, plan.id, task.id())
        && db.Execute(sqlText("UPDATE Schedules SET TaskId=%ld WHERE ScheduleId=%ld;",
                              long(task.id()), long(plan.id)));
}

} // namespace

QDate nextDueAfter(const Plan &plan, const QDate &doneDate, const QDate &today)
{
    Cadence cadence = plan.cadence();
    if (plan.fromCompletion) {
        cadence.anchorDay = doneDate.day();
        return advance(doneDate, 1, cadence);
    }
    return nextOnCalendar(plan.nextDue, cadence, std::max(doneDate, today));
}

QDate nextDueAfterSkip(const Plan &plan, const QDate &today)
{
    if (!plan.fromCompletion || !plan.nextDue.isValid())
        return nextDueAfter(plan, today, today);
    const QDate from = std::max(today, plan.nextDue);
    Cadence cadence = plan.cadence();
    cadence.anchorDay = from.day();
    return advance(from, 1, cadence);
}

Outcome reconcile(CADODataBase &db, const QDate &today)
{
    Outcome outcome;
    const long tomorrow = long(Store::dayNumber(today)) + 1;
    // Opened at the first change: a run with nothing to do writes nothing, and leaves the file
    // (and what is remembered with its stamp) as it was.
    std::optional<CTransaction> transaction;
    const auto begin = [&] {
        if (!transaction)
            transaction.emplace(db);
        return transaction->isActive();
    };
    const auto failed = [] {
        Outcome none;
        none.failed = true;
        return none; // the transaction, not committed, rolls everything back
    };

    for (const Linked &row : linkedNeedingAttention(db, tomorrow)) {
        Plan plan;
        plan.id = row.planId;
        if (!begin() || !plan.load(db))
            return failed();
        if (!row.own) {
            plan.taskId = 0;
            if (!writePlan(db, plan))
                return failed();
            ++outcome.released;
        } else if (row.status == CTask::Done) {
            LogEntry entry;
            entry.date = today;
            entry.taskId = row.taskId;
            if (!record(db, plan, entry, nextDueAfter(plan, today, today)))
                return failed();
            ++outcome.completed;
        } else {
            CTask task(row.taskId);
            plan.taskId = 0;
            if (!task.Delete(db) || !writePlan(db, plan))
                return failed();
            ++outcome.withdrawn;
        }
    }

    for (const Linked &row : reactivated(db)) {
        Plan plan;
        plan.id = row.planId;
        if (!begin() || !plan.load(db) || !takeBack(db, plan, row.taskId))
            return failed();
        ++outcome.undone;
    }

    for (const Waking &row : comingDue(db, tomorrow)) {
        if (!begin() || !makeTask(db, row.plan, row.forWhat))
            return failed();
        ++outcome.made;
    }

    if (transaction && !transaction->commit())
        return failed();
    return outcome;
}

bool markDone(CADODataBase &db, Plan &plan, const QDate &date, double cost, const QString &notes,
              const QDate &today, QString *refusal)
{
    const auto refuse = [refusal](const QString &why) {
        if (refusal)
            *refusal = why;
        return false;
    };
    if (refusal)
        refusal->clear();
    if (!plan.load(db))
        return refuse(QStringLiteral("This plan is no longer in the data file."));
    if (!date.isValid() || date > today)
        return refuse(QStringLiteral("The day it was done cannot be after today."));
    if (!inRange(date))
        return refuse(QStringLiteral("The day it was done must lie between %1 and today.")
                          .arg(dayText(firstDate())));
    if (!(cost >= 0))
        return refuse(QStringLiteral("The cost cannot be less than 0."));
    const QDate next = nextDueAfter(plan, date, today);
    if (!next.isValid())
        return refuse(pastLastDate());

    CTransaction transaction(db);
    if (!transaction.isActive())
        return false;
    LogEntry entry;
    entry.date = date;
    entry.cost = cost;
    entry.notes = notes;
    entry.taskId = openOwnTask(db, plan);
    if (entry.taskId > 0) {
        CTask task(entry.taskId);
        if (!task.SetStatus(db, CTask::Done))
            return false;
    }
    return record(db, plan, entry, next) && transaction.commit();
}

bool skip(CADODataBase &db, Plan &plan, const QDate &today, QString *refusal)
{
    if (refusal)
        refusal->clear();
    if (!plan.load(db)) {
        if (refusal)
            *refusal = QStringLiteral("This plan is no longer in the data file.");
        return false;
    }
    const QDate next = nextDueAfterSkip(plan, today);
    if (!next.isValid()) {
        if (refusal)
            *refusal = pastLastDate();
        return false;
    }
    CTransaction transaction(db);
    if (!transaction.isActive())
        return false;
    // The task was for the period skipped.
    if (const qint32 open = openOwnTask(db, plan)) {
        CTask task(open);
        if (!task.Delete(db))
            return false;
    } else if (!Store::releaseTask(db, plan.id, plan.taskId)) {
        return false;
    }
    LogEntry entry;
    entry.date = today;
    entry.skipped = true;
    return record(db, plan, entry, next) && transaction.commit();
}

} // namespace Maintenance
