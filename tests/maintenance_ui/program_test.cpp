// Maintenance in the running program: a plan made in Tools > Maintenance becomes a task, the
// Tasks view's click marks it done (and back), the Today line counts and opens the dialog, Mark
// Done, Skip and Export Calendar do what they say, and due plans get their tasks at start and
// when the date changes.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "format/display_text.h"
#include "records/maintenance.h"
#include "sheets/maintenance_dialog.h"
#include "sheets/maintenance_panel.h"
#include "support/file_facts.h"
#include "support/screenshots.h"
#include "views/inventory_view.h"
#include "views/tasks_view.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace Maintenance;

namespace {

const QString kFilterTask = QStringLiteral("Replace furnace filter \u2014 Furnace");

int rowOf(const CAutoListCtrl &list, const QString &text)
{
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetItemText(row, 0) == text)
            return row;
    }
    return -1;
}

void clickRow(CAutoListCtrl &list, int row)
{
    ASSERT_GE(row, 0);
    const QRect cell = list.visualRect(list.model()->index(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
}

// Every control a person can reach has a name a screen reader reads, and every list names its
// columns.
void expectNamed(QWidget &root, const QString &where)
{
    for (QWidget *w : root.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&root))
            continue;
        const bool inBox = qobject_cast<QAbstractSpinBox *>(w->parentWidget())
            || qobject_cast<QComboBox *>(w->parentWidget());
        if (!(qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w)
              || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QAbstractItemView *>(w)
              || (qobject_cast<QLineEdit *>(w) && !inBox)))
            continue;
        if (qobject_cast<QAbstractItemView *>(w) && !w->focusPolicy())
            continue; // a combo box's own popup list
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(iface, nullptr);
        EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty())
            << (where + QLatin1Char(' ') + w->objectName() + QLatin1Char(' ')
                + w->metaObject()->className())
                   .toStdString();
        if (auto *list = qobject_cast<CAutoListCtrl *>(w)) {
            QAccessibleTableInterface *table = iface->tableInterface();
            ASSERT_NE(table, nullptr);
            for (int col = 0; col < list->GetColumnCount(); ++col)
                EXPECT_FALSE(table->columnDescription(col).isEmpty()) << col;
        }
    }
}

class MaintenanceInProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        run.seedHomes({ { 1, QStringLiteral("Maple Street House") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
        CADODataBase db;
        ASSERT_TRUE(db.Open(run.env.dataFile()));
        ASSERT_TRUE(db.Execute(QStringLiteral(
            "INSERT INTO Assets (AssetId, HomeId, Description, CategoryId) VALUES "
            "(10, 1, 'Furnace', 1), (11, 1, 'Dishwasher', 1), (12, 1, 'Agent Juniper', 19);")));
        ASSERT_TRUE(db.Execute(
            QStringLiteral("INSERT INTO Areas (AreaId, HomeId, Description) VALUES (5, 1, "
                           "'Roof');")));
    }
    void TearDown() override { resetUserLocale(); }

    // A plan stored before the program starts.
    qint32 seedPlan(const QString &description, const QDate &nextDue, qint32 assetId = 10)
    {
        CADODataBase db;
        EXPECT_TRUE(db.Open(run.env.dataFile()));
        Plan plan(1, today);
        plan.description = description;
        plan.assetId = assetId;
        plan.nextDue = nextDue;
        QString refusal;
        EXPECT_TRUE(plan.save(db, &refusal)) << refusal.toStdString();
        return plan.id;
    }

    Plan planOf(qint32 id)
    {
        Plan plan;
        plan.id = id;
        EXPECT_TRUE(plan.load(run.app->database()));
        return plan;
    }

    qint32 number(const QString &sql)
    {
        CADORecordset rs(run.app->database());
        EXPECT_TRUE(rs.Open(sql)) << sql.toStdString();
        qint32 n = -1;
        if (!rs.IsEof())
            rs.GetLong(0, n);
        return n;
    }

    CTasksView &tasksView()
    {
        run.frame().action(Command::TasksView)->trigger();
        QApplication::processEvents();
        return *run.frame().tasksView();
    }

    const QDate today = QDate::currentDate();
    ProgramRun run;
};

TEST_F(MaintenanceInProgram, APlanBecomesATaskWhoseClickMovesItAndTheTodayLineFollows)
{
    CMainFrame &frame = run.start();
    frame.resize(760, 560);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    CTodayView &todayView = *frame.todayView();
    EXPECT_TRUE(frame.isCommandEnabled(Command::Maintenance));
    EXPECT_TRUE(todayView.maintenanceLine()->isHidden());

    // Tools > Maintenance: a new plan, refused while it would repeat every 0 months.
    run.ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Maintenance"));
        auto &panel = *static_cast<Dialog &>(dialog).panel();
        EXPECT_EQ(panel.plans()->GetItemCount(), 0);
        EXPECT_FALSE(dialog.findChild<QWidget *>("exportCalendar")->isEnabled());
        run.ui.onNextDialog([&](QDialog &sheet) {
            EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Maintenance Plan"));
            // The choices: the whole home, its locations, its assets but the video titles.
            auto *forWhat = sheet.findChild<QComboBox *>("forWhat");
            QStringList choices;
            for (int i = 0; i < forWhat->count(); ++i)
                choices << forWhat->itemText(i);
            EXPECT_EQ(choices,
                      (QStringList { "(whole home)", "Roof (location)", "Dishwasher", "Furnace" }));
            Fill::text(sheet, "description", QStringLiteral("Replace furnace filter"));
            ASSERT_TRUE(Fill::text(sheet, "forWhat", QStringLiteral("Furnace")));
            Fill::text(sheet, "every", QStringLiteral("0"));
            sheet.findChild<QDateEdit *>("nextDue")->setDate(today.addDays(3));
            Fill::click(sheet, "ok");
            ASSERT_TRUE(sheet.isVisible());
            EXPECT_EQ(run.ui.messageTexts().last(),
                      everyProblem(0)); // said once, the sheet still open
            Fill::text(sheet, "every", QStringLiteral("3"));
            Fill::text(sheet, "category", QStringLiteral("Maintenance"));
            expectNamed(sheet, QStringLiteral("Maintenance Plan"));
            Screenshots::save(sheet, QStringLiteral("maintenance-plan"));
            Fill::click(sheet, "ok");
        });
        Fill::click(dialog, "newPlan");
        ASSERT_EQ(panel.plans()->GetItemCount(), 1);
        EXPECT_EQ(panel.plans()->GetItemText(0, 1), QStringLiteral("Furnace"));
        EXPECT_EQ(panel.plans()->GetItemText(0, 2), QStringLiteral("Every 3 months"));
        Fill::click(dialog, "close");
    });
    frame.action(Command::Maintenance)->trigger();
    ASSERT_EQ(run.ui.pendingScripts(), 0);
    const qint32 planId = number(QStringLiteral("SELECT MAX(ScheduleId) FROM Schedules;"));

    // Due within 7 days: a task in the Tasks view, counted on Today.
    EXPECT_EQ(todayView.maintenanceLine()->text(),
              QStringLiteral("1 maintenance task due within 7 days"));
    EXPECT_EQ(todayView.tasksLine()->text(), QStringLiteral("1 Active task"));
    CTasksView &tasks = tasksView();
    ASSERT_EQ(rowOf(*tasks.list(), kFilterTask), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT Custom2 FROM Tasks;")), 23);

    // The Tasks view's click: done, three months on from today, nothing due any more.
    clickRow(*tasks.list(), rowOf(*tasks.list(), kFilterTask));
    EXPECT_EQ(planOf(planId).nextDue, today.addMonths(3));
    EXPECT_EQ(history(run.app->database(), planId).size(), 1u);
    EXPECT_TRUE(todayView.maintenanceLine()->isHidden());
    EXPECT_EQ(todayView.tasksLine()->text(), QStringLiteral("Pick tasks and shopping items"));
    // Clicked again, it is not done after all: no completion kept, the date as it was.
    clickRow(*tasks.list(), rowOf(*tasks.list(), kFilterTask));
    EXPECT_EQ(planOf(planId).nextDue, today.addDays(3));
    EXPECT_TRUE(history(run.app->database(), planId).empty());
    EXPECT_EQ(tasks.list()->GetItemCount(), 1);
    EXPECT_EQ(todayView.tasksLine()->text(), QStringLiteral("1 Active task"));

    // The Today line opens the dialog: Mark Done with a cost, then Skip the next date.
    frame.action(Command::TodayView)->trigger();
    EXPECT_FALSE(todayView.maintenanceLine()->isHidden());
    Screenshots::save(frame, QStringLiteral("maintenance-today"));
    run.ui.onNextDialog([&](QDialog &dialog) {
        auto &panel = *static_cast<Dialog &>(dialog).panel();
        ASSERT_EQ(panel.selectedId(), planId);
        run.ui.onNextDialog([&](QDialog &done) {
            EXPECT_EQ(done.windowTitle(), QStringLiteral("Mark Done"));
            EXPECT_EQ(done.findChild<QDateEdit *>("doneDate")->maximumDate(), today);
            Fill::text(done, "cost", QStringLiteral("twelve"));
            Fill::click(done, "ok");
            ASSERT_TRUE(done.isVisible());
            Fill::text(done, "cost", QStringLiteral("12.5"));
            Fill::text(done, "notes", QStringLiteral("MERV 8"));
            expectNamed(done, QStringLiteral("Mark Done"));
            Screenshots::save(done, QStringLiteral("maintenance-done"));
            Fill::click(done, "ok");
        });
        Fill::click(dialog, "markDone");
        ASSERT_EQ(panel.history()->GetItemCount(), 1);
        EXPECT_EQ(panel.history()->GetItemText(0, 1), QStringLiteral("Done"));
        EXPECT_EQ(panel.history()->GetItemText(0, 2), QStringLiteral("$12.50"));
        EXPECT_EQ(panel.history()->GetItemText(0, 3), QStringLiteral("MERV 8"));
        run.ui.answer(Ui::Yes);
        Fill::click(dialog, "skipPlan");
        EXPECT_TRUE(run.ui.messageTexts().last().startsWith(
            QStringLiteral("Skip \u201cReplace furnace filter\u201d")));
        EXPECT_EQ(panel.history()->GetItemText(0, 1), QStringLiteral("Skipped"));
        // Skipped is not done: the last done is still today's.
        EXPECT_EQ(panel.plans()->GetItemText(0, 4), dateText(COleDateTime::fromDate(today), false));
        dialog.resize(760, 480);
        QApplication::processEvents();
        expectNamed(dialog, QStringLiteral("Maintenance"));
        Screenshots::save(dialog, QStringLiteral("maintenance"));
    });
    QTest::mouseClick(todayView.maintenanceLine(), Qt::LeftButton);
    ASSERT_EQ(run.ui.pendingScripts(), 0);
    EXPECT_EQ(planOf(planId).nextDue, today.addMonths(3).addMonths(3));
    // The done task stays done; the skipped period made none.
    EXPECT_EQ(number(QStringLiteral("SELECT Status FROM Tasks;")), 2);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks;")), 1);
}

TEST_F(MaintenanceInProgram, TheCalendarIsWrittenThroughTheFileCheckNeverOverTheDataFile)
{
    seedPlan(QStringLiteral("Replace furnace filter"), today.addMonths(1));
    CMainFrame &frame = run.start();
    const QByteArray before = contentsOf(run.env.dataFile());
    const QString calendar = run.env.root() + QStringLiteral("/plans");
    run.ui.onNextDialog([&](QDialog &dialog) {
        // The data file itself is refused, and nothing is written.
        run.ui.nextFileName(run.env.dataFile());
        Fill::click(dialog, "exportCalendar");
        EXPECT_TRUE(run.ui.messageTexts().last().contains(QStringLiteral("data file")))
            << run.ui.messageTexts().last().toStdString();
        // Another name: written whole, ".ics" added, and offered to open.
        run.ui.nextFileName(calendar);
        run.ui.answer(Ui::No);
        Fill::click(dialog, "exportCalendar");
    });
    frame.action(Command::Maintenance)->trigger();
    EXPECT_EQ(contentsOf(run.env.dataFile()), before);
    QFile written(calendar + QStringLiteral(".ics"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(text.contains("SUMMARY:Replace furnace filter \xe2\x80\x94 Furnace\r\n"));
    EXPECT_TRUE(text.contains("RRULE:FREQ=MONTHLY;INTERVAL=1"));
}

TEST_F(MaintenanceInProgram, DuePlansGetTheirTasksAtStartAndWhenTheDateChanges)
{
    const qint32 late = seedPlan(QStringLiteral("Bleed radiators"), today.addDays(-40), 0);
    const qint32 coming = seedPlan(QStringLiteral("Replace furnace filter"), today.addDays(10));
    CMainFrame &frame = run.start();
    // Before anything is shown, the late plan has its one task.
    EXPECT_GT(planOf(late).taskId, 0);
    EXPECT_EQ(planOf(coming).taskId, 0);
    EXPECT_EQ(frame.todayView()->maintenanceLine()->text(),
              QStringLiteral("1 maintenance task overdue"));
    CTasksView &tasks = tasksView();
    EXPECT_EQ(tasks.list()->GetItemCount(), 1);

    // Three days on, past midnight: the other plan's days ahead have begun.
    frame.setClock([this] { return today.addDays(3); });
    frame.CheckDate();
    EXPECT_GT(planOf(coming).taskId, 0);
    EXPECT_EQ(tasks.list()->GetItemCount(), 2);
    EXPECT_GE(rowOf(*tasks.list(), kFilterTask), 0);
    EXPECT_EQ(frame.todayView()->maintenanceLine()->text(),
              QStringLiteral("1 maintenance task overdue, 1 due within 7 days"));
    // The late plan still has the one task.
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Custom1=%1;").arg(late)), 1);
}

TEST_F(MaintenanceInProgram, TheAssetSheetShowsItsPlansAndWhatItAddsReachesTheTasks)
{
    seedPlan(QStringLiteral("Replace furnace filter"), today.addMonths(2));
    seedPlan(QStringLiteral("Clean the filter"), today.addMonths(1), 11);
    CMainFrame &frame = run.start();
    frame.action(Command::InventoryView)->trigger();
    CInventoryView &inventory = *frame.inventoryView();
    inventory.list()->SetCurSel(rowOf(*inventory.list(), QStringLiteral("Furnace")));

    run.ui.onNextDialog([&](QDialog &sheet) {
        auto &tabs = *sheet.findChild<QTabWidget *>("pages");
        int maintenance = -1;
        for (int i = 0; i < tabs.count(); ++i) {
            if (tabs.tabText(i) == QStringLiteral("Maintenance"))
                maintenance = i;
        }
        ASSERT_GE(maintenance, 0);
        tabs.setCurrentIndex(maintenance);
        auto &panel = *tabs.currentWidget()->findChild<Panel *>();
        // The furnace's plan alone, without a For column.
        ASSERT_EQ(panel.plans()->GetItemCount(), 1);
        EXPECT_EQ(panel.plans()->GetItemText(0, 0), QStringLiteral("Replace furnace filter"));
        EXPECT_EQ(panel.plans()->GetItemText(0, 1), QStringLiteral("Every month"));
        run.ui.onNextDialog([&](QDialog &plan) {
            EXPECT_EQ(Fill::textOf(plan, "forWhat"), QStringLiteral("Furnace"));
            Fill::text(plan, "description", QStringLiteral("Check the flue"));
            plan.findChild<QDateEdit *>("nextDue")->setDate(today);
            Fill::click(plan, "ok");
        });
        Fill::click(sheet, "newPlan");
        EXPECT_EQ(panel.plans()->GetItemCount(), 2);
        Screenshots::save(sheet, QStringLiteral("asset-maintenance"));
        // The sheet is cancelled: the plan stays, as the page saved it.
    });
    frame.action(Command::ContextProperties)->trigger();
    ASSERT_EQ(run.ui.pendingScripts(), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Schedules WHERE AssetId=10;")), 2);
    EXPECT_GE(rowOf(*tasksView().list(), QStringLiteral("Check the flue \u2014 Furnace")), 0);
}

} // namespace
