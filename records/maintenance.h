#pragma once
// What keeps maintenance plans and the task list in step. A plan whose next date comes within
// its days ahead makes one active general task; never a second while that one is open, however
// late the plan is. Marking the task done, wherever that happens (the Tasks view, the pool, the
// handheld), records the completion and moves the plan's date; making the same task active
// again takes that completion back.
//
// The task list changes in many places that know nothing of plans, so nothing is done as they
// change it: reconcile() looks at every plan's task afterwards. It runs at start, when the date
// changes, after every change of plans or of a task's status, and after the data file was
// replaced (a restore, the handheld's copy). When nothing needs doing it only reads.

#include "records/maintenance_plan.h"

#include <QDate>
#include <QString>

class CADODataBase;

namespace Maintenance {

struct Outcome
{
    int made = 0; // tasks made for plans that came due
    int completed = 0; // completions recorded from tasks marked done
    int undone = 0; // completions taken back: their task was made active again
    int released = 0; // links dropped: the task had gone, or its id now names another task
    int withdrawn = 0; // tasks removed from plans moved out of their days ahead
    bool failed = false; // the data file refused a change; nothing of this run was kept

    // Whether the task list is not what it was: the Tasks view lists it again.
    bool tasksChanged() const { return made > 0 || undone > 0 || withdrawn > 0; }
    bool changed() const { return tasksChanged() || completed > 0 || released > 0; }
};

// Brings every plan and its task in step, as of today:
// - a plan's task marked done: the completion is recorded (done today) and the date moves on;
// - a task whose completion was recorded and that is active again: the completion is taken back
//   (the entry goes, the date returns) and the task is the plan's again, in place of any task
//   made since;
// - a plan whose task has gone (deleted, here or on the handheld) or whose task id now names
//   another task (the handheld's copy): the link is dropped and a task is made when due;
// - a plan moved out of its days ahead (its date set later by hand): its active task goes;
// - a plan of an existing home within its days ahead and without a task: it gets one.
// All of it lands together or not at all.
Outcome reconcile(CADODataBase &db, const QDate &today);

// Where a plan's date moves when it is done on doneDate: one repeat after doneDate when it
// counts from completion, else to the first date of its calendar after doneDate (or after
// today, for a completion entered late), at least one repeat on. Invalid past 31 December 9999.
QDate nextDueAfter(const Plan &plan, const QDate &doneDate, const QDate &today);

// Records the plan done on date (not after today), at a cost and with notes, and moves its
// date. Its open task is marked done with it, and making that task active again takes the
// completion back. Refused, with the reason for the user in *refusal: a date after today or
// out of range, or a next date past the last one. Run reconcile() afterwards: the plan may be
// due again at once.
bool markDone(CADODataBase &db, Plan &plan, const QDate &date, double cost, const QString &notes,
              const QDate &today, QString *refusal = nullptr);

// Where a plan's date moves when the period due is skipped today: as a completion today would
// move it, but always past the date skipped (a plan counting from completion and not due yet
// moves one repeat on from its date).
QDate nextDueAfterSkip(const Plan &plan, const QDate &today);

// Records the period as skipped (today) and moves the date (nextDueAfterSkip). The plan's open
// task, made for the skipped period, goes.
bool skip(CADODataBase &db, Plan &plan, const QDate &today, QString *refusal = nullptr);

} // namespace Maintenance
