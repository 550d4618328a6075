#pragma once
// Maintenance plans: work on a home that repeats (the furnace filter every three months, the
// smoke alarms' batteries every year), each for an asset, a location or the whole home. One
// row of Schedules each; what was done or skipped is kept in ScheduleLog. Both tables are the
// program's own (keyed by the engine, never sent to the handheld).
//
// A plan works through the program's general tasks: once its next date comes within its days
// ahead, it makes one active task (maintenance.h), and the task being marked done records the
// completion and moves the date on.

#include "records/maintenance_dates.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <vector>

class CADODataBase;
class CComboModel;

namespace Maintenance {

constexpr qint32 kDefaultLeadDays = 7;
constexpr qint32 kMaxLeadDays = 365;

class Plan
{
public:
    // A new plan of home: every month, counted from the day it is done, due today.
    explicit Plan(qint32 homeId = 0, const QDate &today = QDate::currentDate());

    bool exists() const { return id > 0; }

    // Reads the row; false when the plan is not stored or its row has gone.
    bool load(CADODataBase &db);
    // Stores the plan (a new one takes the next ScheduleId). Refuses what problem() names, and
    // says why in *refusal; false with an empty refusal when the data file failed. An open task
    // follows a changed description and category. Run reconcile() afterwards: the plan may have
    // come due, or moved out of its days ahead (its active task then goes until it is due).
    bool save(CADODataBase &db, QString *refusal = nullptr);
    // Removes the plan and its history. Its open task stays, as an ordinary task.
    bool remove(CADODataBase &db);

    // What is wrong with the plan as it stands, for the user; empty when it may be saved.
    QString problem(CADODataBase &db) const;

    // How it repeats; the anchor day of a fixed plan is the one it was given, a plan counted
    // from completion keeps the day of its next date.
    Cadence cadence() const;
    // The text of its task: "Replace furnace filter — Furnace", the description alone for the
    // whole home.
    QString taskText(const QString &forWhat) const;

    qint32 id = 0; // ScheduleId
    qint32 homeId = 0;
    qint32 assetId = 0; // 0: none
    qint32 areaId = 0; // 0: none; with neither, the whole home
    QString description;
    qint32 every = 1;
    qint32 unit = Months;
    bool fromCompletion = true; // else fixed: the dates stay on the calendar
    QDate nextDue;
    qint32 anchorDay = 0; // a fixed plan's day of the month; 0 takes nextDue's
    qint32 leadDays = kDefaultLeadDays;
    qint32 taskId = 0; // the open task; 0 none
    qint32 doneTaskId = 0; // the task whose completion was recorded last, while it may be undone
    qint32 categoryId = 0; // task category
    QString notes;
    QString uid; // the calendar's identifier of the plan, made when it is first saved
};

// The parts of Plan::problem() a sheet checks as its fields are left.
QString everyProblem(qint32 every);
QString leadDaysProblem(qint32 leadDays);

// What a plan is for, as one value: an asset's id, a location's id negated, 0 for the whole
// home.
qint32 targetOf(const Plan &plan);
void setTarget(Plan &plan, qint32 target);
// The choices of a home: "(whole home)", its locations ("Kitchen (location)"), then its assets
// but the video titles, each by description; target selected.
void fillTargets(CADODataBase &db, CComboModel &combo, qint32 homeId, qint32 target);

// One line of a plan's history.
struct LogEntry
{
    qint32 id = 0; // LogId
    qint32 planId = 0;
    QDate date;
    bool skipped = false;
    double cost = 0;
    QString notes;
    qint32 taskId = 0; // the task whose completion this records; 0 for none
    QDate previousDue; // the next date before this entry moved it
};

// A plan as the lists show it: with what it is for and when it was last done.
struct Row
{
    Plan plan;
    QString forWhat; // the asset's or location's description; empty for the whole home
    QDate lastDone; // invalid when never done
};

// The plans of a home, or of one asset (assetId above 0), by next date then description.
std::vector<Row> rows(CADODataBase &db, qint32 homeId, qint32 assetId = 0);
// A plan's history, the latest first.
std::vector<LogEntry> history(CADODataBase &db, qint32 planId);

// What the Today view says of a home's plans: how many are overdue (their date has passed)
// and how many are due from today through kSoonDays from now.
constexpr int kSoonDays = 7;
struct DueCounts
{
    int overdue = 0;
    int soon = 0;
};
DueCounts dueCounts(CADODataBase &db, qint32 homeId, const QDate &today);
// "2 maintenance tasks overdue, 1 due within 7 days"; empty when both are 0.
QString todayLine(const DueCounts &counts);

} // namespace Maintenance
