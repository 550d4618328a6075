#pragma once
// A window that holds one view under test in place of the main frame: it owns a data file of
// its own and a settings key, and records what the view asked of it, so a view is built and
// driven without the rest of the program.

#include "db/ado_database.h"
#include "platform/settings_key.h"
#include "records/home.h"
#include "support/temp_env.h"
#include "views/view_host.h"

#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

class FakeViewHost : public ViewHost
{
public:
    FakeViewHost()
    {
        EXPECT_TRUE(db.Open(env.dataFile())) << db.GetLastError().toStdString();
        EXPECT_TRUE(key.Create(HKEY_CURRENT_USER, QStringLiteral("Software\\Varn Holt\\Domelio")));
        window.resize(640, 480);
    }

    CADODataBase &database() const override { return db; }
    CSettingsKey &settings() const override { return key; }
    QWidget *ownerWindow() override { return &window; }
    const CHome &currentHome() const override { return home; }
    bool SetCurrentHome(qint32 homeId) override
    {
        calls << QStringLiteral("SetCurrentHome %1").arg(homeId);
        CHome loaded(homeId);
        if (!loaded.Load(db))
            return false;
        home = loaded;
        return true;
    }
    void HomeEdited(const CHome &edited) override
    {
        calls << QStringLiteral("HomeEdited %1").arg(edited.id());
        if (edited.id() == home.id())
            home = edited;
    }
    void NewHome() override { calls << QStringLiteral("NewHome"); }
    void NewTasks() override { calls << QStringLiteral("NewTasks"); }
    void NewAsset() override { calls << QStringLiteral("NewAsset"); }
    void ShowView(int index) override { calls << QStringLiteral("ShowView %1").arg(index); }
    void ShowContextMenu(std::optional<QPoint> at) override
    {
        calls << (at ? QStringLiteral("ShowContextMenu at") : QStringLiteral("ShowContextMenu"));
    }
    void UpdateTodayLines() override { calls << QStringLiteral("UpdateTodayLines"); }
    void ShowMessageOnce(const QString &, const QString &flagName) override
    {
        calls << QStringLiteral("ShowMessageOnce ") + flagName;
    }
    void ShowWarranties() override { calls << QStringLiteral("ShowWarranties"); }
    QDateTime now() const override { return fixedNow.isValid() ? fixedNow : ViewHost::now(); }
    void ShowMaintenance() override { calls << QStringLiteral("ShowMaintenance"); }
    void PlansChanged() override { calls << QStringLiteral("PlansChanged"); }
    QDate today() const override { return fixedToday.isValid() ? fixedToday : ViewHost::today(); }

    TempEnv env;
    mutable CADODataBase db;
    mutable CSettingsKey key { HKEY_CURRENT_USER };
    CHome home;
    QWidget window;
    // "Today" and "now" for the view when set; the system's clock otherwise (today follows a
    // fixed now).
    QDate fixedToday;
    QDateTime fixedNow;
    // What the view asked for, in order.
    QStringList calls;
};
