#pragma once
// Just enough of a main window for one view under measurement: its own connection, settings key
// and owner window, and the figures the Today view asks of the other views.

#include "db/ado_database.h"
#include "exchange/inventory_export.h"
#include "platform/settings_key.h"
#include "records/home.h"
#include "views/today_view.h"
#include "views/view_host.h"

#include <QApplication>
#include <QWidget>

class BenchHost : public ViewHost
{
public:
    BenchHost() { key.Create(HKEY_CURRENT_USER, QStringLiteral("Software\\Varn Holt\\Domelio")); }

    CADODataBase &database() const override { return db; }
    CSettingsKey &settings() const override { return key; }
    QWidget *ownerWindow() override { return &window; }
    const CHome &currentHome() const override { return home; }
    bool SetCurrentHome(qint32 homeId) override
    {
        CHome loaded(homeId);
        if (!loaded.Load(db))
            return false;
        home = loaded;
        return true;
    }
    void HomeEdited(const CHome &) override { }
    void NewHome() override { }
    void NewTasks() override { }
    void NewAsset() override { }
    void ShowView(int) override { }
    void ShowContextMenu(std::optional<QPoint>) override { }
    void UpdateTodayLines() override { }
    void ShowMessageOnce(const QString &, const QString &) override { }
    void ShowWarranties() override { }
    void ShowMaintenance() override { }
    std::optional<double> filledInventoryTotal() const override { return inventory; }
    std::optional<int> filledActiveTaskCount() const override { return active; }

    mutable CADODataBase db;
    mutable CSettingsKey key { HKEY_CURRENT_USER };
    CHome home;
    QWidget window;
    // What the Home Inventory and Tasks views hold once filled; nothing before.
    std::optional<double> inventory;
    std::optional<int> active;
};

// The Today view in the host's window, both shown and laid out; the window owns it.
inline CTodayView *showTodayView(BenchHost &host)
{
    auto *view = new CTodayView(host, &host.window);
    // The shipped picture beside the program, as the frame names it in a build folder.
    view->setDefaultPicturePath(QCoreApplication::applicationDirPath()
                                + QStringLiteral("/default.jpg"));
    host.window.resize(640, 480);
    view->resize(640, 480);
    host.window.show();
    view->show();
    QApplication::processEvents();
    return view;
}

// The inventory report of home 1 as the export dialog asks for it with every category ticked.
inline InventoryExport::Report wholeInventoryReport(CADODataBase &db)
{
    InventoryExport::Report report;
    report.homeId = 1;
    report.homeDescription = QStringLiteral("Benchmark home");
    for (const auto &category : InventoryExport::assetCategories(db))
        report.categories.add(category.id, true);
    return report;
}
