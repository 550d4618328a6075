#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "platform/settings_key.h"
#include "records/categories.h"
#include "records/task.h"
#include "sheets/categories_dialog.h"
#include "sheets/general_tasks_dialog.h"
#include "sheets/task_sheet.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListView>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void shoot(QWidget &widget, const QString &name)
{
    Screenshots::save(widget, name);
}

class TaskDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.Open(env.dataFile()));
        ASSERT_TRUE(
            settings.Create(HKEY_CURRENT_USER, QStringLiteral("Software\\Varn Holt\\Domelio")));
    }

    qint32 number(const QString &sql)
    {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(sql)) << rs.GetLastError().toStdString();
        qint32 n = -1;
        if (!rs.IsEof())
            rs.GetLong(0, n);
        return n;
    }

    CTask storedItem(const QString &description, const QString &unit, const QString &store)
    {
        CTask item;
        item.m_nTaskType = CTask::ShoppingItem;
        item.m_strDescription = description;
        item.m_fCustom1 = 2.0f;
        item.m_strNotes = unit;
        item.m_strVendor = store;
        item.m_fCost = 3.49f;
        EXPECT_TRUE(item.Save(db));
        return item;
    }

    TempEnv env;
    CADODataBase db;
    CSettingsKey settings { HKEY_CURRENT_USER };
    ScriptedUi ui;
};

TEST_F(TaskDialogs, ShoppingItemRefusesANonNumberAndStaysOpen)
{
    CTask item;
    item.m_nTaskType = CTask::ShoppingItem;
    item.m_fCustom1 = 1.0f;
    ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Shopping List Item"));
        EXPECT_EQ(Fill::textOf(dialog, "quantity"), QStringLiteral("1"));
        EXPECT_EQ(Fill::textOf(dialog, "unit"), QString());
        EXPECT_EQ(Fill::textOf(dialog, "store"), QString());
        Fill::text(dialog, "description", QStringLiteral("Milk"));
        Fill::text(dialog, "quantity", QStringLiteral("two"));
        Fill::click(dialog, "ok");
        EXPECT_TRUE(dialog.isVisible());
        ASSERT_EQ(ui.messages().size(), 1u);

        Fill::text(dialog, "quantity", QStringLiteral("2"));
        Fill::text(dialog, "price", QStringLiteral("3,49"));
        Fill::click(dialog, "ok");
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ui.messages().size(), 2u);
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 0);

        Fill::text(dialog, "price", QStringLiteral("3.49"));
        Fill::text(dialog, "unit", QStringLiteral("gal"));
        Fill::text(dialog, "store", QStringLiteral("Corner Market"));
        Fill::text(dialog, "aisle", QStringLiteral("5"));
        Fill::check(dialog, "coupon", true);
        shoot(dialog, QStringLiteral("shopping_item"));
        Fill::click(dialog, "ok");
        EXPECT_FALSE(dialog.isVisible());
    });
    ASSERT_TRUE(CTaskSheet::Edit(item, db, nullptr));
    CTask loaded(item.id());
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.TaskText(), QStringLiteral("Buy 2 gal Milk @ Corner Market (#5)"));
    EXPECT_FLOAT_EQ(loaded.m_fCost, 3.49f);
    EXPECT_EQ(loaded.m_nCustom2, 1);
    EXPECT_EQ(loaded.m_nTaskType, CTask::ShoppingItem);
}

TEST_F(TaskDialogs, ShoppingItemOpensOnTheUnitAndStoreThatBeginWithWhatIsStored)
{
    CTask item = storedItem(QStringLiteral("Flour"), QStringLiteral("L"), QStringLiteral("groc"));
    ui.onNextDialog([&](QDialog &dialog) {
        // The units alphabetically, whatever order the string has them in.
        auto *unit = dialog.findChild<QComboBox *>("unit");
        ASSERT_TRUE(unit);
        EXPECT_EQ(unit->itemText(0), QStringLiteral("bag"));
        EXPECT_EQ(unit->itemText(1), QStringLiteral("box"));
        EXPECT_EQ(Fill::textOf(dialog, "unit"), QStringLiteral("lb"));
        // The stores come from the store categories, without "(optional)".
        auto *store = dialog.findChild<QComboBox *>("store");
        EXPECT_EQ(store->itemText(0), QStringLiteral("Department Store"));
        EXPECT_EQ(Fill::textOf(dialog, "store"), QStringLiteral("Grocery Store"));
        EXPECT_EQ(Fill::textOf(dialog, "price"), QStringLiteral("3.49"));
        Fill::click(dialog, "ok");
    });
    ASSERT_TRUE(CTaskSheet::Edit(item, db, nullptr));
    EXPECT_EQ(item.m_strNotes, QStringLiteral("lb"));
    EXPECT_EQ(item.m_strVendor, QStringLiteral("Grocery Store"));
    // Shown as it was, the price keeps its exact value.
    EXPECT_EQ(item.m_fCost, 3.49f);

    // A unit and store that begin none of the listed ones are kept as typed.
    CTask odd = storedItem(QStringLiteral("Rice"), QStringLiteral("sack"), QStringLiteral("Mo's"));
    ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(Fill::textOf(dialog, "unit"), QStringLiteral("sack"));
        EXPECT_EQ(Fill::textOf(dialog, "store"), QStringLiteral("Mo's"));
        Fill::click(dialog, "ok");
    });
    ASSERT_TRUE(CTaskSheet::Edit(odd, db, nullptr));
    CTask loaded(odd.id());
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.m_strNotes, QStringLiteral("sack"));
    EXPECT_EQ(loaded.m_strVendor, QStringLiteral("Mo's"));
}

TEST_F(TaskDialogs, DeletingTheStoreThroughStoresKeepsItsNameOnTheItems)
{
    // Another store's name begins with this one's, so only an exact match may be shown.
    const qint32 home = Categories::create(db, QStringLiteral("Home"), Lookups::Store);
    CTask item = storedItem(QStringLiteral("Nails"), QStringLiteral("box"), QStringLiteral("Home"));
    CTask other = storedItem(QStringLiteral("Glue"), QString(), QStringLiteral("Home"));
    ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(Fill::textOf(dialog, "store"), QStringLiteral("Home"));
        ui.onNextDialog([&](QDialog &stores) {
            EXPECT_EQ(stores.windowTitle(), QStringLiteral("Categories"));
            auto &list = *static_cast<CDlgCategories &>(stores).list();
            EXPECT_EQ(list.GetItemData(list.GetCurSel()), home);
            ui.answer(Ui::Yes);
            Fill::click(stores, "delete");
            Fill::click(stores, "ok");
        });
        Fill::click(dialog, "stores");
        auto *store = dialog.findChild<QComboBox *>("store");
        EXPECT_EQ(store->findText(QStringLiteral("Home")), -1);
        EXPECT_EQ(Fill::textOf(dialog, "store"), QStringLiteral("Home"));
        Fill::click(dialog, "ok");
    });
    ASSERT_TRUE(CTaskSheet::Edit(item, db, nullptr));
    EXPECT_EQ(ui.pendingScripts(), 0);
    EXPECT_EQ(
        number(QStringLiteral("SELECT COUNT(*) FROM Categories WHERE CategoryId=%1;").arg(home)),
        0);
    for (const CTask &task : { item, other }) {
        CTask loaded(task.id());
        ASSERT_TRUE(loaded.Load(db));
        EXPECT_EQ(loaded.m_strVendor, QStringLiteral("Home")) << task.id();
    }
}

TEST_F(TaskDialogs, CancelChangesNothing)
{
    CTask item = storedItem(QStringLiteral("Flour"), QStringLiteral("lb"), QString());
    ui.onNextDialog([&](QDialog &dialog) {
        Fill::text(dialog, "description", QStringLiteral("Sugar"));
        Fill::click(dialog, "cancel");
    });
    EXPECT_FALSE(CTaskSheet::Edit(item, db, nullptr));
    EXPECT_EQ(item.m_strDescription, QStringLiteral("Flour"));
    CTask loaded(item.id());
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.m_strDescription, QStringLiteral("Flour"));
}

TEST_F(TaskDialogs, TaskSheetStoresTheChosenCategoryOrNone)
{
    CTask task;
    task.m_nTaskType = CTask::GeneralTask;
    task.m_fCost = 9.0f; // not on any page: kept
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Task Properties"));
        auto *pages = sheet.findChild<QTabWidget *>("pages");
        ASSERT_TRUE(pages);
        ASSERT_EQ(pages->count(), 2);
        EXPECT_EQ(pages->tabText(1), QStringLiteral("Notes"));
        auto *category = sheet.findChild<QComboBox *>("category");
        ASSERT_TRUE(category);
        EXPECT_EQ(category->currentText(), QStringLiteral("(optional)"));
        EXPECT_EQ(category->itemText(1), QStringLiteral("Bills"));
        Fill::text(sheet, "description", QStringLiteral("Repair garage door"));
        Fill::text(sheet, "contact", QStringLiteral("John's Remodeling Co."));
        Fill::text(sheet, "phone", QStringLiteral("555-0100"));
        shoot(sheet, QStringLiteral("task_sheet"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CTaskSheet::Edit(task, db, nullptr));
    EXPECT_EQ(number(QStringLiteral("SELECT Custom2 FROM Tasks WHERE TaskId=%1").arg(task.id())),
              0);
    EXPECT_EQ(task.TaskText(), QStringLiteral("Repair garage door"));
    EXPECT_FLOAT_EQ(task.m_fCost, 9.0f);

    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "category", QStringLiteral("Repairs"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CTaskSheet::Edit(task, db, nullptr));
    EXPECT_EQ(number(QStringLiteral("SELECT Custom2 FROM Tasks WHERE TaskId=%1").arg(task.id())),
              24);
    CTask loaded(task.id());
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.m_strVendor, QStringLiteral("John's Remodeling Co."));
    EXPECT_EQ(loaded.m_strCustom3, QStringLiteral("555-0100"));
    EXPECT_FLOAT_EQ(loaded.m_fCost, 9.0f);
}

class PoolDialog : public TaskDialogs
{
protected:
    QStringList rows(CDlgGeneralTasks &pool)
    {
        QStringList texts;
        for (int row = 0; row < pool.list()->GetItemCount(); ++row)
            texts << pool.list()->GetItemText(row, 0);
        return texts;
    }
};

TEST_F(PoolDialog, TicksWriteTheStatusAtOnceAndCloseRemembersTheKind)
{
    storedItem(QStringLiteral("milk"), QStringLiteral("gal"), QStringLiteral("Corner Market"));
    storedItem(QStringLiteral("Bread"), QString(), QString());
    CTask chore;
    chore.m_nTaskType = CTask::GeneralTask;
    chore.m_strDescription = QStringLiteral("Clean gutters");
    ASSERT_TRUE(chore.Save(db));
    CTask mowed;
    mowed.m_nTaskType = CTask::GeneralTask;
    mowed.m_strDescription = QStringLiteral("Mow lawn");
    ASSERT_TRUE(mowed.Save(db));
    ASSERT_TRUE(mowed.SetStatus(db, CTask::Done));
    const QString statusOfMowed =
        QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1").arg(mowed.id());

    {
        CDlgGeneralTasks pool(db, settings, nullptr);
        EXPECT_FALSE(pool.showsShopping());
        EXPECT_EQ(rows(pool), (QStringList { "Clean gutters", "Mow lawn" }));
        EXPECT_EQ(number(statusOfMowed), 2) << "filling writes nothing";
        EXPECT_FALSE(pool.list()->IsListMode());
        pool.resize(420, 300);
        pool.show();
        shoot(pool, QStringLiteral("pool_general"));

        pool.list()->SetCheck(0, true);
        EXPECT_EQ(
            number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1").arg(chore.id())), 1);
        // A done entry whose tick changes becomes active again, or returns to the pool.
        ASSERT_TRUE(chore.SetStatus(db, CTask::Done));
        pool.list()->SetCheck(0, false);
        EXPECT_EQ(
            number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1").arg(chore.id())), 0);
        // Any other change of a row's state writes too: the ticked done entry, clicked beside
        // its tick, is active again; the clear row left keeps the pool.
        const QRect mowRow = pool.list()->visualRect(pool.list()->model()->index(1, 0));
        QTest::mouseClick(pool.list()->viewport(), Qt::LeftButton, {}, mowRow.center());
        ASSERT_EQ(pool.list()->GetCurSel(), 1);
        EXPECT_TRUE(pool.list()->GetCheck(1));
        EXPECT_EQ(number(statusOfMowed), 1);
        EXPECT_EQ(
            number(QStringLiteral("SELECT Status FROM Tasks WHERE TaskId=%1").arg(chore.id())), 0);

        pool.findChild<QRadioButton *>("shoppingKind")->click();
        // Shopping items by their description alone, alphabetically, flowing into columns.
        EXPECT_EQ(rows(pool), (QStringList { "Bread", "milk" }));
        EXPECT_TRUE(pool.list()->IsListMode());
        shoot(pool, QStringLiteral("pool_shopping"));
        // Filling sets the ticks without writing anything.
        EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE Status<>0 AND "
                                        "TaskType=2")),
                  0);
        pool.reject(); // Escape: nothing remembered
    }
    qint32 jump = -1;
    EXPECT_FALSE(settings.ReadNumber(QStringLiteral("JumpToShoppingTasks"), jump));

    ui.onNextDialog([&](QDialog &dialog) {
        auto &pool = static_cast<CDlgGeneralTasks &>(dialog);
        pool.findChild<QRadioButton *>("shoppingKind")->click();
        Fill::click(pool, "close");
    });
    CDlgGeneralTasks first(db, settings, nullptr);
    EXPECT_EQ(first.DoModal(), QDialog::Accepted);
    ASSERT_TRUE(settings.ReadNumber(QStringLiteral("JumpToShoppingTasks"), jump));
    EXPECT_EQ(jump, 1);

    CDlgGeneralTasks again(db, settings, nullptr);
    EXPECT_TRUE(again.showsShopping());
    EXPECT_EQ(rows(again), (QStringList { "Bread", "milk" }));
}

TEST_F(PoolDialog, NewEditAndRemove)
{
    settings.WriteNumber(QStringLiteral("JumpToShoppingTasks"), 1);
    CTask kept = storedItem(QStringLiteral("Apples"), QString(), QString());
    CDlgGeneralTasks pool(db, settings, nullptr);
    pool.show();

    // A new shopping item opens with quantity 1 and comes back selected.
    ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(Fill::textOf(dialog, "quantity"), QStringLiteral("1"));
        Fill::text(dialog, "description", QStringLiteral("Yogurt"));
        Fill::click(dialog, "ok");
    });
    Fill::click(pool, "new");
    EXPECT_EQ(rows(pool), (QStringList { "Apples", "Yogurt" }));
    EXPECT_EQ(pool.list()->GetCurSel(), 1);
    const qint32 yogurt = pool.list()->GetItemData(1);
    EXPECT_EQ(number(QStringLiteral("SELECT TaskType FROM Tasks WHERE TaskId=%1").arg(yogurt)), 2);

    pool.list()->SetCurSel(0);
    ui.onNextDialog([&](QDialog &dialog) {
        Fill::text(dialog, "description", QStringLiteral("Zucchini"));
        Fill::click(dialog, "ok");
    });
    Fill::click(pool, "edit");
    EXPECT_EQ(rows(pool), (QStringList { "Yogurt", "Zucchini" }));
    EXPECT_EQ(pool.list()->GetItemData(pool.list()->GetCurSel()), kept.id());

    // Remove deletes at once, without a question.
    pool.list()->SetCurSel(0);
    Fill::click(pool, "remove");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(rows(pool), (QStringList { "Zucchini" }));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks WHERE TaskId=%1").arg(yogurt)), 0);

    // Nothing selected: Edit and Remove do nothing.
    pool.list()->SetCurSel(-1);
    Fill::click(pool, "remove");
    Fill::click(pool, "edit");
    EXPECT_EQ(ui.pendingScripts(), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks")), 1);

    // A new general task gets type 1.
    pool.findChild<QRadioButton *>("generalKind")->click();
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Sweep porch"));
        Fill::click(sheet, "ok");
    });
    Fill::click(pool, "new");
    EXPECT_EQ(rows(pool), (QStringList { "Sweep porch" }));
    EXPECT_EQ(number(QStringLiteral("SELECT TaskType FROM Tasks WHERE Description='Sweep porch'")),
              1);
}

TEST_F(PoolDialog, ShoppingItemsFlowIntoFurtherColumns)
{
    settings.WriteNumber(QStringLiteral("JumpToShoppingTasks"), 1);
    for (int i = 0; i < 30; ++i)
        storedItem(QStringLiteral("Item %1").arg(i, 2, 10, QLatin1Char('0')), QString(), QString());
    CDlgGeneralTasks pool(db, settings, nullptr);
    pool.resize(460, 300);
    pool.show();
    QApplication::processEvents();
    ASSERT_TRUE(pool.list()->IsListMode());
    QListView *flow = pool.list()->listModeView();
    ASSERT_TRUE(flow);
    const QRect first = flow->visualRect(pool.list()->model()->index(0, 0));
    const QRect last = flow->visualRect(pool.list()->model()->index(29, 0));
    // Down the first column, then on in the next ones, 150 pixels apart.
    EXPECT_GT(flow->visualRect(pool.list()->model()->index(1, 0)).top(), first.top());
    EXPECT_GE(last.left() - first.left(), 150);
    shoot(pool, QStringLiteral("pool_shopping_columns"));

    // Back to general tasks: the report again.
    pool.findChild<QRadioButton *>("generalKind")->click();
    EXPECT_FALSE(pool.list()->IsListMode());
}

} // namespace
