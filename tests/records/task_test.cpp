#include "controls/list_model.h"
#include "format/display_text.h"
#include "records/task.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

class TaskTest : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        list.InsertColumn(0, QStringLiteral("Tasks"));
    }
    void TearDown() override { resetUserLocale(); }

    CTask stored(const QString &description, qint32 type, qint32 status)
    {
        CTask task;
        task.m_strDescription = description;
        task.m_nTaskType = type;
        task.m_nStatus = status;
        EXPECT_TRUE(task.Save(db)) << db.GetLastError().toStdString();
        return task;
    }

    QStringList texts() const
    {
        QStringList rows;
        for (int row = 0; row < list.GetItemCount(); ++row)
            rows << list.GetItemText(row, 0);
        return rows;
    }

    CListModel list;
};

CTask milk()
{
    CTask item;
    item.m_nTaskType = CTask::ShoppingItem;
    item.m_strDescription = QStringLiteral("Milk");
    item.m_fCustom1 = 2.0f;
    item.m_strNotes = QStringLiteral("gal");
    item.m_strVendor = QStringLiteral("Corner Market");
    item.m_strCustom3 = QStringLiteral("5");
    return item;
}

TEST_F(TaskTest, ShoppingItemTextLeavesOutWhatIsEmpty)
{
    CTask item = milk();
    EXPECT_EQ(item.TaskText(), QStringLiteral("Buy 2 gal Milk @ Corner Market (#5)"));
    // Without a quantity the unit goes too, even though one is stored.
    item.m_fCustom1 = 0.0f;
    EXPECT_EQ(item.TaskText(), QStringLiteral("Buy Milk @ Corner Market (#5)"));
    // The quantity shows as a whole number, grouped.
    item.m_fCustom1 = 2.5f;
    EXPECT_EQ(item.TaskText(), QStringLiteral("Buy 2 gal Milk @ Corner Market (#5)"));
    item.m_fCustom1 = 1500.0f;
    item.m_strNotes.clear();
    item.m_strVendor.clear();
    EXPECT_EQ(item.TaskText(), QStringLiteral("Buy 1,500 Milk (#5)"));
    item.m_strCustom3.clear();
    EXPECT_EQ(item.TaskText(), QStringLiteral("Buy 1,500 Milk"));
}

TEST_F(TaskTest, GeneralTaskTextIsItsDescriptionAlone)
{
    CTask task = milk(); // every column filled
    task.m_nTaskType = CTask::GeneralTask;
    task.m_nCustom2 = 24;
    EXPECT_EQ(task.TaskText(), QStringLiteral("Milk"));
    // Any type other than 2 is a general task, 0 from an older file included.
    task.m_nTaskType = 0;
    EXPECT_EQ(task.TaskText(), QStringLiteral("Milk"));
    EXPECT_EQ(task.ImageIndex(), 0);
}

TEST_F(TaskTest, SaveAndLoadKeepEveryColumnAndAWideCategoryId)
{
    CTask task;
    task.m_nTaskType = CTask::GeneralTask;
    task.m_strDescription = QStringLiteral("Repair garage door");
    task.m_nCustom2 = 70000; // a category id past 16 bits
    task.m_strVendor = QStringLiteral("John's Remodeling Co.");
    task.m_strCustom3 = QStringLiteral("555-0100");
    task.m_strNotes = QStringLiteral("after the rain");
    task.m_fCost = 12.5f; // not shown for general tasks, but kept
    task.m_fCustom1 = 3.0f;
    ASSERT_TRUE(task.Save(db));
    ASSERT_TRUE(task.Exists());

    CTask loaded(task.id());
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.m_nCustom2, 70000);
    EXPECT_EQ(loaded.m_nTaskType, CTask::GeneralTask);
    EXPECT_EQ(loaded.m_nStatus, CTask::InPool);
    EXPECT_EQ(loaded.m_strDescription, task.m_strDescription);
    EXPECT_EQ(loaded.m_strVendor, task.m_strVendor);
    EXPECT_EQ(loaded.m_strCustom3, task.m_strCustom3);
    EXPECT_EQ(loaded.m_strNotes, task.m_strNotes);
    EXPECT_FLOAT_EQ(loaded.m_fCost, 12.5f);
    EXPECT_FLOAT_EQ(loaded.m_fCustom1, 3.0f);
    EXPECT_EQ(number(QStringLiteral("SELECT Custom2 FROM Tasks WHERE TaskId=%1").arg(task.id())),
              70000);

    // Saved again under the same id, not as a second row.
    loaded.m_strDescription = QStringLiteral("Repair shed door");
    ASSERT_TRUE(loaded.Save(db));
    EXPECT_EQ(loaded.id(), task.id());
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 1);

    ASSERT_TRUE(loaded.Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 0);
    EXPECT_FALSE(CTask(task.id()).Load(db));
}

TEST_F(TaskTest, ACouponFlagOfAnyValueLoadsAsOneButACategoryIdStays)
{
    run(QStringLiteral("INSERT INTO Tasks (TaskId, TaskType, Status, Custom2, Description) "
                       "VALUES (7, 2, 0, -3, 'Eggs'), (8, 1, 0, 5, 'Mow')"));
    CTask eggs(7);
    ASSERT_TRUE(eggs.Load(db));
    EXPECT_EQ(eggs.m_nCustom2, 1);
    EXPECT_EQ(eggs.ImageIndex(), 2);
    CTask mow(8);
    ASSERT_TRUE(mow.Load(db));
    EXPECT_EQ(mow.m_nCustom2, 5);
}

TEST_F(TaskTest, SetStatusWritesTheStatusAlone)
{
    CTask task = stored(QStringLiteral("Paint fence"), CTask::GeneralTask, CTask::InPool);
    // Another program changed the description meanwhile: a status change must not undo it.
    run(QStringLiteral("UPDATE Tasks SET Description='Paint the fence' WHERE TaskId=%1")
            .arg(task.id()));
    ASSERT_TRUE(task.SetStatus(db, CTask::Active));
    CTask loaded(task.id());
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.m_nStatus, CTask::Active);
    EXPECT_EQ(loaded.m_strDescription, QStringLiteral("Paint the fence"));

    // A row that has gone: only the copy in memory changes.
    run(QStringLiteral("DELETE FROM Tasks"));
    EXPECT_FALSE(task.SetStatus(db, CTask::Done));
    EXPECT_EQ(task.m_nStatus, CTask::Done);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 0);
}

TEST_F(TaskTest, PoolListsOneKindByDescriptionWithItsTicks)
{
    CTask eggs = milk();
    eggs.m_strDescription = QStringLiteral("eggs");
    eggs.m_nStatus = CTask::Done;
    ASSERT_TRUE(eggs.Save(db));
    CTask bread = milk();
    bread.m_strDescription = QStringLiteral("Bread");
    ASSERT_TRUE(bread.Save(db));
    CTask zucchini = milk();
    zucchini.m_strDescription = QStringLiteral("Zucchini");
    zucchini.m_nStatus = CTask::Active;
    ASSERT_TRUE(zucchini.Save(db));
    stored(QStringLiteral("Clean gutters"), CTask::GeneralTask, CTask::Active);
    stored(QStringLiteral("A task of an older kind"), 0, CTask::InPool);

    TaskList::fillPool(db, list, true);
    // By description alone, whatever letter case.
    EXPECT_EQ(texts(), (QStringList { "Bread", "eggs", "Zucchini" }));
    EXPECT_EQ(list.GetItemData(0), bread.id());
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.GetCheck(1)); // done is still picked
    EXPECT_TRUE(list.GetCheck(2));
    EXPECT_EQ(list.GetItemImage(0), 1);

    TaskList::fillPool(db, list, false);
    EXPECT_EQ(texts(), (QStringList { "A task of an older kind", "Clean gutters" }));
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.GetCheck(1));
}

TEST_F(TaskTest, PickedListShowsActiveAndDoneByKindAndCountsActive)
{
    CTask item = milk();
    item.m_nStatus = CTask::Active;
    ASSERT_TRUE(item.Save(db));
    CTask coupon = milk();
    coupon.m_strDescription = QStringLiteral("Butter");
    coupon.m_nCustom2 = 1;
    coupon.m_nStatus = CTask::Done;
    ASSERT_TRUE(coupon.Save(db));
    const CTask chore = stored(QStringLiteral("Clean gutters"), CTask::GeneralTask, CTask::Active);
    stored(QStringLiteral("Only in the pool"), CTask::GeneralTask, CTask::InPool);
    CTask poolItem = milk();
    poolItem.m_strDescription = QStringLiteral("Apples");
    ASSERT_TRUE(poolItem.Save(db));

    EXPECT_EQ(TaskList::fillPicked(db, list, TaskList::AllTasks), 2);
    EXPECT_EQ(texts(),
              (QStringList { "Buy 2 gal Butter @ Corner Market (#5)", "Clean gutters",
                             "Buy 2 gal Milk @ Corner Market (#5)" }));
    EXPECT_EQ(list.GetItemData(0), -coupon.id());
    EXPECT_EQ(list.GetItemImage(0), 2);
    EXPECT_EQ(list.GetItemData(1), chore.id());
    EXPECT_EQ(list.GetItemImage(1), 0);
    EXPECT_EQ(list.GetItemData(2), item.id());

    EXPECT_EQ(TaskList::fillPicked(db, list, TaskList::ShoppingOnly), 1);
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(TaskList::fillPicked(db, list, TaskList::GeneralOnly), 1);
    EXPECT_EQ(texts(), (QStringList { "Clean gutters" }));
}

TEST_F(TaskTest, TheAggregateCountAgreesWithTheListForEveryFilter)
{
    const qint32 statuses[] = { 0, 1, 2, 1, 1, 0, 2, 1 };
    int n = 0;
    for (qint32 status : statuses) {
        stored(QStringLiteral("chore %1").arg(n), CTask::GeneralTask, status);
        CTask item = milk();
        item.m_strDescription = QStringLiteral("item %1").arg(n);
        item.m_nStatus = statuses[(n + 3) % 8];
        ASSERT_TRUE(item.Save(db));
        ++n;
    }
    stored(QStringLiteral("older kind"), 0, CTask::Active);
    for (qint32 filter : { TaskList::AllTasks, TaskList::GeneralOnly, TaskList::ShoppingOnly }) {
        SCOPED_TRACE(filter);
        const int listed = TaskList::fillPicked(db, list, filter);
        EXPECT_EQ(TaskList::activeCount(db, filter), listed);
    }
    EXPECT_EQ(TaskList::activeCount(db, TaskList::AllTasks), 9);
    EXPECT_EQ(TaskList::activeCount(db, TaskList::ShoppingOnly), 4);
}

TEST_F(TaskTest, ClearingReturnsEntriesToThePoolAndDeletesNothing)
{
    stored(QStringLiteral("a"), CTask::GeneralTask, CTask::Active);
    stored(QStringLiteral("b"), CTask::ShoppingItem, CTask::Active);
    stored(QStringLiteral("c"), CTask::GeneralTask, CTask::InPool);

    // Nothing done: nothing changes.
    EXPECT_EQ(TaskList::clear(db, true), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status=1")), 2);

    stored(QStringLiteral("d"), CTask::ShoppingItem, CTask::Done);
    EXPECT_EQ(TaskList::clear(db, true), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status=2")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status=1")), 2);

    stored(QStringLiteral("e"), CTask::GeneralTask, CTask::Done);
    EXPECT_EQ(TaskList::clear(db, false), 3);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status<>0")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 5);
}

} // namespace
