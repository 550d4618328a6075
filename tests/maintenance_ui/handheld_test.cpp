// Plans across the handheld: the desktop's data copied to the device (the real service
// stand-ins), the tasks changed there as the handheld program would, and copied back. The plans
// stay whole and find their tasks again: done there is done, deleted there is made again, an
// id the handheld gave to another task is let go.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "controls/auto_list_ctrl.h"
#include "format/string_table.h"
#include "records/maintenance.h"
#include "records/task.h"
#include "sync/sync_fixture.h"
#include "views/tasks_view.h"

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

using namespace Maintenance;
using namespace SyncTest;

namespace {

class MaintenanceHandheld : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Maple Street House") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
        CADODataBase db;
        ASSERT_TRUE(db.Open(run.env.dataFile()));
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description) "
                                              "VALUES (10, 1, 'Furnace');")));
        for (const char *description :
             { "Replace furnace filter", "Test smoke alarms", "Clean gutters" })
            planIds.push_back(seed(db, QString::fromLatin1(description), today));
        // Not due for a year, with a completion in its history.
        planIds.push_back(seed(db, QStringLiteral("Sweep chimney"), today.addYears(1)));
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO ScheduleLog (ScheduleId, Done, Cost) "
                                              "VALUES (%1, 45000, 120);")
                                   .arg(planIds.back())));
    }

    qint32 seed(CADODataBase &db, const QString &description, const QDate &due)
    {
        Plan plan(1, today);
        plan.description = description;
        plan.assetId = 10;
        plan.every = 1;
        plan.unit = Years;
        plan.nextDue = due;
        EXPECT_TRUE(plan.save(db));
        return plan.id;
    }

    Plan plan(int index)
    {
        Plan found;
        found.id = planIds[size_t(index)];
        EXPECT_TRUE(found.load(run.app->database()));
        return found;
    }

    void sync(bool toDesktop)
    {
        run.ui.onNextDialog([toDesktop](QDialog &dialog) {
            if (toDesktop) {
                ASSERT_TRUE(Fill::click(dialog, QStringLiteral("toDesktop")));
            }
            ASSERT_TRUE(Fill::click(dialog, QStringLiteral("sync")));
        });
        run.frame().action(Command::Sync)->trigger();
        ASSERT_EQ(run.ui.pendingScripts(), 0);
    }

    // The rows of the program's own tables, whole: every column of every row.
    QStringList addedRows()
    {
        QStringList rows;
        for (const char *sql : { "SELECT * FROM Schedules ORDER BY ScheduleId;",
                                 "SELECT * FROM ScheduleLog ORDER BY LogId;" }) {
            CADORecordset rs(run.app->database());
            EXPECT_TRUE(rs.Open(QString::fromLatin1(sql)));
            for (; !rs.IsEof(); rs.MoveNext()) {
                QStringList cells;
                for (int i = 0; i < rs.GetFieldCount(); ++i) {
                    QString cell;
                    rs.GetString(i, cell);
                    cells << cell;
                }
                rows << cells.join(QLatin1Char('|'));
            }
        }
        return rows;
    }

    const QDate today = QDate::currentDate();
    std::vector<qint32> planIds;
    ProgramRun run;
};

TEST_F(MaintenanceHandheld, PlansFindTheirTasksAgainAfterTheHandheldsCopy)
{
    registerService();
    setUpDevice();
    CMainFrame &frame = run.start();
    const qint32 filterTask = plan(0).taskId;
    const qint32 alarmTask = plan(1).taskId;
    const qint32 gutterTask = plan(2).taskId;
    ASSERT_GT(filterTask, 0);
    ASSERT_GT(alarmTask, 0);
    ASSERT_GT(gutterTask, 0);
    sync(false);
    ASSERT_EQ(run.ui.messageTexts().last(), Strings::load(Strings::SyncToDeviceDone));
    {
        // The handheld has the tasks and the id counters, and nothing of the plans.
        CADODataBase device;
        ASSERT_TRUE(device.Open(deviceFile()));
        CADORecordset rs(device);
        EXPECT_FALSE(rs.Open(QStringLiteral("SELECT COUNT(*) FROM Schedules;")));
        // On the handheld: the filter done, the alarms' task deleted, the gutters' task deleted
        // and its id given to a task of the handheld's own.
        ASSERT_TRUE(device.Execute(
            QStringLiteral("UPDATE Tasks SET Status=2 WHERE TaskId=%1;").arg(filterTask)));
        ASSERT_TRUE(device.Execute(QStringLiteral("DELETE FROM Tasks WHERE TaskId IN (%1, %2);")
                                       .arg(alarmTask)
                                       .arg(gutterTask)));
        ASSERT_TRUE(device.Execute(QStringLiteral("INSERT INTO Tasks (TaskId, Description, "
                                                  "TaskType, Status, Custom1) VALUES (%1, 'Buy "
                                                  "stamps', 1, 1, 0);")
                                       .arg(gutterTask)));
    }
    const QStringList before = addedRows();

    sync(true);
    ASSERT_EQ(run.ui.messageTexts().last(), Strings::load(Strings::SyncToDesktopDone));
    // Done on the handheld: completed the day it came back, a year on from today.
    EXPECT_EQ(plan(0).nextDue, today.addYears(1));
    EXPECT_EQ(plan(0).taskId, 0);
    ASSERT_EQ(history(run.app->database(), planIds[0]).size(), 1u);
    EXPECT_EQ(history(run.app->database(), planIds[0])[0].date, today);
    // Deleted on the handheld: made again, still due.
    EXPECT_GT(plan(1).taskId, 0);
    EXPECT_NE(plan(1).taskId, alarmTask);
    // Its id now the handheld's own task: that task is left alone, the plan makes its own.
    EXPECT_GT(plan(2).taskId, 0);
    EXPECT_NE(plan(2).taskId, gutterTask);
    CTask stamps(gutterTask);
    ASSERT_TRUE(stamps.Load(run.app->database()));
    EXPECT_EQ(stamps.m_strDescription, QStringLiteral("Buy stamps"));
    EXPECT_EQ(stamps.m_nStatus, CTask::Active);
    // The plan not yet due, and its history, come through whole.
    EXPECT_EQ(addedRows().filter(QStringLiteral("Sweep chimney")),
              before.filter(QStringLiteral("Sweep chimney")));
    EXPECT_EQ(addedRows().size(), before.size() + 1); // the filter's completion
    EXPECT_TRUE(addedRows().contains(before.last())); // the chimney's old completion

    // The Tasks view lists what the desktop now holds: the stamps and the two tasks made again.
    frame.action(Command::TasksView)->trigger();
    QStringList listed;
    for (int row = 0; row < frame.tasksView()->list()->GetItemCount(); ++row)
        listed << frame.tasksView()->list()->GetItemText(row, 0);
    EXPECT_EQ(
        listed,
        (QStringList { QStringLiteral("Buy stamps"), QStringLiteral("Clean gutters \u2014 Furnace"),
                       QStringLiteral("Replace furnace filter \u2014 Furnace"),
                       QStringLiteral("Test smoke alarms \u2014 Furnace") }));
}

} // namespace
