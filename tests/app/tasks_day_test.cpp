// A day with the tasks: the pool filled and picked from the Today view, entries completed and
// cleared in the Tasks view, every Today line followed, and the rows checked in the file.
#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "frame_fixture.h"
#include "sheets/general_tasks_dialog.h"
#include "support/screenshots.h"
#include "views/tasks_view.h"
#include "views/today_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TasksDay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Lake house") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
        frame = &run.start();
        frame->resize(700, 560);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        today = frame->todayView();
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

    qint32 statusOf(const QString &description)
    {
        return number(
            QStringLiteral("SELECT Status FROM Tasks WHERE Description='%1'").arg(description));
    }

    // In the pool: New, with the editor filled by fill.
    void addToPool(CDlgGeneralTasks &pool, std::function<void(QDialog &)> fill)
    {
        run.ui.onNextDialog([fill](QDialog &editor) {
            fill(editor);
            Fill::click(editor, "ok");
        });
        Fill::click(pool, "new");
    }

    void tick(CDlgGeneralTasks &pool, const QString &description)
    {
        CAutoListCtrl *list = pool.list();
        for (int row = 0; row < list->GetItemCount(); ++row) {
            if (list->GetItemText(row, 0) == description) {
                list->SetCheck(row, true);
                return;
            }
        }
        ADD_FAILURE() << "not in the pool: " << description.toStdString();
    }

    int rowOf(const QString &text)
    {
        for (int row = 0; row < tasks()->list()->GetItemCount(); ++row)
            if (tasks()->list()->GetItemText(row, 0) == text)
                return row;
        return -1;
    }

    void clickRow(int row)
    {
        ASSERT_GE(row, 0);
        const QRect cell = tasks()->list()->visualRect(tasks()->list()->model()->index(row, 0));
        QTest::mouseClick(tasks()->list()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    ProgramRun run;
    CMainFrame *frame = nullptr;
    CTodayView *today = nullptr;
    // Made when first asked for, as the program makes it.
    CTasksView *tasks() { return frame->tasksView(); }
};

TEST_F(TasksDay, FromThePoolThroughTheTasksViewAndBack)
{
    ASSERT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("Pick tasks and shopping items"));

    // Morning: the tasks line leads to the empty pool; fill it and pick some.
    run.ui.onNextDialog([&](QDialog &dialog) {
        auto &pool = static_cast<CDlgGeneralTasks &>(dialog);
        EXPECT_EQ(pool.windowTitle(), QStringLiteral("General Tasks"));
        EXPECT_FALSE(pool.showsShopping());
        addToPool(pool, [](QDialog &sheet) {
            Fill::text(sheet, "description", QStringLiteral("Clean gutters"));
            Fill::text(sheet, "category", QStringLiteral("Maintenance"));
        });
        addToPool(pool, [](QDialog &sheet) {
            Fill::text(sheet, "description", QStringLiteral("Mow lawn"));
        });
        tick(pool, QStringLiteral("Clean gutters"));

        pool.findChild<QRadioButton *>("shoppingKind")->click();
        addToPool(pool, [](QDialog &item) {
            Fill::text(item, "description", QStringLiteral("Milk"));
            Fill::text(item, "quantity", QStringLiteral("2"));
            Fill::text(item, "unit", QStringLiteral("gal"));
            Fill::text(item, "store", QStringLiteral("Grocery Store"));
            Fill::text(item, "aisle", QStringLiteral("5"));
        });
        addToPool(pool, [](QDialog &item) {
            Fill::text(item, "description", QStringLiteral("Eggs"));
            Fill::check(item, "coupon", true);
        });
        addToPool(pool,
                  [](QDialog &item) { Fill::text(item, "description", QStringLiteral("Bread")); });
        tick(pool, QStringLiteral("Milk"));
        tick(pool, QStringLiteral("Eggs"));
        Fill::click(pool, "close");
    });
    QTest::mouseClick(today->tasksLine(), Qt::LeftButton);
    EXPECT_EQ(run.ui.pendingScripts(), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 5);

    // Closed with Close: the Tasks view, with the picked entries.
    ASSERT_EQ(frame->currentViewIndex(), CMainFrame::TasksIndex);
    EXPECT_EQ(tasks()->list()->GetItemCount(), 3);
    EXPECT_GE(rowOf(QStringLiteral("Buy 2 gal Milk @ Grocery Store (#5)")), 0);
    EXPECT_EQ(tasks()->list()->GetItemImage(rowOf(QStringLiteral("Buy 1 Eggs"))), 2);
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("3 Active tasks"));

    // Noon: the milk is bought, and the gutters are done.
    clickRow(rowOf(QStringLiteral("Buy 2 gal Milk @ Grocery Store (#5)")));
    clickRow(rowOf(QStringLiteral("Clean gutters")));
    EXPECT_EQ(statusOf(QStringLiteral("Milk")), 2);
    EXPECT_EQ(statusOf(QStringLiteral("Clean gutters")), 2);
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("1 Active task"));
    Screenshots::save(*frame, QStringLiteral("day_tasks_view"));

    // Shopping items only: the count follows the filter.
    tasks()->viewMenu()->findChild<QAction *>("command32823")->trigger();
    EXPECT_EQ(tasks()->list()->GetItemCount(), 2);
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("1 Active task"));
    tasks()->viewMenu()->findChild<QAction *>("command32822")->trigger();
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("Pick tasks and shopping items"));

    // Evening: the completed entries go back to the pool, whatever the filter shows.
    tasks()->viewMenu()->findChild<QAction *>("command32825")->trigger();
    EXPECT_EQ(statusOf(QStringLiteral("Milk")), 0);
    EXPECT_EQ(statusOf(QStringLiteral("Clean gutters")), 0);
    EXPECT_EQ(statusOf(QStringLiteral("Eggs")), 1);
    tasks()->viewMenu()->findChild<QAction *>("command32821")->trigger();
    EXPECT_EQ(tasks()->list()->GetItemCount(), 1);

    // The rows in the file.
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 5);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE TaskType=2")), 3);
    EXPECT_EQ(number(QStringLiteral("SELECT Custom2 FROM Tasks WHERE Description='Clean "
                                    "gutters'")),
              23);
    EXPECT_EQ(number(QStringLiteral("SELECT Custom2 FROM Tasks WHERE Description='Eggs'")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT Custom1 FROM Tasks WHERE Description='Bread'")), 1);
    qint32 filter = -1;
    ASSERT_TRUE(run.app->settings().ReadNumber(QStringLiteral("TasksFilter"), filter));
    EXPECT_EQ(filter, 0);
    qint32 jump = -1;
    ASSERT_TRUE(run.app->settings().ReadNumber(QStringLiteral("JumpToShoppingTasks"), jump));
    EXPECT_EQ(jump, 1);

    // Back at the Today view, the tasks line now leads to the Tasks view.
    frame->action(Command::TodayView)->trigger();
    ASSERT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("1 Active task"));
    QTest::mouseClick(today->tasksLine(), Qt::LeftButton);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TasksIndex);
}

TEST_F(TasksDay, TheOtherTodayLinesAndLoanManager)
{
    // An empty inventory: the line starts a new asset (cancelled here).
    const int dialogsBefore = int(run.ui.dialogTitles().size());
    QTest::mouseClick(today->inventoryLine(), Qt::LeftButton);
    EXPECT_EQ(int(run.ui.dialogTitles().size()), dialogsBefore + 1);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);

    ASSERT_TRUE(run.app->database().Execute(
        QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, CurrentValue) VALUES "
                       "(1, 1, 'Piano', 2500)")));
    // Chosen again, as after adding it elsewhere: the home is counted afresh.
    ASSERT_TRUE(frame->SetCurrentHome(1));
    EXPECT_TRUE(
        today->inventoryLine()->text().startsWith(QStringLiteral("Home Inventory is worth ")));
    QTest::mouseClick(today->inventoryLine(), Qt::LeftButton);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::InventoryIndex);

    // The equity line and Loan Manager open the Home Profile at its loans page.
    frame->action(Command::TodayView)->trigger();
    int pages[2] = { -1, -1 };
    run.ui.onNextDialog(
        [&](QDialog &sheet) { pages[0] = sheet.findChild<QTabWidget *>("pages")->currentIndex(); });
    QTest::mouseClick(today->equityLine(), Qt::LeftButton);
    run.ui.onNextDialog(
        [&](QDialog &sheet) { pages[1] = sheet.findChild<QTabWidget *>("pages")->currentIndex(); });
    frame->action(Command::LoanManager)->trigger();
    EXPECT_EQ(pages[0], 1);
    EXPECT_EQ(pages[1], 1);
    // Both cancelled: nothing changed.
    EXPECT_EQ(today->homeLine()->text(), QStringLiteral("Lake house"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lake house - Domelio"));

    // The home line opens it at its first page; a confirmed edit reaches the title.
    run.ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(sheet.findChild<QTabWidget *>("pages")->currentIndex(), 0);
        Fill::text(sheet, "description", QStringLiteral("Lake cottage"));
        Fill::text(sheet, "currentValue", QStringLiteral("300000"));
        Fill::click(sheet, "ok");
    });
    QTest::mouseClick(today->homeLine(), Qt::LeftButton);
    EXPECT_EQ(today->homeLine()->text(), QStringLiteral("Lake cottage"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lake cottage - Domelio"));
    EXPECT_TRUE(today->equityLine()->text().startsWith(QStringLiteral("Home Equity is ")));
    EXPECT_EQ(number(QStringLiteral("SELECT CurrentValue FROM Homes WHERE HomeId=1")), 300000);
}

TEST_F(TasksDay, PoolClosedWithEscapeOrItsCloseButtonStillShowsItsTicks)
{
    ASSERT_TRUE(run.app->database().Execute(
        QStringLiteral("INSERT INTO Tasks (TaskId, TaskType, Status, Description) VALUES (1, 1, "
                       "0, 'Sweep'), (2, 1, 0, 'Dust')")));
    // As after a start: the Tasks view has not been made, so nothing else recounts.
    ASSERT_EQ(frame->findChild<CTasksView *>(), nullptr);
    run.ui.onNextDialog([&](QDialog &dialog) {
        tick(static_cast<CDlgGeneralTasks &>(dialog), QStringLiteral("Sweep"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    frame->action(Command::NewTasks)->trigger();
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("1 Active task"));
    run.ui.onNextDialog([&](QDialog &dialog) {
        tick(static_cast<CDlgGeneralTasks &>(dialog), QStringLiteral("Dust"));
        dialog.close();
    });
    frame->action(Command::NewTasks)->trigger();
    EXPECT_EQ(today->tasksLine()->text(), QStringLiteral("2 Active tasks"));
    ASSERT_EQ(frame->findChild<CTasksView *>(), nullptr);

    frame->action(Command::TasksView)->trigger();
    EXPECT_EQ(tasks()->list()->GetItemCount(), 2);
}

TEST_F(TasksDay, ThePopupOffersPropertiesButNoDeleteInTheTasksView)
{
    ASSERT_TRUE(run.app->database().Execute(QStringLiteral(
        "INSERT INTO Tasks (TaskId, TaskType, Status, Description) VALUES (1, 1, 1, 'Sweep')")));
    frame->action(Command::TasksView)->trigger();
    tasks()->Refresh();
    tasks()->list()->SetCurSel(0);
    frame->ShowContextMenu(std::nullopt);
    EXPECT_TRUE(frame->action(Command::ContextProperties)->isEnabled());
    EXPECT_FALSE(frame->action(Command::ContextDelete)->isEnabled());
    frame->action(Command::ContextDelete)->trigger();
    EXPECT_EQ(tasks()->list()->GetItemCount(), 1);
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 1);
}

TEST_F(TasksDay, TheInventoryLineNeverShowsTheHomeShownBefore)
{
    run.seedHomes({ { 2, QStringLiteral("Cabin") } });
    ASSERT_TRUE(run.app->database().Execute(
        QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, CurrentValue) VALUES "
                       "(1, 1, 'Piano', 2500), (2, 2, 'Canoe', 400)")));
    ASSERT_TRUE(frame->SetCurrentHome(1));
    // The Home Inventory view filled for the first home...
    frame->action(Command::InventoryView)->trigger();
    ASSERT_EQ(frame->currentViewIndex(), CMainFrame::InventoryIndex);
    const QString first = today->inventoryLine()->text();
    EXPECT_TRUE(first.contains(QStringLiteral("2,500")));
    // ...and the second home chosen: its own total, before that view is filled again.
    ASSERT_TRUE(frame->SetCurrentHome(2));
    EXPECT_TRUE(today->inventoryLine()->text().contains(QStringLiteral("400")))
        << today->inventoryLine()->text().toStdString();
    EXPECT_EQ(today->homeLine()->text(), QStringLiteral("Cabin"));
}

} // namespace
