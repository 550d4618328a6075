#pragma once
// ViewHost: everything a view may ask of the window that holds it. The main frame answers it in
// the program; a test answers it with a small host of its own, so a view is built and driven
// without a main window.

#include <QDate>
#include <QDateTime>
#include <QPoint>
#include <QtGlobal>

#include <optional>

class CADODataBase;
class CHome;
class CSettingsKey;
class QString;
class QWidget;

class ViewHost
{
public:
    // The views by index: the Homes view is -1, the others follow the toolbar.
    enum ViewIndex {
        HomesIndex = -1,
        TodayIndex = 0,
        InventoryIndex = 1,
        LocationsIndex = 2,
        TasksIndex = 3
    };

    virtual ~ViewHost() = default;

    // The open data file and the user's settings key.
    virtual CADODataBase &database() const = 0;
    virtual CSettingsKey &settings() const = 0;
    // The window that owns sheets and message boxes opened from a view.
    virtual QWidget *ownerWindow() = 0;

    // The current home; a record with no id while none is current.
    virtual const CHome &currentHome() const = 0;
    qint32 currentHomeId() const;
    // Makes homeId the current home and shows its Today view; false when it cannot be loaded.
    virtual bool SetCurrentHome(qint32 homeId) = 0;
    // A home's profile was edited and saved: the title and the list of homes follow it.
    virtual void HomeEdited(const CHome &home) = 0;
    // The frame's File > New commands, for views whose shortcuts lead to them: a new home's
    // sheet, the General Tasks dialog, a new asset's sheet.
    virtual void NewHome() = 0;
    virtual void NewTasks() = 0;
    virtual void NewAsset() = 0;

    // Shows the view at index, as its toolbar button does.
    virtual void ShowView(int index) = 0;
    // The shared New / Delete / Properties popup for the visible view, at globalPos or, opened
    // from the keyboard (no position), just inside the client area's top-left corner.
    virtual void ShowContextMenu(std::optional<QPoint> globalPos) = 0;
    // The inventory total or the active-task count may have changed: the Today view recounts.
    virtual void UpdateTodayLines() = 0;
    // Those two figures as the Home Inventory and Tasks views hold them, once they have been
    // filled; nothing before (the Today view then counts with one statement of its own).
    virtual std::optional<double> filledInventoryTotal() const { return std::nullopt; }
    virtual std::optional<int> filledActiveTaskCount() const { return std::nullopt; }
    // Shows text once per user: an information box captioned with the program's name, after
    // which flagName is set in the settings.
    virtual void ShowMessageOnce(const QString &text, const QString &flagName) = 0;
    // The Warranties dialog of the current home (Tools menu); edits made from it reach the
    // Home Inventory and the Today lines.
    virtual void ShowWarranties() = 0;
    // The Maintenance dialog of the current home (Tools menu, the Today view's maintenance
    // line); the task list and the Today lines follow what is done there.
    virtual void ShowMaintenance() = 0;
    // Maintenance plans may have changed from a view's sheet (an asset's Maintenance page),
    // and with them the tasks they made: the task list and the Today lines are shown afresh.
    virtual void PlansChanged() { UpdateTodayLines(); }
    // A label's code typed into a view (the Home Inventory's search box): the frame shows what
    // the label is on. False when typed is no label's code.
    virtual bool OpenLabelCode(const QString &) { return false; }
    // What "now" and "today" are for the views; the system's clock unless a test sets them.
    virtual QDateTime now() const;
    virtual QDate today() const;
};
