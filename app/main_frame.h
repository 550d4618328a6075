#pragma once
// CMainFrame: the main window. It owns the five views (exactly one visible), the current home,
// the menus, the toolbar and the commands, and the look the views share.

#include "records/home.h"
#include "views/view_host.h"

#include <QBrush>
#include <QFont>
#include <QList>
#include <QMainWindow>
#include <QPoint>

#include <functional>
#include <map>
#include <optional>

class CADODataBase;
class CSettingsKey;
class CFormView;
class CHomeApp;
class CHomeMgrView;
class CInventoryView;
class CRoomsView;
class CTasksView;
class CTodayView;
class QAction;
class QMenu;
class QStackedWidget;
class QToolBar;
class QToolButton;

class CMainFrame : public QMainWindow, public ViewHost
{
    Q_OBJECT
public:
    static constexpr int kMinClientWidth = 460;
    static constexpr int kMinClientHeight = 450;

    explicit CMainFrame(CHomeApp &app, QWidget *parent = nullptr);
    ~CMainFrame() override;

    // --- what the views ask of the frame (ViewHost) ---------------------------------------
    CADODataBase &database() const override;
    CSettingsKey &settings() const override;
    QWidget *ownerWindow() override { return this; }
    const CHome &currentHome() const override { return m_currentHome; }
    bool SetCurrentHome(qint32 homeId) override;
    void HomeEdited(const CHome &home) override;
    void NewHome() override { OnNewHome(); }
    void NewTasks() override { OnNewTasks(); }
    void NewAsset() override { OnNewAsset(); }
    void ShowView(int index) override;
    // Opened from the keyboard (no position), it opens just inside the client area's top-left.
    void ShowContextMenu(std::optional<QPoint> globalPos = std::nullopt) override;
    void UpdateTodayLines() override;
    std::optional<double> filledInventoryTotal() const override;
    std::optional<int> filledActiveTaskCount() const override;
    void ShowMessageOnce(const QString &text, const QString &flagName) override;
    void ShowWarranties() override;
    // A label's code, scanned or typed: the home it belongs to now becomes current, the asset or
    // location is shown in its view with its sheet open, or the user is told it is gone. False
    // when typed is no label's code.
    bool OpenLabelCode(const QString &typed) override;
    void ShowMaintenance() override;
    void PlansChanged() override;
    // What "today" is for the views and the plans; the system's date unless a clock was set.
    QDate today() const override;
    void setClock(std::function<QDate()> clock) { m_clock = std::move(clock); }
    // Runs when the date may have changed (every minute, and when the window is shown again):
    // on a new day the plans that came due get their tasks and the Today lines count again.
    void CheckDate();

    // --- views ---------------------------------------------------------------------------
    // Creates the views that follow the Homes view (once, at start-up).
    void CreateViews();
    CHomeMgrView *homesView() const { return m_homesView; }
    CTodayView *todayView() const { return m_todayView; }
    // The other views, made on first use (so a start pays only for the Today view).
    CInventoryView *inventoryView() const;
    CRoomsView *locationsView() const;
    CTasksView *tasksView() const;
    CFormView *activeView() const { return m_activeView; }
    int currentViewIndex() const { return m_currentViewIndex; }
    // Shows view (index, toolbar command; 0 for none). Nothing happens when index is the
    // visible view already. Returns whether the view changed.
    bool SwitchView(CFormView *view, int index, int commandId);
    // Refills the Homes view, selecting homeId when listed.
    void RefreshHomesView(qint32 homeId);

    // --- the current home ----------------------------------------------------------------
    // SetCurrentHome: remembered for the next start, the per-home views refreshed, the Today
    // view shown. When the home cannot be loaded, falls back to the Homes view with no current
    // home.
    // After the data file was replaced (restore, device copy): the Homes view, no home.
    void ReloadAfterDataReplacement();

    // --- commands ------------------------------------------------------------------------
    // The Homes view with no current home.
    void OnSelectHome();
    // The sheet of a new home; saving it makes it the current home.
    void OnNewHome();
    // Every action carrying the command id (menu item, toolbar button, popup entry).
    QList<QAction *> commandActions(int commandId) const;
    QAction *action(int commandId) const;
    bool isCommandEnabled(int commandId) const;
    QToolButton *toolButton(int commandId) const;
    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *newMenu() const { return m_newMenu; }
    QMenu *contextMenu() const { return m_contextMenu; }

    // --- the shared look -----------------------------------------------------------------
    QFont normalFont() const { return m_normalFont; }
    QFont boldFont() const { return m_boldFont; }
    QBrush backgroundBrush() const { return m_background; }

signals:
    void viewSwitched(int index);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // main_frame_menus.cpp
    void createActions();
    void createMenus();
    void createToolBar();
    QAction *addCommand(int id, const QString &text, void (CMainFrame::*handler)());
    void updateCommandStates();
    void updateToolBarButtons(int pressedCommand);

    // main_frame_commands.cpp
    void showView(CFormView *view, int index, int commandId);
    void OnTodayView();
    void OnInventoryView();
    void OnLocationsView();
    void OnTasksView();
    void OnNewButton();
    void OnNewTasks();
    void OnNewAsset();
    void OnNewLocation();
    void OnNewVideo();
    void OnLoanManager();
    void OnRecommendMovie();
    void OnSync();
    void OnBackupRestore();
    void OnExportInventory();
    void OnImportInventory();
    void OnPrintInventoryReport();
    void OnPrintLabels();
    void OnUnfiledAttachments();
    void OnAbout();
    void OnExit();
    void OnContextNew();
    void OnContextDelete();
    void OnContextProperties();
    void notAvailableYet();

    void setTitleForHome();
    void addView(CFormView *view) const;
    void applyMinimumClientSize();

    CHomeApp &m_app;
    CHome m_currentHome;
    std::function<QDate()> m_clock;
    QDate m_lastDate; // the day CheckDate last saw
    QFont m_normalFont;
    QFont m_boldFont;
    QBrush m_background;

    QStackedWidget *m_stack = nullptr;
    CHomeMgrView *m_homesView = nullptr;
    CTodayView *m_todayView = nullptr;
    // Made by their accessors on first use; until then nothing of theirs needs refreshing.
    mutable CInventoryView *m_inventoryView = nullptr;
    mutable CRoomsView *m_locationsView = nullptr;
    mutable CTasksView *m_tasksView = nullptr;
    CFormView *m_activeView = nullptr;
    int m_currentViewIndex = HomesIndex;

    std::multimap<int, QAction *> m_actions;
    std::map<int, QAction *> m_toolActions;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_newMenu = nullptr;
    QMenu *m_contextMenu = nullptr;
    // The popup's entries below Properties: the import and the report (the Home Inventory's
    // own), the labels (also the Locations view's), and the separator above them.
    QList<QAction *> m_contextInventory;
    QAction *m_contextLabels = nullptr;
    QAction *m_contextSeparator = nullptr;
};
