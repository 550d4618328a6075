#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "db/ado_recordset.h"
#include "records/task.h"
#include "support/fake_view_host.h"
#include "support/scripted_ui.h"
#include "views/tasks_view.h"
#include "support/screenshots.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TasksView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        view = new CTasksView(host, &host.window);
        view->resize(460, 300);
    }

    qint32 add(const QString &description, qint32 type, qint32 status, qint32 coupon = 0)
    {
        CTask task;
        task.m_strDescription = description;
        task.m_nTaskType = type;
        task.m_nStatus = status;
        task.m_nCustom2 = coupon;
        EXPECT_TRUE(task.Save(host.db));
        return task.id();
    }

    qint32 number(const QString &sql)
    {
        CADORecordset rs(host.db);
        EXPECT_TRUE(rs.Open(sql));
        qint32 n = -1;
        if (!rs.IsEof())
            rs.GetLong(0, n);
        return n;
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < view->list()->GetItemCount(); ++row)
            texts << view->list()->GetItemText(row, 0);
        return texts;
    }

    void clickRow(int row)
    {
        const QRect cell = view->list()->visualRect(view->list()->model()->index(row, 0));
        QTest::mouseClick(view->list()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    int todayCount(qint32 filter) { return TaskList::activeCount(host.db, filter); }

    ScriptedUi ui;
    FakeViewHost host;
    CTasksView *view = nullptr;
};

TEST_F(TasksView, HiddenItQueriesNothingAndShownItListsThePickedEntries)
{
    add(QStringLiteral("Clean gutters"), CTask::GeneralTask, CTask::Active);
    add(QStringLiteral("Only in the pool"), CTask::GeneralTask, CTask::InPool);
    view->Refresh();
    EXPECT_EQ(view->list()->GetItemCount(), 0);
    // The Today view was told to recount at once all the same.
    EXPECT_TRUE(host.calls.contains(QStringLiteral("UpdateTodayLines")));

    host.window.show();
    view->show();
    EXPECT_EQ(rows(), (QStringList { "Clean gutters" }));
    EXPECT_EQ(view->activeCount(), 1);
    EXPECT_EQ(view->title()->text(), QStringLiteral("Tasks (All)"));
}

TEST_F(TasksView, AClickMarksDoneAndASecondMakesActiveAgain)
{
    const qint32 gutters = add(QStringLiteral("Clean gutters"), CTask::GeneralTask, CTask::Active);
    add(QStringLiteral("Mow lawn"), CTask::GeneralTask, CTask::Active);
    host.window.show();
    view->show();
    view->Refresh();
    ASSERT_EQ(view->activeCount(), 2);
    host.calls.clear();

    clickRow(0);
    EXPECT_EQ(view->list()->GetItemData(0), -gutters);
    EXPECT_EQ(view->activeCount(), 1);
    EXPECT_EQ(todayCount(TaskList::AllTasks), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1").arg(gutters)), 2);
    EXPECT_TRUE(view->list()->rowLook(0).struckOut);
    EXPECT_EQ(host.calls, (QStringList { "UpdateTodayLines" }));

    clickRow(0);
    EXPECT_EQ(view->list()->GetItemData(0), gutters);
    EXPECT_EQ(view->activeCount(), 2);
    EXPECT_EQ(todayCount(TaskList::AllTasks), 2);
    EXPECT_EQ(number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1").arg(gutters)), 1);
    EXPECT_FALSE(view->list()->rowLook(0).struckOut);
    EXPECT_EQ(host.calls.count(QStringLiteral("UpdateTodayLines")), 2);

    // From the keyboard: Space does what a click does.
    view->list()->setFocus();
    QTest::keyClick(view->list(), Qt::Key_Space);
    EXPECT_EQ(view->activeCount(), 1);
}

TEST_F(TasksView, FiltersArePersistedAndTheCountFollowsThem)
{
    add(QStringLiteral("Clean gutters"), CTask::GeneralTask, CTask::Active);
    add(QStringLiteral("Milk"), CTask::ShoppingItem, CTask::Active, 1);
    add(QStringLiteral("Eggs"), CTask::ShoppingItem, CTask::Done);
    add(QStringLiteral("Bread"), CTask::ShoppingItem, CTask::Active);
    host.window.show();
    view->show();
    view->Refresh();
    EXPECT_EQ(view->activeCount(), 3);

    view->viewMenu()->findChild<QAction *>("command32823")->trigger();
    EXPECT_EQ(view->filter(), TaskList::ShoppingOnly);
    EXPECT_EQ(view->title()->text(), QStringLiteral("Tasks (Shopping)"));
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(view->activeCount(), 2);
    // What the Today view reads agrees with what the view counted.
    qint32 stored = -1;
    ASSERT_TRUE(host.key.ReadNumber(QStringLiteral("TasksFilter"), stored));
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(todayCount(stored), view->activeCount());
    EXPECT_EQ(view->list()->GetItemImage(rows().indexOf("Buy Milk")), 2);

    // The filter in force chosen again still writes and lists again.
    host.key.WriteNumber(QStringLiteral("TasksFilter"), 0);
    host.calls.clear();
    view->SetFilter(TaskList::ShoppingOnly);
    ASSERT_TRUE(host.key.ReadNumber(QStringLiteral("TasksFilter"), stored));
    EXPECT_EQ(stored, 2);
    EXPECT_TRUE(host.calls.contains(QStringLiteral("UpdateTodayLines")));

    view->viewMenu()->findChild<QAction *>("command32822")->trigger();
    EXPECT_EQ(rows(), (QStringList { "Clean gutters" }));
    EXPECT_EQ(view->title()->text(), QStringLiteral("Tasks (General)"));

    // A new view starts with the stored filter, checked in its menu.
    CTasksView second(host, &host.window);
    EXPECT_EQ(second.filter(), TaskList::GeneralOnly);
    EXPECT_TRUE(second.viewMenu()->findChild<QAction *>("command32822")->isChecked());
}

TEST_F(TasksView, ClearingReturnsToThePoolWhateverTheFilter)
{
    add(QStringLiteral("Clean gutters"), CTask::GeneralTask, CTask::Active);
    add(QStringLiteral("Milk"), CTask::ShoppingItem, CTask::Active);
    host.window.show();
    view->show();
    view->SetFilter(TaskList::GeneralOnly);
    host.calls.clear();

    // Nothing done: nothing changes, no refresh.
    view->viewMenu()->findChild<QAction *>("command32825")->trigger();
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status=1")), 2);

    clickRow(0);
    view->viewMenu()->findChild<QAction *>("command32825")->trigger();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status=1")), 1);

    // Clear All, with general tasks only shown, clears the shopping item too; nothing deleted.
    view->viewMenu()->findChild<QAction *>("command32824")->trigger();
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status<>0")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 2);
    view->SetFilter(TaskList::AllTasks);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(view->activeCount(), 0);
}

TEST_F(TasksView, EditKeepsTheRowAndItsLookAndAPopupOffersProperties)
{
    const qint32 milk = add(QStringLiteral("Milk"), CTask::ShoppingItem, CTask::Done);
    host.window.show();
    view->show();
    view->Refresh();
    EXPECT_FALSE(view->HasSelection());
    view->list()->SetCurSel(0);
    EXPECT_TRUE(view->HasSelection());

    ui.onNextDialog([](QDialog &dialog) {
        Fill::text(dialog, "quantity", QStringLiteral("3"));
        Fill::text(dialog, "unit", QStringLiteral("gal"));
        Fill::click(dialog, "ok");
    });
    view->OnContextProperties();
    EXPECT_EQ(rows(), (QStringList { "Buy 3 gal Milk" }));
    EXPECT_EQ(view->list()->GetItemData(0), -milk);
    EXPECT_EQ(view->list()->GetCurSel(), 0);
    EXPECT_EQ(view->activeCount(), 0);

    view->OnContextNew();
    EXPECT_TRUE(host.calls.contains(QStringLiteral("NewTasks")));
}

TEST_F(TasksView, Screenshot)
{
    add(QStringLiteral("Clean gutters"), CTask::GeneralTask, CTask::Active);
    add(QStringLiteral("Replace furnace filter"), CTask::GeneralTask, CTask::Done);
    CTask milk;
    milk.m_nTaskType = CTask::ShoppingItem;
    milk.m_strDescription = QStringLiteral("Milk");
    milk.m_fCustom1 = 2.0f;
    milk.m_strNotes = QStringLiteral("gal");
    milk.m_strVendor = QStringLiteral("Corner Market");
    milk.m_strCustom3 = QStringLiteral("5");
    milk.m_nStatus = CTask::Active;
    milk.m_nCustom2 = 1;
    ASSERT_TRUE(milk.Save(host.db));
    add(QStringLiteral("Eggs"), CTask::ShoppingItem, CTask::Done);
    host.window.show();
    view->show();
    view->Refresh();
    view->list()->SetCurSel(-1);
    Screenshots::save(*view, QStringLiteral("tasks_view"));
    EXPECT_EQ(view->activeCount(), 2);
}

} // namespace
