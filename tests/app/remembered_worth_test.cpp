// The inventory's worth kept at close: the next start shows it without adding up the assets,
// and only while the data file is the one it was kept with.
#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "frame_fixture.h"
#include "sheets/categories_dialog.h"
#include "views/today_view.h"

#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>

namespace {

class RememberedWorth : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Cabin") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
        execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CurrentValue) VALUES "
                               "(1, 1, 100), (2, 1, 23.5);"));
    }

    void execute(const QString &sql)
    {
        CADODataBase db;
        ASSERT_TRUE(db.Open(run.env.dataFile()));
        ASSERT_TRUE(db.Execute(sql));
    }

    QString inventoryLine()
    {
        auto *line = run.frame().todayView()->findChild<CLabel *>(QStringLiteral("inventoryLine"));
        return line ? line->text() : QString();
    }

    // Whether the inventory line shows figure (its digits in the money format).
    ::testing::AssertionResult shows(const char *figure)
    {
        const QString line = inventoryLine();
        if (line.contains(QLatin1String(figure)))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the line reads " << line.toStdString();
    }

    QString kept()
    {
        CSettingsKey key(HKEY_CURRENT_USER);
        QString value;
        if (key.Open(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath)))
            key.ReadString(QStringLiteral("InventoryWorth"), value);
        return value;
    }

    // Replaces the kept total by another, as if the assets had been added up to it.
    void falsifyKeptTotal(const QString &total)
    {
        QString value = kept();
        value.replace(QRegularExpression(QStringLiteral(" [^ ]+$")), QLatin1Char(' ') + total);
        CSettingsKey key(HKEY_CURRENT_USER);
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath)));
        ASSERT_TRUE(key.WriteString(QStringLiteral("InventoryWorth"), value));
    }

    void closeAndStartAgain()
    {
        run.frame().close();
        run.app->ExitInstance();
        run.start();
    }

    // Closes the program, plants 777 as the kept total, lets meanwhile change things, and
    // starts again: 777 shows only if the kept figure was taken.
    void restartWithAPlantedTotal(const std::function<void()> &meanwhile = {}, bool settle = true)
    {
        run.frame().close();
        run.app->ExitInstance();
        falsifyKeptTotal(QStringLiteral("777"));
        if (meanwhile)
            meanwhile();
        run.start(false, settle);
    }

    ProgramRun run;
};

TEST_F(RememberedWorth, HoldsWhileTheFileIsUnchangedAndOnlyForItsHomeAndCategory)
{
    run.seedHomes({ { 2, QStringLiteral("Flat") } });
    execute(
        QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CurrentValue) VALUES (3, 2, 40);"));
    run.start();
    EXPECT_TRUE(shows("123.50"));

    // The next start takes the kept figure, so nothing was added up, and nothing waits.
    restartWithAPlantedTotal({}, false);
    EXPECT_FALSE(run.frame().todayView()->worthPending());
    EXPECT_TRUE(shows("777.00"));

    // Once the file has changed (here by another program), the assets are added up again, once
    // the window has first been painted; the line shows no figure until then.
    restartWithAPlantedTotal(
        [&] { execute(QStringLiteral("UPDATE Assets SET CurrentValue = 200 WHERE AssetId = 1;")); },
        false);
    CLabel *line = run.frame().todayView()->inventoryLine();
    EXPECT_TRUE(run.frame().todayView()->worthPending());
    EXPECT_FALSE(line->isVisibleTo(run.frame().todayView()));
    EXPECT_TRUE(line->text().isEmpty());
    run.settled();
    EXPECT_TRUE(line->isVisibleTo(run.frame().todayView()));
    EXPECT_TRUE(shows("223.50"));

    // Another home does not take it, nor another category filter.
    restartWithAPlantedTotal([&] { run.writeSetting(QStringLiteral("LastHomeId"), 2); });
    EXPECT_TRUE(shows("40.00"));
    restartWithAPlantedTotal([&] { run.writeSetting(QStringLiteral("InventoryCategory"), 5); });
    EXPECT_EQ(inventoryLine(), QStringLiteral("Add an asset to the Home Inventory"));
}

// What changed while the program ran without its lines following is counted at close, so the
// next start never shows a total the file no longer has.
TEST_F(RememberedWorth, ChangesTheProgramDidNotSeeAreCountedAtClose)
{
    // Another program changes an asset while this one runs.
    run.start();
    EXPECT_TRUE(shows("123.50"));
    execute(QStringLiteral("UPDATE Assets SET CurrentValue = 200 WHERE AssetId = 1;"));
    closeAndStartAgain();
    EXPECT_TRUE(shows("223.50"));

    // With the inventory filtered to a category, that category is deleted from an asset sheet's
    // Categories button, and the sheet is cancelled: the assets have no category any more.
    execute(QStringLiteral("INSERT INTO Categories (CategoryId, CategoryType, Description) VALUES "
                           "(40, 1, 'Art');"));
    execute(QStringLiteral("UPDATE Assets SET CategoryId = 40;"));
    run.frame().close();
    run.app->ExitInstance();
    run.writeSetting(QStringLiteral("InventoryCategory"), 40);
    run.start();
    EXPECT_TRUE(shows("223.50"));
    run.ui.onNextDialog([&](QDialog &sheet) {
        run.ui.onNextDialog([&](QDialog &dialog) {
            CAutoListCtrl *list = static_cast<CDlgCategories &>(dialog).list();
            for (int row = 0; row < list->GetItemCount(); ++row)
                if (list->GetItemData(row) == 40)
                    list->SetCurSel(row);
            run.ui.answer(Ui::Yes);
            Fill::click(dialog, "delete");
            Fill::click(dialog, "cancel");
        });
        Fill::click(sheet, "categories");
        Fill::click(sheet, "cancel");
    });
    run.frame().action(Command::NewAsset)->trigger();
    ASSERT_EQ(run.ui.pendingScripts(), 0);
    closeAndStartAgain();
    EXPECT_EQ(inventoryLine(), QStringLiteral("Add an asset to the Home Inventory"));
}

// A restore brings another file: what was kept for the file it replaced never shows for it.
TEST_F(RememberedWorth, ARestoredFileIsCountedAgain)
{
    const QString backup = run.env.root() + QStringLiteral("/before.dat");
    run.start();
    run.ui.nextFileName(backup);
    run.ui.onNextDialog([](QDialog &d) { Fill::click(d, QStringLiteral("backup")); });
    run.frame().action(Command::BackupRestore)->trigger();
    ASSERT_TRUE(QFile::exists(backup));
    ASSERT_TRUE(run.app->database().Execute(
        QStringLiteral("UPDATE Assets SET CurrentValue = 200 WHERE AssetId = 1;")));
    closeAndStartAgain();
    EXPECT_TRUE(shows("223.50"));

    run.ui.nextFileName(backup);
    run.ui.answer(Ui::Yes);
    run.ui.onNextDialog([](QDialog &d) { Fill::click(d, QStringLiteral("restore")); });
    run.frame().action(Command::BackupRestore)->trigger();
    ASSERT_LT(run.frame().currentHomeId(), 1);
    ASSERT_TRUE(run.frame().SetCurrentHome(1));
    EXPECT_TRUE(shows("123.50"));
    closeAndStartAgain();
    EXPECT_TRUE(shows("123.50"));
}

} // namespace
