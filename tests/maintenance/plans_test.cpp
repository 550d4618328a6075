// Maintenance plans in a real data file: what is refused, the task a due plan makes, what
// marking it done (and active again) records, and what deleting takes along.
#include "db/added_tables.h"
#include "format/display_text.h"
#include "records/asset.h"
#include "records/home.h"
#include "records/home_figures.h"
#include "records/maintenance.h"
#include "records/task.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

using namespace Maintenance;

namespace {

const QDate kToday(2024, 3, 12);

class MaintenancePlans : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Maple'), "
                           "(2, 'Cabin');"));
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description) VALUES "
                           "(10, 1, 'Furnace'), (20, 2, 'Boat');"));
        run(QStringLiteral("INSERT INTO Areas (AreaId, HomeId, Description) VALUES "
                           "(5, 1, 'Roof');"));
    }
    void TearDown() override { resetUserLocale(); }

    Plan stored(const QString &description, const QDate &nextDue, bool fromCompletion = true,
                qint32 every = 3, Unit unit = Months, qint32 assetId = 10)
    {
        Plan plan(1, kToday);
        plan.description = description;
        plan.assetId = assetId;
        plan.every = every;
        plan.unit = unit;
        plan.fromCompletion = fromCompletion;
        plan.nextDue = nextDue;
        plan.categoryId = 23; // Maintenance, a task category of every new file
        plan.notes = QStringLiteral("MERV 8, 16x25x1");
        QString refusal;
        EXPECT_TRUE(plan.save(db, &refusal)) << refusal.toStdString();
        return plan;
    }

    Plan reloaded(const Plan &plan)
    {
        Plan fresh;
        fresh.id = plan.id;
        EXPECT_TRUE(fresh.load(db));
        return fresh;
    }

    // The plan's tasks (those carrying its mark), as "status description" in id order.
    QStringList tasksOf(const Plan &plan)
    {
        QStringList found;
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(QStringLiteral("SELECT Status, Description FROM Tasks WHERE "
                                           "Custom1=%1 ORDER BY TaskId;")
                                .arg(plan.id)));
        for (; !rs.IsEof(); rs.MoveNext()) {
            qint32 status = 0;
            QString text;
            rs.GetLong(0, status);
            rs.GetString(1, text);
            found << QStringLiteral("%1 %2").arg(status).arg(text);
        }
        return found;
    }

    // The plan's history as "date[ skipped] previous-due".
    QStringList historyOf(const Plan &plan)
    {
        QStringList lines;
        for (const LogEntry &entry : history(db, plan.id))
            lines << entry.date.toString(Qt::ISODate) + (entry.skipped ? " skipped " : " ")
                    + entry.previousDue.toString(Qt::ISODate);
        return lines;
    }

    void setStatus(qint32 taskId, qint32 status)
    {
        CTask task(taskId);
        ASSERT_TRUE(task.SetStatus(db, status));
    }
};

TEST_F(MaintenancePlans, WhatCannotBeSavedIsRefusedWithAReasonAndNothingStored)
{
    Plan plan(1, kToday);
    plan.description = QStringLiteral("Replace furnace filter");
    const auto refusal = [&](auto change) {
        Plan changed = plan;
        change(changed);
        QString why;
        EXPECT_FALSE(changed.save(db, &why));
        EXPECT_FALSE(changed.exists());
        return why;
    };
    EXPECT_EQ(refusal([](Plan &p) { p.every = 0; }),
              QStringLiteral("How often the plan repeats must be a whole number from 1 to 999: "
                             "every 0 would never come round again."));
    EXPECT_TRUE(refusal([](Plan &p) { p.every = -2; }).contains(QStringLiteral("every -2")));
    EXPECT_EQ(refusal([](Plan &p) { p.nextDue = QDate(1700, 1, 1); }),
              QStringLiteral("The next due date must lie between Jan 1, 1753 and Dec 31, 9999."));
    EXPECT_FALSE(refusal([](Plan &p) { p.nextDue = QDate(); }).isEmpty());
    EXPECT_TRUE(refusal([](Plan &p) {
                    p.assetId = 20;
                }).startsWith(QStringLiteral("The asset chosen belongs to another home")));
    EXPECT_FALSE(refusal([](Plan &p) { p.leadDays = -1; }).isEmpty());
    EXPECT_FALSE(refusal([](Plan &p) { p.description = QStringLiteral("  "); }).isEmpty());
    EXPECT_FALSE(refusal([](Plan &p) { p.homeId = 3; }).isEmpty());
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Schedules;")), 0);

    // What is right is stored whole, with an identifier for calendars that stays.
    plan.assetId = 10;
    plan.unit = Years;
    plan.fromCompletion = false;
    plan.nextDue = QDate(2024, 2, 29);
    ASSERT_TRUE(plan.save(db));
    const Plan back = reloaded(plan);
    EXPECT_EQ(back.description, plan.description);
    EXPECT_EQ(back.assetId, 10);
    EXPECT_EQ(back.unit, Years);
    EXPECT_FALSE(back.fromCompletion);
    EXPECT_EQ(back.nextDue, QDate(2024, 2, 29));
    EXPECT_EQ(back.anchorDay, 29);
    EXPECT_EQ(back.leadDays, kDefaultLeadDays);
    EXPECT_FALSE(back.uid.isEmpty());
    Plan again = back;
    ASSERT_TRUE(again.save(db));
    EXPECT_EQ(reloaded(again).uid, back.uid);
}

TEST_F(MaintenancePlans, ADuePlanMakesOneTaskAndOverduePlansDoNotPileUp)
{
    const Plan late = stored(QStringLiteral("Replace furnace filter"), kToday.addYears(-2));
    Plan later = stored(QStringLiteral("Clean gutters"), kToday.addDays(8), true, 1, Years, 0);
    later.areaId = 5;
    ASSERT_TRUE(later.save(db));

    Outcome outcome = reconcile(db, kToday);
    EXPECT_EQ(outcome.made, 1);
    EXPECT_EQ(tasksOf(late),
              QStringList { QStringLiteral("1 Replace furnace filter \u2014 Furnace") });
    CTask task(reloaded(late).taskId);
    ASSERT_TRUE(task.Load(db));
    EXPECT_EQ(task.m_nTaskType, CTask::GeneralTask);
    EXPECT_EQ(task.m_nCustom2, 23);
    EXPECT_EQ(task.m_strNotes, QStringLiteral("MERV 8, 16x25x1"));
    // It counts as an active task as any other does.
    EXPECT_EQ(TaskList::activeCount(db, TaskList::AllTasks), 1);

    // Day after day the overdue plan keeps its one task; the other wakes 7 days ahead.
    for (int day = 1; day <= 3; ++day)
        EXPECT_EQ(reconcile(db, kToday.addDays(day)).made, day == 1 ? 1 : 0) << day;
    EXPECT_EQ(tasksOf(late).size(), 1);
    EXPECT_EQ(tasksOf(later), QStringList { QStringLiteral("1 Clean gutters \u2014 Roof") });

    // Nothing left to do: nothing written, the file's stamp stays.
    const QByteArray stamp = HomeFigures::fileStamp(db);
    ASSERT_FALSE(stamp.isEmpty());
    EXPECT_FALSE(reconcile(db, kToday.addDays(3)).changed());
    EXPECT_EQ(HomeFigures::fileStamp(db), stamp);

    // The Today line counts by date.
    const DueCounts counts = dueCounts(db, 1, kToday.addDays(3));
    EXPECT_EQ(counts.overdue, 1);
    EXPECT_EQ(counts.soon, 1);
    EXPECT_EQ(todayLine(counts), QStringLiteral("1 maintenance task overdue, 1 due within 7 days"));
    EXPECT_EQ(todayLine({ 0, 3 }), QStringLiteral("3 maintenance tasks due within 7 days"));
    EXPECT_EQ(todayLine({ 2, 0 }), QStringLiteral("2 maintenance tasks overdue"));
    EXPECT_EQ(todayLine({}), QString());
    EXPECT_EQ(todayLine(dueCounts(db, 2, kToday)), QString());
}

TEST_F(MaintenancePlans, DoneMovesTheDateOnceAndActiveAgainTakesItBack)
{
    // Fixed, every month from 31 January, its days ahead already begun.
    const Plan fixed = stored(QStringLiteral("Test smoke alarms"), QDate(2024, 1, 31), false, 1);
    reconcile(db, kToday);
    const qint32 first = reloaded(fixed).taskId;
    ASSERT_GT(first, 0);

    // Done (12 March): the calendar's next date after today, 31 March; its days ahead have
    // not begun, so no task yet.
    setStatus(first, CTask::Done);
    Outcome outcome = reconcile(db, kToday);
    EXPECT_EQ(outcome.completed, 1);
    EXPECT_EQ(reloaded(fixed).nextDue, QDate(2024, 3, 31));
    EXPECT_EQ(historyOf(fixed), QStringList { QStringLiteral("2024-03-12 2024-01-31") });
    EXPECT_FALSE(reconcile(db, kToday).changed());

    // Clicked active again: the completion goes, the date comes back, the task is the plan's.
    setStatus(first, CTask::Active);
    outcome = reconcile(db, kToday);
    EXPECT_EQ(outcome.undone, 1);
    EXPECT_EQ(reloaded(fixed).nextDue, QDate(2024, 1, 31));
    EXPECT_EQ(reloaded(fixed).taskId, first);
    EXPECT_TRUE(historyOf(fixed).isEmpty());
    // And done again: one completion, the date moved once.
    setStatus(first, CTask::Done);
    reconcile(db, kToday);
    EXPECT_EQ(historyOf(fixed).size(), 1);
    EXPECT_EQ(reloaded(fixed).nextDue, QDate(2024, 3, 31));

    // Every week, counted from the day done: due again within its days ahead at once, so a new
    // task comes with the completion; active again, the old task is the one left.
    const Plan weekly =
        stored(QStringLiteral("Clean dryer vent"), kToday.addDays(-1), true, 1, Weeks);
    reconcile(db, kToday);
    const qint32 weekTask = reloaded(weekly).taskId;
    setStatus(weekTask, CTask::Done);
    outcome = reconcile(db, kToday);
    EXPECT_EQ(outcome.completed, 1);
    EXPECT_EQ(outcome.made, 1);
    EXPECT_EQ(reloaded(weekly).nextDue, kToday.addDays(7));
    EXPECT_EQ(tasksOf(weekly),
              (QStringList { QStringLiteral("2 Clean dryer vent \u2014 Furnace"),
                             QStringLiteral("1 Clean dryer vent \u2014 Furnace") }));
    setStatus(weekTask, CTask::Active);
    EXPECT_TRUE(reconcile(db, kToday).tasksChanged());
    EXPECT_EQ(tasksOf(weekly), QStringList { QStringLiteral("1 Clean dryer vent \u2014 Furnace") });
    EXPECT_EQ(reloaded(weekly).taskId, weekTask);
    EXPECT_EQ(reloaded(weekly).nextDue, kToday.addDays(-1));
    EXPECT_TRUE(historyOf(weekly).isEmpty());

    // Clearing completed tasks back into the pool keeps the history.
    setStatus(weekTask, CTask::Done);
    reconcile(db, kToday);
    ASSERT_EQ(historyOf(weekly).size(), 1);
    EXPECT_GT(TaskList::clear(db, true), 0);
    reconcile(db, kToday);
    EXPECT_EQ(historyOf(weekly).size(), 1);
    EXPECT_EQ(reloaded(weekly).nextDue, kToday.addDays(7));
}

TEST_F(MaintenancePlans, ATaskGoneOrItsIdGivenToAnotherIsMadeAgain)
{
    const Plan plan = stored(QStringLiteral("Replace furnace filter"), kToday);
    reconcile(db, kToday);
    const qint32 first = reloaded(plan).taskId;

    // Deleted (in the pool, or on the handheld): made again, as it is still due.
    CTask(first).Delete(db);
    Outcome outcome = reconcile(db, kToday);
    EXPECT_EQ(outcome.released, 1);
    EXPECT_EQ(outcome.made, 1);
    const qint32 second = reloaded(plan).taskId;
    EXPECT_GT(second, first);
    EXPECT_EQ(tasksOf(plan).size(), 1);

    // Its id now names another task (the handheld's copy): that task is left as it is, done or
    // not, and the plan makes its own.
    run(QStringLiteral("UPDATE Tasks SET Description='Buy stamps', Custom1=0, Status=2 WHERE "
                       "TaskId=%1;")
            .arg(second));
    outcome = reconcile(db, kToday);
    EXPECT_EQ(outcome.released, 1);
    EXPECT_EQ(outcome.completed, 0);
    EXPECT_TRUE(historyOf(plan).isEmpty());
    EXPECT_NE(reloaded(plan).taskId, second);
    EXPECT_EQ(number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1;").arg(second)), 2);
    EXPECT_EQ(tasksOf(plan).size(), 1);

    // A plan moved out of its days ahead by hand loses its untouched task, and gets it back
    // when due.
    Plan moved = reloaded(plan);
    moved.nextDue = kToday.addMonths(2);
    ASSERT_TRUE(moved.save(db));
    EXPECT_EQ(reconcile(db, kToday).withdrawn, 1);
    EXPECT_TRUE(tasksOf(plan).isEmpty());
    EXPECT_EQ(reconcile(db, kToday.addMonths(2).addDays(-7)).made, 1);
}

TEST_F(MaintenancePlans, MarkDoneAndSkipRecordAndMoveTheDate)
{
    Plan plan = stored(QStringLiteral("Replace furnace filter"), kToday.addDays(2));
    reconcile(db, kToday);
    const qint32 task = reloaded(plan).taskId;

    QString why;
    EXPECT_FALSE(markDone(db, plan, kToday.addDays(1), 0, QString(), kToday, &why));
    EXPECT_EQ(why, QStringLiteral("The day it was done cannot be after today."));
    EXPECT_FALSE(markDone(db, plan, kToday, -5, QString(), kToday, &why));
    EXPECT_TRUE(historyOf(plan).isEmpty());

    // Done two days ago (early): three months from that day; its task is done with it.
    ASSERT_TRUE(markDone(db, plan, kToday.addDays(-2), 24.5, QStringLiteral("Filter in garage"),
                         kToday, &why))
        << why.toStdString();
    EXPECT_EQ(reloaded(plan).nextDue, kToday.addDays(-2).addMonths(3));
    EXPECT_EQ(number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1;").arg(task)), 2);
    const std::vector<LogEntry> entries = history(db, plan.id);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].cost, 24.5);
    EXPECT_EQ(entries[0].notes, QStringLiteral("Filter in garage"));
    EXPECT_EQ(reconcile(db, kToday).changed(), false);
    // Skipping the next date, not due yet, moves it one repeat on.
    ASSERT_TRUE(skip(db, plan, kToday, &why));
    EXPECT_EQ(reloaded(plan).nextDue, kToday.addDays(-2).addMonths(3).addMonths(3));

    // Skipped: a fixed plan years late moves once, to the next date after today, and its task
    // for the skipped period goes.
    Plan yearly = stored(QStringLiteral("Sweep chimney"), QDate(2019, 10, 31), false, 1, Years);
    reconcile(db, kToday);
    ASSERT_GT(reloaded(yearly).taskId, 0);
    ASSERT_TRUE(skip(db, yearly, kToday, &why));
    EXPECT_EQ(reloaded(yearly).nextDue, QDate(2024, 10, 31));
    EXPECT_TRUE(tasksOf(yearly).isEmpty());
    EXPECT_EQ(historyOf(yearly), QStringList { QStringLiteral("2024-03-12 skipped 2019-10-31") });
    EXPECT_EQ(reconcile(db, kToday).made, 0);
}

TEST_F(MaintenancePlans, DeletingAPlanLeavesItsTaskAndAnAssetOrHomeTakesItsPlans)
{
    const Plan first = stored(QStringLiteral("Replace furnace filter"), kToday);
    const Plan second = stored(QStringLiteral("Bleed radiators"), kToday.addDays(-30));
    Plan cabin(2, kToday);
    cabin.description = QStringLiteral("Winterize boat");
    cabin.assetId = 20;
    ASSERT_TRUE(cabin.save(db));
    reconcile(db, kToday);
    Plan done = second;
    ASSERT_TRUE(markDone(db, done, kToday, 0, QString(), kToday));
    reconcile(db, kToday);
    const qint32 kept = reloaded(first).taskId;

    // The plan goes with its history; its task stays, an ordinary task now.
    ASSERT_TRUE(reloaded(first).remove(db));
    EXPECT_EQ(number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1;").arg(kept)), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT Custom1 FROM Tasks WHERE TaskId=%1;").arg(kept)), 0);

    // The asset takes its plans and their history along, not its tasks.
    const int tasks = number(QStringLiteral("SELECT COUNT(*) FROM Tasks;"));
    CAsset furnace(10);
    ASSERT_TRUE(furnace.Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Schedules WHERE HomeId=1;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM ScheduleLog;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks;")), tasks);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Custom1<>0;")), 1);

    // And the home its own.
    CHome home(2);
    ASSERT_TRUE(home.Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Schedules;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Custom1<>0;")), 0);
    EXPECT_FALSE(reconcile(db, kToday).changed());
}

TEST_F(MaintenancePlans, AFileWithoutTheTablesGetsThemWhenOpened)
{
    stored(QStringLiteral("Replace furnace filter"), kToday);
    run(QStringLiteral("DROP TABLE Schedules;"));
    run(QStringLiteral("DROP TABLE ScheduleLog;"));
    EXPECT_FALSE(reconcile(db, kToday).changed());
    ASSERT_TRUE(AddedTables::ensure(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Schedules;")), 0);
    // The start-up check reads the indexes alone.
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("EXPLAIN QUERY PLAN SELECT ScheduleId FROM Schedules s "
                                       "WHERE s.TaskId=0 AND s.NextDue-s.LeadDays<45000;"),
                        CADORecordset::openQuery));
    QString detail;
    for (; !rs.IsEof(); rs.MoveNext()) {
        QString step;
        rs.GetString(3, step);
        detail += step;
    }
    EXPECT_TRUE(detail.contains(QStringLiteral("SchedulesWaking"))) << detail.toStdString();
}

} // namespace
