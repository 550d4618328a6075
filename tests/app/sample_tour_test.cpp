// The sample household (make-datafile --sample) opened by the whole program: every view and
// sheet shows it. With DOMELIO_SCREENSHOTS set, each is saved as a picture; scripts/screenshots
// runs this test for the README's pictures.
#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "frame_fixture.h"
#include "support/screenshots.h"
#include "views/home_mgr_view.h"
#include "views/inventory_view.h"
#include "views/rooms_view.h"
#include "views/tasks_view.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

class SampleTour : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(run.env.dataFile());
        QProcess make;
        make.start(QStringLiteral(DOMELIO_BIN_DIR "/make-datafile"),
                   { QStringLiteral("--sample"), run.env.dataFile() });
        ASSERT_TRUE(make.waitForFinished(60000));
        ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
    }

    qint32 count(const QString &sql)
    {
        CADORecordset rs(run.app->database());
        EXPECT_TRUE(rs.Open(sql));
        qint32 n = -1;
        if (!rs.IsEof())
            rs.GetLong(0, n);
        return n;
    }

    void shoot(QWidget &widget, const QString &name)
    {
        QApplication::processEvents();
        Screenshots::save(widget, name);
    }

    // Every page of a sheet but its notes, each under its tab's name.
    void shootPages(QDialog &sheet, const QString &prefix)
    {
        auto *pages = sheet.findChild<QTabWidget *>(QStringLiteral("pages"));
        ASSERT_NE(pages, nullptr) << prefix.toStdString();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QString tab = pages->tabText(i).remove(QLatin1Char('&')).toLower();
            tab.replace(QLatin1Char(' '), QLatin1Char('-'));
            if (tab == QLatin1String("notes"))
                continue;
            shoot(sheet, prefix + QLatin1Char('-') + tab);
        }
    }

    // Selects the row whose first column reads text; false when there is none.
    static bool select(CAutoListCtrl &list, const QString &text)
    {
        for (int row = 0; row < list.GetItemCount(); ++row) {
            if (list.GetItemText(row, 0) == text) {
                list.SetCurSel(row);
                list.EnsureVisible(row);
                return true;
            }
        }
        return false;
    }

    // Opens the selected item's sheet through the popup's Properties, running script on it.
    void properties(CMainFrame &frame, ScriptedUi::DialogScript script)
    {
        const int before = run.ui.dialogTitles().size();
        run.ui.onNextDialog(std::move(script));
        frame.action(Command::ContextProperties)->trigger();
        EXPECT_EQ(run.ui.dialogTitles().size(), before + 1);
    }

    ProgramRun run;
};

TEST_F(SampleTour, EveryViewAndSheetShowsTheSampleHousehold)
{
    CMainFrame &frame = run.start();
    frame.resize(960, 680);
    ASSERT_EQ(frame.currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_TRUE(frame.windowTitle().contains(QStringLiteral("Maple Street House")));
    shoot(frame, QStringLiteral("today"));

    frame.action(Command::InventoryView)->trigger();
    CInventoryView &inventory = *frame.inventoryView();
    EXPECT_EQ(inventory.list()->GetItemCount(),
              count(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE HomeId=1;")));
    EXPECT_GT(inventory.list()->GetItemCount(), 100);
    ASSERT_TRUE(select(*inventory.list(), QStringLiteral("55-inch television")));
    EXPECT_FALSE(inventory.descriptionBox()->toPlainText().isEmpty());
    shoot(frame, QStringLiteral("inventory"));
    properties(frame, [&](QDialog &sheet) { shootPages(sheet, QStringLiteral("asset")); });
    ASSERT_TRUE(select(*inventory.list(), QStringLiteral("Agent Juniper")));
    properties(frame, [&](QDialog &sheet) { shootPages(sheet, QStringLiteral("video")); });

    frame.action(Command::LocationsView)->trigger();
    EXPECT_EQ(frame.locationsView()->list()->GetItemCount(), 8);
    ASSERT_TRUE(select(*frame.locationsView()->list(), QStringLiteral("Living Room")));
    shoot(frame, QStringLiteral("locations"));
    properties(frame, [&](QDialog &sheet) { shootPages(sheet, QStringLiteral("location")); });

    frame.action(Command::TasksView)->trigger();
    EXPECT_EQ(frame.tasksView()->list()->GetItemCount(),
              count(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status<>0;")));
    shoot(frame, QStringLiteral("tasks"));
    ASSERT_TRUE(select(*frame.tasksView()->list(), QStringLiteral("Service the furnace")));
    properties(frame, [&](QDialog &sheet) { shootPages(sheet, QStringLiteral("task")); });
    run.ui.onNextDialog([&](QDialog &dialog) { shoot(dialog, QStringLiteral("task-pool")); });
    frame.action(Command::NewTasks)->trigger();

    run.ui.onNextDialog([&](QDialog &dialog) {
        Fill::text(dialog, QStringLiteral("genre"), QStringLiteral("Drama"));
        Fill::click(dialog, QStringLiteral("search"));
        shoot(dialog, QStringLiteral("recommend-movie"));
    });
    frame.action(Command::RecommendMovie)->trigger();

    // The home's maintenance plans: the overdue ones have their tasks since the start.
    run.ui.onNextDialog([&](QDialog &dialog) {
        auto *plans = dialog.findChild<CAutoListCtrl *>(QStringLiteral("plans"));
        ASSERT_NE(plans, nullptr);
        EXPECT_EQ(plans->GetItemCount(),
                  count(QStringLiteral("SELECT COUNT(*) FROM Schedules WHERE HomeId=1;")));
        ASSERT_TRUE(select(*plans, QStringLiteral("Replace furnace filter")));
        shoot(dialog, QStringLiteral("maintenance"));
    });
    frame.action(Command::Maintenance)->trigger();
    EXPECT_GE(count(QStringLiteral("SELECT COUNT(*) FROM Tasks t JOIN Schedules s ON "
                                   "s.TaskId=t.TaskId WHERE t.Status=1;")),
              3);

    // The home's sheet opens on its loans; a loan's own sheet opens from there.
    run.ui.onNextDialog([&](QDialog &sheet) {
        shootPages(sheet, QStringLiteral("home"));
        auto *loans = sheet.findChild<CAutoListCtrl *>(QStringLiteral("loans"));
        ASSERT_NE(loans, nullptr);
        EXPECT_EQ(loans->GetItemCount(), 2);
        loans->SetCurSel(0);
        run.ui.onNextDialog([&](QDialog &loan) { shootPages(loan, QStringLiteral("loan")); });
        Fill::click(sheet, QStringLiteral("editLoan"));
    });
    frame.action(Command::LoanManager)->trigger();

    frame.action(Command::SelectHome)->trigger();
    EXPECT_EQ(frame.homesView()->list()->GetItemCount(), 2);
    shoot(frame, QStringLiteral("homes"));
    EXPECT_EQ(run.ui.pendingScripts(), 0);
}

} // namespace
