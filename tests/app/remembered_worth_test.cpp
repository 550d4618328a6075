// The inventory's worth kept at close: the next start shows it without adding up the assets,
// and only while the data file is the one it was kept with.
#include "controls/label.h"
#include "frame_fixture.h"
#include "views/today_view.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

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
        ASSERT_TRUE(db.Open(run.env.connection()));
        ASSERT_TRUE(db.Execute(sql));
    }

    QString inventoryLine()
    {
        auto *line = run.frame().todayView()->findChild<CLabel *>(QStringLiteral("inventoryLine"));
        return line ? line->text() : QString();
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

    ProgramRun run;
};

TEST_F(RememberedWorth, HoldsWhileTheFileIsUnchangedAndNeverAfter)
{
    run.start();
    EXPECT_TRUE(inventoryLine().contains(QStringLiteral("123.50"))) << inventoryLine().toStdString();
    run.frame().close();
    run.app->ExitInstance();
    ASSERT_FALSE(kept().isEmpty());

    // The next start takes the kept figure: a planted one shows, so nothing was added up.
    falsifyKeptTotal(QStringLiteral("777"));
    run.start();
    EXPECT_TRUE(inventoryLine().contains(QStringLiteral("777.00"))) << inventoryLine().toStdString();

    // Once the file has changed (here by another program), the assets are added up again.
    run.frame().close();
    run.app->ExitInstance();
    falsifyKeptTotal(QStringLiteral("777"));
    execute(QStringLiteral("UPDATE Assets SET CurrentValue = 200 WHERE AssetId = 1;"));
    run.start();
    EXPECT_TRUE(inventoryLine().contains(QStringLiteral("223.50"))) << inventoryLine().toStdString();

    // Another home or another category filter does not take it either.
    closeAndStartAgain();
    falsifyKeptTotal(QStringLiteral("777"));
    run.frame().close();
    run.app->ExitInstance();
    run.writeSetting(QStringLiteral("InventoryCategory"), 5);
    run.start();
    EXPECT_EQ(inventoryLine(), QStringLiteral("Add an asset to the Home Inventory"));
}

} // namespace
