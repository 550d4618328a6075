#include "records/maintenance_plan.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "format/display_text.h"
#include "platform/ole_date.h"
#include "records/maintenance_store.h"
#include "records/task.h"

#include <QUuid>

#include <algorithm>

namespace Maintenance {

namespace {

const char *const kLoadStatement = "SELECT * FROM Schedules WHERE ScheduleId=%ld;";

// What the plan's asset or location is called, when it belongs to the plan's home.
QString forWhatOf(CADODataBase &db, const Plan &plan)
{
    const char *statement = plan.assetId > 0
        ? "SELECT Description FROM Assets WHERE AssetId=%ld AND HomeId=%ld;"
        : "SELECT Description FROM Areas WHERE AreaId=%ld AND HomeId=%ld;";
    const qint32 id = plan.assetId > 0 ? plan.assetId : plan.areaId;
    QString name;
    CADORecordset rs(db);
    if (id > 0 && rs.Open(sqlText(statement, long(id), long(plan.homeId))) && !rs.IsEof())
        rs.GetString(0, name);
    return name;
}

bool rowExists(CADODataBase &db, const QString &sql)
{
    CADORecordset rs(db);
    return rs.Open(sql) && !rs.IsEof();
}

} // namespace

Plan::Plan(qint32 home, const QDate &today)
    : homeId(home)
    , nextDue(today)
{
}

bool Plan::load(CADODataBase &db)
{
    if (!exists())
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText(kLoadStatement, long(id))) || rs.IsEof())
        return false;
    Store::read(rs, *this);
    return true;
}

Cadence Plan::cadence() const
{
    Cadence cadence;
    cadence.every = every;
    cadence.unit = isUnit(unit) ? Unit(unit) : Months;
    const bool anchorFits = anchorDay >= 1 && anchorDay <= 31 && nextDue.isValid()
        && std::min(int(anchorDay), nextDue.daysInMonth()) == nextDue.day();
    cadence.anchorDay = !fromCompletion && anchorFits ? anchorDay
        : nextDue.isValid()                           ? nextDue.day()
                                                      : 1;
    return cadence;
}

QString Plan::taskText(const QString &forWhat) const
{
    if (forWhat.isEmpty())
        return description;
    return description + QStringLiteral(" \u2014 ") + forWhat;
}

QString Plan::problem(CADODataBase &db) const
{
    if (description.trimmed().isEmpty())
        return QStringLiteral("Please enter a description for this plan.");
    if (const QString wrong = everyProblem(every); !wrong.isEmpty())
        return wrong;
    if (!isUnit(unit))
        return QStringLiteral("Please choose days, weeks, months or years.");
    if (!inRange(nextDue))
        return QStringLiteral("The next due date must lie between %1 and %2.")
            .arg(dayText(firstDate()), dayText(lastDate()));
    if (const QString wrong = leadDaysProblem(leadDays); !wrong.isEmpty())
        return wrong;
    if (!rowExists(db, sqlText("SELECT HomeId FROM Homes WHERE HomeId=%ld;", long(homeId))))
        return QStringLiteral("The home of this plan is no longer in the data file.");
    if (assetId > 0
        && !rowExists(db,
                      sqlText("SELECT AssetId FROM Assets WHERE AssetId=%ld AND HomeId=%ld;",
                              long(assetId), long(homeId))))
        return QStringLiteral("The asset chosen belongs to another home, or is no longer in the "
                              "inventory. Please choose one of this home's assets.");
    if (areaId > 0
        && !rowExists(db,
                      sqlText("SELECT AreaId FROM Areas WHERE AreaId=%ld AND HomeId=%ld;",
                              long(areaId), long(homeId))))
        return QStringLiteral("The location chosen belongs to another home, or is no longer in "
                              "the data file. Please choose one of this home's locations.");
    return QString();
}

QString everyProblem(qint32 every)
{
    if (every >= 1 && every <= kMaxEvery)
        return QString();
    return QStringLiteral("How often the plan repeats must be a whole number from 1 to %1: "
                          "every %2 would never come round again.")
        .arg(kMaxEvery)
        .arg(every);
}

QString leadDaysProblem(qint32 leadDays)
{
    if (leadDays >= 0 && leadDays <= kMaxLeadDays)
        return QString();
    return QStringLiteral("The days ahead must be a whole number from 0 to %1.").arg(kMaxLeadDays);
}

qint32 targetOf(const Plan &plan)
{
    if (plan.assetId > 0)
        return plan.assetId;
    return plan.areaId > 0 ? -plan.areaId : 0;
}

void setTarget(Plan &plan, qint32 target)
{
    plan.assetId = target > 0 ? target : 0;
    plan.areaId = target < 0 ? -target : 0;
}

void fillTargets(CADODataBase &db, CComboModel &combo, qint32 homeId, qint32 target)
{
    Lookups::fillCombo(
        db, combo, target,
        sqlText("SELECT -AreaId, Description || ' (location)', 0 AS Kind, Description AS Name FROM "
                "Areas WHERE HomeId=%ld UNION ALL SELECT AssetId, Description, 1, Description FROM "
                "Assets WHERE HomeId=%ld AND CategoryId IS NOT %ld ORDER BY Kind, Name;",
                long(homeId), long(homeId), long(Lookups::kVideoCategoryId)),
        false, QStringLiteral("(whole home)"));
}

bool Plan::save(CADODataBase &db, QString *refusal)
{
    if (refusal)
        refusal->clear();
    const QString wrong = problem(db);
    if (!wrong.isEmpty()) {
        if (refusal)
            *refusal = wrong;
        return false;
    }
    CTransaction transaction(db);
    if (!transaction.isActive())
        return false;
    Plan saved = *this;
    if (!saved.exists()) {
        saved.id = Store::insertRow(db, "INSERT INTO Schedules (HomeId) VALUES (%ld);", homeId);
        if (saved.id <= 0)
            return false;
        saved.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    } else if (saved.uid.isEmpty()) {
        saved.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    }
    saved.anchorDay = saved.cadence().anchorDay;

    CADORecordset rs(db);
    if (!rs.Open(sqlText(kLoadStatement, long(saved.id))) || rs.IsEof())
        return false;
    // A date set by hand replaces whatever the last completion moved it from: that completion
    // can no longer be taken back by making its task active again.
    double storedDue = 0;
    rs.GetDouble(QStringLiteral("NextDue"), storedDue);
    if (storedDue != Store::dayNumber(saved.nextDue))
        saved.doneTaskId = 0;
    if (!Store::write(rs, saved))
        return false;
    rs.Close();

    // The open task follows the plan's text and category.
    if (saved.taskId > 0) {
        CTask task(saved.taskId);
        if (task.Load(db) && Store::isOwnTask(db, saved.id, saved.taskId)
            && task.m_nStatus != CTask::Done) {
            const QString text = saved.taskText(forWhatOf(db, saved));
            if (task.m_strDescription != text || task.m_nCustom2 != saved.categoryId) {
                task.m_strDescription = text;
                task.m_nCustom2 = saved.categoryId;
                if (!task.Save(db))
                    return false;
            }
        }
    }
    if (!transaction.commit())
        return false;
    *this = saved;
    return true;
}

bool Plan::remove(CADODataBase &db)
{
    if (!exists())
        return false;
    CTransaction transaction(db);
    return transaction.isActive() && Store::releaseAll(db, id)
        && db.Execute(sqlText("DELETE FROM ScheduleLog WHERE ScheduleId=%ld;", long(id)))
        && db.Execute(sqlText("DELETE FROM Schedules WHERE ScheduleId=%ld;", long(id)))
        && transaction.commit();
}

std::vector<Row> rows(CADODataBase &db, qint32 homeId, qint32 assetId)
{
    std::vector<Row> found;
    CADORecordset rs(db);
    QString sql = sqlText(
        "SELECT s.*, (SELECT Description FROM Assets a WHERE a.AssetId=s.AssetId AND "
        "a.HomeId=s.HomeId) AS AssetName, (SELECT Description FROM Areas r WHERE "
        "r.AreaId=s.AreaId AND r.HomeId=s.HomeId) AS AreaName, (SELECT MAX(Done) FROM ScheduleLog "
        "l WHERE l.ScheduleId=s.ScheduleId AND l.Skipped=0) AS LastDone FROM Schedules s WHERE "
        "s.HomeId=%ld",
        long(homeId));
    if (assetId > 0)
        sql += sqlText(" AND s.AssetId=%ld", long(assetId));
    sql += QStringLiteral(" ORDER BY s.NextDue, s.Description;");
    if (!rs.Open(sql))
        return found;
    for (; !rs.IsEof(); rs.MoveNext()) {
        Row row;
        Store::read(rs, row.plan);
        QString asset, area;
        rs.GetString(QStringLiteral("AssetName"), asset);
        rs.GetString(QStringLiteral("AreaName"), area);
        row.forWhat = row.plan.assetId > 0 ? asset : area;
        double lastDone = 0;
        if (rs.GetDouble(QStringLiteral("LastDone"), lastDone) && lastDone != 0)
            row.lastDone = Store::dateOf(lastDone);
        found.push_back(std::move(row));
    }
    return found;
}

std::vector<LogEntry> history(CADODataBase &db, qint32 planId)
{
    std::vector<LogEntry> entries;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT * FROM ScheduleLog WHERE ScheduleId=%ld ORDER BY Done DESC, "
                         "LogId DESC;",
                         long(planId))))
        return entries;
    for (; !rs.IsEof(); rs.MoveNext()) {
        LogEntry entry;
        Store::read(rs, entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

DueCounts dueCounts(CADODataBase &db, qint32 homeId, const QDate &today)
{
    DueCounts counts;
    const long day = long(Store::dayNumber(today));
    CADORecordset rs(db);
    // Read from the index of a home's plans by date alone.
    if (!rs.Open(sqlText("SELECT COUNT(CASE WHEN NextDue<%ld THEN 1 END), COUNT(CASE WHEN "
                         "NextDue>=%ld THEN 1 END) FROM Schedules WHERE HomeId=%ld AND "
                         "NextDue<%ld;",
                         day, day, long(homeId), day + kSoonDays + 1))
        || rs.IsEof())
        return counts;
    qint32 overdue = 0, soon = 0;
    rs.GetLong(0, overdue);
    rs.GetLong(1, soon);
    counts.overdue = overdue;
    counts.soon = soon;
    return counts;
}

QString todayLine(const DueCounts &counts)
{
    const auto number = [](int n) { return numberText(float(n), false, false); };
    const QString within = QStringLiteral(" due within %1 days").arg(kSoonDays);
    QString line;
    if (counts.overdue > 0)
        line = number(counts.overdue)
            + (counts.overdue == 1 ? QStringLiteral(" maintenance task overdue")
                                   : QStringLiteral(" maintenance tasks overdue"));
    if (counts.soon < 1)
        return line;
    // Both: the second part borrows the first's noun.
    if (!line.isEmpty())
        return line + QStringLiteral(", ") + number(counts.soon) + within;
    return number(counts.soon)
        + (counts.soon == 1 ? QStringLiteral(" maintenance task")
                            : QStringLiteral(" maintenance tasks"))
        + within;
}

} // namespace Maintenance
