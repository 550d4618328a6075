#pragma once
// Starts the whole program (application object, data file, settings, main window) in a private
// data and settings folder, with the scripted person at the keyboard.

#include "app/home_app.h"
#include "app/main_frame.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "platform/settings_key.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"
#include "views/today_view.h"

#include <QDialog>
#include <QStringList>
#include <QTest>
#include <memory>

class ProgramRun
{
public:
    // Stores homes (id, description) in the fresh data file before the program starts.
    void seedHomes(const std::vector<std::pair<int, QString>> &homes)
    {
        CADODataBase db;
        ASSERT_TRUE(db.Open(env.dataFile()));
        for (const auto &[id, description] : homes) {
            ASSERT_TRUE(
                db.Execute(QStringLiteral("INSERT INTO Homes (HomeId) VALUES (%1);").arg(id)));
            CADORecordset rs(db);
            ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Homes WHERE HomeId=%1;").arg(id)));
            rs.Edit();
            rs.SetString(QStringLiteral("Description"), description);
            ASSERT_TRUE(rs.Update());
        }
    }

    void writeSetting(const QString &name, qint32 value)
    {
        CSettingsKey key(HKEY_CURRENT_USER);
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, QLatin1String(CHomeApp::kSettingsPath)));
        ASSERT_TRUE(key.WriteNumber(name, value));
    }

    // Starts (or starts again) the program; the greeting is pre-seen unless greet is set. With
    // settle, returns once the window has been painted and what waited for that is done, as a
    // person sees the program when it has started.
    CMainFrame &start(bool greet = false, bool settle = true)
    {
        if (!greet)
            writeSetting(QStringLiteral("InitialGreetingShown_v1.3"), 1);
        app.reset();
        app = std::make_unique<CHomeApp>();
        EXPECT_TRUE(app->InitInstance());
        if (settle)
            settled();
        return *app->mainFrame();
    }

    // Lets the started program paint its window and count what waited for the first paint.
    void settled()
    {
        CTodayView *today = app->mainFrame() ? app->mainFrame()->todayView() : nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !today || !today->worthPending(); }, 5000))
            << "the inventory's worth was never counted after the first paint";
    }

    CMainFrame &frame() { return *app->mainFrame(); }

    std::optional<qint32> lastHomeId()
    {
        qint32 id = 0;
        if (!app->settings().ReadNumber(QStringLiteral("LastHomeId"), id))
            return std::nullopt;
        return id;
    }

    TempEnv env;
    ScriptedUi ui;
    std::unique_ptr<CHomeApp> app;
};
