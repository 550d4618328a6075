#pragma once
// How plans and their history sit in Schedules and ScheduleLog, shared by the plan record and
// the operations on plans. Not for use outside the maintenance files.
//
// A plan's task is an ordinary general task that carries the plan's id in Custom1, the column
// general tasks leave unused: after the handheld's copy has replaced the Tasks table, a task id
// may name another task, and only the mark tells the plan's own task from it.

#include <QDate>
#include <QtGlobal>

class CADODataBase;
class CADORecordset;

namespace Maintenance {

class Plan;
struct LogEntry;

namespace Store {

// Dates as the data file keeps them (whole days since 30 December 1899), and back.
double dayNumber(const QDate &date);
QDate dateOf(double days);

void read(CADORecordset &rs, Plan &plan);
void read(CADORecordset &rs, LogEntry &entry);
// Writes every column of the open row and updates it.
bool write(CADORecordset &rs, const Plan &plan);
bool write(CADORecordset &rs, const LogEntry &entry);

// Runs insertStatement (its "%ld" = value) and returns the new row's key; 0 on failure.
qint32 insertRow(CADODataBase &db, const char *insertStatement, qint32 value);

// Whether taskId is the plan's own task: a general task carrying the plan's mark.
bool isOwnTask(CADODataBase &db, qint32 planId, qint32 taskId);
// Puts the plan's mark on a task.
bool markTask(CADODataBase &db, qint32 planId, qint32 taskId);
// Takes the mark off the plan's task, when it has it: the task becomes an ordinary one.
bool releaseTask(CADODataBase &db, qint32 planId, qint32 taskId);
// Takes the mark off every task of a plan that is going.
bool releaseAll(CADODataBase &db, qint32 planId);

} // namespace Store
} // namespace Maintenance
